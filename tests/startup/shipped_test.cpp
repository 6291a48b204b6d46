// The program folder as the build leaves it: the shipped draw files (never over a history
// already there), the version log and the home folder, which is the default home address. A first
// start without network then finds no upgrade, shows no message and takes the home folder's draw
// copies only where they end later.
#include "common/paths.h"
#include "history/drawfile.h"
#include "platform/ui/messagebox.h"
#include "presses.h"
#include "startup/startupwindow.h"
#include "startup/versioncheck.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>
#include <QUuid>
#include <gtest/gtest.h>

namespace {

const QString kSource = QStringLiteral(SIFMORA_SOURCE_DIR);

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The build step that fills the program folder.
bool PlaceProgramFiles(const QString& programDir, QString* output) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(SIFMORA_CMAKE_COMMAND),
            {QStringLiteral("-DSOURCE_DIR=") + kSource, QStringLiteral("-DPROGRAM_DIR=") + programDir,
             QStringLiteral("-DVERSION_LOG=" SIFMORA_VERSION_LOG),
             QStringLiteral("-P"), kSource + QStringLiteral("/tools/cmake/place-program-files.cmake")});
    const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    *output = QString::fromLocal8Bit(p.readAll());
    return ok;
}

}  // namespace

TEST(ShippedProgramFolder, BuildPlacesFilesAndFirstStartWorksOffline) {
    testsupport::ProgramDir dir;
    const QByteArray shippedHao = ReadAll(kSource + QStringLiteral("/data/HAO.TXT"));
    const QByteArray shippedP3 = ReadAll(kSource + QStringLiteral("/data/HAOP3.TXT"));
    ASSERT_EQ(shippedHao.size(), 7774 * 12);
    ASSERT_EQ(shippedP3.size(), 7742 * 12);
    // A user's 福彩3D history under another case, shorter than the shipped one.
    const QByteArray own = history::EncodeDrawRecord(QStringLiteral("2004001 070"));
    dir.write(QStringLiteral("hao.txt"), own);

    QString output;
    ASSERT_TRUE(PlaceProgramFiles(dir.path(), &output)) << output.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("hao.txt")), own);
    EXPECT_FALSE(QDir(dir.path()).entryList().contains(QStringLiteral("HAO.TXT")));
    EXPECT_EQ(dir.read(QStringLiteral("HAOP3.TXT")), shippedP3);
    EXPECT_EQ(dir.read(QStringLiteral("updatelog.txt")), ReadAll(QStringLiteral(SIFMORA_VERSION_LOG)));
    for (const char* name : {"3d/updatelog.txt", "3d/3dindex.htm", "3d/HAO.txt", "3d/HAOP3.txt", "3d/3d.xml",
                             "3d/p3.xml", "3d/T_3d.xml", "3d/T_p3.xml"})
        EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("home/") + QLatin1String(name)))) << name;
    EXPECT_EQ(dir.read(QStringLiteral("home/3d/HAO.txt")), shippedHao);
    // The player's folders ship empty.
    for (const QString& name : {QStringLiteral("HAO"), QStringLiteral("公式")}) {
        EXPECT_TRUE(QFileInfo(dir.file(name)).isDir()) << name.toStdString();
        EXPECT_TRUE(QDir(dir.file(name)).isEmpty()) << name.toStdString();
    }

    // A history that has grown since is never replaced by a later build.
    const QByteArray grown = shippedP3 + history::EncodeDrawRecord(QStringLiteral("2026268 123"));
    dir.write(QStringLiteral("HAOP3.TXT"), grown);
    // So are the player's files, and a folder of theirs named in another case gets no twin.
    const QString formula = QStringLiteral("公式/我的.txt");
    dir.write(formula, "x");
    ASSERT_TRUE(QDir(dir.path()).rename(QStringLiteral("HAO"), QStringLiteral("hao")));
    dir.write(QStringLiteral("hao/plan.txt"), "012\r\n");
    ASSERT_TRUE(PlaceProgramFiles(dir.path(), &output)) << output.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("HAOP3.TXT")), grown);
    EXPECT_EQ(dir.read(QStringLiteral("hao.txt")), own);
    EXPECT_EQ(dir.read(formula), QByteArray("x"));
    EXPECT_EQ(dir.read(QStringLiteral("hao/plan.txt")), QByteArray("012\r\n"));
    EXPECT_FALSE(QDir(dir.path()).entryList().contains(QStringLiteral("HAO")));

    // No home address set: the home folder is the home server.
    testsupport::EnvVar home("SIFMORA_HOME_URL", QString());
    testsupport::EnvVar results("SIFMORA_RESULTS_URL", QStringLiteral("http://127.0.0.1:1"));
    EXPECT_TRUE(common::HasHomeServer());
    EXPECT_EQ(common::HomeUrl(), QUrl::fromLocalFile(dir.file(QStringLiteral("home"))).toString(QUrl::FullyEncoded));
    startup::StartError error;
    EXPECT_FALSE(startup::ServerHasNewerVersion(&error));
    EXPECT_FALSE(error.isError()) << error.description.toStdString();

    StartupWindow form;
    form.instanceName = QStringLiteral("SifmoraTest-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    int mainShown = 0;
    form.hooks.showMainWindow = [&] { ++mainShown; };
    ui::MessageRecorder box(ui::Answer::Yes);
    testsupport::TickNow(&form, QStringLiteral("Timer1"));  // the start road, at once
    EXPECT_TRUE(box.messages.isEmpty()) << box.lastText().toStdString();
    EXPECT_EQ(mainShown, 1);
    EXPECT_EQ(dir.read(QStringLiteral("hao.txt")), shippedHao);  // the home copy ends later
    EXPECT_EQ(dir.read(QStringLiteral("HAOP3.TXT")), grown);    // the local file ends later
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("HAOBAK.TXT"))));
}
