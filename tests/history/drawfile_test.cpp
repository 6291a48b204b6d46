#include "common/appstate.h"
#include "history/drawfile.h"
#include "hookreset.h"
#include "testsupport.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace history;

namespace {
QByteArray Records(std::initializer_list<const char*> recs) {
    QByteArray b;
    for (const char* r : recs) b += r;
    return b;
}

// Loading writes the draw history of the test's own state.
class DrawFile : public ::testing::Test {
protected:
    QStringList loadFrom(const QString& path) {
        app.selectLottery(false, path, common::DrawHistory());
        EXPECT_TRUE(LoadDrawHistory(app));
        return app.history().draws();
    }

    common::AppState app;
};


TEST_F(DrawFile, RecordLayout) {
    EXPECT_EQ(EncodeDrawRecord("2024063 507"), QByteArray("2024063 5071"));
    EXPECT_EQ(EncodeDrawRecord("2024063"), QByteArray("2024063    1"));
    EXPECT_EQ(EncodeDrawRecord("2024063 5079"), QByteArray("2024063 5071"));
}

TEST_F(DrawFile, RecordCutKeepsWholeDoubleByteCharacters) {
    // A double-byte character that would straddle the eleventh byte is left out whole and its
    // place padded; what is kept reads back as it was written.
    const struct {
        const char* text;
        const char* kept;
    } cases[] = {
        {"2024001 一二三", "2024001 一 "},  // 二 would take bytes 11 and 12
        {"2024001 1二三", "2024001 1二"},   // 二 ends exactly at byte 11
        {"一二三四五六", "一二三四五 "},
        {"2024001 12三", "2024001 12 "},
    };
    for (const auto& c : cases) {
        const QByteArray record = EncodeDrawRecord(QString::fromUtf8(c.text));
        ASSERT_EQ(record.size(), kRecordLength) << c.text;
        EXPECT_EQ(record.back(), '1') << c.text;
        EXPECT_EQ(DecodeDrawRecords(record).first().drawText, QString::fromUtf8(c.kept))
            << c.text;
    }
}

TEST_F(DrawFile, LoadKeepsOnlyValidRecordsAndWholeRecords) {
    testsupport::ProgramDir dir;
    dir.write("a.txt", Records({"2024001 1231", "2024002 456 ", "2024003 7891"}));
    EXPECT_EQ(loadFrom(dir.file("a.txt")), QStringList({"2024001 123", "2024003 789"}));
    EXPECT_EQ(app.history().at(0), "");
    EXPECT_EQ(app.history().at(2), "2024003 789");

    // 25 bytes: two whole records, the trailing byte is not a record.
    dir.write("b.txt", Records({"2024001 1231", "2024002 4561", "2"}));
    EXPECT_EQ(loadFrom(dir.file("b.txt")).size(), 2);
    EXPECT_EQ(LastIssue(dir.file("b.txt")), "2024002");

    dir.write("empty.txt", "");
    EXPECT_TRUE(loadFrom(dir.file("empty.txt")).isEmpty());
    EXPECT_EQ(app.history().count(), 0);
}

// The scheme calculator's reading: every whole record in file order, its text whatever its
// flag (withdrawn and damaged ones included), a trailing partial record left out.
TEST_F(DrawFile, AllDrawTextsKeepEveryWholeRecordWhateverItsFlag) {
    EXPECT_EQ(AllDrawTexts(Records({"2024001 1231", "2024002 4560", "2024003 7891", "20240"})),
              QStringList({"2024001 123", "2024002 456", "2024003 789"}));
    EXPECT_EQ(AllDrawTexts(Records({"2024001 12x ", "abcdefghijk1"})), QStringList({"2024001 12x", "abcdefghijk"}));
    EXPECT_TRUE(AllDrawTexts(QByteArray("2024001 12")).isEmpty());
}

TEST_F(DrawFile, MissingFileIsCreatedEmpty) {
    testsupport::ProgramDir dir;
    EXPECT_TRUE(loadFrom(dir.file("HAO.TXT")).isEmpty());
    EXPECT_TRUE(QFile::exists(dir.file("HAO.TXT")));
    EXPECT_EQ(LastIssue(dir.file("HAO.TXT")), "");
}

TEST_F(DrawFile, CaseInsensitiveName) {
    testsupport::ProgramDir dir;
    dir.write("hao.txt", Records({"2024001 1231"}));
    EXPECT_EQ(common::DrawFilePathFor(false), dir.file("hao.txt"));
    EXPECT_EQ(loadFrom(common::DrawFilePathFor(false)).size(), 1);
}

TEST_F(DrawFile, WritersReplaceWholeAndAppend) {
    testsupport::ProgramDir dir;
    const QString path = dir.file("HAO.TXT");
    ASSERT_TRUE(WriteDrawFile(path, {"2024001 123", "2024002 456"}));
    ASSERT_TRUE(AppendDrawRecords(path, {"2024003 789"}));
    EXPECT_EQ(dir.read("HAO.TXT"), Records({"2024001 1231", "2024002 4561", "2024003 7891"}));
    EXPECT_EQ(LastDrawText(path), "2024003 789");
}

TEST_F(DrawFile, AppendGoesRightAfterTheLastWholeRecord) {
    // A trailing partial record is no record: the next one takes its place instead of
    // following it and shifting every later record off the 12-byte grid.
    testsupport::ProgramDir dir;
    const QString path = dir.file("HAO.TXT");
    dir.write("HAO.TXT", Records({"2024001 1231", "20240"}));
    ASSERT_TRUE(AppendDrawRecords(path, {"2024002 456", "2024003 789"}));
    EXPECT_EQ(dir.read("HAO.TXT"), Records({"2024001 1231", "2024002 4561", "2024003 7891"}));
    EXPECT_EQ(loadFrom(path), QStringList({"2024001 123", "2024002 456", "2024003 789"}));
    EXPECT_EQ(LastIssue(path), "2024003");
}

TEST_F(DrawFile, RecordTextIsCodePage936) {
    // The record decoder takes the record text as the writer encoded it; a record whose number
    // is no digits is no draw of the history.
    testsupport::ProgramDir dir;
    const QString path = dir.file("HAO.TXT");
    const QString text = QString::fromUtf8("2024001 中7");
    ASSERT_TRUE(WriteDrawFile(path, {text, "2024002 456"}));
    EXPECT_EQ(dir.read("HAO.TXT").size(), 24);
    QStringList draws;
    int damaged = 0;
    ASSERT_TRUE(ReadDrawFile(path, &draws, nullptr, &damaged));
    EXPECT_EQ(draws, QStringList({"2024002 456"}));
    EXPECT_EQ(damaged, 1);
    EXPECT_EQ(DecodeDrawRecords(dir.read("HAO.TXT")).first().drawText, text);
    EXPECT_EQ(loadFrom(path).first(), "2024002 456");
}

TEST_F(DrawFile, DamagedRecordsAreLeftOutAndCountedNeverRewritten) {
    testsupport::ProgramDir dir;
    const QByteArray good1 = "2024001 1231", good2 = "2024005 5671";
    struct Case {
        const char* what;
        QByteArray damagedRecord;
    } cases[] = {
        {"letters in the issue", "2024a02 4561"},
        {"letters in the number", "2024002 4x61"},
        {"NUL bytes", QByteArray("2024002\0" "\0\0\0" "1", 12)},
        {"CRLF inside", "2024002 4\r\n1"},
        {"LF shifted", "\n2024002 451"},
        {"random bytes", QByteArray("\xff\xfe\x80\x01\x7f\x00\x9c\xd6\xd0\x20\x20\x31", 12)},
        {"GBK text", "2024002 \xd6\xd0" "71"},
    };
    for (const Case& c : cases) {
        const QByteArray bytes = good1 + c.damagedRecord + good2 + "2024006 0000";  // the last: withdrawn
        ASSERT_EQ(bytes.size() % kRecordLength, 0) << c.what;
        dir.write("HAO.TXT", bytes);
        EXPECT_EQ(loadFrom(dir.file("HAO.TXT")), QStringList({"2024001 123", "2024005 567"})) << c.what;
        EXPECT_EQ(CountDamagedRecords(dir.file("HAO.TXT")), 1) << c.what;
        EXPECT_EQ(dir.read("HAO.TXT"), bytes) << c.what;
        EXPECT_EQ(LastIssue(dir.file("HAO.TXT")), "2024006") << c.what;  // withdrawn, still the last
        // A damaged last record has no issue: the one before it is the file's last.
        dir.write("HAO.TXT", good1 + good2 + c.damagedRecord);
        EXPECT_EQ(LastIssue(dir.file("HAO.TXT")), "2024005") << c.what;
    }
    // The start-up notice names each file and its count once; no file, no notice.
    dir.write("HAOP3.TXT", good1 + "xxxxxxx xxx1" + "2024a02 4561" + good2);
    dir.write("HAO.TXT", good1 + good2);
    EXPECT_TRUE(DamagedRecordsNotice({dir.file("HAO.TXT"), dir.file("missing.TXT")}).isEmpty());
    const QString notice = DamagedRecordsNotice({dir.file("HAO.TXT"), dir.file("HAOP3.TXT")});
    EXPECT_TRUE(notice.contains(QStringLiteral("HAOP3.TXT 中有 2 条记录已损坏"))) << notice.toStdString();
    EXPECT_FALSE(notice.contains(QStringLiteral("HAO.TXT 中"))) << notice.toStdString();
}

TEST_F(DrawFile, ValidContentCheck) {
    EXPECT_TRUE(IsValidDrawFileContent(Records({"2024001 1231", "2024002 4561"})));
    EXPECT_FALSE(IsValidDrawFileContent(""));
    EXPECT_FALSE(IsValidDrawFileContent("2024001 1231x"));
    EXPECT_FALSE(IsValidDrawFileContent("<html>hello!"));
    EXPECT_FALSE(IsValidDrawFileContent("2024001 12a1"));
    // Any flag byte: withdrawn draws keep their records.
    EXPECT_TRUE(IsValidDrawFileContent("2024001 1230"));
    EXPECT_TRUE(IsValidDrawFileContent(Records({"2024001 123 ", "2024002 4561"})));
}

TEST_F(DrawFile, MoreThan32767RecordsLoadWhole) {
    testsupport::ProgramDir dir;
    QByteArray bytes;
    for (int i = 0; i < 33000; ++i) bytes += "2024001 1231";
    dir.write("big.txt", bytes);
    EXPECT_EQ(loadFrom(dir.file("big.txt")).size(), 33000);
}

TEST_F(DrawFile, RealHistory) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    testsupport::ProgramDir dir;
    ASSERT_TRUE(dir.copyShared("data/HAO.TXT"));
    const QStringList draws = loadFrom(common::DrawFilePathFor(false));
    ASSERT_EQ(draws.size(), 7774);
    EXPECT_EQ(draws.first(), "2004001 070");
    EXPECT_EQ(draws.last(), "2026267 857");
    app.resetAnalysisRange();
    EXPECT_EQ(app.rangeFirst(), 7673);
    EXPECT_EQ(app.rangeLast(), 7773);
}

}  // namespace
