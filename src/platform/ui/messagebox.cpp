#include "platform/ui/messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QSpacerItem>

namespace ui {
namespace {
// Tests' seams, empty in the program: a test answers the boxes and modal windows in place of a
// player. They are the only process-wide values here, on purpose.
MessageHandler g_message;
InputHandler g_input;
ModalHandler g_modal;

QMessageBox::Icon ToQt(Icon icon) {
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
    }
}

int TitleRoom(const QString& title) {
    // The window manager draws the title in its own, often bold, font beside the window icon
    // and the frame's buttons; Qt leaves only 50 pixels beside the plain text for all of that.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) * 6 / 5 + 150;
}
// What a box's close button answers.
Answer CloseAnswer(Buttons buttons) {
    switch (buttons) {
    case Buttons::YesNo: return Answer::No;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
    case Buttons::RetryCancel: return Answer::Cancel;
    case Buttons::AbortRetryIgnore: return Answer::Abort;
    case Buttons::Ok: break;
    }
    return Answer::Ok;
}
}  // namespace

void MakeRoomForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid || box.windowTitle().isEmpty()) return;
    // A box sizes itself to its text on every show; a spacer across the grid is the minimum
    // width it keeps to.
    grid->addItem(new QSpacerItem(TitleRoom(box.windowTitle()), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

Answer MsgBox(const QString& text, Icon icon, Buttons buttons, const QString& title, QWidget* parent,
              Answer defaultButton) {
    if (g_message) return g_message({text, title, icon, buttons, defaultButton});
    QMessageBox box(ToQt(icon), title, text, QMessageBox::NoButton, parent);
    MakeRoomForTitle(box);
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Buttons::AbortRetryIgnore:
        box.setStandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
        break;
    case Buttons::RetryCancel: box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
    }
    // The program speaks Chinese throughout; the buttons should too.
    const std::pair<QMessageBox::StandardButton, const char16_t*> captions[] = {
        {QMessageBox::Ok, u"确定"}, {QMessageBox::Cancel, u"取消"}, {QMessageBox::Yes, u"是(&Y)"},
        {QMessageBox::No, u"否(&N)"}, {QMessageBox::Abort, u"中止(&A)"}, {QMessageBox::Retry, u"重试(&R)"},
        {QMessageBox::Ignore, u"忽略(&I)"}};
    for (const auto& [which, caption] : captions)
        if (QAbstractButton* b = box.button(which)) b->setText(QString::fromUtf16(caption));
    switch (defaultButton) {
    case Answer::Yes: box.setDefaultButton(QMessageBox::Yes); break;
    case Answer::No: box.setDefaultButton(QMessageBox::No); break;
    case Answer::Cancel: box.setDefaultButton(QMessageBox::Cancel); break;
    case Answer::Abort: box.setDefaultButton(QMessageBox::Abort); break;
    case Answer::Retry: box.setDefaultButton(QMessageBox::Retry); break;
    case Answer::Ignore: box.setDefaultButton(QMessageBox::Ignore); break;
    case Answer::Ok: break;
    }
    const int result = box.exec();
    if (!box.clickedButton()) return CloseAnswer(buttons);
    switch (result) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Abort: return Answer::Abort;
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Ignore: return Answer::Ignore;
    default: return Answer::Ok;
    }
}

bool InputBox(const QString& prompt, const QString& title, const QString& defaultText, QString* answer,
              QWidget* parent) {
    if (g_input) return g_input(prompt, title, answer);
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setMinimumWidth(TitleRoom(title));
    if (dialog.exec() != QDialog::Accepted) return false;
    if (answer) *answer = dialog.textValue();
    return true;
}

int ShowModal(QDialog* dialog) {
    if (g_modal) return g_modal(dialog);
    return dialog->exec();
}

void CloseEveryWindow() {
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowType() != Qt::Desktop) windows << w;
    for (const QPointer<QWidget>& w : windows)
        if (w) w->close();
    // A window that refused (its work unwinds first) or a box that needs a button: hiding a
    // dialog ends its modal loop.
    for (const QPointer<QWidget>& w : windows)
        if (w && w->isVisible()) w->hide();
}

void SetMessageHandler(MessageHandler handler) { g_message = std::move(handler); }
void SetInputHandler(InputHandler handler) { g_input = std::move(handler); }
void SetModalHandler(ModalHandler handler) { g_modal = std::move(handler); }

MessageRecorder::MessageRecorder(Answer a) : answer(a) {
    SetMessageHandler([this](const MessageRecord& r) {
        messages.append(r);
        return answer;
    });
}

MessageRecorder::~MessageRecorder() { SetMessageHandler({}); }

}  // namespace ui
