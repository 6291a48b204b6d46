#pragma once
// The program folder with the real 福彩3D history of the shared data and the shipped scheme
// list in its home folder, and the same history in memory as the run's state: what the smart
// computation meets. The state is the fixture's own, fresh for each test.
#include "common/appstate.h"
#include "common/paths.h"
#include "common/settings.h"
#include "history/drawfile.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>

namespace smartwin {

struct RealDrawsFixture {
    RealDrawsFixture() {
        ok = dir.copyShared(QStringLiteral("data/HAO.TXT")) && QDir().mkpath(dir.file(QStringLiteral("home/3d"))) &&
             QFile::copy(QStringLiteral(SIFMORA_SOURCE_DIR "/home/3d/3d.xml"), dir.file(QStringLiteral("home/3d/3d.xml")));
        QStringList draws;
        ok = ok && history::ReadDrawFile(dir.file(QStringLiteral("HAO.TXT")), &draws);
        app.selectLottery(false, common::DrawFilePathFor(false), common::DrawHistory(draws));
        common::SaveSmartScheme(0);
    }
    common::AppState app;  // first: outlives whatever is handed it
    testsupport::ProgramDir dir;
    testsupport::EnvVar home{"SIFMORA_HOME_URL", QString()};
    bool ok = false;
};

}  // namespace smartwin
