// The start's sweep: the temporaries of the program's own killed writes go, in the folders it
// writes and for the names it writes there; a user's files stay, however they are named and
// however old (a copy that kept its time, an unpacked archive).
#include "startup/leftovers.h"

#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes a file aged 15 minutes, as a copy that kept its old time would be.
void WriteOld(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write("x");
    f.close();
    const timespec old{::time(nullptr) - 15 * 60, 0};
    const timespec times[2] = {old, old};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

}  // namespace

TEST(StartSweep, RemovesOnlyTheProgramsOwnTemporaries) {
    testsupport::ProgramDir dir;
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString gone = QString::number(testsupport::GonePid());
    dir.write("HAO.TXT", "draws");
    // A user's folder linked in as 公式, and a note of theirs linked into the program folder.
    ASSERT_TRUE(QDir(elsewhere.path()).mkpath("ext"));
    WriteOld(elsewhere.filePath("ext/notes.txt"));
    ASSERT_TRUE(QFile::link(elsewhere.filePath("ext/notes.txt"), dir.file("notes.txt")));
    ASSERT_TRUE(QFile::link(elsewhere.filePath("ext"), dir.file("公式")));
    // The 排列三 draw file kept elsewhere through a link.
    WriteOld(elsewhere.filePath("ext/p3.dat"));
    ASSERT_TRUE(QFile::link(elsewhere.filePath("ext/p3.dat"), dir.file("HAOP3.TXT")));
    const struct {
        QString path;  // in the program folder, or "@" + a path elsewhere
        bool removed;
    } cases[] = {
        // The program's own, of a writer that is gone.
        {"HAO.TXT.tmp" + gone + "-123456", true},
        {"Web.htm.tmp" + gone + "-000001", true},
        {".update-old-program.tmp" + gone + "-000002", true},
        {"updatelog.txt.tmp123456", true},  // older builds' names for the files they wrote so
        {"HAO.TXT.tmp123456", true},
        {"HAO/导出.txt.tmp" + gone + "-000003", true},
        {"HAO/大底采集20231201.h.tmp654321", true},
        {"home/3d/HAO.txt.tmp" + gone + "-000004", true},
        {"@ext/p3.dat.tmp" + gone + "-000005", true},  // beside the linked draw file
        // Not the program's: their names, folders or links are not ones it writes.
        {"budget.tmp202312", false},
        {".x.tmp123456", false},
        {"Web.htm.tmp123456", false},  // older builds never wrote this one so
        {"mydocs/report.tmp123456", false},
        {"mydocs/report.txt.tmp" + gone + "-123456", false},
        {"HAO/notes.doc.tmp" + gone + "-123456", false},
        {"HAO/deep/a.txt.tmp" + gone + "-123456", false},
        {"@ext/notes.txt.tmp" + gone + "-123456", false},  // beside a linked file that is no draw file
        {"@ext/A.txt.tmp" + gone + "-123456", false},      // in a user's folder linked in as 公式
        {"@ext/p3.dat.tmp123456", false},
    };
    auto where = [&](const QString& path) {
        return path.startsWith('@') ? elsewhere.filePath(path.mid(1)) : dir.file(path);
    };
    for (const auto& c : cases) WriteOld(where(c.path));
    EXPECT_EQ(startup::RemoveStaleTemporaries(dir.path()), 9);
    for (const auto& c : cases) EXPECT_EQ(QFileInfo::exists(where(c.path)), !c.removed) << c.path.toStdString();
    EXPECT_EQ(dir.read("HAO.TXT"), QByteArray("draws"));
    EXPECT_TRUE(QFileInfo(dir.file("公式")).isSymLink());
}
