// Workbench buttons of the result frame that open the number preview and the prize check.
#include "workbench/form2.h"

#include "dialogs/form21.h"
#include "dialogs/form4.h"
#include "platform/ui/messagebox.h"

#include <exception>

void Form2::Command25_Click() { Form21::Open(); }

void Form2::Command16_Click() {
    QString error;
    bool opened = false;
    try {
        opened = Form4::Open(&error);
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    if (opened) return;
    QString text = QStringLiteral("无法打开兑奖窗口。");
    if (!error.isEmpty()) text += QLatin1Char('\n') + error;
    ui::MsgBox(text, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
}
