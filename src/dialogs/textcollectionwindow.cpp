#include "dialogs/textcollectionwindow.h"

#include "common/paths.h"
#include "common/textcodec.h"
#include "dialogs/dialogutil.h"
#include "dialogs/setops.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/filedialogs.h"
#include "platform/ui/messagebox.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

}  // namespace

TextCollectionWindow::TextCollectionWindow(dialogs::WorkbenchApi& bench) : QDialog(bench.dialogParent()), LastingWindow(bench) {
    setObjectName(QStringLiteral("Form20"));
    setWindowTitle(QStringLiteral("数据采集"));
    setAttribute(Qt::WA_DeleteOnClose);  // the title bar's close discards text and tick

    auto* layout = new QVBoxLayout(this);
    auto* menuBar = new QMenuBar(this);
    QMenu* menu = menuBar->addMenu(QStringLiteral("操作"));
    menu->setObjectName(QStringLiteral("caozuo"));
    QAction* import = menu->addAction(QStringLiteral("导入..."), this, &TextCollectionWindow::importFromFile);
    import->setObjectName(QStringLiteral("bianjidr2"));
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QStringLiteral("hengj3"));
    QAction* paste = menu->addAction(QStringLiteral("粘贴"), this, &TextCollectionWindow::pasteText);
    paste->setObjectName(QStringLiteral("ghskfj"));
    QAction* clear = menu->addAction(QStringLiteral("清空"), this, &TextCollectionWindow::clearText);
    clear->setObjectName(QStringLiteral("kdngqq"));
    layout->setMenuBar(menuBar);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Text1"));
    layout->addWidget(text_);

    auto* row = new QHBoxLayout;
    keep_ = new QCheckBox(QStringLiteral("保留相同号码"), this);
    keep_->setObjectName(QStringLiteral("Check1"));
    row->addWidget(keep_);
    row->addStretch();
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("Command5"));
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("Command4"));
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &TextCollectionWindow::collectNumbers);
    connect(cancel, &QPushButton::clicked, this, &TextCollectionWindow::cancel);

    resize(480, 360);
    arrange();
}

int TextCollectionWindow::Open(dialogs::WorkbenchApi& bench) { return ui::ShowModal(instance(bench)); }


void TextCollectionWindow::arrange() {
    setWindowIcon(QApplication::windowIcon());
    dialogs::CentreOnScreen(this);
}

void TextCollectionWindow::pasteText() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) return;
    text_->setPlainText(dialogs::TrimBlanks(data->text()));
}

void TextCollectionWindow::importFromFile() {
    const QString path = ui::AskOpenFileName(this, QStringLiteral("从文件导入"), common::NumberFolder(), QStringLiteral("文本文件 (*.txt)"));
    if (path.isEmpty()) return;  // cancelled
    QString content;
    QString error;
    if (!common::ReadAnsiFile(path, &content, &error)) {
        ui::MsgBox(QStringLiteral("无法读取文件：") + QDir::toNativeSeparators(path) + QLatin1Char('\n') + error,
                   ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
        return;
    }
    text_->setPlainText(dialogs::TrimBlanks(content));
}

void TextCollectionWindow::clearText() { text_->clear(); }

void TextCollectionWindow::cancel() { hide(); }

void TextCollectionWindow::collectNumbers() {
    const QString text = dialogs::TrimBlanks(text_->toPlainText());
    if (text.isEmpty()) return;
    const QStringList numbers = dialogs::CollectFromText(text, keep_->isChecked());
    if (numbers.size() > dialogs::kMaxPoolEntries) {
        // The window stays open with its text so the user can shorten it.
        ui::MsgBox(QStringLiteral("采集到 %1 注号码，超过了 %2 注的上限，请减少数据后再试。")
                       .arg(numbers.size())
                       .arg(dialogs::kMaxPoolEntries),
                   ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
        return;
    }
    hide();
    bench_.enterFilteringMode();
    bench_.session().TakeNumbers(numbers, QStringLiteral("数据采集共%1注").arg(numbers.size()) + pool::kNewLine,
                                 QStringLiteral("数据采集"));
}
