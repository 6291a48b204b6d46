// A FIFO or a folder where the draw file should be: every reader and writer of the draw file
// returns at once with a Chinese reason, and the thing in the file's place stays as it was.
#include "common/appstate.h"
#include "history/drawentry.h"
#include "history/drawfile.h"
#include "hookreset.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace history;

TEST(DrawFileInPlace, FifoOrFolderIsNotADrawFile) {
    common::AppState app;
    testsupport::ProgramDir dir;
    const QString path = dir.file("HAO.TXT");
    for (const bool folder : {false, true}) {
        std::unique_ptr<testsupport::Fifo> fifo;
        if (folder) {
            ASSERT_TRUE(QDir(dir.path()).mkdir("HAO.TXT"));
        } else {
            fifo = std::make_unique<testsupport::Fifo>(path);
            ASSERT_TRUE(fifo->isMade());
        }
        const QString reason = folder ? QStringLiteral("它是一个文件夹，不是开奖数据文件") : QStringLiteral("这不是文件");
        QStringList draws{"kept"};
        QString error;
        EXPECT_FALSE(ReadDrawFile(path, &draws, &error));
        EXPECT_TRUE(error.contains(reason)) << error.toStdString();
        EXPECT_EQ(draws, QStringList{"kept"});
        app.selectLottery(false, path, common::DrawHistory());
        error.clear();
        EXPECT_FALSE(LoadDrawHistory(app, &error));
        EXPECT_TRUE(error.contains(reason)) << error.toStdString();
        error.clear();
        EXPECT_FALSE(AppendDrawRecords(path, {"2024001 123"}, &error));
        EXPECT_TRUE(error.contains(reason)) << error.toStdString();
        error.clear();
        EXPECT_FALSE(WriteDrawFileViaFlag(path, dir.file("FLAG.TXT"), {"2024001 123"}, &error));
        EXPECT_TRUE(error.contains(reason)) << error.toStdString();
        EXPECT_EQ(LastIssue(path), QString());
        EXPECT_EQ(LastDrawText(path), QString());
        EXPECT_EQ(CountDamagedRecords(path), 0);
        if (fifo) { EXPECT_FALSE(fifo->readerWaited()); }  // nothing opened or read it
        // Nothing was written in its place.
        EXPECT_EQ(QFileInfo(path).isDir(), folder);
        EXPECT_EQ(QFileInfo(path).isFile(), false);
        EXPECT_FALSE(QFileInfo::exists(dir.file("FLAG.TXT")));
        if (folder) QDir(dir.path()).rmdir("HAO.TXT");
    }
}

// A draw file that is a link to a file of the kernel that tells no size and never ends: every
// reader stops at the draw file's limit and says so; nothing is written through the link.
TEST(DrawFileInPlace, EndlessKernelFileStopsAtTheLimit) {
    if (::access("/proc/self/pagemap", R_OK) != 0) GTEST_SKIP() << "/proc/self/pagemap is not readable here";
    testsupport::ProgramDir dir;
    const QString path = dir.file("HAO.TXT");
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/pagemap"), path));
    QStringList draws{"kept"};
    QString error;
    EXPECT_FALSE(ReadDrawFile(path, &draws, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("上限"))) << error.toStdString();
    EXPECT_EQ(draws, QStringList{"kept"});
    EXPECT_EQ(LastIssue(path), QString());
    EXPECT_EQ(CountDamagedRecords(path), 0);
    EXPECT_EQ(DamagedRecordsNotice({path}), QString());
    error.clear();
    EXPECT_FALSE(WriteDrawFileViaFlag(path, dir.file("FLAG.TXT"), {"2024001 123"}, &error));
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(dir.file("FLAG.TXT")));
}
