#pragma once
// The main window's measures, shared by the files that build, lay out and close it. Internal to
// src/mainwindow: nothing outside the main window includes this.
#include <QString>

namespace mainwindow::layout {

// Geometry is laid out in twips; 15 twips make one pixel at 96 dots per inch.
constexpr int Px(int twips) { return twips / 15; }

inline constexpr int kHeight = 7050;
inline constexpr int kNarrowWidth = 8070;
inline constexpr int kArrowWidth = 12;  // the drop-down arrow on the right end of a button
inline constexpr int kWideWidth = 11100;

// Text1 and Label1 while the history list is being built (and when closing is refused then).
inline const QString kBusyText = QStringLiteral("数据处理中,请稍候...");

}  // namespace mainwindow::layout
