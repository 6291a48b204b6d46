// Local reads open regular files only: a FIFO, a folder or a socket in a file's place fails at
// once with a Chinese reason instead of blocking, and the size limits hold.
#include "common/localfile.h"
#include "common/textcodec.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Binds a Unix socket at path (a socket file in the folder) for the life of the object.
class SocketFile {
public:
    explicit SocketFile(const QString& path) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        if (fd_ < 0 || size_t(name.size()) >= sizeof addr.sun_path) return;
        std::memcpy(addr.sun_path, name.constData(), size_t(name.size()));
        bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    }
    ~SocketFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool bound_ = false;

private:
    int fd_ = -1;
};

}  // namespace

TEST(LocalFile, OnlyRegularFilesAreReadAndNothingBlocks) {
    testsupport::ProgramDir dir;
    dir.write("page.htm", "<html>ok</html>");
    testsupport::Fifo fifo(dir.file("fifo.htm"));
    ASSERT_TRUE(fifo.isMade());
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.htm"));
    ASSERT_TRUE(QFile::link(dir.file("page.htm"), dir.file("link.htm")));
    ASSERT_TRUE(QFile::link(dir.file("fifo.htm"), dir.file("fifolink.htm")));
    SocketFile socket(dir.file("s.sock"));
    struct Case {
        const char* name;
        bool ok;
        const char* reason;  // in the message after "无法读取 <file>："
    } cases[] = {
        {"page.htm", true, ""},
        {"link.htm", true, ""},  // a link to a regular file is read through
        {"fifo.htm", false, "这不是文件"},
        {"fifolink.htm", false, "这不是文件"},
        {"folder.htm", false, "这是文件夹，不是文件"},
        {"missing.htm", false, "文件或文件夹不存在"},
        {"s.sock", false, "这不是文件"},
    };
    for (const Case& c : cases) {
        if (QByteArray(c.name) == "s.sock" && !socket.bound_) continue;
        for (int reader = 0; reader < 2; ++reader) {
            QByteArray bytes = "kept";
            QString text = QStringLiteral("kept");
            QString error;
            const bool ok = reader == 0 ? common::ReadRegularFile(dir.file(c.name), common::kPageLimit, &bytes, &error)
                                        : common::ReadAnsiFile(dir.file(c.name), &text, &error);
            EXPECT_EQ(ok, c.ok) << c.name << " reader " << reader;
            if (c.ok) {
                EXPECT_TRUE(reader == 0 ? bytes == "<html>ok</html>" : text == QStringLiteral("<html>ok</html>")) << c.name;
                continue;
            }
            EXPECT_TRUE(error.startsWith(QStringLiteral("无法读取 %1：").arg(QDir::toNativeSeparators(dir.file(c.name)))))
                << error.toStdString();
            EXPECT_TRUE(error.contains(QString::fromUtf8(c.reason))) << c.name << ": " << error.toStdString();
            EXPECT_EQ(bytes, QByteArray("kept")) << c.name;
            EXPECT_EQ(text, QStringLiteral("kept")) << c.name;
        }
    }
    EXPECT_FALSE(fifo.readerWaited());  // nothing opened or read it
}

TEST(LocalFile, SizeLimitIsThatOfTheDownloads) {
    testsupport::ProgramDir dir;
    dir.write("exact.txt", QByteArray(1000, 'a'));
    dir.write("over.txt", QByteArray(1001, 'a'));
    QByteArray bytes;
    QString error;
    EXPECT_TRUE(common::ReadRegularFile(dir.file("exact.txt"), 1000, &bytes, &error));
    EXPECT_EQ(bytes.size(), 1000);
    EXPECT_FALSE(common::ReadRegularFile(dir.file("over.txt"), 1000, &bytes, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("上限"))) << error.toStdString();
    EXPECT_EQ(bytes.size(), 1000);
    // Texts (formulas, collections, version logs) are held to a page's limit by default.
    dir.write("big.txt", QByteArray(common::kPageLimit + 1, '1'));
    QString text;
    EXPECT_FALSE(common::ReadAnsiFile(dir.file("big.txt"), &text, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("4096 KB 的上限"))) << error.toStdString();
    // An opened file is an ordinary QFile: sizes and seeks work as before.
    QFile f(dir.file("exact.txt"));
    ASSERT_TRUE(common::OpenRegularFile(&f, 1000, &error)) << error.toStdString();
    EXPECT_EQ(f.size(), 1000);
    EXPECT_TRUE(f.seek(990));
    EXPECT_EQ(f.readAll().size(), 10);
}

// Files of the kernel tell no size (st_size 0) and may be endless or wait for data: a read of one
// put in a file's place stops just past its limit, or fails at once, and says why.
TEST(LocalFile, KernelFilesStopAtTheLimitAndNeverWait) {
    testsupport::ProgramDir dir;
    struct Case {
        const char* file;
        const char* reason;  // "" when it is read whole (small enough)
    } cases[] = {
        {"/proc/self/pagemap", "超过了 2048 KB 的上限"},  // endless: 8 bytes for every page of the address space
        {"/proc/kmsg", "这不是普通文件"},                  // waits for the kernel's next message
        {"/proc/self/stat", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        if (::access(c.file, R_OK) != 0) continue;  // not readable by this user here
        QFile::remove(dir.file("HAO.TXT"));
        ASSERT_TRUE(QFile::link(QString::fromLatin1(c.file), dir.file("HAO.TXT")));
        QByteArray bytes = "kept";
        QString error;
        const bool ok = common::ReadRegularFile(dir.file("HAO.TXT"), common::kDrawFileLimit, &bytes, &error);
        EXPECT_EQ(ok, !*c.reason) << error.toStdString();
        if (!ok) {
            EXPECT_TRUE(error.contains(QString::fromUtf8(c.reason))) << error.toStdString();
            EXPECT_EQ(bytes, "kept");
        }
        // Streamed copies stop at their limit too.
        QFile f(dir.file("HAO.TXT"));
        ASSERT_TRUE(common::OpenRegularFile(&f, common::kDrawFileLimit, &error)) << error.toStdString();
        qint64 total = 0;
        QByteArray piece;
        bool more = true;
        while (more && common::ReadPiece(&f, dir.file("HAO.TXT"), common::kDrawFileLimit, &total, &piece, &error))
            more = !piece.isEmpty();
        EXPECT_EQ(more, bool(*c.reason)) << error.toStdString();
        EXPECT_LE(total, common::kDrawFileLimit + (1 << 20));
    }
}
