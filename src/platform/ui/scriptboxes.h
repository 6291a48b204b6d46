#pragma once
// MsgBox and InputBox of user scripts, shown through the message-box layer (so tests answer
// them like any other box).
#include "script/scriptengine.h"

#include <QPointer>
#include <QWidget>

namespace ui {

// A script run on a worker thread shows its boxes on the window's thread and waits there
// for the answer.
class ScriptBoxes : public script::ScriptHost {
public:
    explicit ScriptBoxes(QWidget* parent = nullptr) : parent_(parent) {}
    // The script's flags pick buttons (vbOKOnly ... vbRetryCancel), icon and default button;
    // the answer is the language's constant (vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4,
    // vbIgnore = 5, vbYes = 6, vbNo = 7).
    int msgBox(const QString& prompt, int buttons, const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& defaultText) override;

private:
    QPointer<QWidget> parent_;
    int showMsgBox(const QString& prompt, int buttons, const QString& title);
    std::optional<QString> showInputBox(const QString& prompt, const QString& title, const QString& defaultText);
};

}  // namespace ui
