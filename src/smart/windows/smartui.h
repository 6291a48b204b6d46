#pragma once
// Pieces the smart windows share: the operation guide, the home-server page views, the
// clipboard (ui::PutOnClipboard) and click watching for labels and pictures.
#include "platform/ui/clipboard.h"

#include <QObject>
#include <QString>

#include <functional>

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

// Calls back on mouse clicks and double clicks of a widget that has no such signals.
class ClickWatcher : public QObject {
public:
    ClickWatcher(QWidget* target, std::function<void()> onClick, std::function<void()> onDoubleClick);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> onClick_;
    std::function<void()> onDoubleClick_;
};

}  // namespace smart
