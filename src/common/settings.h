#pragma once
// Per-user settings: application "Lotvane", section "flag". A missing key reads as empty
// and the reader supplies its default.
#include <QString>

namespace common {

QString GetSetting(const QString& key);          // "" when missing
void SaveSetting(const QString& key, const QString& value);
bool HasSetting(const QString& key);

// Typed readers with the program's defaults.
bool SettingUseAllDraws();        // kj: default on; "0" off
int SettingSmartScheme();         // zl: default 1
QString SettingToleranceRange();  // rc: default "1"
bool SettingLotteryIsP3();        // fclx: "1" = 排列三, otherwise 福彩3D
QString SettingExportPath();      // path: default the HAO folder (with trailing separator)

}  // namespace common
