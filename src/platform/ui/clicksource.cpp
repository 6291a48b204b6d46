#include "platform/ui/clicksource.h"

#include <QApplication>
#include <QEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QWidget>

namespace ui {

ClickSource::ClickSource(QWidget* target) : QObject(target) {
    setObjectName(QStringLiteral("clickSource"));
    target->installEventFilter(this);
}

ClickSource* ClickSource::of(QWidget* target) {
    if (auto* source = target->findChild<ClickSource*>(QString(), Qt::FindDirectChildrenOnly)) return source;
    return new ClickSource(target);
}

// Follows a press until it ends or has moved far enough to count as a drag; true when the event
// is the drag's and goes no further.
bool ClickSource::watchDrag(QEvent* event) {
    if (!isSignalConnected(QMetaMethod::fromSignal(&ClickSource::dragged))) return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        pressedAt_ = mouse->globalPosition().toPoint();
        pressHeld_ = true;
        return true;
    case QEvent::MouseMove:
        if (!pressHeld_ || mouse->buttons() == Qt::NoButton) return false;
        if ((mouse->globalPosition().toPoint() - pressedAt_).manhattanLength() >= QApplication::startDragDistance()) {
            pressHeld_ = false;
            emit dragged();
        }
        return true;
    default:
        pressHeld_ = false;
        return false;
    }
}

bool ClickSource::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const bool dragWatched = watchDrag(event);
        if (!isSignalConnected(QMetaMethod::fromSignal(&ClickSource::pressed))) return dragWatched;
        emit pressed();
        return true;
    }
    case QEvent::MouseButtonRelease:
        watchDrag(event);
        if (!isSignalConnected(QMetaMethod::fromSignal(&ClickSource::released))) return false;
        emit released();
        return true;
    case QEvent::MouseButtonDblClick: {
        const bool dragWatched = watchDrag(event);
        if (!isSignalConnected(QMetaMethod::fromSignal(&ClickSource::doubleClicked))) return dragWatched;
        emit doubleClicked();
        return true;
    }
    case QEvent::MouseMove: return watchDrag(event);
    default: return QObject::eventFilter(watched, event);
    }
}

}  // namespace ui
