#pragma once
// The program folder with the real 福彩3D history of the shared data and the shipped scheme
// list in its home folder, the same history in memory and a workbench holding a committed set:
// the smart system as a player meets it. The state is the fixture's own, fresh for each test.
#include "common/appstate.h"
#include "common/settings.h"
#include "history/drawfile.h"
#include "smart/calculatorhost.h"
#include "hookreset.h"
#include "testsupport.h"
#include "windows_fakeworkbench.h"

#include <QDir>
#include <QFile>

namespace smartwin {

struct RealHistoryFixture {
    RealHistoryFixture() {
        ok = dir.copyShared(QStringLiteral("data/HAO.TXT")) && QDir().mkpath(dir.file(QStringLiteral("home/3d"))) &&
             QFile::copy(QStringLiteral(SIFMORA_SOURCE_DIR "/home/3d/3d.xml"), dir.file(QStringLiteral("home/3d/3d.xml")));
        QStringList draws;
        ok = ok && history::ReadDrawFile(dir.file(QStringLiteral("HAO.TXT")), &draws);
        app.selectLottery(false, common::DrawFilePathFor(false), common::DrawHistory(draws));
        common::SaveSmartScheme(0);
        bench.commit({QStringLiteral("012")}, QStringLiteral("\n大底共1注\n"));
    }
    common::AppState app;  // first: outlives the workbench and the windows handed it
    testsupport::ProgramDir dir;
    testsupport::EnvVar home{"SIFMORA_HOME_URL", QString()};
    FakeWorkbench bench{app};
    smart::SmartCalculator calc;  // the smart windows', handed in through their context
    bool ok = false;
};

}  // namespace smartwin
