#include "dialogs/setoperationswindow.h"

#include "common/paths.h"
#include "dialogs/dialogutil.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/columnfit.h"
#include "platform/ui/filedialogs.h"
#include "platform/ui/messagebox.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kDefaultCaption = QStringLiteral("集合运算");
const QString kCollectCaption = QStringLiteral("大底采集");
// 添加 offers the collections 【做大底】 wrote (HAO/大底采集….h) as well as number lists.
const QString kAddFileFilter = QStringLiteral("大底采集 (*.h);;文本文件 (*.txt)");

enum FileColumn { kLabelColumn = 0, kCountColumn = 1, kPathColumn = 2 };

// The path column shows the file's name (the folder's path says nothing and cut the column); the
// whole path is the cell's tooltip and its data.
QString PathOf(const QTreeWidgetItem* item) { return item->data(kPathColumn, Qt::UserRole).toString(); }

QString Pad(int value, int width) { return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0')); }

void ShowReadError(const QString& error, QWidget* parent) {
    ui::MsgBox(QStringLiteral("无法读取文件：") + error, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, parent);
}

}  // namespace

// The result list: number and occurrence count per row, filled and cut in whole blocks.
class ResultModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    struct Row {
        QString number;
        QString count;
    };
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(rows_.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || role != Qt::DisplayRole) return {};
        const Row& row = rows_[index.row()];
        return index.column() == 0 ? row.number : row.count;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        return section == 0 ? QStringLiteral("号码") : QStringLiteral("出现次数");
    }
    void setRows(QList<Row> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    const QList<Row>& rows() const { return rows_; }
    // Ascending by the cell text of the column; ties keep their order.
    void sortBy(int column) {
        beginResetModel();
        std::stable_sort(rows_.begin(), rows_.end(), [column](const Row& a, const Row& b) {
            return column == 0 ? a.number < b.number : a.count < b.count;
        });
        endResetModel();
    }

private:
    QList<Row> rows_;
};

SetOperationsWindow::SetOperationsWindow(dialogs::WorkbenchApi& bench)
    : QWidget(bench.dialogParent(), Qt::Window), LastingWindow(bench) {
    setObjectName(QStringLiteral("Form17"));
    setWindowTitle(kDefaultCaption);
    setAttribute(Qt::WA_DeleteOnClose);  // the title bar's close discards lists and range

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildFileFrame(), 3);
    auto* right = new QVBoxLayout;
    layout->addLayout(right, 2);
    buildCountPanel(right);
    buildHelpText();

    captionTimer_ = new QTimer(this);
    captionTimer_->setObjectName(QStringLiteral("Timer1"));
    captionTimer_->setInterval(500);
    connect(captionTimer_, &QTimer::timeout, this, &SetOperationsWindow::showCounts);
    captionTimer_->start();

    resize(760, 480);
    arrange();
}

QPushButton* SetOperationsWindow::addButton(const char* name, const QString& caption,
                                            void (SetOperationsWindow::*handler)(), QBoxLayout* into) {
    QPushButton* b = dialogs::HandlerButton(this, name, caption, handler);
    into->addWidget(b);
    return b;
}

// Left: the file list and its management buttons.
QGroupBox* SetOperationsWindow::buildFileFrame() {
    fileFrame_ = new QGroupBox(QStringLiteral("列表管理(0)"), this);
    fileFrame_->setObjectName(QStringLiteral("Frame1"));
    auto* frameLayout = new QVBoxLayout(fileFrame_);
    fileList_ = new QTreeWidget(fileFrame_);
    fileList_->setObjectName(QStringLiteral("ListView1"));
    fileList_->setRootIsDecorated(false);
    fileList_->setHeaderLabels({QStringLiteral("序号"), QStringLiteral("注数"), QStringLiteral("文件名")});
    ui::KeepColumnsFitted(fileList_, fileList_->header());
    fileList_->header()->setSectionsClickable(true);
    frameLayout->addWidget(fileList_);
    auto* fileButtons = new QHBoxLayout;
    frameLayout->addLayout(fileButtons);
    addButton("Command1", QStringLiteral("添加"), &SetOperationsWindow::addFiles, fileButtons);
    addButton("Command2", QStringLiteral("帮助"), &SetOperationsWindow::showHelp, fileButtons);
    addButton("Command3", QStringLiteral("删除"), &SetOperationsWindow::removeFile, fileButtons);
    addButton("Command4", QStringLiteral("清空"), &SetOperationsWindow::clearFiles, fileButtons);
    addButton("Command5", QStringLiteral("退出"), &SetOperationsWindow::backToWorkbench, fileButtons);
    // Watched on the viewport, so a double click on the empty list reaches the handler too.
    fileList_->viewport()->installEventFilter(this);
    connect(fileList_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        fileSortColumn_ = column;
        fileList_->sortItems(column, Qt::AscendingOrder);
    });
    return fileFrame_;
}

// Right: the count, the range, the result.
void SetOperationsWindow::buildCountPanel(QVBoxLayout* right) {
    addButton("Command6", QStringLiteral("第一步：集合运算"), &SetOperationsWindow::countOccurrences, right);
    right->addWidget(ui::MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("第二步：出现次数范围")));
    auto* rangeRow = new QHBoxLayout;
    lowCount_ = new QComboBox(this);
    lowCount_->setObjectName(QStringLiteral("Combo1"));
    highCount_ = new QComboBox(this);
    highCount_->setObjectName(QStringLiteral("Combo2"));
    rangeRow->addWidget(lowCount_);
    rangeRow->addWidget(ui::MakeLabel(this, QStringLiteral("Label2"), QStringLiteral("…")));
    rangeRow->addWidget(highCount_);
    right->addLayout(rangeRow);
    auto* shortcuts = new QHBoxLayout;
    rangeShortcuts_[0] = addButton("Command7", QStringLiteral("交集"), &SetOperationsWindow::rangeIntersection, shortcuts);
    rangeShortcuts_[1] = addButton("Command8", QStringLiteral("并集"), &SetOperationsWindow::rangeUnion, shortcuts);
    rangeShortcuts_[2] = addButton("Command9", QStringLiteral("反集"), &SetOperationsWindow::rangeComplement, shortcuts);
    for (QPushButton* b : rangeShortcuts_) b->setEnabled(false);
    right->addLayout(shortcuts);
    auto* resultButtons = new QHBoxLayout;
    addButton("Command10", QStringLiteral("生成结果"), &SetOperationsWindow::keepRange, resultButtons);
    addButton("Command11", QStringLiteral("导入到缩水器"), &SetOperationsWindow::importToPool, resultButtons);
    right->addLayout(resultButtons);

    results_ = new ResultModel(this);
    resultList_ = new QTreeView(this);
    resultList_->setObjectName(QStringLiteral("ListView2"));
    resultList_->setRootIsDecorated(false);
    resultList_->setUniformRowHeights(true);
    resultList_->setModel(results_);
    resultList_->header()->setSectionsClickable(true);
    connect(resultList_->header(), &QHeaderView::sectionClicked, this, [this](int column) { results_->sortBy(column); });
    right->addWidget(resultList_, 1);
    auto* counts = new QHBoxLayout;
    resultCount_ = ui::MakeLabel(this, QStringLiteral("Label3"), QStringLiteral("0"));
    summary_ = ui::MakeLabel(this, QStringLiteral("Label4"));
    summary_->setWordWrap(true);
    counts->addWidget(resultCount_);
    counts->addWidget(summary_, 1);
    right->addLayout(counts);
}

void SetOperationsWindow::buildHelpText() {
    const QString help = QStringLiteral(
        "本工具用于对多个大底进行集合运算：求交集、并集、反集，或按任意出现次数范围筛选号码。\n\n"
        "第一步：添加数据文件\n"
        "点击“添加”可一次选择多个文本文件。文件格式不限：可以是每行一注（缩水器导出的格式），"
        "也可以是从别处复制来的、跨行书写的号码，程序只读取其中的数字，每三个数字组成一注。\n\n"
        "第二步：集合运算\n"
        "点击“第一步：集合运算”，统计0至999每个号码在勾选的文件中出现的次数。结果列出全部1000注号码，"
        "包括一次也没有出现的号码，因此统计后直接导入会得到1000注。\n\n"
        "第三步：计算集合\n"
        "选择出现次数的范围后点击“生成结果”，只保留出现次数在此范围内的号码。"
        "“交集”、“并集”、“反集”三个按钮可快速设置该范围。\n\n"
        "第四步：导入到缩水器");
    auto* text1 = new QPlainTextEdit(help, this);  // holds the help text; never shown
    text1->setObjectName(QStringLiteral("Text1"));
    text1->setVisible(false);
    helpText_ = text1;
}


bool SetOperationsWindow::AddCollection(dialogs::WorkbenchApi& bench, const QString& path, const QString& description) {
    SetOperationsWindow* window = instance(bench);
    if (window->windowTitle() != kCollectCaption) {
        window->setWindowTitle(kCollectCaption);
        window->fileList_->clear();
    }
    if (!window->addNumberFile(path, description)) return false;
    window->show();
    window->raise();
    return true;
}

bool SetOperationsWindow::isUnlisted(const QString& path) const {
    for (int i = 0; i < fileList_->topLevelItemCount(); ++i)
        if (PathOf(fileList_->topLevelItem(i)) == path) return false;
    return true;
}

bool SetOperationsWindow::addNumberFile(const QString& path, const QString& label) {
    if (!isUnlisted(path)) return true;
    return addRow(path, label);
}

bool SetOperationsWindow::addRow(const QString& path, const QString& label) {
    dialogs::NumberMarks marks;
    QString error;
    if (!dialogs::ReadNumberFile(path, &marks, &error)) {
        ShowReadError(error, this);
        return false;
    }
    const int distinct = int(marks.count());
    auto* item = new QTreeWidgetItem({label, distinct >= 1000 ? QString::number(distinct) : Pad(distinct, 3), QFileInfo(path).fileName()});
    item->setData(kPathColumn, Qt::UserRole, path);
    item->setToolTip(kPathColumn, QDir::toNativeSeparators(path));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(kLabelColumn, Qt::Checked);
    fileList_->addTopLevelItem(item);
    if (fileSortColumn_ >= 0) fileList_->sortItems(fileSortColumn_, Qt::AscendingOrder);
    showCounts();
    return true;
}

QStringList SetOperationsWindow::resultNumbers() const {
    QStringList numbers;
    numbers.reserve(results_->rows().size());
    for (const auto& row : results_->rows()) numbers.append(row.number);
    return numbers;
}

QStringList SetOperationsWindow::resultCounts() const {
    QStringList counts;
    counts.reserve(results_->rows().size());
    for (const auto& row : results_->rows()) counts.append(row.count);
    return counts;
}

QTreeWidget* SetOperationsWindow::fileList() const { return fileList_; }

void SetOperationsWindow::arrange() {
    setWindowIcon(QApplication::windowIcon());
    move(0, 0);
    lowCount_->clear();
    highCount_->clear();
    lowCount_->addItem(QStringLiteral("0"));
    highCount_->addItem(QStringLiteral("0"));
    lowCount_->setCurrentIndex(0);
    highCount_->setCurrentIndex(0);
}

void SetOperationsWindow::addFiles() {
    fileSortColumn_ = kLabelColumn;
    fileList_->sortItems(kLabelColumn, Qt::AscendingOrder);
    const QStringList paths =
        ui::AskOpenFileNames(this, QStringLiteral("增加数据文件"), common::NumberFolder(), kAddFileFilter);
    for (const QString& path : paths) {
        if (!isUnlisted(path)) continue;
        const QString label = QStringLiteral("集合") + Pad(fileList_->topLevelItemCount() + 1, 2);
        if (!addRow(path, label)) return;  // rows added before stay
    }
}

void SetOperationsWindow::showHelp() { ui::MsgBox(helpText_->toPlainText(), ui::Icon::None, ui::Buttons::Ok, ui::kAppTitle, this); }

void SetOperationsWindow::removeFile() {
    if (fileList_->topLevelItemCount() == 0) return;
    const QList<QTreeWidgetItem*> selected = fileList_->selectedItems();
    QTreeWidgetItem* item = selected.isEmpty() ? fileList_->currentItem() : selected.first();
    if (!item) return;
    delete item;
    showCounts();
}

void SetOperationsWindow::clearFiles() {
    fileList_->clear();
    showCounts();
}

void SetOperationsWindow::backToWorkbench() { hide(); }

void SetOperationsWindow::countOccurrences() {
    QStringList paths;
    for (int i = 0; i < fileList_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = fileList_->topLevelItem(i);
        if (item->checkState(kLabelColumn) == Qt::Checked) paths.append(PathOf(item));
    }
    // Counted first, shown after: a file that cannot be read leaves the last result alone.
    dialogs::OccurrenceCounts counts{};
    QString error;
    if (!dialogs::CountOccurrences(paths, &counts, &error)) {
        ShowReadError(error, this);
        return;
    }
    QList<ResultModel::Row> rows;
    rows.reserve(1000);
    for (int k = 0; k < 1000; ++k) rows.append({Pad(k, 3), Pad(counts[size_t(k)], 2)});
    results_->setRows(std::move(rows));

    const int files = int(paths.size());
    QStringList items;
    for (int i = 0; i <= files; ++i) items.append(QString::number(i));
    lowCount_->clear();
    highCount_->clear();
    lowCount_->addItems(items);
    highCount_->addItems(items);
    lowCount_->setCurrentIndex(0);
    highCount_->setCurrentIndex(files);
    for (QPushButton* b : rangeShortcuts_) b->setEnabled(true);
    summary_->setText(dialogs::CountSummary(files, counts));
    showCounts();
}

bool SetOperationsWindow::setRange(int low, int high, const QString& operation) {
    if (lowCount_->count() <= 1) {
        ui::MsgBox(QStringLiteral("所有号码出现次全为0次,不能参与") + operation + QStringLiteral("运算。"),
                   ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
        return false;
    }
    lowCount_->setCurrentIndex(low);
    highCount_->setCurrentIndex(high);
    return true;
}

void SetOperationsWindow::rangeIntersection() {
    const int n = lowCount_->count() - 1;
    setRange(n, n, QStringLiteral("交集"));
}

void SetOperationsWindow::rangeUnion() {
    const int n = lowCount_->count() - 1;
    setRange(1, n, QStringLiteral("并集"));
}

void SetOperationsWindow::rangeComplement() {
    const int n = lowCount_->count() - 1;
    setRange(0, n - 1, QStringLiteral("反集"));
}

void SetOperationsWindow::keepRange() {
    if (results_->rowCount() != 1000) {
        ui::MsgBox(QStringLiteral("请先点击“集合运算”再进行生成结果操作。"), ui::Icon::Information,
                   ui::Buttons::Ok, ui::kAppTitle, this);
        return;
    }
    const int low = lowCount_->currentText().toInt();
    const int high = highCount_->currentText().toInt();
    if (low > high) return;
    QList<ResultModel::Row> kept;
    for (const auto& row : results_->rows()) {
        const int c = row.count.toInt();
        if (c >= low && c <= high) kept.append(row);
    }
    const int remaining = int(kept.size());
    results_->setRows(std::move(kept));
    showCounts();
    ui::MsgBox(QStringLiteral("操作完成，还剩 ") + QString::number(remaining) + QStringLiteral(" 注。"),
               ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
}

void SetOperationsWindow::importToPool() {
    hide();
    const QStringList numbers = resultNumbers();
    bench_.enterFilteringMode();
    bench_.session().TakeNumbers(numbers, QStringLiteral("集合运算共导入%1注").arg(numbers.size()) + pool::kNewLine,
                                 QStringLiteral("集合运算"), pool::PoolSession::Duplicates::Remove);
}

void SetOperationsWindow::openFileOrAdd() {
    if (fileList_->topLevelItemCount() == 0) {
        addFiles();
        return;
    }
    QTreeWidgetItem* item = fileList_->currentItem();
    if (!item) return;
    // Opens the file in the user's text editor; a failure is of no consequence here.
    QDesktopServices::openUrl(QUrl::fromLocalFile(PathOf(item)));
}

bool SetOperationsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fileList_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        openFileOrAdd();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SetOperationsWindow::showCounts() {
    // Only texts that changed are set, so the idle timer costs next to nothing.
    const QString rows = QString::number(results_->rowCount());
    if (resultCount_->text() != rows) resultCount_->setText(rows);
    const QString caption = QStringLiteral("列表管理(%1)").arg(fileList_->topLevelItemCount());
    if (fileFrame_->title() != caption) fileFrame_->setTitle(caption);
}
