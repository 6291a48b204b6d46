#pragma once
// Message boxes, input boxes and modal dialogs go through here, so tests can answer them
// instead of blocking on a window nobody clicks.
#include <QDialog>
#include <QString>

#include <functional>

class QMessageBox;

namespace ui {

inline const QString kAppTitle = QStringLiteral("Sifmora");

enum class Icon { None, Information, Warning, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, AbortRetryIgnore, RetryCancel };
enum class Answer { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

struct MessageRecord {
    QString text;
    QString title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    Answer defaultButton = Answer::Ok;  // Ok: the box's usual default
};

// Shows a message box (title: the application title unless one is given). defaultButton names
// the button that Enter presses (questions that destroy data default to No). A box that ends
// without a button pressed (the program's end) answers as its close button would: No, Cancel
// or Abort where it has one, else Ok.
Answer MsgBox(const QString& text, Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
              const QString& title = kAppTitle, QWidget* parent = nullptr, Answer defaultButton = Answer::Ok);
// Widens a message box to show its whole title in the frame's title bar (MsgBox does this).
void MakeRoomForTitle(QMessageBox& box);
// Asks for a line of text; false when cancelled.
bool InputBox(const QString& prompt, const QString& title, const QString& defaultText, QString* answer,
              QWidget* parent = nullptr);
// Shows a dialog modally and returns its result.
int ShowModal(QDialog* dialog);
// The program's end from any state: every window is asked to close through its own closing path
// (work running there stops as after its 取消), then whatever stays in sight is hidden, which
// ends the modal loop of every box and dialog.
void CloseEveryWindow();

// Test hooks: while set, they answer instead of showing anything.
using MessageHandler = std::function<Answer(const MessageRecord&)>;
using InputHandler = std::function<bool(const QString& prompt, const QString& title, QString* answer)>;
using ModalHandler = std::function<int(QDialog*)>;
void SetMessageHandler(MessageHandler handler);
void SetInputHandler(InputHandler handler);
void SetModalHandler(ModalHandler handler);

// Records every message and answers with a fixed answer; restores the old hook when destroyed.
class MessageRecorder {
public:
    explicit MessageRecorder(Answer answer = Answer::Ok);
    ~MessageRecorder();
    QList<MessageRecord> messages;
    Answer answer;
    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }
};

}  // namespace ui
