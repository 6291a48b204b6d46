#include "dialogs/numberpreviewwindow.h"

#include "common/appstate.h"
#include "common/paths.h"
#include "dialogs/dialogutil.h"
#include "dialogs/numberpreview.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/messagebox.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

// The preview's rows: nine text cells and a tick each. A model, so that a pool of many
// thousand numbers is listed in one go.
class NumberPreviewRows : public QAbstractTableModel {
public:
    struct Row {
        QStringList cells;
        bool ticked = true;
    };

    explicit NumberPreviewRows(QObject* parent) : QAbstractTableModel(parent) {}

    // Told when the user ticks or unticks a row (mouse or keyboard).
    std::function<void()> onUserTick;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : int(rows_.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : int(headers_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rows_.size()) return {};
        const Row& row = rows_[index.row()];
        if (role == Qt::DisplayRole) return row.cells.value(index.column());
        if (role == Qt::CheckStateRole && index.column() == 0) return row.ticked ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = QAbstractTableModel::flags(index);
        if (index.column() == 0) f |= Qt::ItemIsUserCheckable;
        return f;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::CheckStateRole || index.column() != 0 || index.row() >= rows_.size()) return false;
        rows_[index.row()].ticked = value.toInt() == Qt::Checked;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        if (onUserTick) onUserTick();
        return true;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return headers_.value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    void setHeaders(const QStringList& headers) { headers_ = headers; }
    void reset(QList<Row> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    const QList<Row>& rows() const { return rows_; }
    // Changes every tick without telling onUserTick (反选 and 全清 leave the bet text alone).
    void setTicks(const std::function<bool(bool)>& tick) {
        for (Row& row : rows_) row.ticked = tick(row.ticked);
        if (!rows_.isEmpty()) emit dataChanged(index(0, 0), index(int(rows_.size()) - 1, 0), {Qt::CheckStateRole});
    }
    // Ascending by the column's text; equal cells keep their order.
    void sortByColumn(int column) {
        beginResetModel();
        std::stable_sort(rows_.begin(), rows_.end(), [column](const Row& x, const Row& y) {
            return x.cells.value(column) < y.cells.value(column);
        });
        endResetModel();
    }

private:
    QStringList headers_;
    QList<Row> rows_;
};

NumberPreviewWindow::NumberPreviewWindow(dialogs::WorkbenchApi& bench, const common::AppState& state)
    : QDialog(bench.dialogParent()), bench_(bench), state_(state) {
    setObjectName(QStringLiteral("Form21"));
    setWindowTitle(QStringLiteral("号码预览"));

    auto* layout = new QVBoxLayout(this);
    auto* menuBar = new QMenuBar(this);
    QMenu* menu = menuBar->addMenu(QStringLiteral("操作"));
    menu->setObjectName(QStringLiteral("caozuo"));
    menu->addAction(QStringLiteral("反选"), this, &NumberPreviewWindow::invertTicks)
        ->setObjectName(QStringLiteral("fangxuan01"));
    menu->addAction(QStringLiteral("全清"), this, &NumberPreviewWindow::clearTicks)->setObjectName(QStringLiteral("quanqin"));
    menu->addSeparator();
    menu->addAction(QStringLiteral("复制结果"), this, &NumberPreviewWindow::copyBetText)->setObjectName(QStringLiteral("copyjg"));
    layout->setMenuBar(menuBar);

    rows_ = new NumberPreviewRows(this);
    rows_->setHeaders(dialogs::PreviewColumns());
    rows_->onUserTick = [this] { buildBetText(); };
    list_ = new QTreeView(this);
    list_->setObjectName(QStringLiteral("ListView1"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setModel(rows_);
    list_->header()->setSectionsClickable(true);
    list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Column widths in twips, 15 to a pixel.
    const int widths[] = {800, 600, 600, 600, 800, 800, 800, 800, 800};
    for (int i = 0; i < 9; ++i) list_->setColumnWidth(i, widths[i] / 15 + 8);
    layout->addWidget(list_, 3);
    connect(list_, &QTreeView::clicked, this, &NumberPreviewWindow::buildBetText);
    connect(list_->header(), &QHeaderView::sectionClicked, this, &NumberPreviewWindow::sortByColumn);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Text1"));
    layout->addWidget(text_, 1);

    auto* row = new QHBoxLayout;
    // Buttons the window holds but never shows; their work is reached by the menu and the list.
    struct Hidden { const char* name; const char* caption; void (NumberPreviewWindow::*slot)(); };
    const Hidden hidden[] = {{"Command4", "生成结果", &NumberPreviewWindow::buildBetText},
                             {"Command1", "复制结果", &NumberPreviewWindow::copyBetText},
                             {"Command10", "反选", &NumberPreviewWindow::invertTicks},
                             {"Command5", "全清", &NumberPreviewWindow::clearTicks}};
    for (const Hidden& h : hidden) {
        dialogs::HandlerButton(this, h.name, QString::fromUtf8(h.caption), h.slot)->setVisible(false);
    }
    row->addStretch();
    dialogs::AddOkCancel(this, row, "Command3", &NumberPreviewWindow::takeTickedNumbers, "Command2",
                         &NumberPreviewWindow::cancel);
    layout->addLayout(row);

    resize(560, 460);
    showPool();
}

NumberPreviewWindow::~NumberPreviewWindow() = default;

int NumberPreviewWindow::Open(dialogs::WorkbenchApi& bench, const common::AppState& state) {
    QPointer<NumberPreviewWindow> window = new NumberPreviewWindow(bench, state);
    const int result = ui::ShowModal(window);
    delete window.data();  // unloaded by every way out: the next opening starts afresh
    return result;
}

int NumberPreviewWindow::rowCount() const { return rows_->rowCount(); }
QString NumberPreviewWindow::cell(int row, int column) const { return rows_->rows().value(row).cells.value(column); }
bool NumberPreviewWindow::isTicked(int row) const { return row >= 0 && row < rowCount() && rows_->rows()[row].ticked; }

QStringList NumberPreviewWindow::tickedNumbers() const {
    QStringList numbers;
    for (const NumberPreviewRows::Row& row : rows_->rows())
        if (row.ticked) numbers.append(row.cells.value(0));
    return numbers;
}

void NumberPreviewWindow::showPool() {
    setWindowIcon(QApplication::windowIcon());
    dialogs::CentreOnScreen(this);
    list_->header()->setSortIndicatorShown(false);
    const pool::NumberPool numbers = bench_.session().pool;
    countOmissions();
    QList<NumberPreviewRows::Row> rows;
    rows.reserve(numbers.size());
    for (const QString& n : numbers) rows.append({dialogs::PreviewCells(n, omission_), true});
    rows_->reset(std::move(rows));
    buildBetText();
}

void NumberPreviewWindow::countOmissions() { omission_ = common::DigitOmissionTable::Count(state_.history()); }

void NumberPreviewWindow::buildBetText() {
    text_->setPlainText(dialogs::BuildBetText(tickedNumbers(), state_.lotteryIsP3(), common::HomeWebUrl()));
}

void NumberPreviewWindow::copyBetText() {
    ui::PutOnClipboard(dialogs::BetTextForClipboard(text_->toPlainText()));
}

void NumberPreviewWindow::invertTicks() {
    rows_->setTicks([](bool ticked) { return !ticked; });
}

void NumberPreviewWindow::clearTicks() {
    rows_->setTicks([](bool) { return false; });
}

void NumberPreviewWindow::takeTickedNumbers() {
    const QStringList numbers = tickedNumbers();
    bench_.session().TakeNumbers(numbers,
                                 pool::kNewLine + QStringLiteral("添加到缩水器共%1注").arg(numbers.size()) + pool::kNewLine,
                                 QStringLiteral("预览号码生成的结果"));
    accept();
}

void NumberPreviewWindow::cancel() { reject(); }

void NumberPreviewWindow::sortByColumn(int column) {
    if (column < 0 || column >= rows_->columnCount()) return;
    rows_->sortByColumn(column);
    list_->header()->setSortIndicatorShown(true);
    list_->header()->setSortIndicator(column, Qt::AscendingOrder);
}
