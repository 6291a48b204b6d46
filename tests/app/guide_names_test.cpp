// The README's quick start, the help, the tutorial and the formula guide send the player to
// buttons by their captions: every caption they quote in “” is one the real windows show, so a
// renamed button or a page written from memory is caught (texts that are no caption, such as a
// question's words or a file type, are quoted in 「」). What they say the windows do is held
// here too where a window can show it: when the smart system opens by itself.
#include "programsmartcontext.h"
#include "app/programwindows.h"
#include "common/appstate.h"
#include "common/settings.h"
#include "dialogs/formulaeditor.h"
#include "dialogs/setoperationswindow.h"
#include "history/windows/drawentrywindow.h"
#include "hookreset.h"
#include "mainwindow/commands.h"
#include "mainwindow/mainwindow.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/pagewindow.h"
#include "smart/windows/calculatorhost.h"
#include "smart/windows/smartsystemwindow.h"
#include "testsupport.h"
#include "workbench/workbenchwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

QString Caption(QString text) {
    text.remove(QLatin1Char('&'));
    for (const QString& tail : {QStringLiteral("…"), QStringLiteral("...")})
        if (text.endsWith(tail)) text.chop(tail.size());
    return text.trimmed();
}

// Every caption a player can see or press in the window: buttons, check boxes, options, menu
// and toolbar items, frame titles, labels and tabs.
void AddCaptions(QWidget* window, QSet<QString>& captions) {
    for (auto* b : window->findChildren<QAbstractButton*>()) captions.insert(Caption(b->text()));
    for (auto* a : window->findChildren<QAction*>()) captions.insert(Caption(a->text()));
    for (auto* g : window->findChildren<QGroupBox*>()) captions.insert(Caption(g->title()));
    for (auto* l : window->findChildren<QLabel*>()) captions.insert(Caption(l->text()));
    for (auto* t : window->findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i) captions.insert(Caption(t->tabText(i)));
}

QString ReadUtf8(const QString& relative) {
    QFile f(QStringLiteral(SIFMORA_SOURCE_DIR "/") + relative);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << relative.toStdString();
    return QString::fromUtf8(f.readAll());
}

QStringList Quoted(const QString& text) {
    static const QRegularExpression quote(QStringLiteral("“([^”]+)”"));
    QStringList out;
    for (auto it = quote.globalMatch(text); it.hasNext();) out << it.next().captured(1);
    return out;
}

struct GuidePage {
    const char* name;
    QString text;
};

// The pages that guide the player; the README by its quick start, up to the next heading.
std::vector<GuidePage> GuidePages() {
    QString readme = ReadUtf8(QStringLiteral("README.md"));
    const qsizetype start = readme.indexOf(QStringLiteral("## 快速上手"));
    EXPECT_GE(start, 0);
    readme = readme.mid(start, readme.indexOf(QStringLiteral("\n## "), start + 1) - start);
    return {
        {"README.md 快速上手", readme},
        {"home/help.htm", ReadUtf8(QStringLiteral("home/help.htm"))},
        {"home/3d/gd.htm", ReadUtf8(QStringLiteral("home/3d/gd.htm"))},
        {"home/wngs.htm", ReadUtf8(QStringLiteral("home/wngs.htm"))},
    };
}

TEST(GuideNames, EveryQuotedButtonIsACaptionOfTheRealWindows) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    SKIP_WITHOUT_SHARED("data/HAOP3.TXT");
    common::AppState state;  // the run's state, first: it outlives the windows handed it
    testsupport::ProgramDir dir;
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lotvane"), QStringLiteral("Lotvane")).clear();
    ASSERT_TRUE(dir.copyShared("data/HAO.TXT") && dir.copyShared("data/HAOP3.TXT"));
    ui::MessageRecorder messages;

    auto main = std::make_unique<MainWindow>(state);
    main->quitOnClose = false;
    main->start();
    WorkbenchWindow workbench(state);
    smart::SmartCalculator calc;
    SmartSystemWindow smart(testsupport::ProgramSmartContext(state, &workbench, &calc));
    ui::PageWindow page;
    DrawEntryWindow drawEntry(state);
    FormulaEditor formulaEditor(workbench);
    QSet<QString> captions;
    for (QWidget* w : std::initializer_list<QWidget*>{main.get(), &workbench, &smart, &page, &drawEntry, &formulaEditor,
                                                      SetOperationsWindow::instance(workbench)})
        AddCaptions(w, captions);

    for (const auto& p : GuidePages()) {
        const QStringList names = Quoted(p.text);
        EXPECT_GE(names.size(), 5) << p.name;  // the page does guide by captions
        for (const QString& name : names) EXPECT_TRUE(captions.contains(name)) << p.name << ": “" << name.toStdString() << "”";
    }
}

// A run of the program's windows over a program folder holding the real histories, as main.cpp
// builds them; each test answers the smart system's modal loop itself.
class GuideNamesRun : public testing::Test {
protected:
    void SetUp() override {
        SKIP_WITHOUT_SHARED("data/HAO.TXT");
        SKIP_WITHOUT_SHARED("data/HAOP3.TXT");
        ASSERT_TRUE(dir.copyShared("data/HAO.TXT") && dir.copyShared("data/HAOP3.TXT"));
    }
    common::AppState state;  // the run's state, first: it outlives the windows handed it
    testsupport::ProgramDir dir;
    ui::MessageRecorder messages;
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
};

// The pages say the smart system opens by itself at the first entry to the workbench in a run,
// not at every entry, and that unticking its box does not stop that: the window ticks it again
// whenever it opens.
TEST_F(GuideNamesRun, TheSmartSystemOpensByItselfAtTheFirstEntryOfARunOnly) {
    const QString firstEntry = QStringLiteral("第一次进入缩水器");
    for (const auto& p : GuidePages()) {
        if (p.name == std::string("home/wngs.htm")) continue;
        EXPECT_TRUE(p.text.contains(firstEntry)) << p.name;
        EXPECT_FALSE(p.text.contains(QStringLiteral("每次进入缩水器"))) << p.name;
    }

    QList<bool> tickedAtOpening;
    ui::SetModalHandler([&](QDialog* d) {
        if (d->objectName() != QLatin1String("Form15")) return int(QDialog::Rejected);
        auto* box = d->findChild<QCheckBox*>(QStringLiteral("Check1"));
        tickedAtOpening << box->isChecked();
        if (box->isChecked()) box->click();  // the player unticks it
        d->close();                            // and closes the window by its close box
        return int(QDialog::Rejected);
    });
    const auto afterClosing = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); };
    app::ProgramWindows windows(state);
    MainWindow* main = windows.showMainWindow();
    ASSERT_NE(main, nullptr);
    main->quitOnClose = false;
    ASSERT_GE(state.history().count(), 600);
    main->run(mainwindow::Command::Workbench);
    afterClosing();
    ASSERT_EQ(tickedAtOpening, QList<bool>{true});
    EXPECT_FALSE(common::SettingSmartPick());
    windows.workbench()->close();
    main->run(mainwindow::Command::Workbench);  // a second entry in the run
    afterClosing();
    EXPECT_EQ(tickedAtOpening.size(), 1);
    windows.workbench()->findChild<QPushButton*>(QStringLiteral("Command69"))->click();  // 智能系统
    EXPECT_EQ(tickedAtOpening, (QList<bool>{true, true}));
    main->close();
}

// At the first entry of a run the smart system shows before the workbench, which appears once it
// closes; the quick start and the help say so, so that a newcomer looking for 第一步 closes it.
TEST_F(GuideNamesRun, TheFirstEntryShowsTheSmartSystemBeforeTheWorkbenchAndThePagesSaySo) {
    for (const auto& p : GuidePages()) {
        if (p.name == std::string("home/wngs.htm") || p.name == std::string("home/3d/gd.htm")) continue;
        EXPECT_TRUE(p.text.contains(QStringLiteral("先关掉智能系统窗口"))) << p.name;
    }

    std::unique_ptr<app::ProgramWindows> windows;
    QList<bool> workbenchShownWithTheSmartSystem;
    ui::SetModalHandler([&](QDialog* d) {
        if (d->objectName() != QLatin1String("Form15")) return int(QDialog::Rejected);
        QWidget* bench = windows->workbench();
        workbenchShownWithTheSmartSystem << (bench && bench->isVisible());
        d->close();
        return int(QDialog::Rejected);
    });
    windows = std::make_unique<app::ProgramWindows>(state);
    MainWindow* main = windows->showMainWindow();
    ASSERT_NE(main, nullptr);
    main->quitOnClose = false;
    main->run(mainwindow::Command::Workbench);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(workbenchShownWithTheSmartSystem, QList<bool>{false});
    ASSERT_NE(windows->workbench(), nullptr);
    EXPECT_TRUE(windows->workbench()->isVisible());  // once the smart system has closed
    main->close();
}

}  // namespace
