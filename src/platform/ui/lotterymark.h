#pragma once
// The two lotteries' marks, painted here (no image files): a red badge for 福彩3D and a blue
// one for 排列三, each with the game's name and three digit balls.
#include <QPixmap>
#include <QSize>

class QLabel;

namespace ui {

// The mark of 排列三 (p3) or 福彩3D, sized for a label of the given size.
QPixmap LotteryMark(bool p3, const QSize& size);
// Shows the mark in a label, keeping the game's name as its accessible name.
void SetLotteryMark(QLabel* label, bool p3);

}  // namespace ui
