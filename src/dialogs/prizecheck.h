#pragma once
// Plain logic of the prize check: the bet folder, reading a bet file and counting the bets
// that hit a draw straight or group.
#include <QString>
#include <QStringList>

namespace dialogs {

// Bets of a bet file's text, in file order. A line (ended by CR LF, CR or LF) is a bet when,
// without the blanks at both ends, it is three digits (full-width digits read as digits);
// every other line is skipped.
QStringList ParseBets(const QString& text);
// Reads a bet file (code page 936). False with the path and the reason when it cannot be read.
bool ReadBetFile(const QString& path, QStringList* bets, QString* error);

enum class PrizeMode { Straight, Group };
// Bets that hit the draw text: straight = the same text; group = the same three characters
// in any order (a draw text that is not three characters long gives no group hit).
int CountPrizeHits(const QStringList& bets, const QString& draw, PrizeMode mode);
// "本次投注中出 " n " 注。"
QString PrizeMessage(int hits);

// The bet folder, ending with "/": setting path when it names an existing folder, else the
// program folder's HAO folder (which may be missing).
QString BetFolder();
// Names of the folder's "*.txt" files (any case), by name. False with the reason when the
// folder does not exist or cannot be listed.
bool ListBetFiles(const QString& folder, QStringList* names, QString* error);
// The folder with exactly one trailing "/" ("\" counts as a separator too).
QString WithTrailingSeparator(const QString& folder);

}  // namespace dialogs
