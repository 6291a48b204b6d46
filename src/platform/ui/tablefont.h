#pragma once
// The fixed-pitch font for text laid out as a table of digits and marks: every CJK character,
// the ideographic space and "■" take two columns and every other character one, so that
// columns padded with blanks line up.
#include <QFont>

namespace ui {

QFont TableFont(int pointSize = 9);

}  // namespace ui
