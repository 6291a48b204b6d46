#pragma once
// Press, release, double-click and drag signals for a widget that has none (a label, a picture),
// so that its window connects them to handlers like a button's.
#include <QObject>
#include <QPoint>

class QWidget;

namespace ui {

class ClickSource : public QObject {
    Q_OBJECT
public:
    // The source of target, made at the first call; it lives as target's child.
    static ClickSource* of(QWidget* target);

signals:
    // Left or right button alike. An event whose signal has a receiver goes no further.
    void pressed();
    void released();
    void doubleClicked();
    // The pointer, a button held, has moved the platform's drag distance from where it was
    // pressed: once per press. A press is kept from the widget while this has a receiver, and a
    // click or double click that does not move stays a click.
    void dragged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ClickSource(QWidget* target);
    bool watchDrag(QEvent* event);

    QPoint pressedAt_;
    bool pressHeld_ = false;
};

}  // namespace ui
