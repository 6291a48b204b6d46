// The main window's 帮助系统 (F1) and 视频教程 open the shipped pages, or say why they cannot.
#include "freshappstate.h"
#include "common/appstate.h"
#include "hookreset.h"
#include "mainwindow/mainwindow.h"
#include "platform/ui/messagebox.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QSettings>
#include <QUrl>
#include <QAction>
#include <gtest/gtest.h>

#include <memory>

namespace {

class MainWindowPages : public ::testing::Test {
protected:
    testsupport::FreshAppState appReset;
    testsupport::FreshValue<MainWindow::Openers> openersReset{MainWindow::openers()};

    void SetUp() override {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lotvane"), QStringLiteral("Lotvane")).clear();
        ASSERT_TRUE(dir.copyShared("data/HAO.TXT") && dir.copyShared("data/HAOP3.TXT"));
        form = std::make_unique<MainWindow>(common::App());
        form->quitOnClose = false;
    }
    void TearDown() override {
        if (form) form->quitOnClose = false;
        form.reset();
    }
    void shipHome() const {
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("home/3d")));
        dir.write(QStringLiteral("home/help.htm"), "<html><title>help</title></html>");
        dir.write(QStringLiteral("home/3d/gd.htm"), "<html><title>tutorial</title></html>");
    }
    QString opened() const { return QString::fromUtf8(dir.read(QStringLiteral("browser.log"))); }
    void pressF1() {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QCoreApplication::sendEvent(form.get(), &key);
    }

    testsupport::ProgramDir dir;
    testsupport::EnvVar home{"SIFMORA_HOME_URL", QString()};  // the program folder's home
    testsupport::EnvVar log{"SIFMORA_BROWSER_LOG", dir.file(QStringLiteral("browser.log"))};
    std::unique_ptr<MainWindow> form;
};

TEST_F(MainWindowPages, HelpAndTutorialOpenTheShippedPages) {
    shipHome();
    ui::MessageRecorder messages;
    form->findChild<QAction*>(QStringLiteral("helpme"))->trigger();
    pressF1();
    form->findChild<QAction*>(QStringLiteral("Toolbar2(9)"))->trigger();  // 视频教程
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.lastText().toStdString();
    const QString help = QUrl::fromLocalFile(dir.file(QStringLiteral("home/help.htm"))).toString();
    const QString tutorial = QUrl::fromLocalFile(dir.file(QStringLiteral("home/3d/gd.htm"))).toString();
    EXPECT_EQ(opened(), help + '\n' + help + '\n' + tutorial + '\n');
}

TEST_F(MainWindowPages, MissingPagesAreSaidInChinese) {
    ui::MessageRecorder messages;
    form->findChild<QAction*>(QStringLiteral("helpme"))->trigger();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("找不到页面文件"))) << messages.lastText().toStdString();
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("help.htm")));

    form->findChild<QAction*>(QStringLiteral("Toolbar2(9)"))->trigger();  // no home folder at all: no home server
    ASSERT_EQ(messages.messages.size(), 2);
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("没有主页地址"))) << messages.lastText().toStdString();

    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("home")));  // a home without the page
    form->findChild<QAction*>(QStringLiteral("Toolbar2(9)"))->trigger();
    ASSERT_EQ(messages.messages.size(), 3);
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("找不到页面文件"))) << messages.lastText().toStdString();
    EXPECT_TRUE(opened().isEmpty());
}

}  // namespace
