#pragma once
// Qt's own texts (file dialogs, input boxes, standard buttons) in Chinese, for both programs,
// and Chinese numbers, sizes and dates whatever the machine's locale.
#include <QStringList>

class QCoreApplication;

namespace platform {

// Installs Qt's Chinese translations (qtbase_zh_CN, and qt_zh_CN where present) from Qt's
// translations folder into the application; returns the files loaded (none when the package
// with Qt's translations is not installed: Qt's texts stay English then).
QStringList InstallQtTranslations(QCoreApplication* app);
// Makes Chinese (China) the default locale: the sizes, dates and numbers Qt writes for the
// program, and the file types its file dialogs name, are Chinese even on a machine that has no
// Chinese locale (LANG=C).
void UseChineseLocale();
// The path of one of Qt's translation files for Chinese ("qtbase" gives qtbase_zh_CN.qm);
// empty when it is not installed.
QString QtTranslationFile(const QString& catalog);

}  // namespace platform
