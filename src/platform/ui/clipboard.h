#pragma once
// The one way the windows put text on the system clipboard.
#include <QString>

namespace ui {

// Clears the clipboard and puts text on it (an empty text leaves it empty). Does nothing where
// there is no clipboard.
void PutOnClipboard(const QString& text);

}  // namespace ui
