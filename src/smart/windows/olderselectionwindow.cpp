#include "smart/windows/olderselectionwindow.h"

#include "common/settings.h"
#include "dialogs/dialogutil.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/clicksource.h"
#include "platform/ui/helpmark.h"
#include "platform/ui/messagebox.h"
#include "smart/windows/olderselectionverificationwindow.h"
#include "smart/killdigits.h"
#include "smart/olderselection.h"
#include "smart/windows/smartui.h"
#include "smart/windows/workbenchlog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

using dialogs::MakeButton;

OlderSmartSelection::OlderSmartSelection(smart::SmartContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("F15old"));
    setWindowTitle(QStringLiteral("智能选号V1.8"));
    resize(520, 360);
    buildControls();
    loadSettings();
}

void OlderSmartSelection::buildControls() {
    guide_ = new QPlainTextEdit(this);
    guide_->setObjectName(QStringLiteral("Text1"));
    guide_->setReadOnly(true);
    guide_->setPlainText(smart::SmartGuideText());
    guide_->setGeometry(8, 8, 504, 120);

    openWithBench_ = new QCheckBox(QStringLiteral("进入缩水器时打开智能选号"), this);
    openWithBench_->setObjectName(QStringLiteral("Check1"));
    openWithBench_->setGeometry(8, 136, 300, 24);
    connect(openWithBench_, &QCheckBox::clicked, this, &OlderSmartSelection::saveOpenWithBench);

    auto* basic = new QGroupBox(QStringLiteral("基本方案设置"), this);
    basic->setObjectName(QStringLiteral("Frame1"));
    basic->setGeometry(8, 168, 240, 110);
    auto* typeLabel = new QLabel(QStringLiteral("生成号码类型："), basic);
    typeLabel->setGeometry(8, 20, 110, 24);
    baseType_ = new QComboBox(basic);
    baseType_->setObjectName(QStringLiteral("Combo2"));
    baseType_->addItems({QStringLiteral("组选六"), QStringLiteral("组选三")});
    baseType_->setGeometry(120, 20, 100, 24);
    auto* sumLabel = new QLabel(QStringLiteral("过滤和值个数："), basic);
    sumLabel->setGeometry(8, 60, 110, 24);
    sumCount_ = new QComboBox(basic);
    sumCount_->setObjectName(QStringLiteral("Combo1"));
    sumCount_->addItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    sumCount_->setGeometry(120, 60, 100, 24);

    auto* kill = new QGroupBox(QStringLiteral("杀码方案选择"), this);
    kill->setObjectName(QStringLiteral("Frame2"));
    kill->setGeometry(256, 168, 256, 110);
    scheme_ = smart::MakeSchemeSlider(kill, 3, QRect(16, 28, 220, 28));
    connect(scheme_, &QSlider::valueChanged, this, [this](int value) { settings_.scheme = value; });
    connect(baseType_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { settings_.baseType = index; });
    connect(sumCount_, &QComboBox::currentTextChanged, this, [this](const QString& text) { settings_.sumCount = text.toInt(); });
    const char* const marks[3] = {"杀两码", "杀一码", "不杀码"};
    for (int k = 0; k < 3; ++k) {
        auto* mark = new QLabel(QString::fromUtf8(marks[k]), kill);
        mark->setGeometry(8 + k * 96, 64, 60, 20);
    }

    connect(MakeButton(this, "Command2", QStringLiteral("确定"), 256, 288, 80, 28), &QPushButton::clicked, this,
            &OlderSmartSelection::commitSelection);
    connect(MakeButton(this, "Command1", QStringLiteral("取消"), 344, 288, 80, 28), &QPushButton::clicked, this,
            &OlderSmartSelection::closeWindow);
    connect(MakeButton(this, "Command3", QStringLiteral("验证…"), 432, 288, 80, 28), &QPushButton::clicked, this,
            &OlderSmartSelection::openVerification);
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(8, 288, 24, 24);
    ui::SetHelpMark(image, QStringLiteral("操作说明"));
    connect(ui::ClickSource::of(image), &ui::ClickSource::released, this, &OlderSmartSelection::showGuide);
}

void OlderSmartSelection::loadSettings() {
    dialogs::CentreOnScreen(this);
    // 方案4 of the smart-system window has no position here: the slider stops at its end.
    scheme_->setValue(common::SettingSmartScheme());
    sumCount_->setCurrentIndex(0);
    baseType_->setCurrentIndex(0);
    settings_ = {baseType_->currentIndex(), sumCount_->currentText().toInt(), scheme_->value()};
    openWithBench_->setChecked(common::SettingSmartPick());
}

void OlderSmartSelection::saveOpenWithBench() {
    common::SaveSmartPick(openWithBench_->isChecked());
}

pool::NumberPool& OlderSmartSelection::numberPool() {
    if (dialogs::WorkbenchApi* wb = context_.bench()) return wb->session().pool;
    return ownPool_;
}

void OlderSmartSelection::makeSelection(int base) {
    common::SaveSmartScheme(settings_.scheme);
    if (dialogs::WorkbenchApi* wb = context_.bench()) wb->model().straightMode = false;

    const common::DrawHistory& history = context_.history();
    if (!smart::BaseIsUsable(history, base)) return;
    QString log;
    smart::MakeOlderSelection(history, base, settings_, numberPool(), log);
    if (dialogs::WorkbenchApi* wb = context_.bench(); wb && !log.isEmpty()) wb->session().log.append(log);
}

void OlderSmartSelection::commitSelection() {
    const common::DrawHistory& history = context_.history();
    const int newest = history.count();
    if (!smart::BaseIsUsable(history, newest)) {
        ui::MsgBox(smart::ShortHistoryMessage(smart::kBaseDrawsNeeded), ui::Icon::Information, ui::Buttons::Ok,
                   QStringLiteral("智能选号"), this);
        return;
    }
    const QString question = QStringLiteral("此步骤将以[") + history.issue(newest) +
                             QStringLiteral("]期为基数生成下一期的选号组合,是否继续?\n此步骤生成的号码组合属于组选。\n"
                                            "适合长期投资，仅供参考。");
    if (ui::MsgBox(question, ui::Icon::Question, ui::Buttons::YesNo, QStringLiteral("智能选号"), this) != ui::Answer::Yes)
        return;

    smart::ShowWorkbenchLog(context_.bench(), false);
    makeSelection(newest);
    smart::ShowWorkbenchLog(context_.bench(), true);
    if (dialogs::WorkbenchApi* wb = context_.bench()) {
        pool::PoolSession& session = wb->session();
        wb->enterFilteringMode();
        // The selection was made in the pool itself; its log line replaces the whole log.
        session.TakeNumbers(std::move(session.pool), QString(), QStringLiteral("智能选号"));
        session.log.setText(smart::OlderSelectionLogLine(context_.lotteryIsP3(), history.newest(),
                                                       int(session.pool.size())));
    }
    close();
}

void OlderSmartSelection::closeWindow() { close(); }

void OlderSmartSelection::openVerification() {
    smart::ShowWorkbenchLog(context_.bench(), false);
    OlderSelectionVerification window(this);
    ui::ShowModal(&window);
}

void OlderSmartSelection::showGuide() {
    ui::MsgBox(guide_->toPlainText(), ui::Icon::None, ui::Buttons::Ok,
               ui::kAppTitle, this);
}
