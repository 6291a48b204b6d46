#include "common/settings.h"

#include "common/paths.h"

#include <QSettings>

namespace common {
namespace {

QSettings Store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lotvane"),
                     QStringLiteral("Lotvane"));
}

QString KeyOf(const QString& key) { return QStringLiteral("flag/") + key; }

}  // namespace

QString GetSetting(const QString& key) { return Store().value(KeyOf(key)).toString(); }

void SaveSetting(const QString& key, const QString& value) {
    QSettings s = Store();
    s.setValue(KeyOf(key), value);
    s.sync();
}

bool HasSetting(const QString& key) { return Store().contains(KeyOf(key)); }

bool SettingUseAllDraws() { return GetSetting(QStringLiteral("kj")) != QLatin1String("0"); }

int SettingSmartScheme() {
    bool ok = false;
    const int v = GetSetting(QStringLiteral("zl")).trimmed().toInt(&ok);
    return ok ? v : 1;
}

QString SettingToleranceRange() {
    const QString v = GetSetting(QStringLiteral("rc"));
    return v.isEmpty() ? QStringLiteral("1") : v;
}

bool SettingLotteryIsP3() { return GetSetting(QStringLiteral("fclx")) == QLatin1String("1"); }

QString SettingExportPath() {
    const QString v = GetSetting(QStringLiteral("path"));
    return v.isEmpty() ? ProgramFile(QStringLiteral("HAO")) + QLatin1Char('/') : v;
}

}  // namespace common
