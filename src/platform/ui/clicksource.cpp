#include "platform/ui/clicksource.h"

#include <QEvent>
#include <QMetaMethod>
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

bool ClickSource::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (!isSignalConnected(QMetaMethod::fromSignal(&ClickSource::pressed))) return false;
        emit pressed();
        return true;
    case QEvent::MouseButtonRelease:
        if (!isSignalConnected(QMetaMethod::fromSignal(&ClickSource::released))) return false;
        emit released();
        return true;
    case QEvent::MouseButtonDblClick:
        if (!isSignalConnected(QMetaMethod::fromSignal(&ClickSource::doubleClicked))) return false;
        emit doubleClicked();
        return true;
    default: return QObject::eventFilter(watched, event);
    }
}

}  // namespace ui
