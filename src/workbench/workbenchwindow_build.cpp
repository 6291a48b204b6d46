// WorkbenchWindow's own frames: the base sets, the history queries, the bottom row, the frames no
// operation shows and the results; the batch-family frames and the condition tabs build themselves.
// Positions are pixels (15 twips each) of the 12000 × 8670 twips window.
#include "workbench/workbenchwindow.h"

#include "dialogs/workbenchapi.h"
#include "platform/ui/lotterymark.h"
#include "workbench/basesetframes.h"
#include "workbench/benchcontrols.h"
#include "workbench/commonfilterstab.h"
#include "workbench/familyframe.h"
#include "workbench/historyqueryframe.h"
#include "workbench/formulatab.h"
#include "workbench/fuzzytab.h"
#include "workbench/recenttab.h"
#include "workbench/resultsframe.h"

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
    baseFrame_ = new BaseSetFrame(*this, this);
    connect(baseFrame_->resetButton(), &QPushButton::clicked, this, &WorkbenchWindow::Command58_Click);
    connect(baseFrame_->smartButton(), &QPushButton::clicked, this, &WorkbenchWindow::Command69_Click);
    layout_.corners << std::pair<QWidget*, QWidget*>(baseFrame_->buildingButtons().front(), baseFrame_);
    layout_.rows << baseFrame_->cornerRow();
    historyFrame_ = new HistoryQueryFrame(session_, this);
    filterButtons_ << historyFrame_->hiddenRun();
    layout_.corners << std::pair<QWidget*, QWidget*>(historyFrame_->hiddenRun(), historyFrame_);
    positionalFrame_ = new PositionalFrame(*this, this);
    connect(positionalFrame_->statsButton(), &QPushButton::clicked, this, &WorkbenchWindow::Command47_Click);
    for (int k = 0; k < 3; ++k) inputs_[int(pool::InputBox::PositionDigits1) + k] = positionalFrame_->digitBox(k);
    layout_.corners << std::pair<QWidget*, QWidget*>(positionalFrame_->buildButton(), positionalFrame_);
    layout_.rows << QList<QWidget*>{positionalFrame_->buildButton(), positionalFrame_->statsButton()};
    basicFrame_ = new FamilyFrame(dialogs::BatchGroup::Basic, *this, this);
    advancedFrame_ = new FamilyFrame(dialogs::BatchGroup::Advanced, *this, this);
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
    results_ = new ResultsFrame(*this, this);
    const QList<QPushButton*> resultRow = results_->buttons();
    layout_.corners << std::pair<QWidget*, QWidget*>(resultRow.front(), results_);
    layout_.rows << QList<QWidget*>(resultRow.begin(), resultRow.end());

    // Building mode, as the window is stored.
    setFilterButtons(false);
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
