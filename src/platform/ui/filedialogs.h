#pragma once
// The file dialogs of every window, and the one place a test answers them instead.
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace ui {

struct FileDialogRequest {
    enum class Kind { OpenOne, OpenMany, Save };
    Kind kind = Kind::OpenOne;
    QString title;
    QString defaultName;  // Save only
    QString filter;
};
// Answers a dialog: the chosen paths, empty when cancelled.
using FileDialogAnswer = std::function<QStringList(const FileDialogRequest&)>;

// While set, every file dialog below returns this answer instead of showing itself.
void SetFileDialogAnswer(FileDialogAnswer answer);

// A test's answer for its own lifetime; the answer before it comes back at the end.
class FileDialogAnswerScope {
public:
    explicit FileDialogAnswerScope(FileDialogAnswer answer = {});
    ~FileDialogAnswerScope();
    FileDialogAnswerScope(const FileDialogAnswerScope&) = delete;
    FileDialogAnswerScope& operator=(const FileDialogAnswerScope&) = delete;

private:
    FileDialogAnswer previous_;
};

// Each returns the chosen path(s), empty when cancelled.
QString AskOpenFileName(QWidget* parent, const QString& title, const QString& filter);
QStringList AskOpenFileNames(QWidget* parent, const QString& title, const QString& filter);
// The filter's extension is added to a name typed without it, so the overwrite question is
// asked about the file really written ("plan" typed while plan.txt exists).
QString AskSaveFileName(QWidget* parent, const QString& title, const QString& defaultName, const QString& filter);

}  // namespace ui
