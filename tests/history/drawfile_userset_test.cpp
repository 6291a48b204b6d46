// Draw files the user set up in unusual ways (a read-only file, a symbolic link, a folder of the
// name, a file that cannot be read): every writer keeps them as they are or writes through them,
// and says so in Chinese.
#include "common/appstate.h"
#include "common/paths.h"
#include "history/drawdownload.h"
#include "history/drawentry.h"
#include "history/drawfile.h"
#include "httpserver.h"
#include "hookreset.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

using namespace history;

namespace userset_test {

using testsupport::EnvVar;

QByteArray RecordBytes(const QStringList& drawTexts) {
    QByteArray b;
    for (const QString& t : drawTexts) b += EncodeDrawRecord(t);
    return b;
}

QByteArray ListXml(const QString& issue, const QString& code) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xml><row expect=\"" + issue.toLatin1() + "\" opencode=\"" +
           code.toLatin1() + "\"/></xml>\n";
}

mode_t ModeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

QString LinkText(const QString& path) { return QFile::symLinkTarget(path); }

const QByteArray kLocal = RecordBytes({"2024100 111", "2024101 222", "2024102 333"});
const QByteArray kExtended = kLocal + RecordBytes({"2024103 444"});

// Each writer of a draw file, asked to put kExtended (or the list's one new draw) into path.
struct Writer {
    const char* name;
    std::function<bool(const QString& path, QString* error)> write;
};

class UserSetDrawFile : public ::testing::Test {
protected:
    testsupport::ProgramDir dir;
    testsupport::HttpServer server;
    QString hao;

    void SetUp() override {
        ASSERT_TRUE(server.isListening());
        hao = dir.file("HAO.TXT");
        server.serve("/list.xml", ListXml("2024103", "4,4,4"));
        server.serve("/3d/HAO.txt", kExtended);
    }

    std::vector<Writer> writers() {
        return {
            {"list merge", [this](const QString& p, QString* e) { return MergeDrawListXml(server.url("/list.xml"), p, "", "福彩3D", e); }},
            {"home copy", [this](const QString& p, QString* e) {
                 return ReplaceWithHomeCopy(server.url("/3d/HAO.txt"), p, dir.file("HAOBAK.TXT"), nullptr, e);
             }},
            {"draw entry", [this](const QString& p, QString* e) {
                 return WriteDrawFileViaFlag(p, dir.file("FLAG.TXT"), DecodeAll(kExtended), e);
             }},
        };
    }
    static QStringList DecodeAll(const QByteArray& bytes) { return ValidDrawTexts(bytes); }
};

}  // namespace userset_test

using namespace userset_test;

// A read-only draw file keeps its bytes and its mode, whoever runs the program: the permission
// bits decide, not whether the system would let the write through (it would for an administrator).
TEST_F(UserSetDrawFile, ReadOnlyFileIsKeptAndTheNewDrawsAreNotWritten) {
    for (const Writer& w : writers()) {
        QFile::setPermissions(hao, QFile::ReadOwner | QFile::WriteOwner);
        dir.write("HAO.TXT", kLocal);
        ASSERT_EQ(::chmod(QFile::encodeName(hao).constData(), 0444), 0);
        QString error;
        EXPECT_FALSE(w.write(hao, &error)) << w.name;
        EXPECT_TRUE(error.endsWith(QStringLiteral("%1 是只读文件，新的开奖数据没有写入").arg(hao))) << w.name << ": " << error.toStdString();
        EXPECT_EQ(dir.read("HAO.TXT"), kLocal) << w.name;
        EXPECT_EQ(ModeOf(hao), mode_t(0444)) << w.name;
        EXPECT_EQ(testsupport::FilesIn(dir.path()), QStringList({"HAO.TXT"})) << w.name;  // no copy, flag or temporary left
    }
    // Writable again, the same writers go through.
    ASSERT_EQ(::chmod(QFile::encodeName(hao).constData(), 0644), 0);
    for (const Writer& w : writers()) {
        dir.write("HAO.TXT", kLocal);
        QString error;
        EXPECT_TRUE(w.write(hao, &error)) << w.name << ": " << error.toStdString();
        EXPECT_EQ(dir.read("HAO.TXT"), kExtended) << w.name;
        EXPECT_EQ(ModeOf(hao), mode_t(0644)) << w.name;
    }
}

// A symbolic link stays a link: the file it points at gets the new draws, written through a
// temporary file in its own folder, and no temporary file is left on either side.
TEST_F(UserSetDrawFile, SymbolicLinkIsWrittenThroughAndKept) {
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString real = elsewhere.filePath("draws.bin");
    const QString middle = elsewhere.filePath("middle.lnk");
    struct Shape {
        const char* what;
        QString linkText;  // what HAO.TXT points at
    } shapes[] = {
        {"absolute link", real},
        {"relative link", QDir(dir.path()).relativeFilePath(real)},
        {"link to a link", middle},
    };
    for (const Shape& s : shapes) {
        for (const Writer& w : writers()) {
            QFile::remove(hao);
            QFile::remove(middle);
            QFile::remove(real);
            {
                QFile f(real);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write(kLocal);
            }
            ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0640), 0);
            ASSERT_EQ(::symlink(QFile::encodeName(real).constData(), QFile::encodeName(middle).constData()), 0);
            ASSERT_EQ(::symlink(QFile::encodeName(s.linkText).constData(), QFile::encodeName(hao).constData()), 0);
            const QString before = LinkText(hao);

            QString error;
            EXPECT_TRUE(w.write(hao, &error)) << s.what << ", " << w.name << ": " << error.toStdString();
            EXPECT_TRUE(QFileInfo(hao).isSymLink()) << s.what << ", " << w.name;
            EXPECT_EQ(LinkText(hao), before) << s.what << ", " << w.name;
            EXPECT_TRUE(QFileInfo(middle).isSymLink()) << s.what << ", " << w.name;
            EXPECT_EQ(dir.read("HAO.TXT"), kExtended) << s.what << ", " << w.name;
            EXPECT_EQ(ModeOf(real), mode_t(0640)) << s.what << ", " << w.name;
            EXPECT_EQ(testsupport::FilesIn(dir.path()), QStringList({"HAO.TXT"})) << s.what << ", " << w.name;
            EXPECT_EQ(testsupport::FilesIn(elsewhere.path()), QStringList({"draws.bin", "middle.lnk"}))
                << s.what << ", " << w.name;
        }
    }
}

// A link into another file system: a rename cannot reach there, so the file is written in its own
// folder. Skipped where no second file system is at hand.
TEST_F(UserSetDrawFile, SymbolicLinkIntoAnotherFileSystem) {
    struct stat here {}, there {};
    if (::stat(QFile::encodeName(dir.path()).constData(), &here) != 0 || ::stat("/dev/shm", &there) != 0 ||
        here.st_dev == there.st_dev || ::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no second writable file system (/dev/shm)";
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/sifmora-test-XXXXXX"));
    ASSERT_TRUE(elsewhere.isValid());
    const QString real = elsewhere.filePath("HAO.TXT");
    for (const Writer& w : writers()) {
        QFile::remove(hao);
        {
            QFile f(real);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(kLocal);
        }
        ASSERT_EQ(::symlink(QFile::encodeName(real).constData(), QFile::encodeName(hao).constData()), 0);
        QString error;
        EXPECT_TRUE(w.write(hao, &error)) << w.name << ": " << error.toStdString();
        EXPECT_TRUE(QFileInfo(hao).isSymLink()) << w.name;
        EXPECT_EQ(dir.read("HAO.TXT"), kExtended) << w.name;
        EXPECT_EQ(testsupport::FilesIn(dir.path()), QStringList({"HAO.TXT"})) << w.name;
        EXPECT_EQ(testsupport::FilesIn(elsewhere.path()), QStringList({"HAO.TXT"})) << w.name;
    }
}

// A folder where the draw file belongs is named as such, never "does not exist"; it stays.
TEST_F(UserSetDrawFile, FolderNamedLikeTheDrawFileIsSaidToBeAFolder) {
    ASSERT_TRUE(QDir().mkpath(dir.file("HAO.TXT/keep")));
    const QString isFolder = QStringLiteral("%1：它是一个文件夹，不是开奖数据文件").arg(hao);

    common::AppState app;
    app.selectLottery(false, hao, common::DrawHistory());
    QString error;
    EXPECT_FALSE(LoadDrawHistory(app, &error));
    EXPECT_EQ(error, QStringLiteral("无法读取 ") + isFolder);

    for (const Writer& w : writers()) {
        error.clear();
        EXPECT_FALSE(w.write(hao, &error)) << w.name;
        EXPECT_TRUE(error.contains(isFolder)) << w.name << ": " << error.toStdString();
        EXPECT_FALSE(error.contains(QStringLiteral("不存在"))) << w.name;
        EXPECT_TRUE(QFileInfo(dir.file("HAO.TXT/keep")).isDir()) << w.name;
        EXPECT_TRUE(testsupport::FilesIn(dir.path()).isEmpty()) << w.name;  // no copy or flag file left
    }
}

// A local file that cannot be read is never replaced by the home copy, however the copy looks:
// records are read and compared, never sizes.
TEST_F(UserSetDrawFile, UnreadableLocalFileIsNeverReplaced) {
    struct Case {
        const char* what;
        std::function<bool()> setUp;  // false: the fault cannot be made here
        QString why;                  // the start of the message
    } cases[] = {
        // The newest record is garbage: its issue cannot be read, so the copy only seems newer.
        {"damaged last record",
         [&] {
             dir.write("HAO.TXT", kLocal + "2024\x01\x02" "3 5551");
             return true;
         },
         QStringLiteral("%1 中有 1 条记录已损坏").arg(hao)},
        {"no read permission",
         [&] {
             dir.write("HAO.TXT", kLocal + RecordBytes({"2024104 555"}));
             ::chmod(QFile::encodeName(hao).constData(), 0);
             QFile probe(hao);
             return !probe.open(QIODevice::ReadOnly);  // an administrator reads it anyway
         },
         QStringLiteral("无法读取 %1：").arg(hao)},
    };
    for (const Case& c : cases) {
        QFile::setPermissions(hao, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(hao);
        if (!c.setUp()) {
            std::cout << "[ SKIPPED  ] " << c.what << ": the fault cannot be made for this user\n";
            continue;
        }
        struct stat before {};
        ::stat(QFile::encodeName(hao).constData(), &before);
        QFile::setPermissions(hao, QFile::ReadOwner | QFile::WriteOwner);
        const QByteArray bytes = dir.read("HAO.TXT");
        ::chmod(QFile::encodeName(hao).constData(), before.st_mode & 07777);

        // The copy holds more records than the local file and ends later.
        server.serve("/3d/HAO.txt", kLocal + RecordBytes({"2024103 444", "2024104 555", "2024105 666"}));
        HomeCopyResult result{};
        QString error;
        EXPECT_FALSE(ReplaceWithHomeCopy(server.url("/3d/HAO.txt"), hao, dir.file("HAOBAK.TXT"), &result, &error))
            << c.what;
        EXPECT_EQ(int(result), int(HomeCopyResult::Refused)) << c.what;
        EXPECT_TRUE(error.startsWith(c.why)) << c.what << ": " << error.toStdString();
        EXPECT_TRUE(error.endsWith(QStringLiteral("；本机文件保持原样，没有用服务器的副本替换它"))) << c.what;
        EXPECT_EQ(testsupport::FilesIn(dir.path()), QStringList({"HAO.TXT"})) << c.what;

        // On the start road too, with the reason as its message.
        EnvVar results("SIFMORA_RESULTS_URL", QStringLiteral("http://127.0.0.1:1"));
        EnvVar home("SIFMORA_HOME_URL", server.baseUrl());
        error.clear();
        EXPECT_FALSE(UpdateDrawFiles(&error)) << c.what;
        EXPECT_TRUE(error.startsWith(c.why)) << c.what << ": " << error.toStdString();

        QFile::setPermissions(hao, QFile::ReadOwner | QFile::WriteOwner);
        EXPECT_EQ(dir.read("HAO.TXT"), bytes) << c.what;
    }
}

// A link left under a temporary name (HAOBAK.TXT, FLAG.TXT) is removed, never written through:
// the file it points at stays, and the draw file does not become a link.
TEST_F(UserSetDrawFile, LinksUnderTheTemporaryNamesAreNotFollowed) {
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString victim = elsewhere.filePath("victim.txt");
    for (const Writer& w : writers()) {
        dir.write("HAO.TXT", kLocal);
        {
            QFile f(victim);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("keep me");
        }
        for (const char* name : {"HAOBAK.TXT", "FLAG.TXT"}) {
            QFile::remove(dir.file(name));
            ASSERT_TRUE(QFile::link(victim, dir.file(name)));
        }
        QString error;
        EXPECT_TRUE(w.write(hao, &error)) << w.name << ": " << error.toStdString();
        EXPECT_EQ(dir.read("HAO.TXT"), kExtended) << w.name;
        EXPECT_FALSE(QFileInfo(hao).isSymLink()) << w.name;
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("keep me")) << w.name;
    }
}
