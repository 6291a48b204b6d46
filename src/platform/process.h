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
// Starts the first calculator of CalculatorPrograms found on PATH; false with a message when
// none is installed or the one found cannot be started.
bool StartCalculator(QString* error = nullptr);
// Opens a page address in the user's browser. With SIFMORA_BROWSER_LOG set, the address is
// appended as one line to that file instead (tests observe the browser this way).
bool OpenInBrowser(const QString& url);

}  // namespace platform
