#pragma once
// The file dialogs of every window, and the one place a test answers them instead.
// They are Qt's own dialogs (never the desktop's), so that they speak Chinese wherever Qt's
// translations are installed, with sizes and dates in Chinese whatever the machine's locale,
// and each starts in a folder of the program: never in the process's current folder.
#include <QString>
#include <QStringList>

#include <functional>

class QFileDialog;
class QFileInfo;
class QWidget;

namespace ui {

struct FileDialogRequest {
    enum class Kind { OpenOne, OpenMany, Save };
    Kind kind = Kind::OpenOne;
    QString title;
    QString defaultName;  // Save only: the proposed path (in folder)
    QString filter;
    QString folder;  // where the dialog starts
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

// The folder a dialog asked to start in folder starts in: folder when it exists, otherwise
// the program folder.
QString DialogStartFolder(const QString& folder);

// Each returns the chosen path(s), empty when cancelled; folder is where the dialog starts
// (see DialogStartFolder). A filter may offer several kinds, separated by ";;".
QString AskOpenFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter);
QStringList AskOpenFileNames(QWidget* parent, const QString& title, const QString& folder, const QString& filter);
// Starts in defaultName's folder with its name proposed. The filter's extension is added to a
// name typed without it, so the overwrite question is asked about the file really written
// ("plan" typed while plan.txt exists).
QString AskSaveFileName(QWidget* parent, const QString& title, const QString& defaultName, const QString& filter);

// Makes dialog the program's kind of file dialog: Qt's own widgets, its size and date columns
// in the program's (Chinese) locale rather than the machine's, and every listed file's type and
// icon taken from its name, so that no listed file is ever opened (a read of /proc/kmsg or a
// FIFO would hold the window thread for good).
void MakeProgramFileDialog(QFileDialog* dialog);

// A file size as the dialogs write it: "812 字节", "1.04 千字节", "3.50 兆字节", "1.20 吉字节"
// (units of 1024).
QString DataSizeText(qint64 bytes);
// A listed file's type from its name only: "文件夹", "大底采集" for the program's collections
// (.h), the file-type database's name for the extension, "特殊文件" for a FIFO, device or socket.
QString FileTypeName(const QFileInfo& info);

}  // namespace ui
