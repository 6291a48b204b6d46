#include "platform/ui/scriptboxes.h"

#include "platform/ui/messagebox.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

namespace ui {

namespace {
// The language's answers.
constexpr int kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7;

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
    // The buttons of flags & 7, in the order the default-button flags count them.
    struct Set {
        Buttons buttons;
        Answer order[3];
    };
    static const Set sets[] = {
        {Buttons::Ok, {Answer::Ok, Answer::Ok, Answer::Ok}},
        {Buttons::OkCancel, {Answer::Ok, Answer::Cancel, Answer::Cancel}},
        {Buttons::AbortRetryIgnore, {Answer::Abort, Answer::Retry, Answer::Ignore}},
        {Buttons::YesNoCancel, {Answer::Yes, Answer::No, Answer::Cancel}},
        {Buttons::YesNo, {Answer::Yes, Answer::No, Answer::No}},
        {Buttons::RetryCancel, {Answer::Retry, Answer::Cancel, Answer::Cancel}},
    };
    const Set& set = sets[(flags & 7) < 6 ? (flags & 7) : 0];
    Icon icon = Icon::None;
    switch (flags & 0x70) {
    case 16: icon = Icon::Critical; break;
    case 32: icon = Icon::Question; break;
    case 48: icon = Icon::Warning; break;
    case 64: icon = Icon::Information; break;
    default: break;
    }
    const int nth = std::min((flags & 0x300) >> 8, 2);  // 0: first button, 1: second, 2: third
    switch (MsgBox(prompt, icon, set.buttons, title.isEmpty() ? kAppTitle : title, parent_, set.order[nth])) {
    case Answer::Ok: return kOk;
    case Answer::Cancel: return kCancel;
    case Answer::Yes: return kYes;
    case Answer::No: return kNo;
    case Answer::Abort: return kAbort;
    case Answer::Retry: return kRetry;
    case Answer::Ignore: return kIgnore;
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
