// The statistics window: its controls, the load that fills every tab, and what each opener shows.
#include "statistics/statisticswindow.h"

#include "common/appstate.h"
#include "dialogs/dialogutil.h"
#include "platform/ui/columnfit.h"
#include "platform/ui/controls.h"
#include "platform/ui/messagebox.h"
#include "statistics/omissionrow.h"
#include "statistics/statstable.h"
#include "statistics/uniformtableview.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>

using dialogs::MakeButton;
using statistics::StatsTable;

namespace {

// Twips of the design to pixels.
constexpr int Px(int twips) { return twips / 15; }

struct StatsColumn {
    const char16_t* title;
    int twips;
    bool centred;
};

QStringList OmissionTitles() { return QStringList{QStringLiteral("类别")} + statistics::OmissionMeasureTitles(); }

// Centred columns of the tables are shown centred.
class CentredStatsTable : public StatsTable {
public:
    CentredStatsTable(QStringList titles, QList<int> centred, QObject* parent)
        : StatsTable(std::move(titles), parent), centred_(std::move(centred)) {}
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::TextAlignmentRole && index.isValid())
            return int((centred_.contains(index.column()) ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        return StatsTable::data(index, role);
    }

private:
    QList<int> centred_;
};

}  // namespace

StatisticsWindow::StatisticsWindow(WorkbenchInputs inputs, QWidget* parent) : QDialog(parent), inputs_(std::move(inputs)) {
    setObjectName(QStringLiteral("Form16"));
    setWindowTitle(QStringLiteral("统计分析"));
    buildControls();
    Form_Load();
}

StatisticsWindow::~StatisticsWindow() = default;

void StatisticsWindow::buildControls() {
    resize(Px(11535), Px(6870));
    tab_ = new QTabWidget(this);
    tab_->setObjectName(QStringLiteral("SSTab1"));
    tab_->setGeometry(4, 4, 761, 410);
    QWidget* pages[5];
    const char16_t* captions[5] = {u"模糊统计", u"公式统计", u"复式统计", u"投资计划", u"号码历史开出次数统计"};
    for (int t = 0; t < 5; ++t) {
        pages[t] = new QWidget(tab_);
        tab_->addTab(pages[t], QString::fromUtf16(captions[t]));
    }
    exitButton_ = MakeButton(this, "Command1", QStringLiteral("退出"), 680, 422, 80, 28);
    connect(exitButton_, &QPushButton::clicked, this, &StatisticsWindow::Command1_Click);

    auto makeView = [this](int n, QWidget* page, QRect geometry) {
        QAbstractItemView* view = nullptr;
        if (n == 3) {
            // The compound table can hold 16 million rows: its view keeps nothing per row, where
            // a tree view keeps an item and a table view a row header section for each.
            auto* table = new statistics::UniformTableView(page);
            table->setSelectionMode(QAbstractItemView::SingleSelection);
            table->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            table->header()->setStretchLastSection(true);
            headers_[n - 1] = table->header();
            view = table;
        } else {
            auto* tree = new QTreeView(page);
            tree->setRootIsDecorated(false);
            tree->setUniformRowHeights(true);
            tree->setAllColumnsShowFocus(true);
            headers_[n - 1] = tree->header();
            view = tree;
        }
        view->setObjectName(QStringLiteral("ListView%1").arg(n));
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setGeometry(geometry);
        // The design's widths do not hold every column in the CJK fonts: fitted to the rows.
        ui::KeepColumnsFitted(view, headers_[n - 1]);
        views_[n - 1] = view;
        return view;
    };

    // 模糊统计
    makeView(1, pages[0], QRect(6, 6, 744, 330));
    connect(MakeButton(pages[0], "Command9", QStringLiteral("复制结果"), 6, 344, 90, 26), &QPushButton::clicked, this,
            &StatisticsWindow::Command9_Click);

    // 公式统计
    const QStringList positions{QStringLiteral("百位"), QStringLiteral("十位"), QStringLiteral("个位")};
    formulaFirst_ = ui::MakePickList(pages[1], "Combo1", positions, 6, 6, 70);
    formulaOp_ = ui::MakePickList(pages[1], "Combo2", {QStringLiteral("加"), QStringLiteral("减"), QStringLiteral("乘")}, 82, 6, 60);
    formulaSecond_ = ui::MakePickList(pages[1], "Combo3", positions, 148, 6, 70);
    connect(MakeButton(pages[1], "Command2", QStringLiteral("查询"), 226, 5, 70, 26), &QPushButton::clicked, this,
            &StatisticsWindow::Command2_Click);
    makeView(2, pages[1], QRect(6, 38, 525, 260));
    formulaCaption_ = ui::MakeLabel(pages[1], "Label1", QString(), 6, 304, 400, 20);
    formulaCopy_ = MakeButton(pages[1], "Command6", QStringLiteral("复制结果"), 441, 302, 90, 26);
    connect(formulaCopy_, &QPushButton::clicked, this, &StatisticsWindow::Command6_Click);

    // 复式统计
    ui::MakeLabel(pages[2], "Label13", QStringLiteral("组选统计:"), 6, 8, 64, 20);
    QStringList groupItems{QStringLiteral("请选择条件")};
    for (int n = 1; n <= 9; ++n)
        groupItems << QStringLiteral("组选%1码").arg(n);
    groupSize_ = ui::MakePickList(pages[2], "Combo4", groupItems, 70, 6, 100);
    connect(groupSize_, qOverload<int>(&QComboBox::activated), this, &StatisticsWindow::Combo4_Click);
    ui::MakeLabel(pages[2], "Label14", QStringLiteral("单选统计:"), 182, 8, 64, 20);
    const char* sizeNames[3][2] = {{"Label15", "Combo11"}, {"Label16", "Combo12"}, {"Label17", "Combo13"}};
    const char16_t* sizeCaptions[3] = {u"百", u"十", u"个"};
    for (int p = 0; p < 3; ++p) {
        const int x = 246 + p * 70;
        ui::MakeLabel(pages[2], sizeNames[p][0], QString::fromUtf16(sizeCaptions[p]), x, 8, 16, 20);
        // The design items are replaced by the sizes at load.
        straightSizes_[p] = ui::MakePickList(pages[2], sizeNames[p][1], groupItems.mid(1), x + 16, 6, 50);
    }
    connect(MakeButton(pages[2], "Command10", QStringLiteral("开始单选统计"), 458, 5, 110, 26), &QPushButton::clicked,
            this, &StatisticsWindow::Command10_Click);
    connect(MakeButton(pages[2], "Command11", QStringLiteral("统计缩水器的号码"), 574, 5, 140, 26),
            &QPushButton::clicked, this, &StatisticsWindow::Command11_Click);
    makeView(3, pages[2], QRect(6, 38, 744, 298));
    compoundCaption_ = ui::MakeLabel(pages[2], "Label2", QString(), 6, 346, 400, 20);
    rowCountLabel_ = ui::MakeLabel(pages[2], "RowCountLabel", QString(), 410, 346, 244, 20);
    rowCountLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(MakeButton(pages[2], "Command8", QStringLiteral("复制结果"), 660, 344, 90, 26), &QPushButton::clicked, this,
            &StatisticsWindow::Command8_Click);

    // 投资计划
    const char* planNames[4][2] = {{"Label3", "Combo5"}, {"Label4", "Combo6"}, {"Label5", "Combo7"}, {"Label6", "Combo8"}};
    const char16_t* planCaptions[4] = {u"期数", u"注数", u"倍数", u"单倍奖金"};
    int x = 6;
    for (int k = 0; k < 4; ++k) {
        const int labelWidth = k == 3 ? 56 : 30;
        ui::MakeLabel(pages[3], planNames[k][0], QString::fromUtf16(planCaptions[k]), x, 8, labelWidth, 20);
        planLists_[k] = ui::MakePickList(pages[3], planNames[k][1], {}, x + labelWidth, 6, 64);
        x += labelWidth + 72;
    }
    ui::MakeLabel(pages[3], "Label7", QStringLiteral("收益"), x, 8, 30, 20);
    planTarget_ = new QLineEdit(pages[3]);
    planTarget_->setObjectName(QStringLiteral("Text1"));
    planTarget_->setGeometry(x + 30, 6, 64, 24);
    planPercent_ = ui::MakeLabel(pages[3], "Label8", QStringLiteral("%"), x + 96, 8, 14, 20);
    planByAmount_ = new QCheckBox(QStringLiteral("以奖金计算"), pages[3]);
    planByAmount_->setObjectName(QStringLiteral("Check1"));
    planByAmount_->setGeometry(x + 114, 6, 96, 24);
    connect(MakeButton(pages[3], "Command3", QStringLiteral("确定"), x + 214, 5, 60, 26), &QPushButton::clicked, this,
            &StatisticsWindow::Command3_Click);
    makeView(4, pages[3], QRect(6, 38, 744, 298));
    connect(MakeButton(pages[3], "Command7", QStringLiteral("复制结果"), 6, 344, 90, 26), &QPushButton::clicked, this,
            &StatisticsWindow::Command7_Click);

    // 号码历史开出次数统计
    ui::MakeLabel(pages[4], "Label9", QStringLiteral("设置出现次数范围："), 6, 8, 120, 20);
    countLow_ = ui::MakePickList(pages[4], "Combo9", {}, 126, 6, 60);
    ui::MakeLabel(pages[4], "Label11", QStringLiteral("…"), 190, 8, 16, 20);
    countHigh_ = ui::MakePickList(pages[4], "Combo10", {}, 208, 6, 60);
    connect(MakeButton(pages[4], "Command4", QStringLiteral("生成结果"), 276, 5, 80, 26), &QPushButton::clicked, this,
            &StatisticsWindow::Command4_Click);
    countPick_ = new QPlainTextEdit(pages[4]);
    countPick_->setObjectName(QStringLiteral("Text2"));
    countPick_->setGeometry(6, 38, 350, 270);
    countPick_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    countTally_ = ui::MakeLabel(pages[4], "Label12", QString(), 6, 314, 200, 20);
    connect(MakeButton(pages[4], "Command5", QStringLiteral("复制号码"), 266, 312, 90, 26), &QPushButton::clicked, this,
            &StatisticsWindow::Command5_Click);
    countsCaption_ = ui::MakeLabel(pages[4], "Label10", QString(), 6, 346, 400, 20);
    makeView(5, pages[4], QRect(366, 6, 384, 330));

    for (int n : {2, 3, 5}) {
        QHeaderView* header = headers_[n - 1];
        header->setSectionsClickable(true);
        connect(header, &QHeaderView::sectionClicked, this, [this, n](int section) {
            const int column = section + 1;
            if (n == 2)
                ListView2_ColumnClick(column);
            else if (n == 3)
                ListView3_ColumnClick(column);
            else
                ListView5_ColumnClick(column);
        });
    }
}

statistics::StatsRange StatisticsWindow::analysisRange() const { return statistics::AnalysisRange(common::App()); }

void StatisticsWindow::Form_Load() {
    // 1. First items; 请选择条件 runs its handler, which empties the compound table.
    for (QComboBox* combo : {formulaFirst_, formulaOp_, formulaSecond_, groupSize_})
        combo->setCurrentIndex(0);

    // 2. Icon and placement.
    setWindowIcon(QApplication::windowIcon());
    dialogs::CentreOnScreen(this);

    // 3. Columns of the five tables.
    const QList<QList<StatsColumn>> columns = {
        {{u"期号", 800, false}, {u"奖号", 600, true}, {u"热", 800, false}, {u"温", 800, false}, {u"冷", 800, false},
         {u"比例", 800, true}, {u"复", 800, false}, {u"隔", 800, false}, {u"中", 800, false}, {u"比例", 800, true},
         {u"传", 800, false}, {u"邻", 800, false}, {u"孤", 800, false}, {u"比例", 800, true}},
        {}, {},
        {{u"期数", 800, false}, {u"投入倍数", 1000, false}, {u"本期投入奖金", 1500, false}, {u"累积投入奖金", 1500, false},
         {u"本期收入金额", 1500, false}, {u"净收入", 1000, false}, {u"收入率", 1000, false}},
        {{u"号码", 1000, false}, {u"号码历史开出次数", 2000, false}}};
    for (int n = 1; n <= 5; ++n) {
        QStringList titles;
        QList<int> centred;
        QList<int> widths;
        if (n == 2 || n == 3) {
            titles = OmissionTitles();
            widths << (n == 2 ? 800 : 4000);
            for (int c = 1; c < titles.size(); ++c)
                widths << 1000;
        } else {
            for (int c = 0; c < columns[n - 1].size(); ++c) {
                titles << QString::fromUtf16(columns[n - 1][c].title);
                widths << columns[n - 1][c].twips;
                if (columns[n - 1][c].centred)
                    centred << c;
            }
        }
        if (!tables_[n - 1]) {
            tables_[n - 1] = new CentredStatsTable(titles, centred, this);
            views_[n - 1]->setModel(tables_[n - 1]);
            if (n == 3) {
                // Any change of the rows ends the note of a run that left them alone.
                auto changed = [this] { showCompoundRowCount(QString()); };
                connect(tables_[2], &QAbstractItemModel::modelReset, this, changed);
                connect(tables_[2], &QAbstractItemModel::rowsInserted, this, changed);
                connect(tables_[2], &QAbstractItemModel::rowsRemoved, this, changed);
                showCompoundRowCount(QString());
            }
        }
        tables_[n - 1]->clear();
        for (int c = 0; c < widths.size(); ++c)
            headers_[n - 1]->resizeSection(c, Px(widths[c]));
    }
    Combo4_Click();

    // 4. The plan's lists.
    const int planLast[4] = {100, 1000, 100, 1000};
    const char* planDefault[4] = {"20", "20", "1", "1000"};
    for (int k = 0; k < 4; ++k) {
        planLists_[k]->clear();
        planLists_[k]->addItems(NumberItems(1, planLast[k]));
        planLists_[k]->setCurrentText(QString::fromLatin1(planDefault[k]));
    }
    planByAmount_->disconnect(this);
    planByAmount_->setChecked(true);
    connect(planByAmount_, &QCheckBox::toggled, this, &StatisticsWindow::Check1_Click);
    planTarget_->setText(QStringLiteral("1000"));
    planPercent_->setVisible(false);
    countPick_->clear();
    countTally_->clear();

    // 5. Occurrence counts.
    FillNumberCounts();
    // 6.-8.
    tab_->setCurrentIndex(0);
    FillFuzzyStats();
    FillFormulaStats();
    // 9. Opened by 统计 of the workbench: the row of its three digit lists.
    if (inputs_.compoundOpening)
        AppendPositionalRow(inputs_.digitLists[0], inputs_.digitLists[1], inputs_.digitLists[2]);
    // 10. Sizes of 单选统计.
    for (QComboBox* combo : straightSizes_) {
        combo->clear();
        combo->addItems(NumberItems(1, 10));
        combo->setCurrentIndex(0);
    }
}

void StatisticsWindow::Command1_Click() { close(); }

int StatisticsWindow::Open(Opener opener, WorkbenchInputs inputs, QWidget* parent) {
    StatisticsWindow window(std::move(inputs), parent);
    window.prepareFor(opener);
    return ui::ShowModal(&window);
}

void StatisticsWindow::prepareFor(Opener opener) {
    QList<int> shown;
    int perRow = 1;
    switch (opener) {
    case Opener::FuzzyFilter: shown = {0}; break;
    case Opener::FormulaFilter: shown = {1}; break;
    case Opener::Compound: shown = {2}; break;
    case Opener::ProfitPlan: shown = {3, 4}; perRow = 2; break;
    }
    for (int t = 0; t < tab_->count(); ++t)
        tab_->setTabVisible(t, shown.contains(t));
    tab_->setCurrentIndex(shown.first());
    tab_->setProperty("TabsPerRow", perRow);
    if (opener == Opener::FormulaFilter) {
        resize(Px(8200), Px(6000));
        tab_->setGeometry(4, 4, Px(8120), Px(6000) - 12);
        exitButton_->move(Px(6500), Px(5000));
        exitButton_->raise();
        // The range label goes on the button's line; the table and its copy button make room.
        const int pageTop = tab_->widget(1)->mapTo(this, QPoint(0, 0)).y();
        const int labelY = exitButton_->y() - (pageTop > 0 ? pageTop : 30);
        formulaCaption_->move(formulaCaption_->x(), labelY);
        formulaCaption_->resize(Px(6500) - 20, formulaCaption_->height());
        views_[1]->resize(views_[1]->width(), labelY - views_[1]->y() - 36);
        formulaCopy_->move(views_[1]->x() + views_[1]->width() - 90, labelY - 32);
    }
}

QStringList StatisticsWindow::NumberItems(int first, int last) {
    QStringList items;
    for (int k = first; k <= last; ++k)
        items << QString::number(k);
    return items;
}
