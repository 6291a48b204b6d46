#include "platform/ui/scriptboxes.h"

#include "platform/ui/messagebox.h"

#include <QCoreApplication>
#include <QThread>

namespace ui {

namespace {
// The language's answers.
constexpr int kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kYes = 6, kNo = 7;

// Runs show on the application's thread, waiting for it when called from another one.
template <class T, class F>
T OnWindowThread(F&& show) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) return show();
    T answer{};
    QMetaObject::invokeMethod(app, [&] { answer = show(); }, Qt::BlockingQueuedConnection);
    return answer;
}
}  // namespace

int ScriptBoxes::msgBox(const QString& prompt, int flags, const QString& title) {
    return OnWindowThread<int>([&] { return showMsgBox(prompt, flags, title); });
}

std::optional<QString> ScriptBoxes::inputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    return OnWindowThread<std::optional<QString>>([&] { return showInputBox(prompt, title, defaultText); });
}

int ScriptBoxes::showMsgBox(const QString& prompt, int flags, const QString& title) {
    Buttons buttons = Buttons::Ok;
    // Abort/Retry/Ignore and Retry/Cancel have no boxes of their own: OK stands for retrying.
    switch (flags & 7) {
    case 1: case 2: case 5: buttons = Buttons::OkCancel; break;
    case 3: buttons = Buttons::YesNoCancel; break;
    case 4: buttons = Buttons::YesNo; break;
    default: break;
    }
    Icon icon = Icon::None;
    switch (flags & 0x70) {
    case 16: icon = Icon::Critical; break;
    case 32: icon = Icon::Question; break;
    case 48: icon = Icon::Warning; break;
    case 64: icon = Icon::Information; break;
    default: break;
    }
    Answer def = Answer::Ok;
    const int second = (flags & 0x300) >> 8;  // 0: first button, 1: second, 2: third
    if (second == 1)
        def = buttons == Buttons::OkCancel ? Answer::Cancel : (buttons == Buttons::Ok ? Answer::Ok : Answer::No);
    else if (second == 2 && buttons == Buttons::YesNoCancel)
        def = Answer::Cancel;
    const Answer a = MsgBox(prompt, icon, buttons, title.isEmpty() ? kAppTitle : title, parent_, def);
    switch (a) {
    case Answer::Ok: return (flags & 7) == 2 || (flags & 7) == 5 ? kRetry : kOk;
    case Answer::Cancel: return (flags & 7) == 2 ? kAbort : kCancel;
    case Answer::Yes: return kYes;
    case Answer::No: return kNo;
    }
    return kOk;
}

std::optional<QString> ScriptBoxes::showInputBox(const QString& prompt, const QString& title,
                                                 const QString& defaultText) {
    QString answer = defaultText;
    if (!InputBox(prompt, title.isEmpty() ? kAppTitle : title, defaultText, &answer, parent_))
        return std::nullopt;
    return answer;
}

}  // namespace ui
