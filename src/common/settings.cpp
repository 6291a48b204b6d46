#include "common/settings.h"

#include "common/localfile.h"
#include "common/paths.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <memory>
#include <sys/stat.h>

namespace common {
namespace {

// Settings are a few short lines; a file past this is not ours.
constexpr qint64 kSettingsLimit = 64 * 1024;

// QSettings reads its file whole, and takes "<file>.lock" when it writes, with blocking calls: a
// FIFO there would hold the program for good, and a file of /proc (which tells no size) would
// fill the memory. Both are checked before QSettings may touch them; empty when they can be used.
QString CheckedStore(const QString& path) {
    const QString lock = path + QStringLiteral(".lock");
    QString why;
    QByteArray bytes;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && !ReadRegularFile(path, kSettingsLimit, &bytes, &why))
        return why;
    if (::lstat(QFile::encodeName(lock).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return QStringLiteral("%1 不是文件").arg(QDir::toNativeSeparators(lock));
    return {};
}

// The store, or none (values read as missing, saves dropped) when its file cannot be used.
std::unique_ptr<QSettings> Store() {
    const QString path = SettingsFilePath();
    if (!CheckedStore(path).isEmpty()) return nullptr;
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QString KeyOf(const QString& key) { return QStringLiteral("flag/") + key; }

QString Flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

}  // namespace

QString SettingsFilePath() {
    // Where QSettings keeps the user's settings of organisation and application "Lotvane".
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Lotvane/Lotvane.ini");
}

QString SettingsProblem() {
    const QString why = CheckedStore(SettingsFilePath());
    if (why.isEmpty()) return {};
    return QStringLiteral("设置文件不能使用（%1）。本次运行使用默认设置，更改的设置不会保存。").arg(why);
}

QString GetSetting(const QString& key) {
    const auto s = Store();
    return s ? s->value(KeyOf(key)).toString() : QString();
}

void SaveSetting(const QString& key, const QString& value) {
    auto s = Store();
    if (!s) return;
    // A value that stands already is not written again: the file changes only when a setting does.
    if (s->contains(KeyOf(key)) && s->value(KeyOf(key)).toString() == value) return;
    s->setValue(KeyOf(key), value);
    s->sync();
}

bool HasSetting(const QString& key) {
    const auto s = Store();
    return s && s->contains(KeyOf(key));
}

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
    return v.isEmpty() ? NumberFolder() + QLatin1Char('/') : v;
}
void SaveExportPath(const QString& folder) { SaveSetting(QStringLiteral("path"), folder); }

bool SettingSmartPick() { return GetSetting(QStringLiteral("zlxuanhao")) != QLatin1String("0"); }
void SaveSmartPick(bool on) { SaveSetting(QStringLiteral("zlxuanhao"), Flag(on)); }

}  // namespace common
