#pragma once
// Whether a window can be read at its design size in the installed fonts: each caption and
// default text fits its control, no two controls of one container cover each other, and every
// column of a table is seen whole without scrolling sideways (a list's captions and cells, the
// lines of a table shown as unwrapped text).
#include <QString>
#include <QStringList>

class QWidget;

namespace testsupport {

// One line per fault ("Frame12/Text13: 文本放不下"), every tab of the window's tab controls
// included; empty when the window is legible. A check box whose caption holds a run of blanks
// is laid out to carry other controls over those blanks and is not checked for overlap.
QStringList LegibilityProblems(QWidget* window);

}  // namespace testsupport
