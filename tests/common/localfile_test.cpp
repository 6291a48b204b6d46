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
    EXPECT_FALSE(fifo.readerWaited());
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
    ASSERT_TRUE(common::OpenRegularFile(&f, 0, &error)) << error.toStdString();
    EXPECT_EQ(f.size(), 1000);
    EXPECT_TRUE(f.seek(990));
    EXPECT_EQ(f.readAll().size(), 10);
}
