#include "pool/omission.h"

#include "common/numbertables.h"
#include "historyfixture.h"

#include <gtest/gtest.h>

#include <set>

using poolfixture::MakeHistory;
using pool::OmissionFamily;

TEST(OmissionTable, CountsDrawsSinceEachDigitCame) {
    // Oldest first: 123, 345, 105 (newest).
    const common::DigitOmissionTable t = common::DigitOmissionTable::Count(MakeHistory({"123", "345", "105"}));
    //                                   0  1  2  3  4  5  6  7  8  9
    const std::array<int, 10> any{{0, 0, 2, 1, 1, 0, 3, 3, 3, 3}};
    const std::array<int, 10> hundreds{{3, 0, 3, 1, 3, 3, 3, 3, 3, 3}};
    const std::array<int, 10> tens{{0, 3, 2, 3, 1, 3, 3, 3, 3, 3}};
    const std::array<int, 10> units{{3, 3, 3, 2, 3, 0, 3, 3, 3, 3}};
    EXPECT_EQ(t.any, any);
    EXPECT_EQ(t.hundreds, hundreds);
    EXPECT_EQ(t.tens, tens);
    EXPECT_EQ(t.units, units);

    EXPECT_EQ(pool::OmissionOf(t, OmissionFamily::Group, 2, 6, 6), 2 + 3 + 3);
    EXPECT_EQ(pool::OmissionOf(t, OmissionFamily::Hundreds, 3, 9, 9), 1);
    EXPECT_EQ(pool::OmissionOf(t, OmissionFamily::Tens, 9, 4, 9), 1);
    EXPECT_EQ(pool::OmissionOf(t, OmissionFamily::Units, 9, 9, 3), 2);
    EXPECT_EQ(pool::OmissionOf(t, OmissionFamily::Single, 1, 0, 5), 0);
    EXPECT_EQ(pool::OmissionOf(t, OmissionFamily::Single, 3, 4, 3), 1 + 1 + 2);
}

TEST(OmissionTable, PickerChoices) {
    // Newest draw 123: each position list holds "00", the single list "000".
    const common::DigitOmissionTable t = common::DigitOmissionTable::Count(MakeHistory({"777", "123"}));
    for (OmissionFamily f : {OmissionFamily::Hundreds, OmissionFamily::Tens, OmissionFamily::Units}) {
        const QStringList items = pool::OmissionChoices(t, f);
        EXPECT_EQ(items.size(), 10);
        EXPECT_TRUE(items.contains(QStringLiteral("00")));
        EXPECT_TRUE(items.contains(QStringLiteral("01")));  // 7
        EXPECT_EQ(items.count(QStringLiteral("02")), 8);     // never there: the number of draws, repeats kept
    }
    EXPECT_EQ(pool::OmissionChoices(t, OmissionFamily::Single).first(), QStringLiteral("000"));
    // Group sums: 0 (three drawn digits) up to 6 (three that never came), each once.
    EXPECT_EQ(pool::OmissionChoices(t, OmissionFamily::Group),
              QStringList({"00", "01", "02", "03", "04", "05", "06"}));

    // An empty history: ten "00" per position, one "00" and one "000".
    const common::DigitOmissionTable empty = common::DigitOmissionTable::Count(common::DrawHistory());
    EXPECT_EQ(pool::OmissionChoices(empty, OmissionFamily::Tens), QStringList(10, QStringLiteral("00")));
    EXPECT_EQ(pool::OmissionChoices(empty, OmissionFamily::Group), QStringList({"00"}));
    EXPECT_EQ(pool::OmissionChoices(empty, OmissionFamily::Single), QStringList({"000"}));
}

TEST(OmissionTable, LargeSumsSortAsTextAndAreAllListed) {
    // 40 draws of 000 after nothing: digits 1-9 have an omission of 40, 0 of 0. Group sums
    // 0, 40, 80, 120: "120" sorts between "00" and "40".
    QStringList draws;
    for (int i = 0; i < 40; ++i) draws << QStringLiteral("2024%1 000").arg(i + 1, 3, 10, QLatin1Char('0'));
    const common::DigitOmissionTable t = common::DigitOmissionTable::Count(common::DrawHistory(draws));
    EXPECT_EQ(pool::OmissionChoices(t, OmissionFamily::Group), QStringList({"00", "120", "40", "80"}));

    // Sums above 1000 (counters above 333) are listed too.
    QStringList many;
    for (int i = 0; i < 400; ++i) many << QStringLiteral("2024%1 000").arg(i % 999 + 1, 3, 10, QLatin1Char('0'));
    const common::DigitOmissionTable big = common::DigitOmissionTable::Count(common::DrawHistory(many));
    EXPECT_TRUE(pool::OmissionChoices(big, OmissionFamily::Single).contains(QStringLiteral("1200")));
}

TEST(OmissionTable, ValueListParsing) {
    EXPECT_EQ(pool::ParseOmissionValues(QStringLiteral(" 3 ,12，x,,07, 4.5 ,-1")), QList<int>({3, 12, 7, -1}));
    EXPECT_TRUE(pool::ParseOmissionValues(QString()).isEmpty());
}

TEST(OmissionTable, FilterRemovesMatchingOmissionsAndLogs) {
    const common::DigitOmissionTable t = common::DigitOmissionTable::Count(MakeHistory({"123", "345", "105"}));
    pool::NumberPool p = {"105", "015", "234", "999", "", "x12"};
    QString log;
    // 组选 0: the digits 0, 1, 5 in any order.
    EXPECT_EQ(pool::FilterOmission(p, log, t, OmissionFamily::Group, 0), 2);
    EXPECT_EQ(log, QStringLiteral("105| 015| "));
    EXPECT_EQ(p, pool::NumberPool({"234", "999", "x12"}));
    // 百位 1: the hundreds digit 3 of 345, one draw ago.
    log.clear();
    p = common::AllNumbers();
    EXPECT_EQ(pool::FilterOmission(p, log, t, OmissionFamily::Hundreds, 1), 100);
    EXPECT_TRUE(log.startsWith(QStringLiteral("300| 301| ")));
}

// One omission for every user: the sums the filter compares are the table's own (the preview
// shows straightSum), and the picker offers exactly the values some number has.
TEST(OmissionTable, FilterPickerAndPreviewShareOneDefinition) {
    const common::DigitOmissionTable t =
        common::DigitOmissionTable::Count(MakeHistory({"480", "123", "345", "105", "967", "105"}));
    for (OmissionFamily f : {OmissionFamily::Group, OmissionFamily::Single}) {
        std::set<int> values;
        for (const QString& n : common::AllNumbers()) {
            const int a = n.at(0).digitValue(), b = n.at(1).digitValue(), c = n.at(2).digitValue();
            const int v = pool::OmissionOf(t, f, a, b, c);
            EXPECT_EQ(v, f == OmissionFamily::Group ? t.groupSum(n) : t.straightSum(n)) << n.toStdString();
            values.insert(v);
        }
        QStringList offered;
        for (int v : values) offered << QString::number(v).rightJustified(f == OmissionFamily::Group ? 2 : 3, u'0');
        offered.sort();
        EXPECT_EQ(pool::OmissionChoices(t, f), offered);
        // Every offered value removes at least one number.
        for (const QString& item : offered) {
            pool::NumberPool p = common::AllNumbers();
            QString log;
            EXPECT_GT(pool::FilterOmission(p, log, t, f, item.toInt()), 0) << item.toStdString();
        }
    }
    // A damaged digit adds nothing instead of reading outside the table.
    EXPECT_EQ(t.straightSum(QStringLiteral("1x5")), t.hundreds[1] + t.units[5]);
    EXPECT_EQ(t.groupSum(10, 1, -1), t.any[1]);
}
