#include "common/appstate.h"
#include "common/atomicfile.h"
#include "common/drawattributes.h"
#include "common/drawtext.h"
#include "common/numbertables.h"
#include "common/paths.h"
#include "common/settings.h"
#include "common/textcodec.h"
#include "testsupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace common;

TEST(DrawText, TakenApartByPosition) {
    const QString t = MakeDrawText("2024063", "507");
    EXPECT_EQ(t, "2024063 507");
    EXPECT_EQ(IssueOf(t), "2024063");
    EXPECT_EQ(NumberOf(t), "507");
    EXPECT_EQ(YearOf(t), "2024");
    EXPECT_EQ(SerialOf(t), 63);
    EXPECT_EQ(MakeDrawText("2024", "1"), "2024 1     ");
    EXPECT_EQ(FixDrawTextWidth("2024063 5078"), "2024063 507");
}

TEST(DrawText, NextIssueKeepsYear) {
    EXPECT_EQ(NextIssue("2024063"), "2024064");
    EXPECT_EQ(NextIssue("2024099"), "2024100");
    EXPECT_EQ(NextIssue("2024999"), "20241000");  // no roll-over into the next year
}

// Only '0'..'9' count as digits: full-width and other scripts' digits (which QChar::isDigit
// takes) would not read back from a draw file.
TEST(DrawText, DigitTextsTakeOnlyAsciiDigits) {
    const struct {
        const char16_t* text;
        bool digits, number, issue;
    } cases[] = {
        {u"123", true, true, false},
        {u"2024001", true, false, true},
        {u"7", true, false, false},
        {u"", false, false, false},
        {u"12a", false, false, false},
        {u"-12", false, false, false},
        {u"1 2", false, false, false},
        {u"１２３", false, false, false},  // full-width
        {u"١٢٣", false, false, false},  // Arabic-Indic
        {u"202400١", false, false, false},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(IsAsciiDigits(text), c.digits) << text.toStdString();
        EXPECT_EQ(IsNumberText(text), c.number) << text.toStdString();
        EXPECT_EQ(IsIssueText(text), c.issue) << text.toStdString();
    }
}

TEST(NumberTables, SizesAndBounds) {
    EXPECT_EQ(GroupTable().size(), 220);
    EXPECT_EQ(GroupTable().first(), "000");
    EXPECT_EQ(GroupTable().last(), "999");
    EXPECT_EQ(TripleTable().size(), 10);
    EXPECT_EQ(GroupThreeTable().size(), 90);
    EXPECT_EQ(GroupThreeTable().first(), "001");
    EXPECT_EQ(GroupSixTable().size(), 120);
    EXPECT_EQ(GroupSixTable().first(), "012");
    EXPECT_EQ(GroupSixTable().last(), "789");
    EXPECT_EQ(AllNumbers().size(), 1000);
    EXPECT_TRUE(std::is_sorted(GroupThreeTable().begin(), GroupThreeTable().end()));
}

TEST(DrawAttributes, Table) {
    struct Case { const char* n; int sum, span, tail, ac; const char* routes; const char* type; };
    const Case cases[] = {
        {"000", 0, 0, 0, 1, "000", "组三"},
        {"507", 12, 7, 2, 3, "201", "组六"},
        {"899", 26, 1, 6, 2, "200", "组三"},
        {"135", 9, 4, 9, 2, "102", "组六"},
        {"999", 27, 0, 7, 1, "000", "组三"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        const Digits d = Digits::Of(c.n);
        EXPECT_EQ(Sum(d), c.sum);
        EXPECT_EQ(Span(d), c.span);
        EXPECT_EQ(SumTail(d), c.tail);
        EXPECT_EQ(AcValue(d), c.ac);
        EXPECT_EQ(Routes(d), c.routes);
        EXPECT_EQ(TypeName(d), QString::fromUtf8(c.type));
    }
    EXPECT_EQ(FiveElements(Digits::Of("016")), QString::fromUtf8("土水水"));
    EXPECT_EQ(OddEvenPattern(Digits::Of("123")), "101");
    EXPECT_EQ(BigSmallPattern(Digits::Of("159")), "011");
    EXPECT_EQ(PrimeCompositePattern(Digits::Of("140")), "011");
}

TEST(TextCodec, RoundTripsCodePage936) {
    const QString text = QString::fromUtf8("大底采集 123\r\n");
    const QByteArray bytes = EncodeAnsi(text);
    EXPECT_EQ(bytes.size(), 4 * 2 + 6);  // two bytes per CJK character
    EXPECT_EQ(DecodeAnsi(bytes), text);
}

TEST(Files, AtomicWriteAndCaseInsensitiveNames) {
    testsupport::ProgramDir dir;
    EXPECT_EQ(ProgramDir(), QDir(dir.path()).absolutePath());
    dir.write("hao.txt", "x");
    EXPECT_EQ(ProgramFile("HAO.TXT"), dir.file("hao.txt"));
    EXPECT_EQ(ProgramFile("NEW.TXT"), dir.file("NEW.TXT"));
    QDir(dir.path()).mkdir("hao");
    EXPECT_EQ(ProgramFile("HAO/a.h"), dir.file("hao/a.h"));

    ASSERT_TRUE(WriteAnsiFile(dir.file("out.txt"), QString::fromUtf8("公式\r\n")));
    EXPECT_EQ(dir.read("out.txt"), EncodeAnsi(QString::fromUtf8("公式\r\n")));
    QString error;
    EXPECT_FALSE(WriteFileAtomically(dir.file("missing/dir/x.txt"), "y", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // no temporary left behind
}

TEST(Settings, DefaultsAndRoundTrip) {
    EXPECT_EQ(GetSetting("nosuchkey"), "");
    EXPECT_TRUE(SettingUseAllDraws());
    EXPECT_EQ(SettingSmartScheme(), 1);
    EXPECT_EQ(SettingToleranceRange(), "1");
    EXPECT_FALSE(SettingLotteryIsP3());
    SaveSetting("kj", "0");
    SaveSetting("fclx", "1");
    SaveSetting("zl", "3");
    EXPECT_FALSE(SettingUseAllDraws());
    EXPECT_TRUE(SettingLotteryIsP3());
    EXPECT_EQ(SettingSmartScheme(), 3);
    SaveSetting("kj", "1");
    SaveSetting("fclx", "0");
    SaveSetting("zl", "1");
}

// A save of the value that stands already leaves the file alone: the program may save a setting
// at every run, but the file changes only when the player changed the setting.
TEST(Settings, SavingTheStandingValueLeavesTheFileAlone) {
    SaveSetting("zl", "2");
    const QString ini = SettingsFilePath();
    const QDateTime longAgo = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch() - 3 * 86400, Qt::UTC);
    const auto touchOld = [&] {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(longAgo, QFileDevice::FileModificationTime));
    };
    const auto untouched = [&] { return QFileInfo(ini).lastModified().toUTC() == longAgo.toUTC(); };
    touchOld();
    SaveSmartScheme(2);
    EXPECT_TRUE(untouched());
    SaveSmartScheme(3);
    EXPECT_FALSE(untouched());
    EXPECT_EQ(SettingSmartScheme(), 3);
    SaveSetting("zl", "1");
}

// The settings file is the one QSettings keeps for the user. One that is not a plain file of
// settings (a FIFO, a folder, an endless kernel file, a FIFO at its lock) is never opened: values
// read as the defaults, saves are dropped, and the reason is given for the start to say.
TEST(Settings, FileThatCannotBeUsedIsNeverOpened) {
    EXPECT_EQ(SettingsFilePath(),
              QSettings(QSettings::IniFormat, QSettings::UserScope, "Lotvane", "Lotvane").fileName());
    const QString ini = SettingsFilePath();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(ini).absolutePath()));
    SaveSetting("zl", "3");
    ASSERT_EQ(SettingSmartScheme(), 3);
    const QByteArray before = [&] {
        QFile f(ini);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_TRUE(QFile::rename(ini, ini + ".kept"));
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* reason;
    } cases[] = {
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0); }, "这不是文件"},
        {"a folder", [&] { ASSERT_TRUE(QDir().mkdir(ini)); }, "这是文件夹"},
        {"an endless kernel file", [&] { ASSERT_TRUE(QFile::link("/proc/self/pagemap", ini)); }, "上限"},
        {"a FIFO at its lock", [&] {
             ASSERT_TRUE(QFile::copy(ini + ".kept", ini));
             ASSERT_EQ(::mkfifo(QFile::encodeName(ini + ".lock").constData(), 0600), 0);
         }, "不是文件"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        EXPECT_TRUE(SettingsProblem().startsWith(QStringLiteral("设置文件不能使用"))) << SettingsProblem().toStdString();
        EXPECT_TRUE(SettingsProblem().contains(QString::fromUtf8(c.reason))) << SettingsProblem().toStdString();
        EXPECT_EQ(SettingSmartScheme(), 1);  // the default
        EXPECT_FALSE(HasSetting("zl"));
        SaveSetting("zl", "5");
        QFile::remove(ini + ".lock");
        QFile::remove(ini);
        QDir().rmdir(ini);
    }
    ASSERT_TRUE(QFile::rename(ini + ".kept", ini));
    EXPECT_EQ(SettingsProblem(), QString());
    EXPECT_EQ(SettingSmartScheme(), 3);  // the saves above went nowhere
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    SaveSetting("zl", "1");
}

TEST(AppState, DefaultAnalysisRange) {
    struct Case { int draws, first, last; };
    for (const Case c : {Case{0, 0, -1}, Case{1, 0, 0}, Case{200, 0, 199}, Case{201, 100, 200}, Case{7774, 7673, 7773}}) {
        AppState s;
        QStringList draws;
        for (int i = 0; i < c.draws; ++i) draws << MakeDrawText("2004001", "123");
        s.setHistory(DrawHistory(draws));
        s.resetAnalysisRange();
        EXPECT_EQ(s.rangeFirst(), c.first) << c.draws;
        EXPECT_EQ(s.rangeLast(), c.last) << c.draws;
    }
}

// The analyses take every draw or the range as setting kj says, read when they run: the state
// keeps no copy that a settings change could leave behind.
TEST(AppState, AnalysisRangeFollowsSettingKj) {
    AppState s;
    s.setHistory(DrawHistory(QStringList(300, MakeDrawText("2004001", "123"))));
    s.resetAnalysisRange();
    struct Case { const char* kj; int first, last; };
    for (const Case c : {Case{"0", 199, 299}, Case{"1", 0, 299}, Case{"", 0, 299}}) {
        SaveSetting("kj", QString::fromLatin1(c.kj));
        EXPECT_EQ(s.analysisFirst(), c.first) << c.kj;
        EXPECT_EQ(s.analysisLast(), c.last) << c.kj;
    }
}

// Every history read from the draw file is announced once; reset() leaves nothing of the run.
TEST(AppState, AnnouncesEachReadHistoryAndResets) {
    AppState s;
    int told = 0;
    QObject::connect(&s, &AppState::historyReloaded, [&] { ++told; });
    s.setHistory(DrawHistory(QStringList{MakeDrawText("2004001", "123")}));
    s.setHistory(DrawHistory());
    EXPECT_EQ(told, 2);
    s.setHistory(DrawHistory(QStringList{MakeDrawText("2004001", "123")}));
    s.selectLottery(true, "x", s.history());
    s.setRange(5, -1);
    s.setQuitting(true);
    s.reset();
    EXPECT_TRUE(s.history().isEmpty());
    EXPECT_FALSE(s.lotteryIsP3());
    EXPECT_TRUE(s.drawFilePath().isEmpty());
    EXPECT_EQ(s.rangeFirst(), 0);
    EXPECT_EQ(s.rangeLast(), -1);
    EXPECT_FALSE(s.quitting());
}

// The quitting flag is announced when it changes, not when it is set again.
TEST(AppState, AnnouncesQuittingOnlyWhenItChanges) {
    AppState s;
    QList<bool> told;
    QObject::connect(&s, &AppState::quittingChanged, [&](bool quitting) { told << quitting; });
    s.setQuitting(true);
    s.setQuitting(true);
    EXPECT_TRUE(s.quitting());
    s.setQuitting(false);
    EXPECT_EQ(told, (QList<bool>{true, false}));
}

TEST(Paths, ServerAddresses) {
    qputenv("SIFMORA_RESULTS_URL", "http://127.0.0.1:1/");
    EXPECT_EQ(ResultsUrl(), "http://127.0.0.1:1");
    qunsetenv("SIFMORA_RESULTS_URL");
    EXPECT_EQ(ResultsUrl(), "https://kaijiang.500.com");
    qunsetenv("SIFMORA_HOME_URL");
    EXPECT_FALSE(HasHomeServer());
}

// The start makes HAO and 公式 so that the dialogs and 兑奖 find them on a fresh program folder;
// what cannot be made is said, naming the folder and the cause, and nothing else changes.
TEST(Paths, PlayerFoldersAreMadeOrTheReasonSaid) {
    {
        testsupport::ProgramDir dir;
        EXPECT_EQ(MakePlayerFolders(), QString());
        EXPECT_TRUE(QFileInfo(dir.file("HAO")).isDir());
        EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("公式"))).isDir());
        EXPECT_EQ(NumberFolder(), dir.file("HAO"));
        EXPECT_EQ(MakePlayerFolders(), QString());  // standing folders are left as they are
    }
    {
        // The player's own folder under another case is the one used, with its files.
        testsupport::ProgramDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkdir("hao"));
        dir.write("hao/plan.txt", "012\r\n");
        EXPECT_EQ(MakePlayerFolders(), QString());
        EXPECT_EQ(NumberFolder(), dir.file("hao"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                  (QStringList{QStringLiteral("hao"), QStringLiteral("公式")}));
        EXPECT_EQ(dir.read("hao/plan.txt"), QByteArray("012\r\n"));
    }
    {
        // A file in HAO's place stays; 公式 is still made.
        testsupport::ProgramDir dir;
        dir.write("HAO", "mine");
        const QString problem = MakePlayerFolders();
        EXPECT_TRUE(problem.contains(QStringLiteral("无法在程序文件夹中建立文件夹“HAO”：已有同名的文件")))
            << problem.toStdString();
        EXPECT_TRUE(problem.contains(QStringLiteral("程序照常运行"))) << problem.toStdString();
        EXPECT_FALSE(problem.contains(QStringLiteral("文件夹“公式”")));
        EXPECT_EQ(dir.read("HAO"), QByteArray("mine"));
        EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("公式"))).isDir());
    }
    {
        // A program folder that cannot hold folders (read-only; for root, one under a file).
        testsupport::ProgramDir dir;
        QString programDir = dir.path();
        if (::geteuid() == 0) {
            dir.write("file", "x");
            programDir = dir.file("file/program");
        } else {
            ASSERT_EQ(::chmod(QFile::encodeName(programDir).constData(), 0555), 0);
        }
        testsupport::EnvVar where("SIFMORA_DIR", programDir);
        const QString problem = MakePlayerFolders();
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        const QString cause = ::geteuid() == 0 ? QStringLiteral("路径中有一项不是文件夹") : QStringLiteral("没有写入权限");
        for (const QString& name : {QStringLiteral("HAO"), QStringLiteral("公式")})
            EXPECT_TRUE(problem.contains(QStringLiteral("无法在程序文件夹中建立文件夹“") + name + QStringLiteral("”：") + cause))
                << problem.toStdString();
        EXPECT_TRUE(problem.contains(QDir::toNativeSeparators(programDir + QStringLiteral("/HAO")))) << problem.toStdString();
    }
}
