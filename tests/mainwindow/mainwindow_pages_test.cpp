// The main window's 帮助系统 (F1) and 视频教程 show the shipped pages in the program's own page
// window (an outside browser only when asked), or say why they cannot.
#include "common/appstate.h"
#include "hookreset.h"
#include "mainwindow/mainwindow.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/pagewindow.h"
#include "platform/ui/webview.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QSettings>
#include <QUrl>
#include <QAction>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class MainWindowPages : public ::testing::Test {
protected:
    common::AppState app;  // outlives the window it is handed to

    void SetUp() override {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lotvane"), QStringLiteral("Lotvane")).clear();
        ASSERT_TRUE(dir.copyShared("data/HAO.TXT") && dir.copyShared("data/HAOP3.TXT"));
        form = std::make_unique<MainWindow>(app);
        form->quitOnClose = false;
        form->start();
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

TEST_F(MainWindowPages, HelpAndTutorialShowInTheProgramsOwnWindow) {
    shipHome();
    ui::MessageRecorder messages;
    const QString help = QUrl::fromLocalFile(dir.file(QStringLiteral("home/help.htm"))).toString();
    const QString tutorial = QUrl::fromLocalFile(dir.file(QStringLiteral("home/3d/gd.htm"))).toString();
    const struct {
        std::function<void()> press;
        QString url;
        QString title;
        QString text;
    } cases[] = {
        {[this] { form->findChild<QAction*>(QStringLiteral("helpme"))->trigger(); }, help, QStringLiteral("Sifmora 帮助"), QStringLiteral("help")},
        {[this] { pressF1(); }, help, QStringLiteral("Sifmora 帮助"), QStringLiteral("help")},
        {[this] { form->findChild<QAction*>(QStringLiteral("Toolbar2(9)"))->trigger(); }, tutorial, QStringLiteral("使用教程"), QStringLiteral("tutorial")},
    };
    for (const auto& c : cases) {
        c.press();
        auto* page = form->findChild<ui::PageWindow*>(QStringLiteral("PageWindow"));
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->isVisible());
        EXPECT_EQ(page->url(), c.url);
        EXPECT_EQ(page->windowTitle(), c.title);
        for (int i = 0; i < 100 && page->view()->busy(); ++i) QCoreApplication::processEvents();
        EXPECT_EQ(page->view()->documentTitle(), c.text);
    }
    // One page window, reused; no browser was asked and no message shown.
    EXPECT_EQ(form->findChildren<ui::PageWindow*>().size(), 1);
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.lastText().toStdString();
    EXPECT_TRUE(opened().isEmpty());

    // The outside browser is the player's choice.
    form->findChild<QPushButton*>(QStringLiteral("OpenInBrowser"))->click();
    EXPECT_EQ(opened(), tutorial + '\n');
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
