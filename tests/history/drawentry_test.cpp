#include "history/drawdownload.h"
#include "history/drawentry.h"
#include "history/drawfile.h"
#include "httpserver.h"
#include "testsupport.h"

#include <QDate>
#include <QFile>
#include <QDir>
#include <gtest/gtest.h>

using history::DrawEntryBook;
using Outcome = history::DrawEntryBook::SaveOutcome;

namespace {

// Draws 2024<first>.. of consecutive serials, numbers 100, 101, ...
QStringList EntryDraws(int count, int firstSerial = 1) {
    QStringList d;
    for (int i = 0; i < count; ++i)
        d << QStringLiteral("2024%1 %2").arg(firstSerial + i, 3, 10, QLatin1Char('0')).arg(100 + i);
    return d;
}

QByteArray EntryRecords(const QStringList& drawTexts) {
    QByteArray b;
    for (const QString& t : drawTexts) b += history::EncodeDrawRecord(t);
    return b;
}

}  // namespace

TEST(DrawEntryBook, NextIssueFollowsTheNewestAndSavedDrawsAreAppended) {
    DrawEntryBook book(EntryDraws(3, 356));  // 2024356..2024358
    EXPECT_EQ(book.newest(), 2);
    EXPECT_EQ(book.nextIssue(), "2024359");
    EXPECT_EQ(book.itemTexts(), QStringList({"2024356", "2024357", "2024358", "2024359"}));

    EXPECT_EQ(book.save(book.lastItem(), " 2024359 ", " 123 "), Outcome::Appended);
    EXPECT_EQ(book.entry(3), "2024359 123");
    EXPECT_EQ(book.newest(), 3);
    EXPECT_EQ(book.nextIssue(), "2024360");
    // A new year's first issue is typed; any later issue is taken.
    EXPECT_EQ(book.save(-1, "2025001", "000"), Outcome::Appended);
    EXPECT_EQ(book.nextIssue(), "2025002");
    EXPECT_EQ(book.keptDraws().mid(3), QStringList({"2024359 123", "2025001 000"}));
}

TEST(DrawEntryBook, MalformedOrOlderInputChangesNothing) {
    const QStringList draws = EntryDraws(3, 356);
    struct Case {
        int selected;
        QString issue, number;
        Outcome expected;
    } cases[] = {
        {3, "2024359", "12", Outcome::FormatError},
        {3, "2024359", "1234", Outcome::FormatError},
        {3, "2024359", "1e2", Outcome::FormatError},   // numeric to a lenient check, no digits
        {3, "2024359", "-12", Outcome::FormatError},
        {3, "2024359", "1.5", Outcome::FormatError},
        {3, "2024359", "1 2", Outcome::FormatError},
        {3, "2024.59", "123", Outcome::FormatError},
        {3, "+024359", "123", Outcome::FormatError},
        {3, "202435", "123", Outcome::FormatError},
        {3, "20243590", "123", Outcome::FormatError},
        {3, QStringLiteral("２０２４３５９"), "123", Outcome::FormatError},  // full-width digits
        {3, "", "", Outcome::FormatError},
        {1, "2024357", "x12", Outcome::FormatError},     // a correction is checked as well
        {3, "2024358", "123", Outcome::IssueNotNewer},   // equal to the newest
        {-1, "2024100", "123", Outcome::IssueNotNewer},  // older
        {1, "2024358", "123", Outcome::IssueNotNewer},   // another issue on a selected draw
    };
    for (const Case& c : cases) {
        DrawEntryBook book(draws);
        EXPECT_EQ(book.save(c.selected, c.issue, c.number), c.expected) << c.issue.toStdString() << " " << c.number.toStdString();
        EXPECT_EQ(book.keptDraws(), draws);
        EXPECT_EQ(book.nextIssue(), "2024359");
    }
}

TEST(DrawEntryBook, CorrectionKeepsTheDrawsPlace) {
    DrawEntryBook book(EntryDraws(3, 356));
    EXPECT_EQ(book.save(1, "2024357", "999"), Outcome::Modified);
    EXPECT_EQ(book.keptDraws(), QStringList({"2024356 100", "2024357 999", "2024358 102"}));
    EXPECT_EQ(book.entryCount(), 3);
}

TEST(DrawEntryBook, DeletingTheNewestOffersItsIssueAgain) {
    DrawEntryBook book(EntryDraws(4, 356));  // ..2024359
    ASSERT_TRUE(book.canDelete(3));
    book.markDeleted(3);
    EXPECT_EQ(book.itemText(3), "删除");
    EXPECT_EQ(book.newest(), 2);
    EXPECT_EQ(book.nextIssue(), "2024359");
    EXPECT_FALSE(book.canDelete(3));
    EXPECT_FALSE(book.canDelete(book.lastItem()));
    EXPECT_FALSE(book.canDelete(-1));

    // The draw saved under it goes to the end and takes the deleted one's place in the file.
    EXPECT_EQ(book.save(book.lastItem(), "2024359", "456"), Outcome::Appended);
    EXPECT_EQ(book.entryCount(), 5);
    EXPECT_EQ(book.keptDraws(), QStringList({"2024356 100", "2024357 101", "2024358 102", "2024359 456"}));
    // Restoring the old one now would write issue 2024359 twice.
    EXPECT_FALSE(book.restore(3));
    EXPECT_TRUE(book.isDeleted(3));
    EXPECT_EQ(book.lastEntryIssue(), "2024359");
}

TEST(DrawEntryBook, RestoreBringsEntriesBackInOrder) {
    DrawEntryBook book(EntryDraws(5, 1));  // 2024001..2024005
    book.markDeleted(1);
    book.markDeleted(4);
    book.markDeleted(3);
    EXPECT_EQ(book.newest(), 2);
    EXPECT_EQ(book.nextIssue(), "2024004");
    EXPECT_TRUE(book.restore(1));          // a middle entry
    EXPECT_EQ(book.newest(), 2);
    EXPECT_TRUE(book.restore(4));          // beyond the newest: it becomes the newest
    EXPECT_EQ(book.newest(), 4);
    EXPECT_EQ(book.nextIssue(), "2024006");
    EXPECT_EQ(book.keptDraws(), QStringList({"2024001 100", "2024002 101", "2024003 102", "2024005 104"}));
    EXPECT_FALSE(book.restore(4));         // not deleted
}

TEST(DrawEntryBook, EmptyAndFullyDeletedHistories) {
    DrawEntryBook empty;
    EXPECT_EQ(empty.newest(), -1);
    EXPECT_EQ(empty.nextIssue(), QString::number(QDate::currentDate().year()) + "001");
    EXPECT_EQ(empty.itemTexts().size(), 1);
    EXPECT_EQ(empty.lastEntryIssue(), "");
    EXPECT_EQ(empty.save(empty.lastItem(), "2020001", "123"), Outcome::Appended);
    EXPECT_EQ(empty.keptDraws(), QStringList({"2020001 123"}));

    DrawEntryBook book(EntryDraws(2, 10));
    book.markDeleted(1);
    book.markDeleted(0);
    EXPECT_EQ(book.newest(), -1);
    EXPECT_EQ(book.nextIssue(), "2024010");  // the oldest issue, to enter the history again
    EXPECT_EQ(book.save(book.lastItem(), "2024010", "555"), Outcome::Appended);
    EXPECT_EQ(book.keptDraws(), QStringList({"2024010 555"}));
}

TEST(DrawEntryWrite, WritesThroughFlagFileAndLosesNothingOnFailure) {
    testsupport::ProgramDir dir;
    dir.write("HAO.TXT", EntryRecords(EntryDraws(2)));
    dir.write("FLAG.TXT", QByteArray(100, 'x'));  // a stale one is replaced, never extended
    const QStringList draws = {"2024001 100", "2024003 333"};
    QString error;
    ASSERT_TRUE(history::WriteDrawFileViaFlag(dir.file("HAO.TXT"), dir.file("FLAG.TXT"), draws, &error)) << error.toStdString();
    EXPECT_EQ(dir.read("HAO.TXT"), QByteArray("2024001 1001" "2024003 3331"));
    EXPECT_FALSE(QFile::exists(dir.file("FLAG.TXT")));

    // The rename cannot happen (the target folder is missing): the FLAG file goes, nothing else changes.
    EXPECT_FALSE(history::WriteDrawFileViaFlag(dir.file("gone/HAO.TXT"), dir.file("FLAG.TXT"), draws, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.file("FLAG.TXT")));
    EXPECT_EQ(dir.read("HAO.TXT"), QByteArray("2024001 1001" "2024003 3331"));
}

// The draw file can be written but the folder of the temporary file takes no new file: the
// reason names the draw file and that folder, never the temporary the player never sees.
TEST(DrawEntryWrite, FailureNamesTheDrawFileNotTheTemporary) {
    testsupport::ProgramDir dir;
    dir.write("HAO.TXT", EntryRecords(EntryDraws(2)));
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    testsupport::ReadOnlyFolder locked(dir.file("locked"));
    if (!locked.isReadOnly()) GTEST_SKIP() << "a folder cannot be made read-only here";
    QString error;
    EXPECT_FALSE(history::WriteDrawFileViaFlag(dir.file("HAO.TXT"), dir.file("locked/FLAG.TXT"), {"2024001 100"}, &error));
    EXPECT_TRUE(error.startsWith("无法写入 " + QDir::toNativeSeparators(dir.file("HAO.TXT")) + "：")) << error.toStdString();
    EXPECT_TRUE(error.endsWith("（程序文件夹 " + QDir::toNativeSeparators(dir.file("locked")) + " 不能写入）"))
        << error.toStdString();
    EXPECT_FALSE(error.contains("FLAG")) << error.toStdString();
    EXPECT_EQ(dir.read("HAO.TXT"), EntryRecords(EntryDraws(2)));
}

TEST(DrawEntryWrite, HomeCopyFetchChecksTheCopy) {
    testsupport::ProgramDir dir;
    testsupport::HttpServer server;
    ASSERT_TRUE(server.isListening());
    const QString bak = dir.file("HAOBAK.TXT");
    server.serve("/3d/HAO.txt", EntryRecords(EntryDraws(3, 7)));
    history::HomeCopyCheck check;
    const QString local = dir.file("HAO.TXT");  // missing: any draw file extends it
    EXPECT_EQ(history::FetchHomeCopy(server.url("/3d/HAO.txt"), bak, local, &check), history::HomeCopyFetch::Fetched);
    EXPECT_EQ(check.serverIssue, "2024009");
    EXPECT_TRUE(QFile::exists(bak));

    server.serve("/3d/HAO.txt", EntryRecords(EntryDraws(1)) + "2024");  // a partial record
    EXPECT_EQ(history::FetchHomeCopy(server.url("/3d/HAO.txt"), bak, local), history::HomeCopyFetch::Refused);
    EXPECT_FALSE(QFile::exists(bak));
    EXPECT_EQ(history::FetchHomeCopy(server.url("/missing"), bak, local), history::HomeCopyFetch::NotReached);
    EXPECT_FALSE(QFile::exists(bak));
}
