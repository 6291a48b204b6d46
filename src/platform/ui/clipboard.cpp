#include "platform/ui/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace ui {

void PutOnClipboard(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return;
    clipboard->clear();
    if (!text.isEmpty()) clipboard->setText(text);
}

}  // namespace ui
