#pragma once
// The small help mark that a window shows beside its buttons: a blue disc with a question
// mark, painted here (no image file), so it looks the same with every font.
#include <QPixmap>
#include <QSize>

class QLabel;

namespace ui {

QPixmap HelpMark(const QSize& size);
// Shows the mark in a label; its accessible name says what a click on it does.
void SetHelpMark(QLabel* label, const QString& accessibleName);

}  // namespace ui
