#include "dialogs/betfolderchooser.h"

#include "common/paths.h"
#include "common/settings.h"
#include "dialogs/dialogutil.h"
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

constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

QTreeWidgetItem* MakeFolderItem(const QString& caption, const QString& path) {
    auto* item = new QTreeWidgetItem(QStringList{caption});
    item->setData(0, kPathRole, path);
    item->setToolTip(0, QDir::toNativeSeparators(path));
    // Expandable until its subfolders are listed on first expansion.
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

}  // namespace

BetFolderChooser::BetFolderChooser(BetFolderTarget* target, QString* chosenFolder, QWidget* parent)
    : QDialog(parent), target_(target) {
    if (chosenFolder) chosenFolder_ = chosenFolder;
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("文件夹"));

    auto* layout = new QVBoxLayout(this);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("FolderView1"));
    tree_->setHeaderHidden(true);
    layout->addWidget(tree_);
    // The tree is filled lazily: a folder lists its subfolders when it is first expanded.
    const QString programDir = common::ProgramDir();
    tree_->addTopLevelItem(MakeFolderItem(QDir::toNativeSeparators(programDir), programDir));
    tree_->addTopLevelItem(MakeFolderItem(QDir::toNativeSeparators(QDir::homePath()), QDir::homePath()));
    for (const QFileInfo& drive : QDir::drives())
        tree_->addTopLevelItem(MakeFolderItem(QDir::toNativeSeparators(drive.absoluteFilePath()), drive.absoluteFilePath()));
    connect(tree_, &QTreeWidget::itemExpanded, this, &BetFolderChooser::fillChildren);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) noteChosenFolder(item->data(0, kPathRole).toString());
    });

    auto* row = new QHBoxLayout;
    row->addStretch();
    dialogs::AddOkCancel(this, row, "Command1", &BetFolderChooser::applyFolder, "Command2",
                         &BetFolderChooser::cancel);
    layout->addLayout(row);

    resize(360, 420);
    arrange();
}

int BetFolderChooser::Open(BetFolderTarget* target, QString* chosenFolder, QWidget* parent) {
    QPointer<BetFolderChooser> window = new BetFolderChooser(target, chosenFolder, parent);
    const int result = ui::ShowModal(window);
    delete window.data();
    return result;
}

void BetFolderChooser::arrange() {
    setWindowIcon(QApplication::windowIcon());
    dialogs::CentreOnScreen(this);
}

void BetFolderChooser::fillChildren(QTreeWidgetItem* item) {
    if (!item || item->data(0, kFilledRole).toBool()) return;
    item->setData(0, kFilledRole, true);
    const QDir dir(item->data(0, kPathRole).toString());
    const QFileInfoList subfolders =
        dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    QList<QTreeWidgetItem*> children;
    children.reserve(subfolders.size());
    for (const QFileInfo& info : subfolders) children.append(MakeFolderItem(info.fileName(), info.absoluteFilePath()));
    item->addChildren(children);
    if (children.isEmpty()) item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

void BetFolderChooser::noteChosenFolder(const QString& path) {
    if (path.isEmpty()) return;
    *chosenFolder_ = dialogs::WithTrailingSeparator(path);
}

void BetFolderChooser::applyFolder() {
    // Nothing reported yet in this run: nothing to apply, the chooser stays open.
    if (chosenFolder_->isEmpty()) return;
    if (target_) {
        QString error;
        if (!target_->showFolder(*chosenFolder_, &error)) {
            ui::MsgBox(QStringLiteral("无法使用这个文件夹作为投注文件夹：") + QLatin1Char('\n') + error,
                       ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
            return;
        }
    }
    common::SaveExportPath(*chosenFolder_);
    accept();
}

void BetFolderChooser::cancel() { reject(); }
