#include "smart/windows/smartsystemwindow.h"

#include "common/appstate.h"
#include "common/drawtext.h"
#include "common/paths.h"
#include "common/settings.h"
#include "dialogs/dialogutil.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/clicksource.h"
#include "platform/ui/controls.h"
#include "platform/ui/webview.h"
#include "platform/download.h"
#include "platform/ui/helpmark.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/progressrun.h"
#include "smart/calculator.h"
#include "smart/drawsnapshot.h"
#include "smart/windows/olderselectionwindow.h"
#include "smart/windows/historyverificationwindow.h"
#include "smart/killdigits.h"
#include "smart/windows/smartui.h"
#include "smart/windows/workbenchlog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTime>

using dialogs::MakeButton;

namespace {

const QString kSmartTitle = QStringLiteral("智能选号");
const QString kSmartQuestionTitle = QStringLiteral(" 智能选号");
const QString kNoSchemesMessage = QStringLiteral("没用搜寻到可用的公式，请检查网络连接是否正确。");
const QString kTooFewDrawsMessage = QStringLiteral("开奖总期数累积达到600期以后,智能选号系统才能启动。");
const QString kTestMark = QStringLiteral("test");
// The test channel's code: the hour of the day shifted by this offset, two digits.
constexpr int kTestCodeOffset = 7;

const char* const kSchemeKillCaptions[4] = {" 方案一杀码", " 方案二杀码", " 方案三杀码", " 方案四杀码"};

}  // namespace

SmartSystemWindow::SmartSystemWindow(smart::SmartContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), model_(common::SettingSmartScheme()) {
    setObjectName(QStringLiteral("Form15"));
    setWindowTitle(QStringLiteral("智能系统Vexon-7"));
    resize(640, 520);
    buildControls();
    model_.workbenchPool = [this]() -> pool::NumberPool* {
        dialogs::WorkbenchApi* wb = context_.bench();
        return wb ? &wb->session().pool : nullptr;
    };
    model_.schemeChanged = [this](int scheme) {
        const QSignalBlocker quiet(scheme_);
        scheme_->setValue(scheme);
    };
    bindModel();
    downloader_ = new platform::Downloader(this);
    // The calculators that share out 确定's records are made once per calculator, in the
    // background from here, while the player reads the window, rather than in the first press.
    context_.calc().prepareSpread();
    loadSettings();
}

SmartSystemWindow::~SmartSystemWindow() {
    delete verificationWindow_;
}

HistoryVerificationWindow* SmartSystemWindow::verificationWindow() const { return verificationWindow_; }

SmartSystemOpener::SmartSystemOpener(smart::SmartContext context) : context_(std::move(context)) {}

SmartSystemOpener::~SmartSystemOpener() { delete window_; }

void SmartSystemOpener::open() {
    // A window of its own rather than the workbench's child, so that the workbench's look-ups
    // of its controls by name never reach this window's controls of the same names.
    if (!window_) window_ = new SmartSystemWindow(context_, nullptr);
    ui::ShowModal(window_);
}

void SmartSystemWindow::buildControls() {
    buildOptions();
    buildResultRow();
    buildNotes();
}

void SmartSystemWindow::buildOptions() {
    auto* basic = new QGroupBox(QStringLiteral("基本设置"), this);
    basic->setObjectName(QStringLiteral("Frame1"));
    basic->setGeometry(8, 8, 300, 120);
    ui::MakeLabel(basic, QStringLiteral("Label3"), QStringLiteral("设置杀胆个数："), 8, 20, 110, 24);
    killCount_ = ui::MakePickList(basic, QStringLiteral("Combo3"),
                                  {QStringLiteral("1个"), QStringLiteral("2个"), QStringLiteral("3个")}, 120, 20, 90);
    ui::MakeLabel(basic, QStringLiteral("Label2"), QStringLiteral("生成号码类型："), 8, 52, 110, 24);
    baseType_ = ui::MakePickList(basic, QStringLiteral("Combo2"),
                                 {QStringLiteral("全部组选"), QStringLiteral("组选六"), QStringLiteral("组选三")}, 120, 52, 90);
    ui::MakeLabel(basic, QStringLiteral("Label1"), QStringLiteral("过滤和值个数："), 8, 84, 110, 24);
    sumCount_ = ui::MakePickList(basic, QStringLiteral("Combo1"),
                                 {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}, 120, 84, 90);

    auto* schemes = new QGroupBox(QStringLiteral("智能方案"), this);
    schemes->setObjectName(QStringLiteral("Frame2"));
    schemes->setGeometry(316, 8, 316, 120);
    ui::MakeLabel(schemes, QStringLiteral("Label4"), QStringLiteral("设置杀胆方案："), 8, 20, 120, 24);
    scheme_ = smart::MakeSchemeSlider(schemes, 4, QRect(16, 48, 280, 28));
    for (int k = 0; k < 4; ++k)
        ui::MakeLabel(schemes, QStringLiteral("Label%1").arg(5 + k), QStringLiteral("方案%1").arg(k + 1), 8 + k * 88, 80,
                      60, 20);

    auto* lottery = new QGroupBox(QStringLiteral("彩票类型"), this);
    lottery->setObjectName(QStringLiteral("Frame3"));
    lottery->setGeometry(8, 136, 300, 52);
    fc3d_ = new QRadioButton(QStringLiteral("福彩3D"), lottery);
    fc3d_->setObjectName(QStringLiteral("Option1"));
    fc3d_->setGeometry(12, 20, 120, 24);
    p3_ = new QRadioButton(QStringLiteral("体彩排列三"), lottery);
    p3_->setObjectName(QStringLiteral("Option2"));
    p3_->setGeometry(150, 20, 130, 24);
    connect(fc3d_, &QRadioButton::clicked, this, &SmartSystemWindow::switchToFc3d);
    connect(p3_, &QRadioButton::clicked, this, &SmartSystemWindow::switchToP3);

    openWithBench_ = new QCheckBox(QStringLiteral("进入缩水器时同时打开智能系统"), this);
    openWithBench_->setObjectName(QStringLiteral("Check1"));
    openWithBench_->setGeometry(316, 150, 300, 24);
    connect(openWithBench_, &QCheckBox::clicked, this, &SmartSystemWindow::saveOpenWithBench);
}

void SmartSystemWindow::buildResultRow() {
    result_ = ui::MakeLabel(this, QStringLiteral("Label14"),
                            QStringLiteral("小提示：您可以点击“确定”按钮开始计算今天的不定位杀四码..."), 8, 196, 624, 24);
    result_->setStyleSheet(QStringLiteral("color: red;"));
    connect(ui::ClickSource::of(result_), &ui::ClickSource::doubleClicked, this, &SmartSystemWindow::copyKillDigits);
    busy_ = ui::MakeLabel(this, QStringLiteral("Label9"), QStringLiteral("请稍候，正在算号..."), 8, 224, 300, 24);
    busy_->hide();
    testMark_ = ui::MakeLabel(this, QStringLiteral("Label15"), QString(), 616, 224, 16, 16);
    connect(ui::ClickSource::of(testMark_), &ui::ClickSource::released, this, &SmartSystemWindow::askTestCode);

    ok_ = MakeButton(this, "Command2", QStringLiteral("确定"), 316, 224, 70, 28);
    connect(ok_, &QPushButton::clicked, this, &SmartSystemWindow::startSmartRun);
    cancel_ = MakeButton(this, "Command1", QStringLiteral("取消"), 392, 224, 70, 28);
    connect(cancel_, &QPushButton::clicked, this, &SmartSystemWindow::cancelAndHide);
    verify_ = MakeButton(this, "Command3", QStringLiteral("历史成绩验证"), 468, 224, 110, 28);
    connect(verify_, &QPushButton::clicked, this, &SmartSystemWindow::openHistoryVerification);
    connect(MakeButton(this, "Command5", QStringLiteral("打开旧版智能选号"), 468, 256, 140, 28), &QPushButton::clicked,
            this, &SmartSystemWindow::openOlderSelection);
}

void SmartSystemWindow::buildNotes() {
    auto* image = ui::MakeLabel(this, QStringLiteral("Image1"), QString(), 8, 256, 24, 24);
    ui::SetHelpMark(image, QStringLiteral("单击显示提示，双击复制方案"));
    connect(ui::ClickSource::of(image), &ui::ClickSource::released, this, &SmartSystemWindow::toggleChoosingTip);
    connect(ui::ClickSource::of(image), &ui::ClickSource::doubleClicked, this, &SmartSystemWindow::copySchemes);
    choosingTip_ = ui::MakeLabel(this, QStringLiteral("Label12"),
                                 QStringLiteral("您知道怎样正确选择方案来提高中奖率吗？\n"
                                                "    每种方案的杀码概率都是相近的，但组合形式不同，可先将几种方案进行历史成绩验证，"
                                                "由于需要较长时间，建议验证10期就够了，然后再选择当期自己感觉比较好的方案，"
                                                "毕竟电脑比不过人脑，这样加入一些人为的判断，会收到事半功倍的效果。"),
                                 40, 256, 420, 80);
    choosingTip_->setWordWrap(true);
    choosingTip_->hide();
    auto* description = ui::MakeLabel(this, QStringLiteral("Label8"),
                                      QStringLiteral("说明：\n"
                                                     "1.智能系统Vexon系列是最新研究的全新不定位杀四码方法，由于算法非常复杂，"
                                                     "完成一期杀码大概要1分钟左右。\n"
                                                     "2.超精准的杀码方法，如果你有时间，可以验证100期试试看，可能要几个小时，"
                                                     "不过很值得。"),
                                      8, 340, 300, 100);
    description->setWordWrap(true);

    auto* guide = new QPlainTextEdit(this);
    guide->setObjectName(QStringLiteral("Text1"));
    guide->setReadOnly(true);
    guide->setPlainText(smart::SmartGuideText());
    guide->setGeometry(316, 292, 316, 148);

    smart::MakeHomePageView(this, QStringLiteral("WebBrowser1"), QStringLiteral("/zlxh.htm"))
        ->setGeometry(8, 448, 624, 64);
}

// ---- Life cycle ---------------------------------------------------------------------------

void SmartSystemWindow::bindModel() {
    smart::SmartSettings& s = model_.settings;
    connect(scheme_, &QSlider::valueChanged, this, [&s](int value) { s.scheme = value; });
    connect(baseType_, qOverload<int>(&QComboBox::currentIndexChanged), this, [&s](int index) { s.baseType = index; });
    connect(sumCount_, &QComboBox::currentTextChanged, this, [&s](const QString& text) { s.sumCount = text.toInt(); });
    connect(killCount_, qOverload<int>(&QComboBox::currentIndexChanged), this, [&s](int index) { s.killCount = index + 1; });
}

void SmartSystemWindow::showModel() {
    const smart::SmartSettings s = model_.settings;
    scheme_->setValue(s.scheme);
    baseType_->setCurrentIndex(s.baseType);
    sumCount_->setCurrentText(QString::number(s.sumCount));
    killCount_->setCurrentIndex(s.killCount - 1);
}

void SmartSystemWindow::loadSettings() {
    dialogs::CentreOnScreen(this);
    model_.settings = smart::SmartSettings{common::SettingSmartScheme()};
    showModel();
    openWithBench_->setChecked(true);
    saveOpenWithBench();
    showLottery();
    context_.calc();  // made as the window loads rather than at the first 确定
}

void SmartSystemWindow::showLottery() {
    const bool p3 = context_.lotteryIsP3();
    (p3 ? p3_ : fc3d_)->setChecked(true);
}

void SmartSystemWindow::showEvent(QShowEvent* event) {
    showLottery();
    QDialog::showEvent(event);
}

void SmartSystemWindow::closeEvent(QCloseEvent* event) {
    // The program ends (a close request): whatever runs here stops as after 取消 and the window
    // goes out of sight, ending its modal loop; the program's end unloads it once every run on
    // it has unwound.
    if (context_.state && context_.state->quitting()) {
        stopRun();
        if (verificationWindow_) verificationWindow_->close();
        hide();
        event->ignore();
        return;
    }
    // Closed while its own 确定 runs: the run stops, and the window unloads once the run has
    // left its handler (deleting it now would pull the window from under that handler).
    if (running_) {
        stopRun();
        closePending_ = true;
        hide();
        event->ignore();
        return;
    }
    // Not while the calculator or the verification window runs on it (a verification stopped
    // while its scheme list downloads hands the user this window before its run has unwound;
    // unloading it then would delete the verification window under its own run). Otherwise
    // the close box unloads the window and the next opening loads it afresh.
    if (calculating_ || (verificationWindow_ && verificationWindow_->running())) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
    if (event->isAccepted()) deleteLater();
}

// ---- Options ------------------------------------------------------------------------------

void SmartSystemWindow::saveOpenWithBench() {
    common::SaveSmartPick(openWithBench_->isChecked());
}

void SmartSystemWindow::switchToFc3d() {
    if (dialogs::WorkbenchApi* wb = context_.bench()) wb->switchLottery(false);
    showLottery();
}

void SmartSystemWindow::switchToP3() {
    if (dialogs::WorkbenchApi* wb = context_.bench()) wb->switchLottery(true);
    showLottery();
}

void SmartSystemWindow::toggleChoosingTip() {
    ui::ToggleTip(choosingTip_);
}

void SmartSystemWindow::copySchemes() {
    QString text;
    for (const QString& line : context_.calc().schemes()) text += line + QStringLiteral("\r\n");
    smart::PutOnClipboard(text);
}

void SmartSystemWindow::copyKillDigits() { smart::PutOnClipboard(result_->text()); }

void SmartSystemWindow::askTestCode() {
    QString entry;
    if (!ui::InputBox(QStringLiteral("这是软件开发作者留的测试公式的通道，用户请不要使用，输入验证码："), ui::kAppTitle,
                      QString(), &entry, this))
        entry.clear();
    const QString code = QStringLiteral("%1").arg((QTime::currentTime().hour() + kTestCodeOffset) % 100, 2, 10, QLatin1Char('0'));
    if (entry.mid(1, 2) == code) testMark_->setText(kTestMark);
}

bool SmartSystemWindow::testMark() const { return testMark_->text() == kTestMark; }

QString SmartSystemWindow::schemeListUrl() const {
    if (!common::HasHomeServer()) return {};
    return common::HomeUrl() + smart::SchemeListPath(context_.lotteryIsP3(), testMark());
}

// ---- Buttons ------------------------------------------------------------------------------

void SmartSystemWindow::cancelAndHide() {
    stopRun();
    smart::ShowWorkbenchLog(context_.bench(), true);
    hide();
}

void SmartSystemWindow::stopRun() {
    if (!running_) return;
    stopRequested_ = true;
    downloader_->abort();
    context_.calc().stop();
}

void SmartSystemWindow::openHistoryVerification() {
    if (!verificationWindow_) verificationWindow_ = new HistoryVerificationWindow(this);
    ui::ShowModal(verificationWindow_);
}

void SmartSystemWindow::openOlderSelection() {
    if (context_.history().count() <= 599) {
        ui::MsgBox(kTooFewDrawsMessage, ui::Icon::Information, ui::Buttons::Ok, kSmartTitle, this);
        return;
    }
    cancelAndHide();
    OlderSmartSelection window(context_);
    ui::ShowModal(&window);
}

void SmartSystemWindow::startSmartRun() {
    // The run owns the window from the first moment: a second 确定 is ignored while it runs.
    if (running_) return;
    running_ = true;
    stopRequested_ = false;
    smartRun();
    running_ = false;
    if (closePending_) {
        closePending_ = false;
        deleteLater();
    }
}

bool SmartSystemWindow::smartRun() {
    // The run's draws from here to its end, whatever a reload or the file on disk does meanwhile.
    const smart::DrawSnapshot draws(*context_.state);
    const common::DrawHistory& history = draws.history();
    const int b = history.count();
    // A lottery switch inside this window can bring a history too short for a computation.
    if (!smart::BaseIsUsable(history, b)) {
        ui::MsgBox(smart::ShortHistoryMessage(smart::kBaseDrawsNeeded), ui::Icon::Information, ui::Buttons::Ok,
                   kSmartTitle, this);
        return false;
    }
    const QString question = QStringLiteral("此步骤将以[") + history.issue(b) +
                             QStringLiteral("]期为基数算下一期杀四码，由于人工智能系统算法复杂，"
                                            "按电脑配置的高低不同大概要1分钟左右，是否继续?");
    if (ui::MsgBox(question, ui::Icon::Question, ui::Buttons::YesNo, kSmartQuestionTitle, this) != ui::Answer::Yes)
        return false;

    const QString savedLog = smart::SaveWorkbenchLog(context_.bench());
    // Stopped anywhere: the workbench's numbers and log as after 取消.
    auto abandon = [&] {
        smart::ShowWorkbenchLog(context_.bench(), true);
        smart::PutBackWorkbenchLog(context_.bench(), savedLog);
        smart::RestoreWorkbenchNumbers(context_.bench());
        return false;
    };
    smart::SchemeCalculator& calc = context_.calc();
    calc.clearSchemes();
    const QString url = schemeListUrl();
    if (!url.isEmpty()) {
        calc.clearError();
        calc.loadSchemeList(url, downloader_);
    }
    if (stopRequested_) return abandon();
    if (calc.schemes().isEmpty()) {
        ui::MsgBox(kNoSchemesMessage, ui::Icon::None, ui::Buttons::Ok, ui::kAppTitle, this);
        return false;
    }

    if (!backtestSchemes(draws, b)) return false;
    if (stopRequested_) return abandon();

    QString line = (draws.lotteryIsP3() ? QStringLiteral("体彩排列3第") : QStringLiteral("福彩3D第")) +
                   common::NextIssue(history.issue(b)) + QStringLiteral("期 ");
    for (int k = 0; k < 4; ++k) line += QString::fromUtf8(kSchemeKillCaptions[k]) + computeScheme(history, b, k);
    // The last scheme computed is the program's: saved once per run.
    common::SaveSmartScheme(model_.settings.scheme);
    result_->setText(line);

    smart::PutBackWorkbenchLog(context_.bench(), savedLog);
    smart::ShowWorkbenchLog(context_.bench(), true);
    if (draws.fileChanged()) ui::MsgBox(draws.fileChangedMessage(), ui::Icon::Information, ui::Buttons::Ok, kSmartTitle, this);
    ui::MsgBox(QStringLiteral("人工智能杀码系统已完成操作，请比较各种方案的历史成绩选择最优方案，没有最好的方案，只有当期最优的方案。"),
               ui::Icon::None, ui::Buttons::Ok, ui::kAppTitle, this);
    smart::RestoreWorkbenchNumbers(context_.bench());
    return true;
}

// ---- The computation ----------------------------------------------------------------------

void SmartSystemWindow::setRunning(bool running) {
    calculating_ = running;
    setEnabled(!running);
    for (QPushButton* button : {cancel_, ok_, verify_}) button->setVisible(!running);
    busy_->setVisible(running);
}

bool SmartSystemWindow::backtestSchemes(const smart::DrawSnapshot& draws, int base) {
    smart::SchemeCalculator& calc = context_.calc();
    model_.summaryValid = false;
    setRunning(true);
    calc.clearError();
    calc.settings().range.newestLeftOut = draws.history().count() - base;
    // The calculator works on the run's draws, never on the draw file: its newest line is the
    // base draw shown.
    const bool loaded = calc.setDraws({draws.lotteryIsP3(), draws.history().draws()});
    if (loaded) {
        // The records are backtested on every core while the window's events go through: the
        // box shows how many schemes are done, and its 取消 stops the run as the window's 取消
        // does.
        common::WorkProgress progress;
        const ui::ProgressBox box(this, QStringLiteral("正在算号…"), progress, [this] { stopRun(); });
        calc.runHost().progress = &progress;
        calc.clearError();
        calc.runBacktestsSpread();
        calc.runHost().progress = nullptr;
    }
    setRunning(false);
    if (!loaded) {
        ui::MsgBox(calc.lastError(), ui::Icon::Critical, ui::Buttons::Ok, kSmartTitle, this);
        return false;
    }
    model_.summary = calc.killDigits();
    model_.summaryValid = true;
    return true;
}

const pool::NumberPool& SmartSystemWindow::numberPool() { return model_.numberPool(); }

QString SmartSystemWindow::computeScheme(int base, int scheme) { return computeScheme(context_.history(), base, scheme); }

QString SmartSystemWindow::computeScheme(const common::DrawHistory& history, int base, int scheme) {
    QString log;
    const QString digits = model_.computeScheme(history, base, scheme, log);
    if (dialogs::WorkbenchApi* wb = context_.bench(); wb && !log.isEmpty()) wb->session().log.append(log);
    return digits;
}
