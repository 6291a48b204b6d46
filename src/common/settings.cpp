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

QString Flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

}  // namespace

QString GetSetting(const QString& key) { return Store().value(KeyOf(key)).toString(); }

void SaveSetting(const QString& key, const QString& value) {
    QSettings s = Store();
    s.setValue(KeyOf(key), value);
    s.sync();
}

bool HasSetting(const QString& key) { return Store().contains(KeyOf(key)); }

bool SettingUseAllDraws() { return GetSetting(QStringLiteral("kj")) != QLatin1String("0"); }
void SaveUseAllDraws(bool on) { SaveSetting(QStringLiteral("kj"), Flag(on)); }

int SettingSmartScheme() {
    bool ok = false;
    const int v = GetSetting(QStringLiteral("zl")).trimmed().toInt(&ok);
    return ok ? v : 1;
}
void SaveSmartScheme(int scheme) { SaveSetting(QStringLiteral("zl"), QString::number(scheme)); }

QString SettingToleranceRange() {
    const QString v = GetSetting(QStringLiteral("rc"));
    return v.isEmpty() ? QStringLiteral("1") : v;
}
void SaveToleranceRange(const QString& range) { SaveSetting(QStringLiteral("rc"), range); }

bool SettingLotteryIsP3() { return GetSetting(QStringLiteral("fclx")) == QLatin1String("1"); }
void SaveLotteryIsP3(bool p3) { SaveSetting(QStringLiteral("fclx"), Flag(p3)); }

QString SettingExportPath() {
    const QString v = GetSetting(QStringLiteral("path"));
    return v.isEmpty() ? ProgramFile(QStringLiteral("HAO")) + QLatin1Char('/') : v;
}
void SaveExportPath(const QString& folder) { SaveSetting(QStringLiteral("path"), folder); }

bool SettingSmartPick() { return GetSetting(QStringLiteral("zlxuanhao")) != QLatin1String("0"); }
void SaveSmartPick(bool on) { SaveSetting(QStringLiteral("zlxuanhao"), Flag(on)); }

}  // namespace common
