// WorkbenchWindow's life: construction of its parts (each a class that builds its own controls:
// the base sets, the history queries, the batch families, the bottom row, the omission frame no
// operation shows, the condition tabs and the results), binding them to the model, loading,
// activation, closing, the lottery switch and the switch between building and filtering mode.
// benchlayout.h places the parts on resize; positions are pixels (15 twips each) of the
// 12000 × 8670 twips window.
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "dialogs/workbenchapi.h"
#include "history/lottery.h"
#include "platform/ui/messagebox.h"
#include "workbench/basesetframes.h"
#include "workbench/bottomrow.h"
#include "workbench/conditiontabs.h"
#include "workbench/familyframe.h"
#include "workbench/formulatab.h"
#include "workbench/historyqueryframe.h"
#include "workbench/inputboxes.h"
#include "workbench/lotteryswitch.h"
#include "workbench/omissionframe.h"
#include "workbench/resultsframe.h"
#include "workbench/statsopeners.h"
#include "workbench/workbenchlinks.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>

using namespace workbench;

WorkbenchWindow::WorkbenchWindow(common::AppState& state, QWidget* mainWindow, workbench::WorkbenchLinks* links)
    : QWidget(nullptr), state_(state), mainWindow_(mainWindow), links_(links) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(ui::kAppTitle);
    resize(800, 578);  // 12000 × 8670 twips
    buildControls();

    results_->followSession();
    wireModel();
    placeAndFill();
    startEmpty();
}

void WorkbenchWindow::buildControls() {
    inputs_ = new InputBoxes(model_, this);
    baseFrame_ = new BaseSetFrame(*this, links_, this);
    connect(baseFrame_->resetButton(), &QPushButton::clicked, this, &WorkbenchWindow::backToBuilding);
    connect(baseFrame_->smartButton(), &QPushButton::clicked, baseFrame_, &BaseSetFrame::openSmartSystem);
    layout_.addCorner(baseFrame_->buildingButtons().front(), baseFrame_);
    layout_.addRow(baseFrame_->cornerRow());
    historyFrame_ = new HistoryQueryFrame(session_, state_.history(), this);
    modes_.filters << historyFrame_->hiddenRun();
    layout_.addCorner(historyFrame_->hiddenRun(), historyFrame_);
    positionalFrame_ = new PositionalFrame(*this, this);
    connect(positionalFrame_->statsButton(), &QPushButton::clicked, this,
            [this] { OpenCompoundStatistics(*this); });
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

WorkbenchWindow::~WorkbenchWindow() = default;

// The controls that show the model write every change back to it.
void WorkbenchWindow::wireModel() {
    baseFrame_->bindModel();
    positionalFrame_->bindModel();
    basicFrame_->bindModel();
    advancedFrame_->bindModel();
    inputs_->bindModel();
    // After the inputs: the tabs' handlers read the model the boxes have just written.
    tabs_->bindModel();
    omissionFrame_->bindModel();
}

const common::AppState& WorkbenchWindow::state() const { return state_; }

void WorkbenchWindow::setInput(pool::InputBox box, const QString& text) { inputs_->set(box, text); }

void WorkbenchWindow::setLogVisible(bool visible) { results_->log()->setVisible(visible); }

void WorkbenchWindow::showLogEnd() { results_->log()->moveCursor(QTextCursor::End); }

void WorkbenchWindow::saveCollection() { results_->saveCollection(); }
bool WorkbenchWindow::collectionSaved() const { return results_->collectionSaved(); }
QString WorkbenchWindow::lastCollectionPath() const { return results_->lastCollectionPath(); }
void WorkbenchWindow::undo() { bottomRow_->undo(); }
void WorkbenchWindow::redo() { bottomRow_->redo(); }

void WorkbenchWindow::refillFormulaList() { tabs_->formula()->refillList(); }

bool WorkbenchWindow::hasBaseSet() const { return basicFrame_->batchButton()->isEnabled(); }

void WorkbenchWindow::runBasicBatch() { basicFrame_->runBatch(); }
void WorkbenchWindow::runAdvancedBatch() { advancedFrame_->runBatch(); }

// ---- Life cycle -------------------------------------------------------------------------

void WorkbenchWindow::startEmpty() {
    model_.conditions.positionPatterns.clear();
    session_.pool.clear();
    session_.log.reset();
    results_->clear();
    tabs_->reset();
    baseFrame_->resetKind();
    showLogEnd();
    initialized_ = true;
}

void WorkbenchWindow::offerSmartSystem() {
    baseFrame_->openSmartSystem();
    showLogEnd();
}

void WorkbenchWindow::placeAndFill() {
    if (QScreen* s = screen()) move((s->availableGeometry().width() - width()) / 2, 0);
    if (mainWindow_) setWindowIcon(mainWindow_->windowIcon());
    layout_.startFrom(QSize(800, 578));  // 12000 × 8670 twips
    historyFrame_->fillSerials();
    tabs_->fill();
}

void WorkbenchWindow::refreshFromState() {
    // Another window may have switched the lottery meanwhile.
    bottomRow_->showLottery(state_.lotteryIsP3());
    historyFrame_->fillNumbers();
}

void WorkbenchWindow::placeControls() {
    if (isMinimized()) return;
    layout_.place(size());
    update();
}

void WorkbenchWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) refreshFromState();
    QWidget::changeEvent(event);
}

void WorkbenchWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (initialized_) placeControls();
}

void WorkbenchWindow::closeEvent(QCloseEvent* event) {
    if (state_.quitting()) {  // the program is quitting: really close
        event->accept();
        return;
    }
    event->ignore();
    hide();
    if (links_) {
        links_->workbenchClosed();
        return;
    }
    if (mainWindow_) mainWindow_->show();
}

void WorkbenchWindow::enterFilteringMode() { modes_.filtering(); }

void WorkbenchWindow::backToBuilding() {
    session_.pool.clear();
    modes_.building();
    baseFrame_->buildingButtons().front()->setFocus();
    session_.log.reset();
    results_->clear();
}

void WorkbenchWindow::switchLottery(bool toP3) {
    QString error;
    if (!history::SelectLottery(state_, toP3, &error)) return;
    if (!error.isEmpty()) ui::MsgBox(error, ui::Icon::Critical, ui::Buttons::Ok, ui::kAppTitle, this);
    refreshFromState();  // the main window follows the switch through the state's lotteryChanged
    ui::MsgBox(workbench::LotterySwitchedMessage(toP3), ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
}
