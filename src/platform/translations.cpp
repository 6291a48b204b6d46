#include "platform/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {

QString QtTranslationFile(const QString& catalog) {
    const QString path =
        QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).filePath(catalog + QStringLiteral("_zh_CN.qm"));
    return QFileInfo::exists(path) ? path : QString();
}

void UseChineseLocale() { QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China)); }

QStringList InstallQtTranslations(QCoreApplication* app) {
    QStringList loaded;
    for (const QString& catalog : {QStringLiteral("qtbase"), QStringLiteral("qt")}) {
        const QString path = QtTranslationFile(catalog);
        if (path.isEmpty()) continue;
        auto* translator = new QTranslator(app);  // lives as long as the application
        if (translator->load(path) && QCoreApplication::installTranslator(translator)) {
            loaded << path;
        } else {
            delete translator;
        }
    }
    return loaded;
}

}  // namespace platform
