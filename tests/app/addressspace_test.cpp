// The program under a 1 GB address-space limit (`prlimit --as=1073741824`), in real processes
// over the real history: a start reaches its main window and ends cleanly, and the threaded
// work of the smart system (a 300-period history verification, 确定's schemes spread over
// threads) completes with the result of a run without the limit, or stops with a Chinese
// message; nothing crashes or hangs. The limit is set in the child between its fork
// and its start.
#include "testsupport.h"
#include "sanitized.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

constexpr rlim_t kLimit = rlim_t(1) << 30;
constexpr int kRuns = 3;                 // the fault came and went with the threads' timing
constexpr int kHangGuardMs = 600000;     // ends a hung run only; a run takes seconds
constexpr int kStoppedCode = 3;          // verify_probe: a box stopped the run

void LimitAddressSpace(QProcess& process) {
    process.setChildProcessModifier([] {
        const rlimit limit{kLimit, kLimit};
        setrlimit(RLIMIT_AS, &limit);
    });
}

struct Outcome {
    bool ended = false;
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    QByteArray out, err;
};

Outcome RunProgram(const QString& program, const QStringList& arguments, const QProcessEnvironment& env,
                   bool limited) {
    QProcess process;
    process.setProcessEnvironment(env);
    if (limited) LimitAddressSpace(process);
    process.start(program, arguments);
    Outcome o;
    if (!process.waitForStarted(20000)) return o;
    o.ended = process.waitForFinished(kHangGuardMs);
    if (!o.ended) {
        process.kill();
        process.waitForFinished(20000);
    }
    o.status = process.exitStatus();
    o.code = process.exitCode();
    o.out = process.readAllStandardOutput();
    o.err = process.readAllStandardError();
    return o;
}

QProcessEnvironment ProgramEnvironment(const QString& runtime) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("SIFMORA_RESULTS_URL"), QStringLiteral("http://127.0.0.1:1"));
    env.remove(QStringLiteral("SIFMORA_HOME_URL"));  // the program folder's home
    return env;
}

class AddressSpaceLimit : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef SIFMORA_SANITIZED
        GTEST_SKIP() << "a sanitizer's shadow memory does not fit an address space limit";
#endif
        SKIP_WITHOUT_SHARED("data/HAO.TXT");
        ASSERT_TRUE(runtime_.isValid());
        QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_TRUE(dir_.copyShared(QStringLiteral("data/HAO.TXT")));
        QFile shipped(QStringLiteral(SIFMORA_SOURCE_DIR "/home/3d/3d.xml"));
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
        dir_.write(QStringLiteral("home/3d/3d.xml"), shipped.readAll());
    }

    testsupport::ProgramDir dir_;
    QTemporaryDir runtime_;
};

TEST_F(AddressSpaceLimit, StartReachesTheMainWindowAndEnds) {
    const QString bin = QStringLiteral(SIFMORA_BIN_DIR "/Sifmora");
    if (!QFile::exists(bin)) GTEST_SKIP() << "Sifmora not built";
    QProcessEnvironment env = ProgramEnvironment(runtime_.path());
    env.insert(QStringLiteral("SIFMORA_START_PROBE"), QStringLiteral("1"));  // end once the main window stands
    for (int run = 0; run < kRuns; ++run) {
        SCOPED_TRACE(run);
        const Outcome o = RunProgram(bin, {}, env, true);
        ASSERT_TRUE(o.ended) << o.err.toStdString();
        EXPECT_EQ(o.status, QProcess::NormalExit) << o.err.toStdString();
        EXPECT_EQ(o.code, 0) << o.err.toStdString();
        EXPECT_TRUE(o.err.contains("main window shown")) << o.err.toStdString();
    }
}

TEST_F(AddressSpaceLimit, SmartWorkCompletesWithTheResultOfAnUnlimitedRunOrSaysWhy) {
    const QProcessEnvironment env = ProgramEnvironment(runtime_.path());
    const struct {
        const char* what;
        QStringList arguments;
        int lines;  // of the result
    } jobs[] = {{"a 300-period history verification", {}, 300}, {"确定", {QStringLiteral("smart")}, 1}};
    for (const auto& job : jobs) {
        SCOPED_TRACE(job.what);
        const Outcome free = RunProgram(QStringLiteral(SIFMORA_VERIFY_PROBE), job.arguments, env, false);
        ASSERT_TRUE(free.ended && free.status == QProcess::NormalExit && free.code == 0) << free.err.toStdString();
        ASSERT_EQ(free.out.trimmed().split('\n').size(), job.lines) << free.out.toStdString();
        for (int run = 0; run < kRuns; ++run) {
            SCOPED_TRACE(run);
            const Outcome o = RunProgram(QStringLiteral(SIFMORA_VERIFY_PROBE), job.arguments, env, true);
            ASSERT_TRUE(o.ended) << "hung: " << o.out.toStdString();
            ASSERT_EQ(o.status, QProcess::NormalExit) << o.err.toStdString();
            if (o.code == kStoppedCode) {
                // A run that stops says why, in Chinese.
                EXPECT_TRUE(o.out.startsWith("message\t") && QString::fromUtf8(o.out).contains(QStringLiteral("内存不足")))
                    << o.out.toStdString();
                continue;
            }
            EXPECT_EQ(o.code, 0) << o.err.toStdString();
            EXPECT_EQ(o.out, free.out);
        }
    }
}

}  // namespace
