#include "smart/schemecalculatorwindow.h"

#include "platform/ui/messagebox.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QThread>
#include <QTreeWidget>
#include <QUrl>

namespace smart {

std::function<QString()> SchemeCalculatorWindow::importFileChooser;
std::function<void(const QString&, const QString&)> SchemeCalculatorWindow::reportOpener;

SchemeCalculatorWindow* SchemeCalculatorWindow::shared() {
    static QPointer<SchemeCalculatorWindow> window;
    if (!window) {
        window = new SchemeCalculatorWindow(nullptr);
        window->hide();
    }
    return window;
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

    auto& h = calc_.hooks;
    h.processEvents = [this] {
        findChild<QCheckBox*>(QStringLiteral("Check1"))->setText(calc_.runState);
        QCoreApplication::processEvents();
    };
    auto inputClock = std::make_shared<QElapsedTimer>();
    inputClock->start();
    // No portable "input waiting" query: let events through every 50 ms instead.
    h.inputWaiting = [inputClock] {
        if (inputClock->elapsed() < 50) return false;
        inputClock->restart();
        return true;
    };
    h.sleep = [](int ms) { QThread::msleep(ms); };
    h.canResume = [this] { return isVisible(); };
    h.confirm = [this](const QString& text) {
        return ui::MsgBox(text, ui::Icon::Question, ui::Buttons::YesNo, QString(), this) == ui::Answer::Yes;
    };
    h.message = [this](const QString& text) { ui::MsgBox(text, ui::Icon::None, ui::Buttons::Ok, ui::kAppTitle, this); };
    h.scriptError = [this](const script::ScriptError& e, const QString& verifyText) {
        ui::MsgBox(calc_.conditionErrorText(e), ui::Icon::None, ui::Buttons::Ok, QString(), this);
        if (QClipboard* cb = QApplication::clipboard()) {
            cb->clear();
            cb->setText(verifyText);
        }
    };

    // Start-up: the 福彩3D file, no draw left out, the whole range, the first items.
    if (calc_.loadDraws()) {
        calc_.rangeFirst = 0;
        calc_.rangeLast = int(calc_.lines.size()) - 1;
    }
    calc_.lastError.clear();
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
    auto* frame = new QGroupBox(QStringLiteral("彩票类型"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* fl = new QHBoxLayout(frame);
    auto* o1 = new QRadioButton(QStringLiteral("福彩3D"), frame);
    o1->setObjectName(QStringLiteral("Option1"));
    o1->setChecked(true);
    auto* o2 = new QRadioButton(QStringLiteral("排列三"), frame);
    o2->setObjectName(QStringLiteral("Option2"));
    fl->addWidget(o1);
    fl->addWidget(o2);
    grid->addWidget(frame, row++, 0, 1, 2);
    connect(o1, &QRadioButton::clicked, this, &SchemeCalculatorWindow::Option1_Click);
    connect(o2, &QRadioButton::clicked, this, &SchemeCalculatorWindow::Option2_Click);

    edit("Text11", "近期验证：", QStringLiteral("0"));
    auto* label1 = new QLabel(QStringLiteral("开奖"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    auto* c1 = new QComboBox(this);
    c1->setObjectName(QStringLiteral("Combo1"));
    auto* c2 = new QComboBox(this);
    c2->setObjectName(QStringLiteral("Combo2"));
    auto* drawModel = new QStringListModel(this);  // the same lines in both lists
    c1->setModel(drawModel);
    c2->setModel(drawModel);
    grid->addWidget(label1, row, 0);
    grid->addWidget(c1, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("—"), this), row, 0);
    grid->addWidget(c2, row++, 1);
    auto* c3 = new QComboBox(this);
    c3->setObjectName(QStringLiteral("Combo3"));
    c3->addItems({kModeAnywhere, kModeHundreds, kModeTens, kModeUnits});
    grid->addWidget(new QLabel(QStringLiteral("项目"), this), row, 0);
    grid->addWidget(c3, row++, 1);
    auto* c4 = new QComboBox(this);
    c4->setObjectName(QStringLiteral("Combo4"));
    for (int d = 0; d <= 9; ++d) c4->addItem(QString::number(d));
    grid->addWidget(new QLabel(QStringLiteral("类别"), this), row, 0);
    grid->addWidget(c4, row++, 1);
    edit("Text1", "周期", QStringLiteral("10"));
    edit("Text4", "折线图期数", QStringLiteral("5"));
    edit("Text5", "循环周期数", QStringLiteral("1"));
    edit("Text9", "—", QStringLiteral("100"));
    edit("Text8", "间隔周期", QStringLiteral("1"));
    edit("Text2", "验证期数", QStringLiteral("0"));
    edit("Text6", "—", QStringLiteral("0"));
    edit("Text7", "间隔周期", QStringLiteral("1"));
    edit("Text10", "号码位置", QString());
    auto* c5 = new QComboBox(this);
    c5->setObjectName(QStringLiteral("Combo5"));
    c5->setEditable(true);
    c5->addItems(BuiltInConditions());
    grid->addWidget(new QLabel(QStringLiteral("方案"), this), row, 0);
    grid->addWidget(c5, row++, 1);
    auto* t3 = new QPlainTextEdit(this);
    t3->setObjectName(QStringLiteral("Text3"));
    grid->addWidget(t3, row++, 0, 1, 2);
    auto* lv = new QTreeWidget(this);
    lv->setObjectName(QStringLiteral("ListView1"));
    lv->setRootIsDecorated(false);
    lv->setHeaderLabels(StatColumnHeaders());
    grid->addWidget(lv, row++, 0, 1, 2);
    for (const char* name : {"List1", "List2", "List3", "List4"}) {
        auto* l = new QListWidget(this);
        l->setObjectName(QString::fromLatin1(name));
        grid->addWidget(l, row++, 0, 1, 2);
    }
    connect(findChild<QListWidget*>(QStringLiteral("List3")), &QListWidget::itemDoubleClicked, this,
            &SchemeCalculatorWindow::List3_DblClick);
    auto* check = new QCheckBox(kRunRunning, this);
    check->setObjectName(QStringLiteral("Check1"));
    check->hide();
    grid->addWidget(check, row, 0);
    connect(check, &QCheckBox::clicked, this, &SchemeCalculatorWindow::Check1_Click);

    struct B { const char* name; const char* caption; void (SchemeCalculatorWindow::*slot)(); };
    const B buttons[] = {
        {"Command1", "遗漏分析", &SchemeCalculatorWindow::Command1_Click}, {"Command2", "分析", &SchemeCalculatorWindow::Command2_Click},
        {"Command3", "分析", &SchemeCalculatorWindow::Command3_Click},     {"Command4", "清空", &SchemeCalculatorWindow::Command4_Click},
        {"Command5", "NEXT", &SchemeCalculatorWindow::Command5_Click},     {"Command6", "NEXT", &SchemeCalculatorWindow::Command6_Click},
        {"Command7", "设置", &SchemeCalculatorWindow::Command7_Click},     {"Command8", "折线图", nullptr},
        {"Command9", "左统计", &SchemeCalculatorWindow::Command9_Click},   {"Command10", "验证", &SchemeCalculatorWindow::Command10_Click},
        {"Command11", "█", &SchemeCalculatorWindow::Command11_Click},      {"Command12", "右统计", &SchemeCalculatorWindow::Command12_Click},
        {"Command13", "批量验证", &SchemeCalculatorWindow::Command13_Click}, {"Command14", "保存", &SchemeCalculatorWindow::Command14_Click},
        {"Command15", "清空", &SchemeCalculatorWindow::Command15_Click},   {"Command16", "导入条件", &SchemeCalculatorWindow::Command16_Click},
        {"Command17", "开始算号", &SchemeCalculatorWindow::Command17_Click}, {"Command18", "导入...", &SchemeCalculatorWindow::Command18_Click},
        {"Command19", "清空", &SchemeCalculatorWindow::Command19_Click},   {"Command20", "保存2", &SchemeCalculatorWindow::Command20_Click},
        {"Command21", "汇总", &SchemeCalculatorWindow::Command21_Click},
    };
    auto* bar = new QGridLayout;
    int i = 0;
    for (const B& b : buttons) {
        auto* btn = new QPushButton(QString::fromUtf8(b.caption), this);
        btn->setObjectName(QString::fromLatin1(b.name));
        if (b.slot) connect(btn, &QPushButton::clicked, this, b.slot);
        bar->addWidget(btn, i / 7, i % 7);
        ++i;
    }
    findChild<QPushButton*>(QStringLiteral("Command11"))->hide();
    grid->addLayout(bar, ++row, 0, 1, 2);
}

void SchemeCalculatorWindow::pullControls() {
    auto edit = [this](const char* name) { return CalcTextValue(findChild<QLineEdit*>(QString::fromLatin1(name))); };
    calc_.newestLeftOut = edit("Text11");
    calc_.cycleLength = edit("Text1");
    calc_.seriesLength = edit("Text4");
    calc_.cycleLengthsTried = edit("Text5");
    calc_.verifyPeriods = edit("Text2");
    calc_.lastVerifyPeriods = edit("Text6");
    calc_.verifyStep = edit("Text7");
    calc_.cycleStep = edit("Text8");
    calc_.lastCycleLength = edit("Text9");
    calc_.positionText = findChild<QLineEdit*>(QStringLiteral("Text10"))->text();
    calc_.rangeFirst = findChild<QComboBox*>(QStringLiteral("Combo1"))->currentIndex();
    calc_.rangeLast = findChild<QComboBox*>(QStringLiteral("Combo2"))->currentIndex();
    calc_.mode = findChild<QComboBox*>(QStringLiteral("Combo3"))->currentText();
    calc_.digit = findChild<QComboBox*>(QStringLiteral("Combo4"))->currentIndex();
    auto* c5 = findChild<QComboBox*>(QStringLiteral("Combo5"));
    calc_.condition = c5->currentText();
    calc_.conditionIndex = std::max(0, c5->currentIndex());
    calc_.verifyText = findChild<QPlainTextEdit*>(QStringLiteral("Text3"))->toPlainText();
    calc_.runState = findChild<QCheckBox*>(QStringLiteral("Check1"))->text();
}

void SchemeCalculatorWindow::pushControls() {
    auto set = [this](const char* name, const QString& text) { findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text); };
    set("Text11", QString::number(calc_.newestLeftOut));
    set("Text1", QString::number(calc_.cycleLength));
    set("Text4", QString::number(calc_.seriesLength));
    set("Text5", QString::number(calc_.cycleLengthsTried));
    set("Text2", QString::number(calc_.verifyPeriods));
    set("Text6", QString::number(calc_.lastVerifyPeriods));
    set("Text7", QString::number(calc_.verifyStep));
    set("Text8", QString::number(calc_.cycleStep));
    set("Text9", QString::number(calc_.lastCycleLength));
    set("Text10", calc_.positionText);
    findChild<QRadioButton*>(QStringLiteral("Option1"))->setChecked(!calc_.lotteryIsP3);
    findChild<QRadioButton*>(QStringLiteral("Option2"))->setChecked(calc_.lotteryIsP3);
    auto* c1 = findChild<QComboBox*>(QStringLiteral("Combo1"));
    auto* c2 = findChild<QComboBox*>(QStringLiteral("Combo2"));
    auto* model = qobject_cast<QStringListModel*>(c1->model());
    if (!model) {
        model = new QStringListModel(this);
        c1->setModel(model);
        c2->setModel(model);
    }
    if (model->stringList() != calc_.lines) model->setStringList(calc_.lines);
    c1->setCurrentIndex(calc_.rangeFirst);
    c2->setCurrentIndex(calc_.rangeLast);
    auto* c3 = findChild<QComboBox*>(QStringLiteral("Combo3"));
    const int mode = c3->findText(calc_.mode);
    if (mode >= 0) c3->setCurrentIndex(mode);
    findChild<QComboBox*>(QStringLiteral("Combo4"))->setCurrentIndex(std::clamp(calc_.digit, 0, 9));
    auto* c5 = findChild<QComboBox*>(QStringLiteral("Combo5"));
    if (c5->currentText() != calc_.condition) c5->setEditText(calc_.condition);
    auto* t3 = findChild<QPlainTextEdit*>(QStringLiteral("Text3"));
    if (t3->toPlainText() != calc_.verifyText) t3->setPlainText(calc_.verifyText);
    auto* lv = findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    if (lv->topLevelItemCount() != int(calc_.statRows.size())) {
        lv->clear();
        QList<QTreeWidgetItem*> items;
        for (const StatRow& r : calc_.statRows) items << new QTreeWidgetItem(r.columns());
        lv->addTopLevelItems(items);
    }
    FillList(findChild<QListWidget*>(QStringLiteral("List1")), calc_.digitRanking);
    FillList(findChild<QListWidget*>(QStringLiteral("List2")), calc_.summary);
    FillList(findChild<QListWidget*>(QStringLiteral("List3")), calc_.reportLines);
    FillList(findChild<QListWidget*>(QStringLiteral("List4")), calc_.schemes);
    findChild<QCheckBox*>(QStringLiteral("Check1"))->setText(calc_.runState);
}

void SchemeCalculatorWindow::runHandler(const std::function<void()>& body) {
    if (busy_) return;  // a backtest is running: the calculator's own buttons wait for it
    busy_ = true;
    pullControls();
    calc_.lastError.clear();
    body();
    pushControls();
    busy_ = false;
    // Shown only when someone looks at the calculator; a hidden run leaves them to its caller.
    if (isVisible() && !calc_.lastError.isEmpty())
        ui::MsgBox(calc_.lastError, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
}

void SchemeCalculatorWindow::clearSchemeList() {
    calc_.schemes.clear();
    findChild<QListWidget*>(QStringLiteral("List4"))->clear();
}

void SchemeCalculatorWindow::setLeaveOut(int count) {
    calc_.newestLeftOut = count;
    findChild<QLineEdit*>(QStringLiteral("Text11"))->setText(QString::number(count));
}

void SchemeCalculatorWindow::setRunControl(const QString& caption) {
    calc_.setRunState(caption);
    findChild<QCheckBox*>(QStringLiteral("Check1"))->setText(caption);
}

void SchemeCalculatorWindow::loadSchemeList(const QString& url, platform::Downloader* downloader) {
    runHandler([&] { calc_.loadSchemeList(url, downloader); });
}
void SchemeCalculatorWindow::loadDraws() { runHandler([&] { calc_.loadDraws(); }); }
void SchemeCalculatorWindow::Option1_Click() { runHandler([&] { calc_.selectLottery(false); }); }
void SchemeCalculatorWindow::Option2_Click() { runHandler([&] { calc_.selectLottery(true); }); }
void SchemeCalculatorWindow::Label1_DblClick() { runHandler([&] { calc_.reloadWholeRange(); }); }
void SchemeCalculatorWindow::Command1_Click() { runHandler([&] { calc_.omissionAnalysis(); }); }
void SchemeCalculatorWindow::Command2_Click() { runHandler([&] { calc_.rollingWindow(); }); }
void SchemeCalculatorWindow::Command3_Click() { runHandler([&] { calc_.buildCountSeries(); }); }
void SchemeCalculatorWindow::Command4_Click() { runHandler([&] { calc_.clearStatRows(); }); }
void SchemeCalculatorWindow::Command5_Click() { runHandler([&] { calc_.nextDraw(); }); }
void SchemeCalculatorWindow::Command6_Click() { runHandler([&] { calc_.nextSeriesWindow(); }); }
void SchemeCalculatorWindow::Command7_Click() { runHandler([&] { calc_.setSeriesRange(); }); }
void SchemeCalculatorWindow::Command9_Click() { runHandler([&] { calc_.leftRankStatistics(); }); }
void SchemeCalculatorWindow::Command12_Click() { runHandler([&] { calc_.rightRankStatistics(); }); }
void SchemeCalculatorWindow::Command21_Click() { runHandler([&] { calc_.summarise(); }); }
void SchemeCalculatorWindow::Command14_Click() { runHandler([&] { calc_.saveReportLines(); }); }
void SchemeCalculatorWindow::Command20_Click() { runHandler([&] { calc_.saveAndClearReportLines(); }); }

void SchemeCalculatorWindow::Command15_Click() {
    runHandler([&] { calc_.clearSchemes(); });
    findChild<QPushButton*>(QStringLiteral("Command15"))->setText(QStringLiteral("清空"));
}

void SchemeCalculatorWindow::Command19_Click() {
    runHandler([&] { calc_.clearReportLines(); });
    findChild<QPushButton*>(QStringLiteral("Command19"))->setText(QStringLiteral("清空"));
}

void SchemeCalculatorWindow::runWithRunControls(const std::function<void()>& body) {
    // Every backtest shows the pause and stop controls while it runs: a batch with a step of 0
    // repeats until the stop mark is set, so it must be reachable.
    if (busy_) return;  // the running backtest keeps its controls
    auto* check = findChild<QCheckBox*>(QStringLiteral("Check1"));
    auto* stop = findChild<QPushButton*>(QStringLiteral("Command11"));
    check->show();
    stop->show();
    runHandler(body);
    check->hide();
    stop->hide();
}

void SchemeCalculatorWindow::Command10_Click() { runWithRunControls([&] { calc_.backtestCondition(); }); }
void SchemeCalculatorWindow::Command13_Click() { runWithRunControls([&] { calc_.batchVerification(); }); }
void SchemeCalculatorWindow::Command17_Click() { runWithRunControls([&] { calc_.runBacktests(); }); }

void SchemeCalculatorWindow::Check1_Click() { setRunControl(calc_.runState == kRunRunning ? kRunPaused : kRunRunning); }
void SchemeCalculatorWindow::Command11_Click() { setRunControl(kRunStop); }

static QString ChooseImportFile(QWidget* parent) {
    if (SchemeCalculatorWindow::importFileChooser) return SchemeCalculatorWindow::importFileChooser();
    return QFileDialog::getOpenFileName(parent, QStringLiteral("导入"), QString(), QStringLiteral("文本文件 (*.txt)"));
}

void SchemeCalculatorWindow::Command16_Click() {
    const QString path = ChooseImportFile(this);
    if (path.isEmpty()) return;  // cancelled
    int added = -1;
    runHandler([&] { added = calc_.importSchemes(path); });
    if (added < 0) return;  // unreadable: the import ends silently
    findChild<QPushButton*>(QStringLiteral("Command15"))->setText(QStringLiteral("清空") + QString::number(calc_.schemes.size()));
    ui::MsgBox(QStringLiteral("导入成功！"), ui::Icon::None, ui::Buttons::Ok, ui::kAppTitle, this);
}

void SchemeCalculatorWindow::Command18_Click() {
    const QString path = ChooseImportFile(this);
    if (path.isEmpty()) return;
    int added = -1;
    runHandler([&] { added = calc_.importReportLines(path); });
    if (added < 0) return;
    findChild<QPushButton*>(QStringLiteral("Command19"))->setText(QStringLiteral("清空") + QString::number(calc_.reportLines.size()));
    ui::MsgBox(QStringLiteral("导入成功！"), ui::Icon::None, ui::Buttons::Ok, ui::kAppTitle, this);
}

void SchemeCalculatorWindow::List3_DblClick() {
    auto* list = findChild<QListWidget*>(QStringLiteral("List3"));
    const int row = list->currentRow();
    if (row < 0 || row >= calc_.reportLines.size()) return;
    const QString line = calc_.reportLines.at(row);
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
