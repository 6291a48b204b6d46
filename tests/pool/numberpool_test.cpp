#include "testsupport.h"
#include "common/numbertables.h"
#include "pool/numberpool.h"

#include <gtest/gtest.h>

using namespace pool;

TEST(NumberPool, CompactKeepsOrder) {
    NumberPool p{"905", "", "012", "", "500"};
    CompactSet(p);
    EXPECT_EQ(p, NumberPool({"905", "012", "500"}));
    NumberPool blanks{"", "", ""};
    CompactSet(blanks);
    EXPECT_TRUE(blanks.isEmpty());
}

TEST(NumberPool, RemoveDuplicatesKeepsFirst) {
    NumberPool p{"123", "456", "123", "123"};
    EXPECT_EQ(RemoveDuplicateNumbers(p), 2);
    EXPECT_EQ(p, NumberPool({"123", "456"}));
}

TEST(NumberPool, ParseNumberList) {
    struct Case { QString text; int width; QList<int> values; QString result; };
    const Case cases[] = {
        {QString::fromUtf8("1,2，3"), 1, {1, 2, 3}, " 1 2 3"},
        {"1 2,3", 1, {3}, " 3"},
        {"12,3,456", 0, {12, 3, 456}, " 12 3 456"},
        {"12,3,456", 2, {12}, " 12"},
        {"", 1, {}, ""},
        {" 5 ,,x,7,", 1, {5, 7}, " 5 7"},
        {"-1,2.5", 0, {-1, 2}, " -1 2.5"},
        // A token with an exponent converts to a number and is numeric too.
        {"1e2,2.5E-1,+3e+0", 0, {100, 0, 3}, " 1e2 2.5E-1 +3e+0"},
        {"1e1,12,1e", 3, {10}, " 1e1"},
        {"3e,e3,1e400,1e2.5,7", 0, {7}, " 7"},
    };
    for (const Case& c : cases) {
        QList<int> values{99};
        EXPECT_EQ(ParseNumberList(c.text, c.width, &values), c.result) << c.text.toStdString();
        EXPECT_EQ(values, c.values) << c.text.toStdString();
    }
}

TEST(NumberPool, SplitCommaListKeepsEveryPiece) {
    // Both readers of comma lists (number lists, omission values) split here.
    EXPECT_EQ(SplitCommaList(QString::fromUtf8(" 1,，2 , ")), (QStringList{" 1", "", "2 ", " "}));
    EXPECT_EQ(SplitCommaList(""), QStringList{""});
    EXPECT_EQ(SplitCommaList(QString::fromUtf8("1、2;3")), QStringList{QString::fromUtf8("1、2;3")});
}

TEST(PoolSession, CommitSortsAndTellsObserver) {
    PoolSession s;
    QString label;
    s.onCommit = [&](const NumberPool& p) { label = PoolSession::CountLabel(int(p.size())); };
    s.pool = {"905", "012", "500"};
    s.CommitSet();
    EXPECT_EQ(s.pool, NumberPool({"012", "500", "905"}));
    EXPECT_EQ(label, QString::fromUtf8("还剩：3注"));
    EXPECT_EQ(s.ring.index(), 1);
    EXPECT_EQ(s.log.text(), WorkbenchLog::InitialText());  // commit writes nothing to the log
}

TEST(PoolSession, UndoRedoAcrossTheRing) {
    PoolSession s;
    s.pool = common::GroupTable();
    s.CommitSet();
    s.RunFilter(QString::fromUtf8("测试过滤开始"), "d", [](NumberPool& p, QString& log) {
        for (QString& n : p)
            if (n < "500") { log += n + "| "; n.clear(); }
        CompactSet(p);
    });
    const NumberPool filtered = s.pool;
    // Each step brings back the description of the set it holds, not of the step undone.
    s.Undo();
    EXPECT_EQ(s.pool, common::GroupTable());
    EXPECT_EQ(s.setDescription, QString::fromUtf8("大底采集"));
    EXPECT_TRUE(s.log.text().endsWith(QString::fromUtf8("\n返回上一步\n")));
    s.Redo();
    EXPECT_EQ(s.pool, filtered);
    EXPECT_EQ(s.setDescription, QStringLiteral("d"));
    EXPECT_TRUE(s.log.text().endsWith(QString::fromUtf8("\n返回下一步\n")));
    // Redo then undo brings back the last committed pool.
    s.Redo();
    s.Undo();
    EXPECT_EQ(s.pool, filtered);
    EXPECT_EQ(s.setDescription, QStringLiteral("d"));
}

TEST(PoolSession, UndoAtStartGivesEmptyPool) {
    PoolSession s;
    s.pool = {"123"};
    s.Undo();
    EXPECT_TRUE(s.pool.isEmpty());
    EXPECT_EQ(s.ring.index(), 10);
}

TEST(PoolSession, ElevenCommitsWrapToSlotOne) {
    PoolSession s;
    for (int i = 0; i < 11; ++i) {
        s.pool = {QString::number(100 + i)};
        s.CommitSet();
    }
    EXPECT_EQ(s.ring.index(), 1);
    EXPECT_EQ(s.ring.slot(1), NumberPool({"110"}));
    // Ten undos visit every earlier snapshot and come back to the last commit.
    QStringList seen;
    for (int i = 0; i < 10; ++i) {
        s.Undo();
        seen << (s.pool.isEmpty() ? QString() : s.pool.first());
    }
    EXPECT_EQ(seen, QStringList({"109", "108", "107", "106", "105", "104", "103", "102", "101", "110"}));
}

TEST(PoolSession, SnapshotKeepsLargePoolsWhole) {
    PoolSession s;
    for (int i = 0; i < 1200; ++i) s.pool << QString::number(i % 1000).rightJustified(3, '0');
    s.CommitSet();
    s.pool.clear();
    s.CommitSet();
    s.Undo();
    EXPECT_EQ(s.pool.size(), 1200);
}

TEST(PoolSession, RunFilterWritesTheFrame) {
    PoolSession s;
    s.pool = {"123", "456", "789"};
    const int removed = s.RunFilter(QString::fromUtf8("跨度过滤开始"), QString::fromUtf8("跨度过滤"),
                                    [](NumberPool& p, QString& log) {
                                        log += p[1] + "| ";
                                        p[1].clear();
                                        CompactSet(p);
                                    });
    EXPECT_EQ(removed, 1);
    EXPECT_EQ(s.log.text(), WorkbenchLog::InitialText() +
                                QString::fromUtf8("\n跨度过滤开始\n456| \n过滤1注\n还剩2注\n"));
    EXPECT_EQ(s.setDescription, QString::fromUtf8("跨度过滤"));
}

TEST(PoolSession, TakeNumbersReplacesThePoolWithLogLineAndDescription) {
    struct Case {
        const char* name;
        PoolSession::Duplicates duplicates;
        QString logLine;
        NumberPool expected;
    };
    const Case cases[] = {
        {"kept", PoolSession::Duplicates::Keep, QString::fromUtf8("数据采集共4注\n"), {"012", "012", "500", "905"}},
        {"removed", PoolSession::Duplicates::Remove, QString::fromUtf8("集合运算共导入4注\n"), {"012", "500", "905"}},
        {"no log line", PoolSession::Duplicates::Keep, QString(), {"012", "012", "500", "905"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PoolSession s;
        s.pool = {"777"};
        NumberPool committed;
        s.onCommit = [&](const NumberPool& p) { committed = p; };
        s.TakeNumbers({"905", "012", "500", "012"}, c.logLine, QString::fromUtf8("数据采集"), c.duplicates);
        EXPECT_EQ(s.pool, c.expected);
        EXPECT_EQ(committed, c.expected);
        EXPECT_EQ(s.log.text(), WorkbenchLog::InitialText() + c.logLine);
        EXPECT_EQ(s.setDescription, QString::fromUtf8("数据采集"));
        EXPECT_EQ(s.ring.index(), 1);  // one commit
    }
}
