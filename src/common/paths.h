#pragma once
// The program folder and the server addresses.
#include <QString>

namespace common {

// The executable's folder, unless SIFMORA_DIR names another.
QString ProgramDir();
// A file or folder of the program folder, matched without regard to case: an existing entry
// whose name differs only in case is returned; otherwise the name as given. Nested names
// ("HAO/x.h") are resolved part by part.
QString ProgramFile(const QString& name);
// Same matching in any folder.
QString ResolveCaseInsensitive(const QString& dir, const QString& name);

// Home-server base address, without trailing "/": SIFMORA_HOME_URL when set (empty: none);
// otherwise the folder "home" of the program folder as a file:// address; none without it.
QString HomeUrl();
bool HasHomeServer();
// The home address when it names a web server; empty for none and for the home folder, whose
// local path means nothing to anyone else (texts that carry the address).
QString HomeWebUrl();
// Results-site base address (SIFMORA_RESULTS_URL; https://kaijiang.500.com by default).
QString ResultsUrl();

}  // namespace common
