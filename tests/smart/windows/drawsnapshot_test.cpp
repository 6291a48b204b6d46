// The draw file changed on disk while the smart windows compute, on the real 福彩3D history and
// the shipped scheme list: 确定 and a 300-draw 历史成绩验证 go on with the draws they started
// with (the results of a run over the unchanged file), and each window says so once, from its
// own thread, after its results.
#include "common/drawtext.h"
#include "history/drawfile.h"
#include "hookreset.h"
#include "platform/ui/messagebox.h"
#include "programsmartcontext.h"
#include "presses.h"
#include "realhistory.h"
#include "smart/windows/historyverificationwindow.h"
#include "smart/windows/smartsystemwindow.h"
#include "testsupport.h"
#include "fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QThread>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

// How the draw file changes under a computation: a download appends the next draw; a correction
// rewrites the numbers of the newest draws.
struct FileChange {
    const char* name;
    std::function<QByteArray(const QByteArray&)> apply;
};

QByteArray WithNextDraw(const QByteArray& bytes) {
    const QString last = QString::fromLatin1(bytes.right(history::kRecordLength).left(7));
    return bytes + history::EncodeDrawRecord(common::NextIssue(last) + QStringLiteral(" 123"));
}

QByteArray WithNewestCorrected(const QByteArray& bytes) {
    QByteArray out = bytes;
    for (int r = 1; r <= 40; ++r) {
        char* number = out.data() + out.size() - r * history::kRecordLength + 8;
        for (int k = 0; k < 3; ++k) number[k] = char('0' + (number[k] - '0' + 3) % 10);
    }
    return out;
}

const FileChange kChanges[] = {{"a download's new draw", WithNextDraw}, {"the newest draws corrected", WithNewestCorrected}};

// The words the windows say about a draw file changed under them.
bool SaysTheFileChanged(const ui::MessageRecord& m) {
    return m.text.contains(QStringLiteral("HAO.TXT")) && m.text.contains(QStringLiteral("被改动")) &&
           m.text.contains(QStringLiteral("开始计算时的开奖数据"));
}

// Answers Yes to every box and records each with whether it came from the window's thread.
struct Messages {
    Messages() {
        ui::SetMessageHandler([this](const ui::MessageRecord& m) {
            records << m;
            onWindowThread = onWindowThread && QThread::currentThread() == qApp->thread();
            return ui::Answer::Yes;
        });
    }
    testsupport::HookReset<&ui::SetMessageHandler> reset;
    QList<ui::MessageRecord> records;
    bool onWindowThread = true;
    qsizetype fileChangedCount() const { return std::count_if(records.begin(), records.end(), SaysTheFileChanged); }
};

}  // namespace

TEST(DrawSnapshot, TheSmartRunKeepsItsDrawsAndSaysOnceThatTheFileChanged) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    smartwin::RealHistoryFixture f;
    ASSERT_TRUE(f.ok);
    const QByteArray drawFile = f.dir.read(QStringLiteral("HAO.TXT"));
    SmartSystemWindow w(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    QLabel* result = w.findChild<QLabel*>(QStringLiteral("Label14"));
    QString unchanged;
    {
        Messages messages;
        testsupport::Press(&w, QStringLiteral("Command2"));
        ASSERT_EQ(messages.records.size(), 2) << messages.records.last().text.toStdString();
        EXPECT_EQ(messages.fileChangedCount(), 0);
        unchanged = result->text();
        ASSERT_TRUE(unchanged.contains(QStringLiteral("方案四杀码")));
    }
    const pool::NumberPool poolBefore = f.bench.session().pool;
    const QString logBefore = f.bench.session().log.text();
    for (const FileChange& change : kChanges) {
        SCOPED_TRACE(change.name);
        f.dir.write(QStringLiteral("HAO.TXT"), drawFile);
        result->clear();
        // Rewritten once the records are being backtested (the progress box is up).
        const smart::RunHost& host = f.calc.get().runHost();
        smartwin::ActionAtFirstPump rewrite(f.calc.get(), [&] { f.dir.write(QStringLiteral("HAO.TXT"), change.apply(drawFile)); },
                                            [&host] { return host.progress != nullptr; });
        Messages messages;
        testsupport::Press(&w, QStringLiteral("Command2"));
        ASSERT_TRUE(rewrite.acted);
        EXPECT_EQ(result->text(), unchanged);
        ASSERT_EQ(messages.records.size(), 3);
        EXPECT_TRUE(SaysTheFileChanged(messages.records[1])) << messages.records[1].text.toStdString();
        EXPECT_EQ(messages.fileChangedCount(), 1);
        EXPECT_TRUE(messages.records[2].text.startsWith(QStringLiteral("人工智能杀码系统已完成操作")));
        EXPECT_TRUE(messages.onWindowThread);
        EXPECT_EQ(f.bench.session().pool, poolBefore);
        EXPECT_EQ(f.bench.session().log.text(), logBefore);
    }
}

TEST(DrawSnapshot, TheHistoryVerificationKeepsItsDrawsAndSaysOnceThatTheFileChanged) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    smartwin::RealHistoryFixture f;
    ASSERT_TRUE(f.ok);
    const QByteArray drawFile = f.dir.read(QStringLiteral("HAO.TXT"));
    SmartSystemWindow smartWindow(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    struct Run {
        QString rows, hits;
    };
    // 开始验证 over 300 draws in a window of its own; change (if any) once two rows are shown.
    const auto verify = [&](const FileChange* change) {
        HistoryVerificationWindow w(&smartWindow);
        w.findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(299);
        const QTreeWidget* list = w.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
        std::optional<smartwin::ActionAtFirstPump> rewrite;
        if (change)
            rewrite.emplace(f.calc.get(), [&] { f.dir.write(QStringLiteral("HAO.TXT"), change->apply(drawFile)); },
                            [list] { return list->topLevelItemCount() >= 2; });
        testsupport::Press(&w, QStringLiteral("Command2"));
        if (rewrite) {
            EXPECT_TRUE(rewrite->acted);
            rewrite.reset();
        }
        EXPECT_EQ(list->topLevelItemCount(), 300);
        return Run{w.tableText(), w.findChild<QLabel*>(QStringLiteral("Label1"))->text()};
    };
    Run unchanged;
    {
        Messages messages;
        unchanged = verify(nullptr);
        EXPECT_EQ(messages.records.size(), 2);
        EXPECT_EQ(messages.fileChangedCount(), 0);
    }
    for (const FileChange& change : kChanges) {
        SCOPED_TRACE(change.name);
        f.dir.write(QStringLiteral("HAO.TXT"), drawFile);
        Messages messages;
        const Run run = verify(&change);
        EXPECT_EQ(run.rows, unchanged.rows);
        EXPECT_EQ(run.hits, unchanged.hits);
        ASSERT_EQ(messages.records.size(), 3);
        EXPECT_TRUE(SaysTheFileChanged(messages.records[1])) << messages.records[1].text.toStdString();
        EXPECT_EQ(messages.fileChangedCount(), 1);
        EXPECT_EQ(messages.records[2].text, QStringLiteral("历史成绩验证完成！"));
        EXPECT_TRUE(messages.onWindowThread);
    }
}
