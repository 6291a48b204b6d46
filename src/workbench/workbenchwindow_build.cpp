// WorkbenchWindow's own frames: the base sets, the history queries, the bottom row, the frames no
// operation shows and the results; the batch-family frames and the condition tabs build themselves.
// Positions are pixels (15 twips each) of the 12000 × 8670 twips window.
#include "workbench/workbenchwindow.h"

#include "dialogs/workbenchapi.h"
#include "platform/ui/lotterymark.h"
#include "workbench/benchcontrols.h"
#include "workbench/commonfilterstab.h"
#include "workbench/familyframe.h"
#include "workbench/historyqueryframe.h"
#include "workbench/formulatab.h"
#include "workbench/fuzzytab.h"
#include "workbench/recenttab.h"

#include <QListView>
#include <QPlainTextEdit>
#include <QStringListModel>
#include <QTabWidget>

using namespace workbench;

QPushButton* WorkbenchWindow::button(QWidget* parent, const QString& name, const QString& caption, int x, int y,
                                     int w, int h, Handler handler) {
    return Button(parent, this, handler, name, caption, x, y, w, h);
}

void WorkbenchWindow::buildControls() {
    buildBaseFrames();
    basicFrame_ = new FamilyFrame(dialogs::BatchGroup::Basic, *this, this);
    advancedFrame_ = new FamilyFrame(dialogs::BatchGroup::Advanced, *this, this);
    layout_.basic = basicFrame_;
    layout_.advanced = advancedFrame_;
    for (FamilyFrame* f : {basicFrame_, advancedFrame_}) {
        filterButtons_ << f->batchButton();
        layout_.corners << std::pair<QWidget*, QWidget*>(f->batchButton(), f);
    }
    buildBottomRow();

    // Condition sections
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    commonTab_ = new CommonFiltersTab(*this);
    fuzzyTab_ = new FuzzyTab(*this);
    recentTab_ = new RecentTab(*this);
    digitGroupTab_ = new DigitGroupTab(*this);
    formulaTab_ = new FormulaTab(*this);
    tabs_->addTab(commonTab_, QStringLiteral("常用过滤"));
    tabs_->addTab(fuzzyTab_, QStringLiteral("模糊过滤"));
    tabs_->addTab(recentTab_, QStringLiteral("近期过滤"));
    tabs_->addTab(digitGroupTab_, QStringLiteral("胆码组合"));
    tabs_->addTab(formulaTab_, QStringLiteral("万能公式"));
    tabs_->setGeometry(376, 8, 416, 268);
    filterButtons_ << commonTab_->filterButtons() << fuzzyTab_->runButton() << recentTab_->runButton()
                   << digitGroupTab_->runButton() << formulaTab_->runButton();
    connect(fuzzyTab_->analyseButton(), &QPushButton::clicked, this, &WorkbenchWindow::Command64_Click);
    inputs_[int(pool::InputBox::TwoCodes)] = commonTab_->twoCodesBox();
    for (int k = 0; k < 3; ++k) inputs_[int(pool::InputBox::FuzzyDigits1) + k] = fuzzyTab_->digitBox(k);
    inputs_[int(pool::InputBox::Formula)] = formulaTab_->formulaBox();

    buildOmissionFrame();
    buildResultFrame();

    // Building mode, as the window is stored.
    setFilterButtons(false);
}

void WorkbenchWindow::buildBaseFrames() {
    using W = WorkbenchWindow;
    // 第一步：组装要过滤的号码
    QGroupBox* f1 = Frm(this, QStringLiteral("Frame1"), QStringLiteral("第一步：组装要过滤的号码"), 8, 8, 360, 116);
    // The five kinds share one row.
    baseOptions_[0] = Option(f1, this, &W::Option1_Click, QStringLiteral("Option1"), QStringLiteral("全部号码"), 10, 20, 80, true);
    compound_ = Chk(f1, QStringLiteral("Check51"), QStringLiteral("复式"), 90, 20, 56, 20, true);
    baseOptions_[1] = Option(f1, this, &W::Option2_Click, QStringLiteral("Option2"), QStringLiteral("全部组选"), 148, 20, 80);
    baseOptions_[2] = Option(f1, this, &W::Option3_Click, QStringLiteral("Option3"), QStringLiteral("组三"), 230, 20, 58);
    baseOptions_[3] = Option(f1, this, &W::Option4_Click, QStringLiteral("Option4"), QStringLiteral("组六"), 290, 20, 62);
    groupSixLabel_ = Lbl(f1, QStringLiteral("Label11"), QStringLiteral("类型："), 74, 48, 40);
    groupSixLabel_->hide();
    groupSixKind_ = Cmb(f1, QStringLiteral("Combo12"), 114, 46, 80, false,
                        {QStringLiteral("全部"), QStringLiteral("顺子"), QStringLiteral("半顺"), QStringLiteral("杂六")});
    groupSixKind_->hide();
    QPushButton* reset = button(f1, QStringLiteral("Command58"), QStringLiteral("重新选号"), 30, 90, 66, 26, &W::Command58_Click);
    QPushButton* smart = button(f1, QStringLiteral("Command69"), QStringLiteral("智能系统"), 96, 90, 66, 26, &W::Command69_Click);
    setOperations_ = button(f1, QStringLiteral("Command54"), QStringLiteral("集合运算"), 162, 90, 66, 26, &W::Command54_Click);
    collect_ = button(f1, QStringLiteral("Command12"), QStringLiteral("数据采集"), 228, 90, 66, 26, &W::Command12_Click);
    buildAll_ = button(f1, QStringLiteral("Command1"), QStringLiteral("选择"), 294, 90, 66, 26, &W::Command1_Click);
    layout_.base = f1;
    layout_.corners << std::pair<QWidget*, QWidget*>(buildAll_, f1);
    layout_.rows << QList<QWidget*>{buildAll_, collect_, setOperations_, smart, reset};

    historyFrame_ = new HistoryQueryFrame(session_, this);
    filterButtons_ << historyFrame_->hiddenRun();
    layout_.history = historyFrame_;
    layout_.corners << std::pair<QWidget*, QWidget*>(historyFrame_->hiddenRun(), historyFrame_);

    // 单选：定位组号
    QGroupBox* f12 = Frm(this, QStringLiteral("Frame12"), QStringLiteral("单选：定位组号"), 191, 132, 177, 100);
    const QString allDigits = QStringLiteral("0,1,2,3,4,5,6,7,8,9");
    auto* typing = new CommaOnEnter(this, true);
    const QString pos[3] = {QStringLiteral("百位"), QStringLiteral("十位"), QStringLiteral("个位")};
    const Handler pickers[3] = {&W::Command22_Click, &W::Command23_Click, &W::Command24_Click};
    for (int k = 0; k < 3; ++k) {
        // Wide enough for the ten digits of the default list.
        Lbl(f12, {}, pos[k], 5, 18 + k * 20, 26);
        inputs_[int(pool::InputBox::PositionDigits1) + k] =
            Line(f12, QStringLiteral("Text%1").arg(12 + k), 31, 18 + k * 20, 122, 19, allDigits);
        inputs_[int(pool::InputBox::PositionDigits1) + k]->installEventFilter(typing);
        button(f12, QStringLiteral("Command%1").arg(22 + k), QStringLiteral("…"), 154, 18 + k * 20, 20, 19, pickers[k]);
    }
    positionalCompound_ = Chk(f12, QStringLiteral("Check61"), QStringLiteral("复式"), 6, 79, 60, 18, true);
    compoundStats_ = button(f12, QStringLiteral("Command47"), QStringLiteral("统计"), 77, 78, 50, 22, &W::Command47_Click);
    compoundStats_->setProperty("Tag", QStringLiteral("0"));
    buildPositional_ = button(f12, QStringLiteral("Command21"), QStringLiteral("选择"), 127, 78, 50, 22, &W::Command21_Click);
    layout_.positional = f12;
    layout_.corners << std::pair<QWidget*, QWidget*>(buildPositional_, f12);
    layout_.rows << QList<QWidget*>{buildPositional_, compoundStats_};
}

void WorkbenchWindow::buildBottomRow() {
    using W = WorkbenchWindow;
    // Bottom row
    layout_.bottom << button(this, QStringLiteral("Command20"), QStringLiteral("计算器"), 8, 504, 70, 28, &W::Command20_Click);
    layout_.bottom << button(this, QStringLiteral("Command45"), QStringLiteral("投资计划"), 78, 504, 70, 28, &W::Command45_Click);
    QPushButton* toStraight = button(this, QStringLiteral("Command30"), QStringLiteral("组选=》单选"), 148, 504, 90, 28,
                                     &W::Command30_Click);
    QPushButton* toGroup = button(this, QStringLiteral("Command31"), QStringLiteral("单选=》组选"), 238, 504, 90, 28,
                                  &W::Command31_Click);
    filterButtons_ << toStraight << toGroup;
    layout_.bottom << toStraight << toGroup;
    layout_.bottom << button(this, QStringLiteral("Command52"), QStringLiteral("撤消"), 328, 504, 60, 28, &W::Command52_Click);
    layout_.bottom << button(this, QStringLiteral("Command51"), QStringLiteral("恢复"), 388, 504, 60, 28, &W::Command51_Click);
    layout_.tutorial = button(this, QStringLiteral("Command49"), QStringLiteral("<<不会使用就来看视频教程>>"), 448, 504,
                              264, 28, &W::Command49_Click);
    for (int k = 1; k <= 2; ++k) {
        QLabel* image = Lbl(this, QStringLiteral("Image%1").arg(k), k == 1 ? QStringLiteral("福彩3D") : QStringLiteral("排列三"),
                            712, 504, 80, 28);
        image->setAlignment(Qt::AlignCenter);
        image->setToolTip(QStringLiteral("点击转换彩票类型"));
        ui::SetLotteryMark(image, k == 2);
        image->setCursor(Qt::PointingHandCursor);
        image->installEventFilter(this);
        images_[k - 1] = image;
    }
}

// The omission frame (遗漏过滤): no operation shows it, but its picker and its run stay reachable.
void WorkbenchWindow::buildOmissionFrame() {
    QGroupBox* f18 = Frm(this, QStringLiteral("Frame18"), QStringLiteral("遗漏过滤"), 8, 8, 360, 150);
    auto* omissionTyping = new CommaOnEnter(this, true);
    const struct { const char* box; const char* caption; const char* text; } omission[5] = {
        {"Check5", "组选遗漏", "Text15"}, {"Check8", "百位遗漏", "Text18"}, {"Check7", "十位遗漏", "Text17"},
        {"Check6", "个位遗漏", "Text16"}, {"Check82", "单选遗漏", "Text11"}};
    for (int i = 0; i < 5; ++i) {
        omissionBoxes_[i] =
            Chk(f18, QString::fromLatin1(omission[i].box), QString::fromUtf8(omission[i].caption), 6, 18 + i * 24, 90, 20);
        QLineEdit* values = Line(f18, QString::fromLatin1(omission[i].text), 100, 18 + i * 24, 180);
        inputs_[int(pool::InputBox::OmissionGroup) + i] = values;
        if (i < 4) values->installEventFilter(omissionTyping);  // as the design has it: not 单选遗漏's
    }
    button(f18, QStringLiteral("Command36"), QStringLiteral("设置"), 290, 18, 56, 24, &WorkbenchWindow::Command36_Click);
    filterButtons_ << button(f18, QStringLiteral("Command37"), QStringLiteral("过滤"), 304, 126, 56, 24,
                             &WorkbenchWindow::Command37_Click);
    f18->hide();
}

void WorkbenchWindow::buildResultFrame() {
    using W = WorkbenchWindow;
    // 缩水结果
    QGroupBox* f8 = Frm(this, QStringLiteral("Frame8"), QStringLiteral("缩水结果"), 376, 284, 416, 220);
    log_ = new QPlainTextEdit(f8);
    log_->setObjectName(QStringLiteral("Text5"));
    log_->setGeometry(8, 18, 260, 167);
    log_->setReadOnly(true);
    log_->setUndoRedoEnabled(false);
    resultList_ = new QListView(f8);
    resultList_->setObjectName(QStringLiteral("List1"));
    resultList_->setGeometry(293, 18, 115, 167);
    resultList_->setToolTip(QStringLiteral("双击删除"));
    resultList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultList_->setUniformItemSizes(true);
    listModel_ = new QStringListModel(this);
    resultList_->setModel(listModel_);
    countLabel_ = Lbl(f8, QStringLiteral("Label5"), QStringLiteral("统计"), 8, 194, 140);
    resultButtons_ << button(f8, QStringLiteral("Command25"), QStringLiteral("预览"), 160, 194, 60, 26, &W::Command25_Click);
    resultButtons_ << button(f8, QStringLiteral("Command16"), QStringLiteral("兑奖"), 220, 194, 60, 26, &W::Command16_Click);
    resultButtons_ << button(f8, QStringLiteral("Command13"), QStringLiteral("保存"), 280, 194, 60, 26, &W::Command13_Click);
    saveCollection_ = button(f8, QStringLiteral("Command11"), QStringLiteral("【做大底】"), 340, 194, 76, 26, &W::Command11_Click);
    saveCollection_->setProperty("Tag", QStringLiteral("大底采集"));
    resultButtons_ << saveCollection_;
    layout_.results = f8;
    layout_.corners << std::pair<QWidget*, QWidget*>(saveCollection_, f8);
    layout_.rows << QList<QWidget*>{saveCollection_, resultButtons_[2], resultButtons_[1], resultButtons_[0]};
}
