// 开始单选统计 at sizes 5, 5, 5 over every draw (16,003,008 rows) and its sort in a process whose
// address space is limited to 1 GB: the run either completes or says in Chinese that memory is
// short and leaves the table as it was; it never crashes. Each case runs in a child process of its
// own (a fresh start of this program, forked and run by the test framework), which reports its
// outcome through its exit code.
#include "statistics/statisticswindow.h"
#include "statistics/compoundstatstab.h"

#include "platform/ui/messagebox.h"
#include "statistics/statstable.h"

#include "statsfixture.h"
#include "sanitized.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr rlim_t kLimit = rlim_t(1) << 30;

// Outcomes, as the child's exit code.
enum Outcome : int {
    kRunAndSortDone = 10,     // every row in the table, sorted by 开出次数
    kRunDoneSortRefused = 11, // every row in the table, the sort refused, the order unchanged
    kRunRefused = 12,         // memory short said, the table as it was
    kWrong = 20,              // a message or a table that should not be
};

long VmKiB(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long value = -1;
    const size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, field, n) == 0)
            value = std::atol(line + n + 1);
    std::fclose(status);
    return value;
}

long startKiB = 0;  // the address space when the limit was set

int Report(int outcome, const char* what) {
    std::fprintf(stderr, "outcome %d: %s; address space %ld MiB at the limit's start, %ld MiB now, at most %ld MiB\n",
                 outcome, what, startKiB / 1024, VmKiB("VmSize") / 1024, VmKiB("VmPeak") / 1024);
    std::fflush(nullptr);
    return outcome;
}

// What tells a table's rows apart without making 16 million texts: the count and a few rows.
QList<QStringList> Glimpse(const statistics::StatsTable& table) {
    QList<QStringList> out{{QString::number(table.rowCount())}};
    for (int r : {0, 1, 2, table.rowCount() / 2, table.rowCount() - 1})
        out << table.rowTexts(r);
    return out;
}

// The runs in the child: when leaveMiB is not 0, memory is taken first (and kept) so that about
// that much address space is left for them; each run is followed by a sort of 开出次数 when it
// completes.
int StraightRunsUnderLimit(size_t leaveMiB, int runs) {
    common::AppState app;
    if (!statsfixture::UseRealHistory(app, true))
        return Report(kWrong, "no history");
    ui::MessageRecorder recorder(ui::Answer::Yes);
    StatisticsWindow f(app);
    auto* combo4 = f.findChild<QComboBox*>(QStringLiteral("Combo4"));
    combo4->setCurrentIndex(9);
    f.compoundTab()->showGroupCombinations();
    for (const char* name : {"Combo11", "Combo12", "Combo13"})
        f.findChild<QComboBox*>(QString::fromLatin1(name))->setCurrentText(QStringLiteral("5"));
    // Shown, on the compound tab: the view takes the rows as it would on the screen.
    f.tabs()->setCurrentIndex(2);
    f.show();
    QApplication::processEvents();
    statistics::StatsTable* table = f.table(3);
    auto* label = f.findChild<QLabel*>(QStringLiteral("RowCountLabel"));

    const rlimit limit{kLimit, kLimit};
    if (setrlimit(RLIMIT_AS, &limit) != 0)
        return Report(kWrong, "no limit");
    startKiB = VmKiB("VmSize");
    std::unique_ptr<char[]> taken;
    const size_t left = size_t(kLimit) - size_t(startKiB) * 1024;
    const size_t takeBytes = leaveMiB > 0 && left > (leaveMiB << 20) ? left - (leaveMiB << 20) : 0;
    if (takeBytes > 0) {
        taken.reset(new (std::nothrow) char[takeBytes]);
        if (!taken)
            return Report(kWrong, "could not take the memory");
        std::memset(taken.get(), 1, takeBytes);
    }

    int outcome = kWrong;
    for (int run = 0; run < runs; ++run) {
        const QList<QStringList> before = Glimpse(*table);
        const QString count = QStringLiteral("共%1行").arg(run == 0 ? QStringLiteral("10") : QStringLiteral("16,003,008"));
        const auto said = recorder.messages.size();
        f.findChild<QPushButton*>(QStringLiteral("Command10"))->click();
        if (recorder.messages.size() == said + 2) {
            if (!recorder.lastText().startsWith(QStringLiteral("内存不足")) || Glimpse(*table) != before ||
                label->text() != QStringLiteral("内存不足，表格未改变（") + count + QStringLiteral("）"))
                return Report(kWrong, "refused run without its message or with a changed table");
            return Report(kRunRefused, "run refused");
        }
        if (recorder.messages.size() != said + 1 || table->rowCount() != 16003008 ||
            label->text() != QStringLiteral("共16,003,008行"))
            return Report(kWrong, "completed run with a message or without its rows");
        const QList<QStringList> unsorted = Glimpse(*table);
        f.compoundTab()->sortBySection(1);
        if (recorder.messages.size() == said + 1) {
            if (table->text(0, 1).toInt() < table->text(16003007, 1).toInt())
                return Report(kWrong, "sort not descending");
            outcome = kRunAndSortDone;
            continue;
        }
        if (recorder.lastText() != QStringLiteral("内存不足,无法排序,表格保持原来的顺序。") || Glimpse(*table) != unsorted)
            return Report(kWrong, "refused sort without its message or with a changed order");
        outcome = kRunDoneSortRefused;
    }
    return Report(outcome, outcome == kRunAndSortDone ? "runs and sorts done" : "sort refused");
}

bool AllowedOutcome(int status, bool mayComplete) {
    if (!WIFEXITED(status))
        return false;
    const int code = WEXITSTATUS(status);
    return code == kRunRefused || (mayComplete && (code == kRunAndSortDone || code == kRunDoneSortRefused));
}

TEST(StraightMemoryLimitTest, RunAndSortCompleteOrSayMemoryIsShort) {
#ifdef SIFMORA_SANITIZED
    GTEST_SKIP() << "a sanitizer's shadow memory does not fit an address space limit";
#endif
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Case {
        size_t leaveMiB;   // left for the runs (0: all there is under the limit)
        int runs;          // a second run starts from a table of 16 million rows
        bool mayComplete;  // false: there is too little room left for the rows
    };
    const Case cases[] = {{0, 1, true}, {0, 2, true}, {250, 1, true}, {300, 1, true}, {400, 1, true}, {150, 1, false}};
    for (const Case& k : cases) {
        EXPECT_EXIT(std::_Exit(StraightRunsUnderLimit(k.leaveMiB, k.runs)),
                    [&k](int status) { return AllowedOutcome(status, k.mayComplete); }, "outcome 1[0-2]: ")
            << k.leaveMiB << ' ' << k.runs;
    }
}

}  // namespace
