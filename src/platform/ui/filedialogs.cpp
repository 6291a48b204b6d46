#include "platform/ui/filedialogs.h"

#include "common/paths.h"
#include "platform/ui/messagebox.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QTreeView>

#include <algorithm>
#include <iterator>
#include <utility>

namespace ui {
namespace {

constexpr int kDialogWidth = 760;

FileDialogAnswer& CurrentAnswer() {
    static FileDialogAnswer answer;
    return answer;
}

// Names each listed file's type and icon from its name alone. Qt's own provider asks the
// file-type database, which reads a file's first bytes, and while one read waits (/proc/kmsg,
// a FIFO, a device) that database's lock holds the window thread too: typing /proc into the
// name field hung the whole program. The program's collections (.h) are named as the player
// knows them, not as C headers.
class NameOnlyFileTypes : public QFileIconProvider {
public:
    QIcon icon(const QFileInfo& info) const override {
        if (info.isDir()) return QFileIconProvider::icon(Folder);
        const QIcon themed = QIcon::fromTheme(typeOf(info).iconName());
        return themed.isNull() ? QFileIconProvider::icon(File) : themed;
    }
    QString type(const QFileInfo& info) const override { return FileTypeName(info); }

private:
    QMimeType typeOf(const QFileInfo& info) const { return types_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension); }
    QMimeDatabase types_;
};

// Qt's file model writes sizes and dates in the machine's locale (English on a machine without
// a Chinese one), with sizes in IEC units ("1.04 KiB"), and names a folder's type with a text
// Qt's Chinese translations lack; these are written again in the program's locale (QLocale())
// and in Chinese units. A file's type is NameOnlyFileTypes's.
class LocaleFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() < kSize || index.column() > kDate)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const bool folder = files->isDir(source);
        switch (index.column()) {
        case kSize: return folder ? QString() : DataSizeText(files->size(source));
        case kType: return folder ? QStringLiteral("文件夹") : QIdentityProxyModel::data(index, role);
        default: return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        }
    }

private:
    static constexpr int kSize = 1;
    static constexpr int kType = 2;
    static constexpr int kDate = 3;
};

QStringList Show(QFileDialog& dialog) {
    if (ShowModal(&dialog) != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

QStringList AskOpen(QWidget* parent, FileDialogRequest request) {
    request.folder = DialogStartFolder(request.folder);
    if (CurrentAnswer()) return CurrentAnswer()(request);
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    MakeProgramFileDialog(&dialog);
    dialog.setFileMode(request.kind == FileDialogRequest::Kind::OpenMany ? QFileDialog::ExistingFiles
                                                                           : QFileDialog::ExistingFile);
    return Show(dialog);
}

}  // namespace

void SetFileDialogAnswer(FileDialogAnswer answer) { CurrentAnswer() = std::move(answer); }

FileDialogAnswerScope::FileDialogAnswerScope(FileDialogAnswer answer) : previous_(std::move(CurrentAnswer())) {
    CurrentAnswer() = std::move(answer);
}

FileDialogAnswerScope::~FileDialogAnswerScope() { CurrentAnswer() = std::move(previous_); }

QString DialogStartFolder(const QString& folder) {
    // An empty or relative folder would be read against the process's current folder.
    if (!folder.isEmpty() && QDir::isAbsolutePath(folder) && QFileInfo(folder).isDir()) return QDir::cleanPath(folder);
    return QDir::cleanPath(common::ProgramDir());
}

QString DataSizeText(qint64 bytes) {
    static const char16_t* const kUnits[] = {u"千字节", u"兆字节", u"吉字节", u"太字节"};
    if (bytes < 1024) return QStringLiteral("%1 字节").arg(QLocale().toString(bytes));
    double value = double(bytes) / 1024;
    int unit = 0;
    while (value >= 1024 && unit + 1 < int(std::size(kUnits))) {
        value /= 1024;
        ++unit;
    }
    return QStringLiteral("%1 %2").arg(QLocale().toString(value, 'f', 2), QString::fromUtf16(kUnits[unit]));
}

QString FileTypeName(const QFileInfo& info) {
    if (info.isDir()) return QStringLiteral("文件夹");
    // A FIFO, a device or a socket is no file to open, whatever its name.
    if (info.exists() && !info.isFile()) return QStringLiteral("特殊文件");
    if (info.suffix().compare(QLatin1String("h"), Qt::CaseInsensitive) == 0) return QStringLiteral("大底采集");
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    if (!type.isDefault() && !type.comment().isEmpty()) return type.comment();
    return info.suffix().isEmpty() ? QStringLiteral("文件") : QStringLiteral("%1 文件").arg(info.suffix().toUpper());
}

void MakeProgramFileDialog(QFileDialog* dialog) {
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // Set before the dialog lists anything. The dialog does not own it and its listing thread
    // may use it until the dialog has gone, so one lives for the whole run.
    static NameOnlyFileTypes* const kNameOnlyTypes = new NameOnlyFileTypes;
    dialog->setIconProvider(kNameOnlyTypes);
    dialog->setProxyModel(new LocaleFileColumns(dialog));
    // Qt sizes the detail columns for English samples, which cuts the Chinese types and dates:
    // they take their texts' widths, and the name the rest of a wider dialog.
    if (auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = view->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    dialog->resize(std::max(dialog->width(), kDialogWidth), dialog->height());
}

QString AskOpenFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter) {
    return AskOpen(parent, {FileDialogRequest::Kind::OpenOne, title, QString(), filter, folder}).value(0);
}

QStringList AskOpenFileNames(QWidget* parent, const QString& title, const QString& folder, const QString& filter) {
    return AskOpen(parent, {FileDialogRequest::Kind::OpenMany, title, QString(), filter, folder});
}

QString AskSaveFileName(QWidget* parent, const QString& title, const QString& defaultName, const QString& filter) {
    const QFileInfo proposed(defaultName);
    FileDialogRequest request{FileDialogRequest::Kind::Save, title, QString(), filter,
                              DialogStartFolder(proposed.isAbsolute() ? proposed.path() : QString())};
    request.defaultName = QDir(request.folder).filePath(proposed.fileName());
    if (CurrentAnswer()) return CurrentAnswer()(request).value(0);
    QFileDialog dialog(parent, title, request.defaultName, filter);
    MakeProgramFileDialog(&dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    static const QRegularExpression kPattern(QStringLiteral("\\*\\.(\\w+)"));
    const QRegularExpressionMatch m = kPattern.match(filter);
    if (m.hasMatch()) dialog.setDefaultSuffix(m.captured(1));
    return Show(dialog).value(0);
}

}  // namespace ui
