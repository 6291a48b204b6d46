// Whole-file writes on a full disk: the old file stays byte for byte, no temporary file is left,
// and the reason names the cause in Chinese.
#include "common/atomicfile.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

namespace {

// Sets a file's modification time minutes into the past.
void Age(const QString& path, int minutes) {
    struct timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - minutes * 60, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0) << path.toStdString();
}

// A write killed half-way in a child process: its temporary file stays, named with its pid.
QString KilledWrite(const testsupport::ProgramDir& dir, const QString& name) {
    const QStringList before = testsupport::FilesIn(dir.path());
    const pid_t child = ::fork();
    if (child == 0) {
        common::AtomicFile f(dir.file(name));
        if (f.open() && f.write(QByteArray(5000, 'x'))) ::_exit(0);  // ends before commit, like a kill
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    for (const QString& f : testsupport::FilesIn(dir.path()))
        if (!before.contains(f)) return f;
    return {};
}

}  // namespace

TEST(AtomicWrite, SweepRemovesOnlyTheNamedTargetsStaleTemporaries) {
    testsupport::ProgramDir dir;
    dir.write("HAO.TXT", "draws");
    const QString killed = KilledWrite(dir, "HAO.TXT");
    ASSERT_TRUE(killed.startsWith("HAO.TXT.tmp")) << killed.toStdString();
    Age(dir.file(killed), 10);
    const QString mine = QStringLiteral("HAO.TXT.tmp%1-123456").arg(::getpid());  // a write under way here
    const long gone = testsupport::GonePid();
    const struct {
        QString name;
        int ageMinutes;
        bool removed;
    } cases[] = {
        {killed, 10, true},                                        // old, its writer is gone
        {QStringLiteral("hao.txt.tmp%1-000002").arg(gone), 10, true},  // the target's name in another case
        {"update.tmp654321", 10, true},          // an older build's name for a target it wrote so
        {"HAO.TXT.tmp654321", 10, false},        // a target older builds never wrote so
        {"HAO.TXT.tmp999999-000001", 1, false},  // fresh: a write may still be under way
        {mine, 10, false},                       // its writer runs
        {QStringLiteral("budget.tmp%1-202312").arg(gone), 10, false},  // not a file the program writes
        {"budget.tmp202312", 10, false},
        {".x.tmp123456", 10, false},
        {"notes.tmp", 10, false},
        {"a.tmp12345", 10, false},
        {"a.tmpabcdef", 10, false},
        {"a.tmp123456.txt", 10, false},
    };
    for (const auto& c : cases) {
        if (c.name != killed) dir.write(c.name, "x");
        Age(dir.file(c.name), c.ageMinutes);
    }
    // A folder and a link of the program's naming were not written by it.
    ASSERT_TRUE(QDir(dir.path()).mkdir("update.tmp111111"));
    ASSERT_TRUE(QFile::link(dir.file("HAO.TXT"), dir.file("update.tmp222222")));
    const common::TemporaryTargets targets{{"HAO.TXT", "update"}, {"update"}};
    EXPECT_EQ(common::RemoveStaleTemporaries(dir.path(), targets), 3);
    for (const auto& c : cases)
        EXPECT_EQ(QFileInfo::exists(dir.file(c.name)), !c.removed) << c.name.toStdString();
    EXPECT_TRUE(QFileInfo(dir.file("update.tmp111111")).isDir());
    EXPECT_TRUE(QFileInfo(dir.file("update.tmp222222")).isSymLink());
    EXPECT_EQ(dir.read("HAO.TXT"), QByteArray("draws"));
}

// A draw file kept elsewhere through a link: a killed write left its temporary beside the file
// linked to; only that file's own pid-named temporary of a gone writer goes from that folder.
TEST(AtomicWrite, StartRemovesStaleTemporariesBesideALinkedFile) {
    testsupport::ProgramDir dir;
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString real = elsewhere.filePath("draws.txt");
    {
        QFile f(real);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("draws");
    }
    ASSERT_TRUE(QFile::link(real, dir.file("HAO.TXT")));
    const long gone = testsupport::GonePid();
    const struct {
        QString name;
        bool removed;
    } cases[] = {
        {QStringLiteral("draws.txt.tmp%1-123456").arg(gone), true},
        {QStringLiteral("draws.txt.tmp%1-123456").arg(::getpid()), false},  // its writer runs
        {QStringLiteral("draws.txt.tmp123456"), false},                     // could be the user's
        {QStringLiteral("notes.txt.tmp%1-123456").arg(gone), false},        // not the linked file's
    };
    for (const auto& c : cases) {
        QFile f(elsewhere.filePath(c.name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        Age(f.fileName(), 10);
    }
    // A link of another name (not a draw file) is the user's own business.
    {
        QFile notes(elsewhere.filePath("notes.txt"));
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::link(elsewhere.filePath("notes.txt"), dir.file("notes.txt")));
    EXPECT_EQ(common::RemoveStaleLinkedTemporaries(dir.path(), {"HAO.TXT", "HAOP3.TXT"}), 1);
    for (const auto& c : cases)
        EXPECT_EQ(QFileInfo::exists(elsewhere.filePath(c.name)), !c.removed) << c.name.toStdString();
    EXPECT_TRUE(QFileInfo(dir.file("HAO.TXT")).isSymLink());
}
