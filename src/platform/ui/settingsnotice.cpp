#include "platform/ui/settingsnotice.h"

#include "common/settings.h"
#include "platform/ui/messagebox.h"

#include <QCoreApplication>
#include <QTimer>

namespace ui {

void SaySettingsSaveFailures() {
    common::SetSettingsSaveNotice([](const QString& message) {
        QTimer::singleShot(0, qApp, [message] { MsgBox(message, Icon::Warning, Buttons::Ok); });
    });
}

}  // namespace ui
