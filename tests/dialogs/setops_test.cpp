#include "common/digittriples.h"
#include "common/textcodec.h"
#include "dialogs/setops.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(DigitTriples, ReadsNumbersOutOfAnyLayout) {
    struct Case {
        QString text;
        QStringList expected;
    } cases[] = {
        {QStringLiteral("123 456"), {"123", "456"}},
        {QStringLiteral("1 2 3"), {"123"}},
        {QStringLiteral("12,34,56"), {"123", "456"}},
        {QStringLiteral("015\t3 4 5\r\n"), {"015", "345"}},
        {QStringLiteral("1234567"), {"123", "456"}},  // the seventh digit is dropped
        {QStringLiteral("号码-1.2+3元ab"), {"123"}},
        {QStringLiteral("１２３ 45"), {"123"}},  // full-width digits count as digits
        {QStringLiteral("no digits here\n"), {}},
        {QString(), {}},
    };
    for (const Case& c : cases) EXPECT_EQ(common::ExtractDigitTriples(c.text), c.expected) << c.text.toStdString();
}

TEST(DigitTriples, StarCountsOnlyWhenAccepted) {
    EXPECT_EQ(common::ExtractDigitTriples(QStringLiteral("1*3 **5"), true), (QStringList{"1*3", "**5"}));
    EXPECT_EQ(common::ExtractDigitTriples(QStringLiteral("1*3 **5"), false), (QStringList{"135"}));
}

TEST(CollectFromText, KeepsRepeatsOnlyWhenAsked) {
    const QString text = QStringLiteral("123 123 456");
    EXPECT_EQ(dialogs::CollectFromText(text, false), (QStringList{"123", "456"}));
    EXPECT_EQ(dialogs::CollectFromText(text, true), (QStringList{"123", "123", "456"}));
    EXPECT_EQ(dialogs::CollectFromText(QStringLiteral("112233"), false), (QStringList{"112", "233"}));
}

TEST(TrimBlanks, TrimsSpacesOnly) {
    EXPECT_EQ(dialogs::TrimBlanks(QStringLiteral("  12 3  ")), QStringLiteral("12 3"));
    EXPECT_EQ(dialogs::TrimBlanks(QStringLiteral("\n 1 \t")), QStringLiteral("\n 1 \t"));
    EXPECT_EQ(dialogs::TrimBlanks(QStringLiteral("   ")), QString());
}

TEST(NumberFiles, CountsEachNumberOncePerFile) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.txt");
    const QString b = dir.filePath("b.txt");
    WriteBytes(a, "123\r\n123\r\n456\r\n789\r\n\r\n");
    WriteBytes(b, common::EncodeAnsi(QStringLiteral("大底：１２３，456 000")));  // code page 936 text

    dialogs::NumberMarks marks;
    QString error;
    ASSERT_TRUE(dialogs::ReadNumberFile(b, &marks, &error));
    EXPECT_EQ(marks.count(), 3u);
    EXPECT_TRUE(marks.test(123) && marks.test(456) && marks.test(0));

    dialogs::OccurrenceCounts counts{};
    ASSERT_TRUE(dialogs::CountOccurrences({a, b}, &counts, &error));
    EXPECT_EQ(counts[123], 2);
    EXPECT_EQ(counts[456], 2);
    EXPECT_EQ(counts[789], 1);
    EXPECT_EQ(counts[0], 1);
    EXPECT_EQ(counts[1], 0);
    EXPECT_EQ(dialogs::CountSummary(2, counts), QStringLiteral("共计 2 个文件参与运算,统计数据 4 注。"));

    EXPECT_EQ(dialogs::NumbersInRange(counts, 2, 2), (QStringList{"123", "456"}));  // intersection
    EXPECT_EQ(dialogs::NumbersInRange(counts, 1, 2), (QStringList{"000", "123", "456", "789"}));  // union
    EXPECT_EQ(dialogs::NumbersInRange(counts, 0, 1).size(), 998);  // complement
}

TEST(NumberFiles, UnreadableFileLeavesCountsAlone) {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.txt");
    WriteBytes(good, "111");
    const QString missing = dir.filePath("missing.txt");

    dialogs::OccurrenceCounts counts{};
    counts[5] = 7;
    QString error;
    EXPECT_FALSE(dialogs::CountOccurrences({good, missing}, &counts, &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(missing)));
    EXPECT_EQ(counts[5], 7);
    EXPECT_EQ(counts[111], 0);
}
