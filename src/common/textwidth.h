#pragma once
// Layout of tables in a fixed-pitch font in which every CJK character, the ideographic space
// and "■" take two columns and every other character one.
#include <QString>
#include <QStringView>

namespace common {

// Columns one character takes (a low surrogate takes none: its pair counts once).
int CharWidth(QChar ch);
// Columns a text takes.
int DisplayWidth(QStringView text);
// The text followed (PadRight) or preceded (PadLeft) by blanks up to `columns`; a text already
// as wide or wider comes back unchanged.
QString PadRight(const QString& text, int columns);
QString PadLeft(const QString& text, int columns);

}  // namespace common
