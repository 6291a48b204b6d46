#include "common/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

QString HomeUrl() { return Trimmed(qEnvironmentVariable("SIFMORA_HOME_URL")); }
bool HasHomeServer() { return !HomeUrl().isEmpty(); }

QString ResultsUrl() {
    const QString env = qEnvironmentVariable("SIFMORA_RESULTS_URL");
    return Trimmed(env.isEmpty() ? QStringLiteral("https://kaijiang.500.com") : env);
}

}  // namespace common
