// Every table of every window shows each of its columns whole, captions and cells, without
// scrolling sideways, and every caption fits its control, in each of the two CJK fonts a player
// may have (Noto CJK, WenQuanYi), with the real draw history in the rows.
#include "programsmartcontext.h"
#include "common/appstate.h"
#include "dialogs/prizecheckwindow.h"
#include "dialogs/setoperationswindow.h"
#include "fakeworkbench.h"
#include "history/drawfile.h"
#include "hookreset.h"
#include "legibility.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/tablefont.h"
#include "smart/windows/olderselectionverificationwindow.h"
#include "smart/windows/olderselectionwindow.h"
#include "smart/windows/schemecalculatorwindow.h"
#include "statistics/compoundstatstab.h"
#include "statistics/statisticswindow.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct FontSet {
    QString ui, table;
};

// The installed CJK fonts; the default font alone when there is none.
QList<FontSet> PlayersFonts() {
    QList<FontSet> sets;
    for (const FontSet& f : {FontSet{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans Mono CJK SC")},
                             FontSet{QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Micro Hei Mono")}})
        if (QFontDatabase::hasFamily(f.ui)) sets << f;
    if (sets.isEmpty()) sets << FontSet{};
    return sets;
}

TEST(TablesInSight, EveryTableOfEveryWindowInEachFont) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    common::AppState state;  // the run's state, first: it outlives the windows handed it
    testsupport::HookReset<&ui::SetPreferredTableFamily> familyReset;
    testsupport::ProgramDir dir;
    ASSERT_TRUE(dir.copyShared("data/HAO.TXT"));
    QStringList draws;
    ASSERT_TRUE(history::ReadDrawFile(dir.file("HAO.TXT"), &draws));
    state.setHistory(common::DrawHistory(draws));
    // A bet file and a collection, so the prize check and the set operations list files.
    ASSERT_TRUE(QDir(dir.path()).mkpath("HAO"));
    dir.write("HAO/大底采集20261211093000.h", "012\r\n345\r\n678\r\n");
    ui::MessageRecorder messages;
    const QFont defaultFont = QApplication::font();

    FakeWorkbench bench{state};  // the dialogs' workbench; outlives them
    StatisticsWindow::WorkbenchInputs inputs;
    // A pool of a few numbers: the compound table's 类别 cell lists the whole pool, which no
    // width holds for a large one (the table then scrolls sideways).
    for (int n = 0; n < 1000; n += 125) inputs.numbers << QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
    for (QString& list : inputs.digitLists) list = QStringLiteral("0,1,2,3");

    const struct {
        const char* name;
        std::function<std::unique_ptr<QWidget>()> make;
    } windows[] = {
        {"Form16",
         [&] {
             auto w = std::make_unique<StatisticsWindow>(state, inputs);
             w->compoundTab()->appendPoolGroupRow();
             w->compoundTab()->appendPositionalRow(QStringLiteral("0,1,2"), QStringLiteral("3,4"), QStringLiteral("5,6,7"));
             for (int i = 0; i < w->tabs()->count(); ++i) w->tabs()->setTabVisible(i, true);
             return w;
         }},
        {"Form17",
         [&] {
             auto w = std::make_unique<SetOperationsWindow>(bench);
             w->addNumberFile(dir.file("HAO/大底采集20261211093000.h"), QStringLiteral("全部号码(单选)共720注"));
             return w;
         }},
        {"Form4",
         [&] {
             auto w = std::make_unique<PrizeCheckWindow>(bench, state);
             QString error;
             EXPECT_TRUE(w->showFolder(dir.file("HAO"), &error)) << error.toStdString();
             return w;
         }},
        {"zlxh_fm1", [] { return std::make_unique<smart::SchemeCalculatorWindow>(); }},
        {"F15old", [&] { return std::make_unique<OlderSmartSelection>(testsupport::ProgramSmartContext(state)); }},
    };
    for (const FontSet& font : PlayersFonts()) {
        SCOPED_TRACE(font.ui.toStdString());
        if (!font.ui.isEmpty()) QApplication::setFont(QFont(font.ui, defaultFont.pointSize()));
        ui::SetPreferredTableFamily(font.table);
        for (const auto& w : windows) {
            SCOPED_TRACE(w.name);
            std::unique_ptr<QWidget> window = w.make();
            EXPECT_EQ(testsupport::LegibilityProblems(window.get()), QStringList());
            if (auto* selection = qobject_cast<OlderSmartSelection*>(window.get())) {
                SCOPED_TRACE("F18old");
                OlderSelectionVerification verification(selection);
                EXPECT_EQ(testsupport::LegibilityProblems(&verification), QStringList());
            }
        }
    }
    QApplication::setFont(defaultFont);
}

}  // namespace
