#pragma once
// Starting other programs: the updater, the browser with a page address, any program.
#include <QString>
#include <QStringList>

namespace platform {

// Starts a program detached (working folder: the program's own folder); false with a message
// when it cannot be started.
bool StartProgram(const QString& path, const QStringList& args = {}, QString* error = nullptr);
// Path of the updater "update" in the program folder (whether or not it exists).
QString UpdaterPath();
// Starts the updater of the program folder without arguments.
bool StartUpdater(QString* error = nullptr);
// The desktop calculators tried by StartCalculator, in order of preference.
QStringList CalculatorPrograms();
// The name of an installed Chinese locale ("zh_CN.utf8"), UTF-8 first; empty when there is none.
QString ChineseLocaleName();
// Starts the first calculator of CalculatorPrograms found on PATH; false with a message when
// none is installed or the one found cannot be started. It runs in a Chinese locale when one is
// installed (ChineseLocaleName).
bool StartCalculator(QString* error = nullptr);
// Opens a page address in the user's browser. With SIFMORA_BROWSER_LOG set, the address is
// appended as one line to that file instead (tests observe the browser this way).
bool OpenInBrowser(const QString& url);
// Opens a page (a web address or a file:// page) with the system's own programs; false with a
// Chinese message when the page file is missing, when no program can open it or it cannot be
// started. Never silently does nothing. SIFMORA_BROWSER_LOG works as for OpenInBrowser, after
// the page file is checked.
bool OpenPage(const QString& url, QString* error);
// False with that Chinese message (naming the file, not its folder) when a file:// page is
// missing; true for a present file and for web addresses.
bool PageFileExists(const QString& url, QString* error);

}  // namespace platform
