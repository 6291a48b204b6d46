#pragma once
// The fixed-pitch font for text laid out as a table of digits and marks: every CJK character,
// the ideographic space and "■" take two columns and every other character one, so that
// columns padded with blanks line up.
#include <QFont>

namespace ui {

QFont TableFont(int pointSize = 9);

// The family tried before all others, so that tests and screenshots can draw tables in each of
// the installed fonts; empty for the usual order.
void SetPreferredTableFamily(const QString& family);

}  // namespace ui
