// The workbench's base-set frames: their controls and the sets they build (basesets.h).
#include "workbench/basesetframes.h"

#include "dialogs/positiondigitpicker.h"
#include "dialogs/setoperationswindow.h"
#include "dialogs/textcollectionwindow.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/messagebox.h"
#include "workbench/basesets.h"
#include "workbench/benchcontrols.h"
#include "workbench/workbenchlinks.h"

namespace workbench {

using pool::kNewLine;

// ---- 第一步 ------------------------------------------------------------------------------------

BaseSetFrame::BaseSetFrame(dialogs::WorkbenchApi& bench, WorkbenchLinks* links, QWidget* parent)
    : QGroupBox(parent), bench_(bench), links_(links) {
    setObjectName(QStringLiteral("Frame1"));
    setTitle(QStringLiteral("第一步：组装要过滤的号码"));
    setGeometry(8, 8, 360, 116);
    // The kinds and 复式 share one row.
    const struct { const char* name; const char* caption; int x, w; } kinds[4] = {
        {"Option1", "全部号码", 10, 80}, {"Option2", "全部组选", 148, 80}, {"Option3", "组三", 230, 58}, {"Option4", "组六", 290, 62}};
    for (int k = 0; k < 4; ++k) {
        options_[k] = MakeOption(this, QString::fromLatin1(kinds[k].name), QString::fromUtf8(kinds[k].caption), kinds[k].x,
                                 20, kinds[k].w, k == 0);
        connect(options_[k], &QRadioButton::toggled, this, [this, k](bool on) {
            if (on) choose(k);
        });
        if (k == 0) compound_ = Chk(this, QStringLiteral("Check51"), QStringLiteral("复式"), 90, 20, 56, 20, true);
    }
    groupSixLabel_ = Lbl(this, QStringLiteral("Label11"), QStringLiteral("类型："), 74, 48, 40);
    groupSixLabel_->hide();
    groupSixKind_ = Cmb(this, QStringLiteral("Combo12"), 114, 46, 80, false,
                        {QStringLiteral("全部"), QStringLiteral("顺子"), QStringLiteral("半顺"), QStringLiteral("杂六")});
    groupSixKind_->hide();
    reset_ = MakeButton(this, QStringLiteral("Command58"), QStringLiteral("重新选号"), 30, 90, 66, 26);
    smart_ = MakeButton(this, QStringLiteral("Command69"), QStringLiteral("智能系统"), 96, 90, 66, 26);
    setOperations_ = MakeButton(this, QStringLiteral("Command54"), QStringLiteral("集合运算"), 162, 90, 66, 26);
    connect(setOperations_, &QPushButton::clicked, this, [this] {
        SetOperationsWindow* w = SetOperationsWindow::instance(bench_);
        w->show();
        w->raise();
    });
    collect_ = MakeButton(this, QStringLiteral("Command12"), QStringLiteral("数据采集"), 228, 90, 66, 26);
    connect(collect_, &QPushButton::clicked, this, [this] { TextCollectionWindow::Open(bench_); });
    build_ = Button(this, this, &BaseSetFrame::buildSet, QStringLiteral("Command1"), QStringLiteral("选择"), 294, 90, 66, 26);
}

QList<QPushButton*> BaseSetFrame::buildingButtons() const { return {build_, collect_, setOperations_}; }

QList<QWidget*> BaseSetFrame::cornerRow() const { return {build_, collect_, setOperations_, smart_, reset_}; }

void BaseSetFrame::bindModel() {
    pool::BaseSetChoice& choice = bench_.model().baseSet;
    for (int o = 0; o < 4; ++o)
        if (options_[o]->isChecked()) choice.choice = pool::BaseChoice(o);
    Bind(this, compound_, choice.compound);
    choice.groupSixKind = groupSixKind_->currentIndex();
    connect(groupSixKind_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [&choice](int kind) { choice.groupSixKind = kind; });
}

void BaseSetFrame::resetKind() { groupSixKind_->setCurrentIndex(0); }

void BaseSetFrame::choose(int kind) {
    bench_.model().baseSet.choice = pool::BaseChoice(kind);
    compound_->setEnabled(kind == 0);  // 复式 only for all numbers
    const bool groupSix = pool::BaseChoice(kind) == pool::BaseChoice::GroupSix;
    groupSixLabel_->setVisible(groupSix);
    groupSixKind_->setVisible(groupSix);
}

void BaseSetFrame::buildSet() {
    bench_.enterFilteringMode();
    BaseSet set = MakeBaseSet(BaseKindOf(bench_.model().baseSet));
    bench_.session().TakeNumbers(std::move(set.numbers), set.logLine + kNewLine, set.description);
}

// ---- 单选：定位组号 -------------------------------------------------------------------------------

PositionalFrame::PositionalFrame(dialogs::WorkbenchApi& bench, QWidget* parent) : QGroupBox(parent), bench_(bench) {
    setObjectName(QStringLiteral("Frame12"));
    setTitle(QStringLiteral("单选：定位组号"));
    setGeometry(191, 132, 177, 100);
    const QString allDigits = QStringLiteral("0,1,2,3,4,5,6,7,8,9");
    const QString pos[3] = {QStringLiteral("百位"), QStringLiteral("十位"), QStringLiteral("个位")};
    auto* typing = new CommaOnEnter(this, true);
    for (int k = 0; k < 3; ++k) {
        // Wide enough for the ten digits of the default list.
        Lbl(this, {}, pos[k], 5, 18 + k * 20, 26);
        digits_[k] = Line(this, QStringLiteral("Text%1").arg(12 + k), 31, 18 + k * 20, 122, 19, allDigits);
        digits_[k]->installEventFilter(typing);
        QPushButton* pick = MakeButton(this, QStringLiteral("Command%1").arg(22 + k), QStringLiteral("…"), 154, 18 + k * 20, 20, 19);
        connect(pick, &QPushButton::clicked, this, [this, pos, k] {
            PositionDigitPicker::Open(bench_, {pos[0], pos[1], pos[2]}, k, QStringLiteral("定位选号"));
        });
    }
    compound_ = Chk(this, QStringLiteral("Check61"), QStringLiteral("复式"), 6, 79, 60, 18, true);
    stats_ = MakeButton(this, QStringLiteral("Command47"), QStringLiteral("统计"), 77, 78, 50, 22);
    build_ = Button(this, this, &PositionalFrame::buildSet, QStringLiteral("Command21"), QStringLiteral("选择"), 127, 78, 50, 22);
}

void PositionalFrame::bindModel() {
    Bind(this, compound_, bench_.model().baseSet.positionalCompound);
}

void PositionalFrame::buildSet() {
    pool::WorkbenchModel& model = bench_.model();
    QString texts[3];
    for (int k = 0; k < 3; ++k) {
        const auto box = pool::InputBox(int(pool::InputBox::PositionDigits1) + k);
        texts[k] = model.input(box).trimmed();
        bench_.setInput(box, texts[k]);
    }
    for (const QString& t : texts)
        if (t.isEmpty()) return;
    QList<int> lists[3];
    for (int k = 0; k < 3; ++k) {
        pool::ParseNumberList(texts[k], 1, &lists[k]);
        if (lists[k].isEmpty()) return;
    }
    bench_.enterFilteringMode();
    pool::NumberPool numbers = PositionalSet(lists[0], lists[1], lists[2], model.baseSet.positionalCompound);
    const QString logLine = QStringLiteral("百位定位:") + texts[0] + kNewLine + QStringLiteral("十位定位:") + texts[1] +
                            kNewLine + QStringLiteral("个位定位:") + texts[2] + kNewLine + QStringLiteral("定位组号共生成") +
                            QString::number(numbers.size()) + QStringLiteral("注") + kNewLine;
    bench_.session().TakeNumbers(std::move(numbers), logLine,
                                 QStringLiteral("定位组号：") + texts[0] + QLatin1Char('|') + texts[1] + QLatin1Char('|') +
                                     texts[2]);
}

void BaseSetFrame::openSmartSystem() {
    QWidget* window = bench_.dialogParent();
    if (bench_.state().history().count() >= 600) {
        if (links_) links_->openSmartSystem(window);
        return;
    }
    ui::MsgBox(QStringLiteral("开奖总期数累积达到600期以后,智能选号系统才能启动。"), ui::Icon::Information,
               ui::Buttons::Ok, QStringLiteral("智能选号"), window);
}

}  // namespace workbench
