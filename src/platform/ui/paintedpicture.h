#pragma once
// Pictures the program paints itself instead of shipping image files: a transparent canvas
// at the screen's pixel ratio, and a label that shows one with a name for assistive tools.
#include <QPixmap>
#include <QSize>
#include <QString>

class QLabel;

namespace ui {

QPixmap BlankPicture(const QSize& size);
void ShowPicture(QLabel* label, const QPixmap& picture, const QString& accessibleName);

}  // namespace ui
