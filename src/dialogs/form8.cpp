#include "dialogs/form8.h"

#include "common/paths.h"
#include "common/settings.h"
#include "dialogs/dialogutil.h"
#include "dialogs/form4.h"
#include "dialogs/prizecheck.h"
#include "platform/ui/messagebox.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Belongs to the chooser for the whole run: the last folder the tree reported.
QString g_form8Remembered;

constexpr int kForm8PathRole = Qt::UserRole;
constexpr int kForm8FilledRole = Qt::UserRole + 1;

QTreeWidgetItem* MakeForm8FolderItem(const QString& caption, const QString& path) {
    auto* item = new QTreeWidgetItem(QStringList{caption});
    item->setData(0, kForm8PathRole, path);
    item->setToolTip(0, QDir::toNativeSeparators(path));
    // Expandable until its subfolders are listed on first expansion.
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

}  // namespace

Form8::Form8(Form4* prizeCheck, QWidget* parent) : QDialog(parent), prizeCheck_(prizeCheck) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("文件夹"));

    auto* layout = new QVBoxLayout(this);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("FolderView1"));
    tree_->setHeaderHidden(true);
    layout->addWidget(tree_);
    // The tree is filled lazily: a folder lists its subfolders when it is first expanded.
    const QString programDir = common::ProgramDir();
    tree_->addTopLevelItem(MakeForm8FolderItem(QDir::toNativeSeparators(programDir), programDir));
    tree_->addTopLevelItem(MakeForm8FolderItem(QDir::toNativeSeparators(QDir::homePath()), QDir::homePath()));
    for (const QFileInfo& drive : QDir::drives())
        tree_->addTopLevelItem(MakeForm8FolderItem(QDir::toNativeSeparators(drive.absoluteFilePath()), drive.absoluteFilePath()));
    connect(tree_, &QTreeWidget::itemExpanded, this, &Form8::fillChildren);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) FolderView1_FolderClick(item->data(0, kForm8PathRole).toString());
    });

    auto* row = new QHBoxLayout;
    row->addStretch();
    const dialogs::OkCancel buttons = dialogs::AddOkCancel(this, row, "Command1", "Command2");
    layout->addLayout(row);
    connect(buttons.ok, &QPushButton::clicked, this, &Form8::Command1_Click);
    connect(buttons.cancel, &QPushButton::clicked, this, &Form8::Command2_Click);

    resize(360, 420);
    Form_Load();
}

int Form8::Open(Form4* prizeCheck) {
    QPointer<Form8> window = new Form8(prizeCheck, prizeCheck);
    const int result = ui::ShowModal(window);
    delete window.data();
    return result;
}

QString Form8::RememberedPath() { return g_form8Remembered; }
void Form8::ForgetRememberedPath() { g_form8Remembered.clear(); }

void Form8::Form_Load() {
    setWindowIcon(QApplication::windowIcon());
    dialogs::CentreOnScreen(this);
}

void Form8::fillChildren(QTreeWidgetItem* item) {
    if (!item || item->data(0, kForm8FilledRole).toBool()) return;
    item->setData(0, kForm8FilledRole, true);
    const QDir dir(item->data(0, kForm8PathRole).toString());
    const QFileInfoList subfolders =
        dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    QList<QTreeWidgetItem*> children;
    children.reserve(subfolders.size());
    for (const QFileInfo& info : subfolders) children.append(MakeForm8FolderItem(info.fileName(), info.absoluteFilePath()));
    item->addChildren(children);
    if (children.isEmpty()) item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

void Form8::FolderView1_FolderClick(const QString& path) {
    if (path.isEmpty()) return;
    g_form8Remembered = dialogs::WithTrailingSeparator(path);
}

void Form8::Command1_Click() {
    // Nothing reported yet in this run: nothing to apply, the chooser stays open.
    if (g_form8Remembered.isEmpty()) return;
    if (prizeCheck_) {
        QString error;
        if (!prizeCheck_->showFolder(g_form8Remembered, &error)) {
            ui::MsgBox(QStringLiteral("无法使用这个文件夹作为投注文件夹：") + QLatin1Char('\n') + error,
                       ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
            return;
        }
    }
    common::SaveSetting(QStringLiteral("path"), g_form8Remembered);
    accept();
}

void Form8::Command2_Click() { reject(); }
