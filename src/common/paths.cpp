#include "common/paths.h"

#include "common/fileerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>

namespace common {

QString ProgramDir() {
    const QString env = qEnvironmentVariable("SIFMORA_DIR");
    if (!env.isEmpty()) return QDir(env).absolutePath();
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

QString ResolveCaseInsensitive(const QString& dir, const QString& name) {
    QString current = dir;
    const QStringList parts = QString(name).replace(QLatin1Char('\\'), QLatin1Char('/'))
                                  .split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        QDir d(current);
        QString match = part;
        if (!QFileInfo::exists(d.filePath(part))) {
            const QStringList entries = d.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            for (const QString& e : entries)
                if (e.compare(part, Qt::CaseInsensitive) == 0) { match = e; break; }
        }
        current = d.filePath(match);
    }
    return current;
}

QString ProgramFile(const QString& name) { return ResolveCaseInsensitive(ProgramDir(), name); }

QString NumberFolder() { return ProgramFile(QStringLiteral("HAO")); }
QString FormulaFolder() { return ProgramFile(QStringLiteral("公式")); }

// Why folder could not be made, or empty when it stands.
static QString MakeFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (info.isDir()) return {};
    QString why;
    if (info.exists() || info.isSymLink()) {
        why = QStringLiteral("已有同名的文件");
    } else {
        errno = 0;
        if (QDir().mkdir(folder)) return {};
        why = FileErrorText(errno);
    }
    return QStringLiteral("无法在程序文件夹中建立文件夹“%1”：%2\n（%3）\n")
        .arg(info.fileName(), why, QDir::toNativeSeparators(info.absoluteFilePath()));
}

QString MakePlayerFolders() {
    const QString problems = MakeFolder(NumberFolder()) + MakeFolder(FormulaFolder());
    if (problems.isEmpty()) return {};
    return problems + QStringLiteral("开奖数据和已有的文件都没有改动，程序照常运行；"
                                     "收藏大底、保存号码或公式时会再说明原因。");
}

static QString Trimmed(QString url) {
    while (url.endsWith(QLatin1Char('/'))) url.chop(1);
    return url;
}

// The home folder that ships with the program stands in for a home web server: the same
// layout, read through file:// by the same downloads.
QString HomeUrl() {
    if (qEnvironmentVariableIsSet("SIFMORA_HOME_URL")) return Trimmed(qEnvironmentVariable("SIFMORA_HOME_URL"));
    const QFileInfo home(ProgramFile(QStringLiteral("home")));
    if (!home.isDir()) return QString();
    return Trimmed(QUrl::fromLocalFile(home.absoluteFilePath()).toString(QUrl::FullyEncoded));
}
bool HasHomeServer() { return !HomeUrl().isEmpty(); }

QString HomeWebUrl() {
    const QString url = HomeUrl();
    return QUrl(url).isLocalFile() ? QString() : url;
}

QString LocalPagePath(const QString& path) {
    const qsizetype query = path.indexOf(QLatin1Char('?'));
    if (query < 0) return path;
    QString name = path;
    for (qsizetype i = query; i < name.size(); ++i)
        if (name[i] == QLatin1Char('?') || name[i] == QLatin1Char('&') || name[i] == QLatin1Char('='))
            name[i] = QLatin1Char('_');
    return name + QStringLiteral(".htm");
}

QString HomePageUrl(const QString& path) {
    const QString home = HomeUrl();
    if (home.isEmpty()) return QString();
    return QUrl(home).isLocalFile() ? home + LocalPagePath(path) : home + path;
}

QString HelpPageUrl() {
    return QUrl::fromLocalFile(QFileInfo(ProgramFile(QStringLiteral("home/help.htm"))).absoluteFilePath())
        .toString(QUrl::FullyEncoded);
}

QString ResultsUrl() {
    const QString env = qEnvironmentVariable("SIFMORA_RESULTS_URL");
    return Trimmed(env.isEmpty() ? QStringLiteral("https://kaijiang.500.com") : env);
}

}  // namespace common
