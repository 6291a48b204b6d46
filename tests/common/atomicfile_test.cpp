// Whole-file writes on a full disk: the old file stays byte for byte, no temporary file is left,
// and the reason names the cause in Chinese.
#include "common/atomicfile.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using common::WriteFileAtomically;

namespace {

QByteArray Text(int n) {
    QByteArray b(n, 'x');
    for (int i = 0; i < n; ++i) b[i] = char('a' + i % 26);
    return b;
}

// No Latin words ("Unknown error", "No space left on device") in a reason shown to the user.
bool HasEnglish(const QString& s) {
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{3,}"));
    QString rest = s;
    rest.remove(QRegularExpression(QStringLiteral("[^ ]*[/\\\\][^ ：]*")));  // paths may hold letters
    return word.match(rest).hasMatch();
}

}  // namespace

TEST(AtomicWrite, FileSizeLimitKeepsTheOldFile) {
    testsupport::ProgramDir dir;
    // Small content is the dangerous case: it fits in a write buffer, so only a checked flush
    // sees the failure.
    for (int size : {4097, 5002, 100000}) {
        dir.write("a.txt", "old content");
        QString error;
        {
            testsupport::FileSizeLimit limit(4096);
            EXPECT_FALSE(WriteFileAtomically(dir.file("a.txt"), Text(size), &error)) << size;
        }
        EXPECT_EQ(dir.read("a.txt"), QByteArray("old content")) << size;
        EXPECT_EQ(testsupport::FilesIn(dir.path()), QStringList{"a.txt"}) << size;
        EXPECT_TRUE(error.contains(QStringLiteral("磁盘空间不足"))) << error.toStdString();
        EXPECT_FALSE(HasEnglish(error)) << error.toStdString();
    }
    // Under the limit the write goes through whole.
    testsupport::FileSizeLimit limit(4096);
    ASSERT_TRUE(WriteFileAtomically(dir.file("a.txt"), Text(4000)));
    EXPECT_EQ(dir.read("a.txt"), Text(4000));
}

TEST(AtomicWrite, FullDiskKeepsTheOldFile) {
    testsupport::SmallDisk disk(64 * 1024);
    if (!disk.isMounted()) GTEST_SKIP() << "no tmpfs can be mounted here (needs root); the size-limit test covers it";
    QFile old(disk.file("a.txt"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old content");
    old.close();
    disk.fill(0);
    for (int size : {100, 5002, 40000}) {
        QString error;
        EXPECT_FALSE(WriteFileAtomically(disk.file("a.txt"), Text(size), &error)) << size;
        QFile back(disk.file("a.txt"));
        ASSERT_TRUE(back.open(QIODevice::ReadOnly));
        EXPECT_EQ(back.readAll(), QByteArray("old content")) << size;
        EXPECT_EQ(testsupport::FilesIn(QFileInfo(disk.file("a.txt")).absolutePath()), (QStringList{".filler", "a.txt"})) << size;
        EXPECT_TRUE(error.contains(QStringLiteral("磁盘空间不足"))) << error.toStdString();
    }
}

TEST(AtomicWrite, ReasonsAreChinese) {
    testsupport::ProgramDir dir;
    struct Case {
        const char* what;
        QString path;
        QString cause;
    } cases[] = {
        {"missing folder", dir.file("missing/x.txt"), QStringLiteral("不存在")},
        {"a folder in the way", dir.file("sub"), QStringLiteral("文件夹")},
    };
    QDir(dir.path()).mkdir("sub");
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(WriteFileAtomically(c.path, "y", &error)) << c.what;
        EXPECT_TRUE(error.contains(c.cause)) << c.what << ": " << error.toStdString();
        EXPECT_FALSE(HasEnglish(error)) << error.toStdString();
    }
    EXPECT_EQ(testsupport::FilesIn(dir.path()), QStringList());
    QString error;
    EXPECT_FALSE(common::ReplaceFile(dir.file("nothing"), dir.file("b.txt"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("不存在"))) << error.toStdString();
    for (int e : {ENOSPC, EACCES, EROFS, EIO, 9999}) EXPECT_FALSE(HasEnglish(common::FileErrorText(e))) << e;
}

TEST(AtomicWrite, KeepsTheModeOfTheFileItReplaces) {
    testsupport::ProgramDir dir;
    dir.write("run.sh", "old");
    QFile(dir.file("run.sh")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(WriteFileAtomically(dir.file("run.sh"), "new"));
    EXPECT_EQ(dir.read("run.sh"), QByteArray("new"));
    EXPECT_TRUE(QFile(dir.file("run.sh")).permissions() & QFile::ExeOwner);
}

// A symbolic link stays a link, whichever routine writes: the file it points at (created when
// missing) gets the bytes, in its own folder; a link that points at itself is refused in Chinese.
TEST(AtomicWrite, SymbolicLinkStaysALink) {
    testsupport::ProgramDir dir;
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString real = elsewhere.filePath("real.txt");
    const QString link = dir.file("link.txt");
    auto fresh = [&](bool withTarget) {
        QFile::remove(link);
        QFile::remove(real);
        if (withTarget) {
            QFile f(real);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("old");
            f.close();
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        }
        ASSERT_TRUE(QFile::link(real, link));
    };
    auto readReal = [&] {
        QFile f(real);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    };

    fresh(true);
    ASSERT_TRUE(WriteFileAtomically(link, "written"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readReal(), QByteArray("written"));
    EXPECT_EQ(QFile::permissions(real) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);

    fresh(true);
    dir.write("new.txt", "renamed");
    ASSERT_TRUE(common::ReplaceFile(dir.file("new.txt"), link));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readReal(), QByteArray("renamed"));
    EXPECT_EQ(QFile::permissions(real) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);

    fresh(false);  // a link to a file not made yet
    ASSERT_TRUE(WriteFileAtomically(link, "first"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readReal(), QByteArray("first"));
    EXPECT_EQ(testsupport::FilesIn(dir.path()), QStringList{"link.txt"});
    EXPECT_EQ(testsupport::FilesIn(elsewhere.path()), QStringList{"real.txt"});

    const QString loop = dir.file("loop.txt");
    ASSERT_TRUE(QFile::link(loop, loop));
    QString error;
    EXPECT_FALSE(WriteFileAtomically(loop, "y", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("符号链接"))) << error.toStdString();
    EXPECT_FALSE(HasEnglish(error)) << error.toStdString();
    EXPECT_TRUE(QFileInfo(loop).isSymLink());
}
