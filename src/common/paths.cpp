#include "common/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

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
