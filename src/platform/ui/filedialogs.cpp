#include "platform/ui/filedialogs.h"

#include "platform/ui/messagebox.h"

#include <QFileDialog>
#include <QRegularExpression>

#include <utility>

namespace ui {
namespace {

FileDialogAnswer& CurrentAnswer() {
    static FileDialogAnswer answer;
    return answer;
}

}  // namespace

void SetFileDialogAnswer(FileDialogAnswer answer) { CurrentAnswer() = std::move(answer); }

FileDialogAnswerScope::FileDialogAnswerScope(FileDialogAnswer answer) : previous_(std::move(CurrentAnswer())) {
    CurrentAnswer() = std::move(answer);
}

FileDialogAnswerScope::~FileDialogAnswerScope() { CurrentAnswer() = std::move(previous_); }

QString AskOpenFileName(QWidget* parent, const QString& title, const QString& filter) {
    if (CurrentAnswer()) return CurrentAnswer()({FileDialogRequest::Kind::OpenOne, title, QString(), filter}).value(0);
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QStringList AskOpenFileNames(QWidget* parent, const QString& title, const QString& filter) {
    if (CurrentAnswer()) return CurrentAnswer()({FileDialogRequest::Kind::OpenMany, title, QString(), filter});
    return QFileDialog::getOpenFileNames(parent, title, QString(), filter);
}

QString AskSaveFileName(QWidget* parent, const QString& title, const QString& defaultName, const QString& filter) {
    if (CurrentAnswer()) return CurrentAnswer()({FileDialogRequest::Kind::Save, title, defaultName, filter}).value(0);
    QFileDialog dialog(parent, title, defaultName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    static const QRegularExpression kPattern(QStringLiteral("\\*\\.(\\w+)"));
    const QRegularExpressionMatch m = kPattern.match(filter);
    if (m.hasMatch()) dialog.setDefaultSuffix(m.captured(1));
    if (ShowModal(&dialog) != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

}  // namespace ui
