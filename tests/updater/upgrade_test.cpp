// Version logs, the decision, closing the main program and the file swap.
#include "common/textcodec.h"
#include "heldcopy.h"
#include "testsupport.h"
#include "updater/upgrade.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

using namespace updater;

TEST(VersionLogTest, ParsesLineOneAsSigned16BitInteger) {
    struct Case {
        QByteArray bytes;
        bool ok;
        int version;
        QString address;
    };
    const Case cases[] = {
        {"5\r\nhttp://h/3Dbak.exe\r\n", true, 5, "http://h/3Dbak.exe"},
        {"  12 \r\n addr \r\nmore\r\n", true, 12, " addr "},
        {" -1 \n" + common::EncodeAnsi("请下载") + "\n", true, -1, "请下载"},
        {"32767\r\nx", true, 32767, "x"},
        {"-32768\r\nx", true, -32768, "x"},
        {"32768\r\nx\r\n", false, 0, ""},
        {"1.5\r\nx\r\n", false, 0, ""},
        {"abc\r\nx\r\n", false, 0, ""},
        {"\r\nx\r\n", false, 0, ""},
        {"5\r\n", false, 0, ""},
        {"5", false, 0, ""},
        {"", false, 0, ""},
    };
    for (const Case& c : cases) {
        VersionLog log;
        QString error;
        EXPECT_EQ(ParseVersionLog(c.bytes, &log, &error), c.ok) << c.bytes.constData();
        if (c.ok) {
            EXPECT_EQ(log.version, c.version) << c.bytes.constData();
            EXPECT_EQ(log.address, c.address) << c.bytes.constData();
        } else {
            EXPECT_FALSE(error.isEmpty());
        }
    }
    VersionLog log;
    EXPECT_FALSE(ReadVersionLog("/nonexistent/updatelog.txt", &log));
}

TEST(VersionLogTest, FifoInPlaceOfALogOrProgramFailsAtOnce) {
    testsupport::ProgramDir dir;
    testsupport::Fifo fifo(dir.file("updatelog.txt"));
    ASSERT_TRUE(fifo.isMade());
    VersionLog log;
    QString error;
    EXPECT_FALSE(ReadVersionLog(dir.file("updatelog.txt"), &log, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("这不是文件"))) << error.toStdString();
    EXPECT_FALSE(FileIsCompleteProgram(dir.file("updatelog.txt")));
    EXPECT_FALSE(fifo.readerWaited());
}

TEST(VersionLogTest, Decision) {
    EXPECT_EQ(Decide(5, -1), Decision::DownloadPage);
    EXPECT_EQ(Decide(-1, -1), Decision::DownloadPage);
    EXPECT_EQ(Decide(5, 6), Decision::Upgrade);
    EXPECT_EQ(Decide(-5, -2), Decision::Upgrade);
    EXPECT_EQ(Decide(5, 5), Decision::UpToDate);
    EXPECT_EQ(Decide(5, 4), Decision::UpToDate);
    EXPECT_EQ(Decide(5, -2), Decision::UpToDate);
}

TEST(VersionLogTest, OnlyProgramsPassForTheMainProgram) {
    EXPECT_TRUE(LooksLikeProgram("\x7f" "ELF\x02\x01"));
    EXPECT_TRUE(LooksLikeProgram("#!/bin/sh\n"));
    EXPECT_FALSE(LooksLikeProgram("<html><body>404</body></html>"));
    EXPECT_FALSE(LooksLikeProgram(""));
}

TEST(VersionLogTest, OnlyAWholeProgramOfThisPlatformIsInstalled) {
#ifndef Q_OS_LINUX
    GTEST_SKIP() << "the whole-program check reads ELF";
#endif
    QFile real(QStringLiteral(FAKE_SIFMORA_EXE));
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    const QByteArray program = real.readAll();
    QByteArray otherClass = program;
    otherClass[4] = char(otherClass[4] == 2 ? 1 : 2);  // 32 against 64 bit
    QByteArray otherMachine = program;
    otherMachine[18] = char(otherMachine[18] ^ 0x40);
    struct Case {
        const char* what;
        QByteArray bytes;
        bool whole;
    } cases[] = {
        {"the program", program, true},
        {"with bytes after it", program + "SIFMORA-NEW-0007", true},
        {"one byte short", program.left(program.size() - 1), false},
        {"two thirds", program.left(program.size() * 2 / 3), false},
        {"the header only", program.left(64), false},
        {"another word size", otherClass, false},
        {"another machine", otherMachine, false},
        {"a shell script", "#!/bin/sh\necho hi\n", false},
        {"an html page", "<html><body>404</body></html>", false},
        {"nothing", QByteArray(), false},
    };
    testsupport::ProgramDir dir;
    for (const Case& c : cases) {
        dir.write("3Dbak.exe", c.bytes);
        EXPECT_EQ(FileIsCompleteProgram(dir.file("3Dbak.exe")), c.whole) << c.what;
    }
}

namespace {

class SwapTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("Sifmora", "old program");
        QFile(dir.file("Sifmora")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        dir.write("updatelog.txt", "5\r\nold\r\n");
        dir.write("3Dbak.exe", "new program");
        QFile(dir.file("3Dbak.exe")).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        dir.write("updatebak.txt", "7\r\nnew\r\n");
    }
    QStringList files() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    void expectBefore() const {
        EXPECT_EQ(dir.read("Sifmora"), QByteArray("old program"));
        EXPECT_TRUE(QFileInfo(dir.file("Sifmora")).isExecutable());
        EXPECT_EQ(dir.read("updatelog.txt"), QByteArray("5\r\nold\r\n"));
    }
    testsupport::ProgramDir dir;
};

TEST_F(SwapTest, NewProgramAndLogTakeTheOldNames) {
    {
        ProgramSwap swap(dir.path());
        QString error;
        ASSERT_TRUE(swap.apply(&error)) << error.toStdString();
        swap.commit();
    }
    EXPECT_EQ(dir.read("Sifmora"), QByteArray("new program"));
    EXPECT_TRUE(QFileInfo(dir.file("Sifmora")).isExecutable());
    EXPECT_EQ(dir.read("updatelog.txt"), QByteArray("7\r\nnew\r\n"));
    EXPECT_EQ(files(), (QStringList{"Sifmora", "updatelog.txt"}));
}

TEST_F(SwapTest, NamesAreMatchedWithoutRegardToCase) {
    QFile::rename(dir.file("updatelog.txt"), dir.file("UPDATELOG.TXT"));
    QFile::rename(dir.file("3Dbak.exe"), dir.file("3DBAK.EXE"));
    ProgramSwap swap(dir.path());
    ASSERT_TRUE(swap.apply());
    swap.commit();
    EXPECT_EQ(dir.read("UPDATELOG.TXT"), QByteArray("7\r\nnew\r\n"));
    EXPECT_EQ(dir.read("Sifmora"), QByteArray("new program"));
}

TEST_F(SwapTest, RollbackPutsEverythingBack) {
    ProgramSwap swap(dir.path());
    ASSERT_TRUE(swap.apply());
    ASSERT_TRUE(swap.rollback());
    expectBefore();
    EXPECT_EQ(dir.read("3Dbak.exe"), QByteArray("new program"));
    EXPECT_EQ(dir.read("updatebak.txt"), QByteArray("7\r\nnew\r\n"));
}

TEST_F(SwapTest, FailuresLeaveOldProgramAndLog) {
    {
        QFile::remove(dir.file("3Dbak.exe"));
        ProgramSwap swap(dir.path());
        QString error;
        EXPECT_FALSE(swap.apply(&error));
        EXPECT_TRUE(error.contains("3Dbak.exe"));
        expectBefore();
        EXPECT_EQ(dir.read("updatebak.txt"), QByteArray("7\r\nnew\r\n"));
    }
    {
        dir.write("3Dbak.exe", "new program");
        QFile::remove(dir.file("updatebak.txt"));
        ProgramSwap swap(dir.path());
        EXPECT_FALSE(swap.apply());
        expectBefore();
        EXPECT_EQ(dir.read("3Dbak.exe"), QByteArray("new program"));
    }
    {
        // No room for the copy of the old program that a rollback would need: nothing is swapped.
        dir.write("updatebak.txt", "7\r\nnew\r\n");
        dir.write("Sifmora", QByteArray(20000, 'o'));
        QFile(dir.file("Sifmora")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ProgramSwap swap(dir.path());
        QString error;
        {
            testsupport::FileSizeLimit limit(8192);
            EXPECT_FALSE(swap.apply(&error));
        }
        EXPECT_TRUE(error.contains(QStringLiteral("磁盘空间不足"))) << error.toStdString();
        EXPECT_EQ(dir.read("Sifmora"), QByteArray(20000, 'o'));
        EXPECT_EQ(dir.read("updatelog.txt"), QByteArray("5\r\nold\r\n"));
        EXPECT_EQ(files(), (QStringList{"3Dbak.exe", "Sifmora", "updatebak.txt", "updatelog.txt"}));
    }
    // The old program's name is taken by something that cannot be replaced.
    dir.write("updatebak.txt", "7\r\nnew\r\n");
    QFile::remove(dir.file("Sifmora"));
    QDir(dir.path()).mkpath("Sifmora/inside");
    {
        ProgramSwap swap(dir.path());
        EXPECT_FALSE(swap.apply());
    }
    EXPECT_EQ(dir.read("updatelog.txt"), QByteArray("5\r\nold\r\n"));
    EXPECT_EQ(dir.read("3Dbak.exe"), QByteArray("new program"));
    EXPECT_EQ(dir.read("updatebak.txt"), QByteArray("7\r\nnew\r\n"));
    EXPECT_EQ(files(), (QStringList{"3Dbak.exe", "updatebak.txt", "updatelog.txt"}));
}

}  // namespace

// A main program that holds its program folder but does not answer (hung, or not this user's) is
// still running: the upgrade never takes it for gone and swaps under it; it gives up when its
// time is out.
TEST(CloseMainProgramTest, CopyHoldingTheFolderWithoutAnsweringIsNeverTakenForGone) {
    testsupport::ProgramDir dir;
    testsupport::SilentHolder holder(QString::fromLatin1(kMainAppName));
    ASSERT_TRUE(holder.held_);
    bool agreed = true;
    QString why;
    const auto pause = [](int ms) {
        QThread::msleep(ms);
        return true;
    };
    EXPECT_EQ(CloseMainProgram(300, 20, pause, &agreed, &why), CloseResult::TimedOut);
    EXPECT_FALSE(agreed);
    EXPECT_FALSE(WaitForMainProgramGone(300));
}
