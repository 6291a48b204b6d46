#pragma once
// Per-user settings: application "Lotvane", section "flag". A missing key reads as empty
// and the reader supplies its default.
#include <QString>

#include <functional>

namespace common {

// The settings file (…/Lotvane/Lotvane.ini in the user's configuration folder).
QString SettingsFilePath();
// Empty when the settings file can be used; otherwise why not, in Chinese, for the start to
// say once. Such a file is never opened: values read as missing and saves are dropped.
QString SettingsProblem();

// The raw store, by key. The program reads and writes through the typed pairs below; tests
// use these to see the stored text.
QString GetSetting(const QString& key);          // "" when missing
// A lock of the store left by a run that ended while writing is taken at once; one another
// program holds (another copy in its save) is waited for a second at most: the value is then
// kept in this run (read back, and written with the next save) and the first such save is said
// through the notice. A value that cannot be written is kept the same way.
void SaveSetting(const QString& key, const QString& value);
bool HasSetting(const QString& key);
// Removes a lock of the store that a run killed in its save left behind (no live holder); the
// start calls it, so that such a lock never waits for anyone.
void ClearLeftOverSettingsLock();
// Writes the values earlier saves had to keep in this run (the file was in use or could not be
// written), under the same one-second wait; the program calls it as its run ends, so that they
// are not lost with it. Nothing when none is pending.
void SavePendingSettings();

// Called with the reason, in Chinese ("设置无法保存：<folder> 不能写入（<why>）…"), at the first
// save of the run that does not reach the settings file, and ("设置正被另一个程序使用…") at the
// first that found it in use; later ones are not said again. The program shows it in a message
// box (ui::SaySettingsSaveFailures); setting a notice starts anew.
// A file found unusable at the start (SettingsProblem) is said there and never written.
void SetSettingsSaveNotice(std::function<void(const QString& message)> notice);

// One typed reader and writer per key, with the program's defaults.
bool SettingUseAllDraws();        // kj: default on; "0" off
void SaveUseAllDraws(bool on);    // "1" / "0"
int SettingSmartScheme();         // zl: default 1
void SaveSmartScheme(int scheme);
QString SettingToleranceRange();  // rc: default "1"
void SaveToleranceRange(const QString& range);
bool SettingLotteryIsP3();        // fclx: "1" = 排列三, otherwise 福彩3D
void SaveLotteryIsP3(bool p3);    // "1" / "0"
QString SettingExportPath();      // path: default the HAO folder (with trailing separator)
void SaveExportPath(const QString& folder);  // a folder with trailing separator, or "" for the default
bool SettingSmartPick();          // zlxuanhao: the smart selection's 智能选号 tick; default on, "0" off
void SaveSmartPick(bool on);      // "1" / "0"

}  // namespace common
