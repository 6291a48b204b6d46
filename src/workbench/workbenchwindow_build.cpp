// WorkbenchWindow's parts, each a class that builds its own controls: the base sets, the history
// queries, the batch families, the bottom row, the omission frame no operation shows, the
// condition tabs and the results. Positions are pixels (15 twips each) of the 12000 × 8670
// twips window.
#include "workbench/workbenchwindow.h"

#include "dialogs/workbenchapi.h"
#include "workbench/basesetframes.h"
#include "workbench/bottomrow.h"
#include "workbench/conditiontabs.h"
#include "workbench/familyframe.h"
#include "workbench/historyqueryframe.h"
#include "workbench/inputboxes.h"
#include "workbench/omissionframe.h"
#include "workbench/resultsframe.h"
#include "workbench/statsopeners.h"

#include <QPushButton>

using namespace workbench;

void WorkbenchWindow::buildControls() {
    inputs_ = new InputBoxes(model_, this);
    baseFrame_ = new BaseSetFrame(*this, this);
    connect(baseFrame_->resetButton(), &QPushButton::clicked, this, &WorkbenchWindow::Command58_Click);
    connect(baseFrame_->smartButton(), &QPushButton::clicked, baseFrame_, &BaseSetFrame::openSmartSystem);
    layout_.addCorner(baseFrame_->buildingButtons().front(), baseFrame_);
    layout_.addRow(baseFrame_->cornerRow());
    historyFrame_ = new HistoryQueryFrame(session_, state_.history, this);
    modes_.filters << historyFrame_->hiddenRun();
    layout_.addCorner(historyFrame_->hiddenRun(), historyFrame_);
    positionalFrame_ = new PositionalFrame(*this, this);
    connect(positionalFrame_->statsButton(), &QPushButton::clicked, this,
            [this] { OpenCompoundStatistics(*this, positionalFrame_->statsButton()); });
    for (int k = 0; k < 3; ++k)
        inputs_->add(pool::InputBox(int(pool::InputBox::PositionDigits1) + k), positionalFrame_->digitBox(k));
    layout_.addCorner(positionalFrame_->buildButton(), positionalFrame_);
    layout_.addRow(QList<QWidget*>{positionalFrame_->buildButton(), positionalFrame_->statsButton()});
    basicFrame_ = new FamilyFrame(dialogs::BatchGroup::Basic, *this, this);
    advancedFrame_ = new FamilyFrame(dialogs::BatchGroup::Advanced, *this, this);
    for (FamilyFrame* f : {basicFrame_, advancedFrame_}) {
        modes_.filters << f->batchButton();
        layout_.addCorner(f->batchButton(), f);
    }
    bottomRow_ = new BottomRow(*this, this);
    modes_.filters << bottomRow_->conversionButtons();
    tabs_ = new ConditionTabs(*this, this);
    modes_.filters << tabs_->runButtons();
    tabs_->addInputs(*inputs_);

    omissionFrame_ = new OmissionFrame(*this, this);
    for (int i = 0; i < 5; ++i)
        inputs_->add(pool::InputBox(int(pool::InputBox::OmissionGroup) + i), omissionFrame_->valueBox(i));
    modes_.filters << omissionFrame_->runButton();
    results_ = new ResultsFrame(*this, this);
    const QList<QPushButton*> resultRow = results_->buttons();
    layout_.addCorner(resultRow.front(), results_);
    layout_.addRow(QList<QWidget*>(resultRow.begin(), resultRow.end()));

    layout_.parts = {baseFrame_, historyFrame_, positionalFrame_, basicFrame_, advancedFrame_, tabs_, tabs_->common(),
                     results_, bottomRow_};
    const QList<QPushButton*> building = baseFrame_->buildingButtons();  // 选择, 数据采集, 集合运算
    modes_.makers = {building[0], building[1], positionalFrame_->buildButton()};
    modes_.reopened = {building[2]};
    modes_.results = results_->buttons();
    // Building mode, as the window is stored.
    modes_.building();
}
