#pragma once
// Press, release and double-click signals for a widget that has none (a label, a picture), so
// that its window connects them to handlers like a button's.
#include <QObject>

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ClickSource(QWidget* target);
};

}  // namespace ui
