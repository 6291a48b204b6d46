#include "smart/windows/schemecalculatorwindow.h"

#include "common/paths.h"
#include "platform/ui/clicksource.h"
#include "platform/ui/columnfit.h"
#include "platform/ui/filedialogs.h"
#include "platform/ui/messagebox.h"
#include "smart/windows/calculatorhost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QTreeWidget>
#include <QUrl>

namespace smart {

std::function<void(const QString&, const QString&)> SchemeCalculatorWindow::reportOpener;

QString RunCaption(RunState state) {
    switch (state) {
    case RunState::Running: return kRunRunning;
    case RunState::Paused: return kRunPaused;
    case RunState::Stopped: return kRunStop;
    }
    return kRunRunning;
}

namespace {

// A text box read as the runtime's Val reads it: leading blanks, sign, digits; 0 otherwise.
int CalcTextValue(const QLineEdit* edit) {
    const QString t = edit->text().trimmed();
    int n = 0;
    while (n < t.size() && (t.at(n).isDigit() || (n == 0 && (t.at(0) == QLatin1Char('-') || t.at(0) == QLatin1Char('+')))))
        ++n;
    bool ok = false;
    const int v = t.left(n).toInt(&ok);
    return ok ? v : 0;
}

void FillList(QListWidget* list, const QStringList& items) {
    list->clear();
    list->addItems(items);
}

}  // namespace

SchemeCalculatorWindow::SchemeCalculatorWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("zlxh_fm1"));
    setWindowTitle(QStringLiteral("计算器"));
    buildControls();
    calc_.setScriptHost(&scriptBoxes_);
    host_ = WindowRunHost(this, calc_, [this] { return isVisible(); });
    // The run control shows the state as the run lets events through.
    host_.processEvents = [this] {
        runControl_->setText(RunCaption(calc_.runState()));
        QCoreApplication::processEvents();
    };
    calc_.setRunHost(&host_);

    // Start-up: the 福彩3D file, no draw left out, the whole range, the first items. The
    // calculator computes on these draws until one of the window's reloads reads the file again.
    HandInDrawFile(calc_, false);
    calc_.clearError();
    pushControls();
}

SchemeCalculatorWindow::~SchemeCalculatorWindow() = default;

void SchemeCalculatorWindow::buildControls() {
    auto* grid = new QGridLayout(this);
    int row = 0;
    auto edit = [&](const char* name, const char* label, const QString& text) {
        auto* l = new QLabel(QString::fromUtf8(label), this);
        auto* e = new QLineEdit(text, this);
        e->setObjectName(QString::fromLatin1(name));
        grid->addWidget(l, row, 0);
        grid->addWidget(e, row++, 1);
        return e;
    };
    auto combo = [&](const char* name, const char* label) {
        auto* c = new QComboBox(this);
        c->setObjectName(QString::fromLatin1(name));
        grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
        grid->addWidget(c, row++, 1);
        return c;
    };
    auto* frame = new QGroupBox(QStringLiteral("彩票类型"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* fl = new QHBoxLayout(frame);
    fc3d_ = new QRadioButton(QStringLiteral("福彩3D"), frame);
    fc3d_->setObjectName(QStringLiteral("Option1"));
    fc3d_->setChecked(true);
    p3_ = new QRadioButton(QStringLiteral("排列三"), frame);
    p3_->setObjectName(QStringLiteral("Option2"));
    fl->addWidget(fc3d_);
    fl->addWidget(p3_);
    grid->addWidget(frame, row++, 0, 1, 2);
    connect(fc3d_, &QRadioButton::clicked, this, &SchemeCalculatorWindow::chooseFc3d);
    connect(p3_, &QRadioButton::clicked, this, &SchemeCalculatorWindow::chooseP3);

    edits_.leftOut = edit("Text11", "近期验证：", QStringLiteral("0"));
    auto* label1 = new QLabel(QStringLiteral("开奖"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    connect(ui::ClickSource::of(label1), &ui::ClickSource::doubleClicked, this, &SchemeCalculatorWindow::reloadWholeRange);
    rangeFirst_ = new QComboBox(this);
    rangeFirst_->setObjectName(QStringLiteral("Combo1"));
    rangeLast_ = new QComboBox(this);
    rangeLast_->setObjectName(QStringLiteral("Combo2"));
    auto* drawModel = new QStringListModel(this);  // the same lines in both lists
    rangeFirst_->setModel(drawModel);
    rangeLast_->setModel(drawModel);
    grid->addWidget(label1, row, 0);
    grid->addWidget(rangeFirst_, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("—"), this), row, 0);
    grid->addWidget(rangeLast_, row++, 1);
    mode_ = combo("Combo3", "项目");
    mode_->addItems({kModeAnywhere, kModeHundreds, kModeTens, kModeUnits});
    digit_ = combo("Combo4", "类别");
    for (int d = 0; d <= 9; ++d) digit_->addItem(QString::number(d));
    edits_.cycleLength = edit("Text1", "周期", QStringLiteral("10"));
    edits_.seriesLength = edit("Text4", "折线图期数", QStringLiteral("5"));
    edits_.cycleLengthsTried = edit("Text5", "循环周期数", QStringLiteral("1"));
    edits_.lastCycleLength = edit("Text9", "—", QStringLiteral("100"));
    edits_.cycleStep = edit("Text8", "间隔周期", QStringLiteral("1"));
    edits_.verifyPeriods = edit("Text2", "验证期数", QStringLiteral("0"));
    edits_.lastVerifyPeriods = edit("Text6", "—", QStringLiteral("0"));
    edits_.verifyStep = edit("Text7", "间隔周期", QStringLiteral("1"));
    edits_.position = edit("Text10", "号码位置", QString());
    condition_ = combo("Combo5", "方案");
    condition_->setEditable(true);
    condition_->addItems(BuiltInConditions());
    verifyText_ = new QPlainTextEdit(this);
    verifyText_->setObjectName(QStringLiteral("Text3"));
    grid->addWidget(verifyText_, row++, 0, 1, 2);
    statRows_ = new QTreeWidget(this);
    statRows_->setObjectName(QStringLiteral("ListView1"));
    statRows_->setRootIsDecorated(false);
    statRows_->setHeaderLabels(StatColumnHeaders());
    ui::KeepColumnsFitted(statRows_, statRows_->header());
    grid->addWidget(statRows_, row++, 0, 1, 2);
    for (auto [list, name] : {std::pair{&ranking_, "List1"}, std::pair{&summary_, "List2"},
                              std::pair{&reportLines_, "List3"}, std::pair{&schemes_, "List4"}}) {
        *list = new QListWidget(this);
        (*list)->setObjectName(QString::fromLatin1(name));
        grid->addWidget(*list, row++, 0, 1, 2);
    }
    connect(reportLines_, &QListWidget::itemDoubleClicked, this, &SchemeCalculatorWindow::openReportFile);
    runControl_ = new QCheckBox(kRunRunning, this);
    runControl_->setObjectName(QStringLiteral("Check1"));
    runControl_->hide();
    grid->addWidget(runControl_, row, 0);
    connect(runControl_, &QCheckBox::clicked, this, &SchemeCalculatorWindow::pauseOrResume);
    buildButtons(grid, row + 1);
}

void SchemeCalculatorWindow::buildButtons(QGridLayout* grid, int row) {
    struct B { const char* name; const char* caption; void (SchemeCalculatorWindow::*slot)(); };
    const B buttons[] = {
        {"Command1", "遗漏分析", &SchemeCalculatorWindow::analyseOmissions},
        {"Command2", "分析", &SchemeCalculatorWindow::analyseRollingWindow},
        {"Command3", "分析", &SchemeCalculatorWindow::buildCountSeries},
        {"Command4", "清空", &SchemeCalculatorWindow::clearStatRows},
        {"Command5", "NEXT", &SchemeCalculatorWindow::nextDraw},
        {"Command6", "NEXT", &SchemeCalculatorWindow::nextSeriesWindow},
        {"Command7", "设置", &SchemeCalculatorWindow::setSeriesRange},
        {"Command8", "折线图", nullptr},
        {"Command9", "左统计", &SchemeCalculatorWindow::leftRankStatistics},
        {"Command10", "验证", &SchemeCalculatorWindow::backtestCondition},
        {"Command11", "█", &SchemeCalculatorWindow::stopRun},
        {"Command12", "右统计", &SchemeCalculatorWindow::rightRankStatistics},
        {"Command13", "批量验证", &SchemeCalculatorWindow::batchVerification},
        {"Command14", "保存", &SchemeCalculatorWindow::saveReportLines},
        {"Command15", "清空", &SchemeCalculatorWindow::clearSchemes},
        {"Command16", "导入条件", &SchemeCalculatorWindow::importSchemes},
        {"Command17", "开始算号", &SchemeCalculatorWindow::runBacktests},
        {"Command18", "导入...", &SchemeCalculatorWindow::importReportLines},
        {"Command19", "清空", &SchemeCalculatorWindow::clearReportLines},
        {"Command20", "保存2", &SchemeCalculatorWindow::saveAndClearReportLines},
        {"Command21", "汇总", &SchemeCalculatorWindow::summarise},
    };
    auto* bar = new QGridLayout;
    int i = 0;
    for (const B& b : buttons) {
        auto* btn = new QPushButton(QString::fromUtf8(b.caption), this);
        btn->setObjectName(QString::fromLatin1(b.name));
        if (b.slot) connect(btn, &QPushButton::clicked, this, b.slot);
        if (b.slot == &SchemeCalculatorWindow::stopRun) stop_ = btn;
        if (b.slot == &SchemeCalculatorWindow::clearSchemes) clearSchemes_ = btn;
        if (b.slot == &SchemeCalculatorWindow::clearReportLines) clearReportLines_ = btn;
        bar->addWidget(btn, i / 7, i % 7);
        ++i;
    }
    stop_->hide();
    grid->addLayout(bar, row, 0, 1, 2);
}

void SchemeCalculatorWindow::pullControls() {
    calc_.settings().range.newestLeftOut = CalcTextValue(edits_.leftOut);
    calc_.settings().cycle.length = CalcTextValue(edits_.cycleLength);
    calc_.settings().cycle.seriesLength = CalcTextValue(edits_.seriesLength);
    calc_.settings().cycle.lengthsTried = CalcTextValue(edits_.cycleLengthsTried);
    calc_.settings().verification.periods = CalcTextValue(edits_.verifyPeriods);
    calc_.settings().verification.batch.lastVerifyPeriods = CalcTextValue(edits_.lastVerifyPeriods);
    calc_.settings().verification.batch.verifyStep = CalcTextValue(edits_.verifyStep);
    calc_.settings().verification.batch.cycleStep = CalcTextValue(edits_.cycleStep);
    calc_.settings().verification.batch.lastCycleLength = CalcTextValue(edits_.lastCycleLength);
    calc_.settings().verification.positionText = edits_.position->text();
    calc_.settings().range.first = rangeFirst_->currentIndex();
    calc_.settings().range.last = rangeLast_->currentIndex();
    calc_.settings().mode.name = mode_->currentText();
    calc_.settings().mode.digit = digit_->currentIndex();
    calc_.settings().mode.condition = condition_->currentText();
    calc_.settings().mode.conditionIndex = std::max(0, condition_->currentIndex());
    calc_.settings().verification.hundredsText = verifyText_->toPlainText();
}

void SchemeCalculatorWindow::pushControls() {
    auto set = [](QLineEdit* edit, int value) { edit->setText(QString::number(value)); };
    set(edits_.leftOut, calc_.settings().range.newestLeftOut);
    set(edits_.cycleLength, calc_.settings().cycle.length);
    set(edits_.seriesLength, calc_.settings().cycle.seriesLength);
    set(edits_.cycleLengthsTried, calc_.settings().cycle.lengthsTried);
    set(edits_.verifyPeriods, calc_.settings().verification.periods);
    set(edits_.lastVerifyPeriods, calc_.settings().verification.batch.lastVerifyPeriods);
    set(edits_.verifyStep, calc_.settings().verification.batch.verifyStep);
    set(edits_.cycleStep, calc_.settings().verification.batch.cycleStep);
    set(edits_.lastCycleLength, calc_.settings().verification.batch.lastCycleLength);
    edits_.position->setText(calc_.settings().verification.positionText);
    fc3d_->setChecked(!calc_.draws().lotteryIsP3);
    p3_->setChecked(calc_.draws().lotteryIsP3);
    auto* model = qobject_cast<QStringListModel*>(rangeFirst_->model());
    if (model->stringList() != calc_.lines()) model->setStringList(calc_.lines());
    rangeFirst_->setCurrentIndex(calc_.settings().range.first);
    rangeLast_->setCurrentIndex(calc_.settings().range.last);
    const int mode = mode_->findText(calc_.settings().mode.name);
    if (mode >= 0) mode_->setCurrentIndex(mode);
    digit_->setCurrentIndex(std::clamp(calc_.settings().mode.digit, 0, 9));
    if (condition_->currentText() != calc_.settings().mode.condition) condition_->setEditText(calc_.settings().mode.condition);
    if (verifyText_->toPlainText() != calc_.settings().verification.hundredsText) verifyText_->setPlainText(calc_.settings().verification.hundredsText);
    if (statRows_->topLevelItemCount() != int(calc_.statRows().size())) {
        statRows_->clear();
        QList<QTreeWidgetItem*> items;
        for (const StatRow& r : calc_.statRows()) items << new QTreeWidgetItem(r.columns());
        statRows_->addTopLevelItems(items);
    }
    FillList(ranking_, calc_.digitRanking());
    FillList(summary_, calc_.summaryLines());
    FillList(reportLines_, calc_.reportLines());
    FillList(schemes_, calc_.schemes());
    runControl_->setText(RunCaption(calc_.runState()));
}

void SchemeCalculatorWindow::runHandler(const std::function<void()>& body) {
    if (busy_) return;  // a backtest is running: the calculator's own buttons wait for it
    busy_ = true;
    pullControls();
    calc_.clearError();
    body();
    pushControls();
    busy_ = false;
    // Shown only when someone looks at the calculator; otherwise they are left to its caller.
    if (isVisible() && !calc_.lastError().isEmpty())
        ui::MsgBox(calc_.lastError(), ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
}

void SchemeCalculatorWindow::clearSchemeList() {
    calc_.clearSchemes();
    schemes_->clear();
}

void SchemeCalculatorWindow::setLeaveOut(int count) {
    calc_.settings().range.newestLeftOut = count;
    edits_.leftOut->setText(QString::number(count));
}

void SchemeCalculatorWindow::setRunState(RunState state) {
    calc_.setRunState(state);
    runControl_->setText(RunCaption(state));
}

void SchemeCalculatorWindow::loadSchemeList(const QString& url, platform::Downloader* downloader) {
    runHandler([&] { calc_.loadSchemeList(url, downloader); });
}
void SchemeCalculatorWindow::chooseFc3d() { runHandler([&] { HandInDrawFile(calc_, false); }); }
void SchemeCalculatorWindow::chooseP3() { runHandler([&] { HandInDrawFile(calc_, true); }); }
void SchemeCalculatorWindow::reloadWholeRange() { runHandler([&] { HandInDrawFile(calc_, calc_.draws().lotteryIsP3); }); }
void SchemeCalculatorWindow::analyseOmissions() { runHandler([&] { calc_.omissionAnalysis(); }); }
void SchemeCalculatorWindow::analyseRollingWindow() { runHandler([&] { calc_.rollingWindow(); }); }
void SchemeCalculatorWindow::buildCountSeries() { runHandler([&] { calc_.buildCountSeries(); }); }
void SchemeCalculatorWindow::clearStatRows() { runHandler([&] { calc_.clearStatRows(); }); }
void SchemeCalculatorWindow::nextDraw() { runHandler([&] { calc_.nextDraw(); }); }
void SchemeCalculatorWindow::nextSeriesWindow() { runHandler([&] { calc_.nextSeriesWindow(); }); }
void SchemeCalculatorWindow::setSeriesRange() { runHandler([&] { calc_.setSeriesRange(); }); }
void SchemeCalculatorWindow::leftRankStatistics() { runHandler([&] { calc_.leftRankStatistics(); }); }
void SchemeCalculatorWindow::rightRankStatistics() { runHandler([&] { calc_.rightRankStatistics(); }); }
void SchemeCalculatorWindow::summarise() { runHandler([&] { calc_.summarise(); }); }
void SchemeCalculatorWindow::saveReportLines() { runHandler([&] { calc_.saveReportLines(); }); }
void SchemeCalculatorWindow::saveAndClearReportLines() { runHandler([&] { calc_.saveAndClearReportLines(); }); }

void SchemeCalculatorWindow::clearSchemes() {
    runHandler([&] { calc_.clearSchemes(); });
    clearSchemes_->setText(QStringLiteral("清空"));
}

void SchemeCalculatorWindow::clearReportLines() {
    runHandler([&] { calc_.clearReportLines(); });
    clearReportLines_->setText(QStringLiteral("清空"));
}

void SchemeCalculatorWindow::runWithRunControls(const std::function<void()>& body) {
    // Every backtest shows the pause and stop controls while it runs: a batch with a step of 0
    // repeats until the stop mark is set, so it must be reachable.
    if (busy_) return;  // the running backtest keeps its controls
    runControl_->show();
    stop_->show();
    runHandler(body);
    runControl_->hide();
    stop_->hide();
}

void SchemeCalculatorWindow::backtestCondition() { runWithRunControls([&] { calc_.backtestCondition(); }); }
// 开始算号 and 批量验证 start from the draw file as it is now (it may have been updated since the
// window loaded it); the calculator itself computes only the draws it is handed. A file that
// cannot be read runs nothing, and says why.
void SchemeCalculatorWindow::batchVerification() {
    runWithRunControls([&] {
        if (HandInDrawFile(calc_, calc_.draws().lotteryIsP3)) calc_.batchVerification();
    });
}
void SchemeCalculatorWindow::runBacktests() {
    runWithRunControls([&] {
        if (HandInDrawFile(calc_, calc_.draws().lotteryIsP3)) calc_.runBacktests();
    });
}

void SchemeCalculatorWindow::pauseOrResume() {
    setRunState(calc_.runState() == RunState::Running ? RunState::Paused : RunState::Running);
}
void SchemeCalculatorWindow::stopRun() { setRunState(RunState::Stopped); }

static QString ChooseImportFile(QWidget* parent) {
    // The calculator writes its report files into the program folder.
    return ui::AskOpenFileName(parent, QStringLiteral("导入"), common::ProgramDir(), QStringLiteral("文本文件 (*.txt)"));
}

void SchemeCalculatorWindow::importSchemes() {
    const QString path = ChooseImportFile(this);
    if (path.isEmpty()) return;  // cancelled
    int added = -1;
    runHandler([&] { added = calc_.importSchemes(path); });
    if (added < 0) return;  // unreadable: the import ends silently
    clearSchemes_->setText(QStringLiteral("清空") + QString::number(calc_.schemes().size()));
    ui::MsgBox(QStringLiteral("导入成功！"), ui::Icon::None, ui::Buttons::Ok, ui::kAppTitle, this);
}

void SchemeCalculatorWindow::importReportLines() {
    const QString path = ChooseImportFile(this);
    if (path.isEmpty()) return;
    int added = -1;
    runHandler([&] { added = calc_.importReportLines(path); });
    if (added < 0) return;
    clearReportLines_->setText(QStringLiteral("清空") + QString::number(calc_.reportLines().size()));
    ui::MsgBox(QStringLiteral("导入成功！"), ui::Icon::None, ui::Buttons::Ok, ui::kAppTitle, this);
}

void SchemeCalculatorWindow::openReportFile() {
    const int row = reportLines_->currentRow();
    if (row < 0 || row >= calc_.reportLines().size()) return;
    const QString line = calc_.reportLines().at(row);
    const QString path = SchemeCalculator::reportFileOfLine(line);
    if (path.isEmpty()) return;
    const QString tag = SchemeCalculator::schemeTagOfLine(line);
    if (reportOpener) {
        reportOpener(path, tag);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace smart
