#pragma once
// Pieces the smart windows share: the operation guide, the home-server page views and the
// clipboard (ui::PutOnClipboard).
#include "platform/ui/clipboard.h"

#include <QString>

class QRect;
class QSlider;
class QWidget;

namespace ui {
class WebView;
}

namespace smart {

// The operation guide of the smart windows, one line per line break.
QString SmartGuideText();

// A light web view of a home-server page; it navigates only when a home server is set.
ui::WebView* MakeHomePageView(QWidget* parent, const QString& name, const QString& path);

// The scheme slider of the smart windows (Slider1): schemes 0..count - 1, one step a page,
// ticks below.
QSlider* MakeSchemeSlider(QWidget* parent, int count, const QRect& geometry);

using ui::PutOnClipboard;

}  // namespace smart
