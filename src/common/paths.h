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

// The player's folders in the program folder: HAO holds the number files (exports, the
// collections of 【做大底】, the bet files 兑奖 lists), 公式 the formulas.
QString NumberFolder();
QString FormulaFolder();
// Makes both folders when missing (the start does, so that every file dialog and 兑奖 find
// them). Empty when both stand; otherwise, in Chinese, which could not be made and why, and
// that nothing was lost: the program goes on without them.
QString MakePlayerFolders();

// Home-server base address, without trailing "/": SIFMORA_HOME_URL when set (empty: none);
// otherwise the folder "home" of the program folder as a file:// address; none without it.
QString HomeUrl();
bool HasHomeServer();
// The home address when it names a web server; empty for none and for the home folder, whose
// local path means nothing to anyone else (texts that carry the address).
QString HomeWebUrl();
// The address of a page of the home server, path starting with "/". For a web home it is the
// home address followed by the path. A file:// home cannot hold a query, so a path with one
// maps to a single file of the same folder: "/bs/body.asp?id=1733" reads
// "/bs/body.asp_id_1733.htm" (the name with every "?", "&" and "=" of the query made "_",
// then ".htm"). Empty without a home server.
QString HomePageUrl(const QString& path);
// The file name a page address with a query has in a home folder (see HomePageUrl); a path
// without a query is returned unchanged.
QString LocalPagePath(const QString& path);
// The help page: "help.htm" of the home folder that ships in the program folder (whatever
// home server is set), as a file:// address.
QString HelpPageUrl();
// Results-site base address (SIFMORA_RESULTS_URL; https://kaijiang.500.com by default).
QString ResultsUrl();

}  // namespace common
