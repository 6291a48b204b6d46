#include "startup/leftovers.h"

#include "common/atomicfile.h"
#include "common/paths.h"
#include "updater/upgrade.h"

#include <QFile>

#include <sys/stat.h>

namespace startup {

namespace {

struct OwnFolder {
    const char* name;  // in the program folder, "" for the folder itself
    common::TemporaryTargets targets;
};

QList<OwnFolder> OwnFolders() {
    const QString program = updater::MainProgramFileName();
    // The draw files and the updater's files; older builds wrote all of them with the pid-less
    // name, and the collections in HAO too.
    const QStringList drawFiles = {QStringLiteral("HAO.TXT"), QStringLiteral("HAOP3.TXT"), QStringLiteral("FLAG.TXT"),
                                   QStringLiteral("HAOBAK.TXT")};
    const QStringList updaterFiles = {QString::fromLatin1(updater::kVersionLogName),
                                      QString::fromLatin1(updater::kServerLogName),
                                      QString::fromLatin1(updater::kNewProgramName), program,
                                      QStringLiteral("update"), QStringLiteral("update.exe")};
    const QStringList swapCopies = {QString::fromLatin1(updater::kOldProgramCopy),
                                    QString::fromLatin1(updater::kOldLogCopy)};
    const QStringList oldForm = drawFiles + updaterFiles;
    return {
        {"", {drawFiles + updaterFiles + swapCopies + QStringList{QStringLiteral("Web.htm")}, oldForm}},
        // Exports and collections (大底采集<date><time>.h) under the names the user gives them.
        {"HAO", {{QStringLiteral("*.txt"), QStringLiteral("*.h")}, {QStringLiteral("大底采集*.h")}}},
        {"公式", {{QStringLiteral("*.txt")}, {}}},
        {"home", {{QStringLiteral("*.htm"), QStringLiteral("*.txt"), QStringLiteral("*.xml")}, {}}},
        {"home/3d", {{QStringLiteral("*.htm"), QStringLiteral("*.txt"), QStringLiteral("*.xml")}, {}}},
    };
}

// A folder of the program's own, not a link to someone else's.
bool IsRealFolder(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

int RemoveStaleTemporaries(const QString& programDir) {
    int removed = 0;
    for (const OwnFolder& folder : OwnFolders()) {
        QString path = programDir;
        if (*folder.name) {
            // home/3d: each part must be a folder of its own.
            const QString name = QString::fromUtf8(folder.name);
            path = common::ResolveCaseInsensitive(programDir, name);
            const QString parent = common::ResolveCaseInsensitive(programDir, name.section(QLatin1Char('/'), 0, 0));
            if (!IsRealFolder(parent) || !IsRealFolder(path)) continue;
        }
        removed += common::RemoveStaleTemporaries(path, folder.targets);
    }
    // A draw file the user keeps elsewhere through a link.
    removed += common::RemoveStaleLinkedTemporaries(programDir, {QStringLiteral("HAO.TXT"), QStringLiteral("HAOP3.TXT")});
    return removed;
}

}  // namespace startup
