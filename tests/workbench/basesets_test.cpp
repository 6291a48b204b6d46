#include "common/paths.h"
#include "workbench/basesets.h"
#include "workbench/numberfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/textcodec.h"

using namespace workbench;

namespace {
QStringList Split(const char* s) { return QString::fromLatin1(s).split(QLatin1Char(' ')); }
}  // namespace

TEST(BaseSets, GroupSixSubsetsAreTheListedTables) {
    EXPECT_EQ(RunTable(), Split("012 019 089 123 234 345 456 567 678 789"));
    EXPECT_EQ(HalfRunTable(),
              Split("013 014 015 016 017 018 023 029 034 039 045 049 056 059 067 069 078 079 124 125 126 127 128 129 "
                    "134 145 156 167 178 189 235 236 237 238 239 245 256 267 278 289 346 347 348 349 356 367 378 389 "
                    "457 458 459 467 478 489 568 569 578 589 679 689"));
    EXPECT_EQ(MixedSixTable(),
              Split("024 025 026 027 028 035 036 037 038 046 047 048 057 058 068 135 136 137 138 139 146 147 148 149 "
                    "157 158 159 168 169 179 246 247 248 249 257 258 259 268 269 279 357 358 359 368 369 379 468 469 "
                    "479 579"));
}

TEST(BaseSets, SingleSetHasThreeDifferentDigits) {
    const BaseSet s = MakeBaseSet(BaseKind::AllSingle);
    ASSERT_EQ(s.numbers.size(), 720);
    EXPECT_EQ(s.numbers.first(), "012");
    EXPECT_EQ(s.numbers.last(), "987");
    for (const char* absent : {"000", "112", "121"}) EXPECT_FALSE(s.numbers.contains(QLatin1String(absent)));
}

TEST(BaseSets, PositionalSetKeepsRepeatsAndHonoursCompound) {
    const QList<int> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(PositionalSet(all, all, all, true).size(), 1000);
    EXPECT_EQ(PositionalSet(all, all, all, false).size(), 720);
    EXPECT_EQ(PositionalSet({1, 1}, {2}, {3}, true), QStringList({"123", "123"}));
    EXPECT_TRUE(PositionalSet({1}, {1}, {2}, false).isEmpty());
    EXPECT_EQ(PositionalSet({1, 2}, {0, 5}, {7}, true), QStringList({"107", "157", "207", "257"}));
}

TEST(BaseSets, ExpandAndReduce) {
    EXPECT_EQ(ExpandToStraight({"123"}), QStringList({"123", "132", "213", "231", "312", "321"}));
    EXPECT_EQ(ExpandToStraight({"112"}), QStringList({"112", "121", "211"}));
    EXPECT_EQ(ExpandToStraight({"111"}), QStringList({"111"}));
    EXPECT_EQ(ExpandToStraight({"123", "321"}).size(), 6);

    pool::NumberPool p = {"123", "132", "321", "456"};
    ReduceToGroup(p);
    EXPECT_EQ(p, QStringList({"123", "456"}));
}

TEST(NumberFiles, CollectionNameHasNoLeadingZerosAndNeverReplaces) {
    const QDateTime when(QDate(2024, 3, 3), QTime(9, 5, 7));
    EXPECT_EQ(CollectionFileName(when), QStringLiteral("大底采集202433957.h"));
    QTemporaryDir dir;
    const QString first = FreeCollectionPath(dir.path(), when);
    EXPECT_EQ(QFileInfo(first).fileName(), QStringLiteral("大底采集202433957.h"));
    ASSERT_TRUE(common::WriteAnsiFile(first, QStringLiteral("x")));
    const QString second = FreeCollectionPath(dir.path(), when);
    EXPECT_EQ(QFileInfo(second).fileName(), QStringLiteral("大底采集202433957-2.h"));
    ASSERT_TRUE(common::WriteAnsiFile(second, QStringLiteral("x")));
    EXPECT_EQ(QFileInfo(FreeCollectionPath(dir.path(), when)).fileName(), QStringLiteral("大底采集202433957-3.h"));
}

TEST(NumberFiles, ListTextAndExportNames) {
    EXPECT_EQ(NumberListText({"012", "345"}), QStringLiteral("012\r\n345\r\n\r\n"));
    EXPECT_EQ(NumberListText({}), QStringLiteral("\r\n"));
    EXPECT_EQ(ExportDefaultName(QDate(2024, 3, 3)), common::NumberFolder() + QStringLiteral("/20240303.txt"));
    EXPECT_EQ(WithDefaultExtension("/a/b/20240303"), "/a/b/20240303.txt");
    EXPECT_EQ(WithDefaultExtension("/a/b.d/bet"), "/a/b.d/bet.txt");
    EXPECT_EQ(WithDefaultExtension("/a/b/bet.dat"), "/a/b/bet.dat");
    EXPECT_EQ(FolderOf("/a/b/bet.txt"), "/a/b/");
}
