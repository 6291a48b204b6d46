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

// Home-server base address (SIFMORA_HOME_URL; none by default), without trailing "/".
QString HomeUrl();
bool HasHomeServer();
// Results-site base address (SIFMORA_RESULTS_URL; https://kaijiang.500.com by default).
QString ResultsUrl();

}  // namespace common
