#include "history/windows/settingswindow.h"

#include "common/appstate.h"
#include "common/settings.h"
#include "history/lottery.h"
#include "platform/ui/controls.h"
#include "platform/ui/messagebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

namespace {

// The fewest draws a range may span: the last at least ten positions after the first.
constexpr int kMinRangeSpan = 10;

}  // namespace

SettingsWindow::SettingsWindow(common::AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("系统设置"));
    setFixedSize(400, 300);

    tabs_ = ui::MakePlaced<QTabWidget>(this, "SSTab1", 10, 10, 380, 230);
    auto* general = new QWidget(tabs_);
    auto* schemes = new QWidget(tabs_);
    tabs_->addTab(general, QStringLiteral("通用"));
    tabs_->addTab(schemes, QStringLiteral("方案"));
    buildGeneralTab(general);
    buildSchemeTab(schemes);

    auto* ok = ui::MakePlaced<QPushButton>(this, "Command1", 190, 254, 90, 30);
    ok->setText(QStringLiteral("确定"));
    auto* cancel = ui::MakePlaced<QPushButton>(this, "Command2", 295, 254, 90, 30);
    cancel->setText(QStringLiteral("取消"));
    connect(ok, &QPushButton::clicked, this, &SettingsWindow::saveSettings);
    connect(cancel, &QPushButton::clicked, this, &SettingsWindow::reject);

    if (QWidget* main = parentWidget()) setWindowIcon(main->windowIcon());
    showSettings();
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::buildGeneralTab(QWidget* page) {
    auto* range = ui::MakePlaced<QGroupBox>(page, "Frame1", 10, 8, 355, 100);
    range->setTitle(QStringLiteral("分析期号范围"));
    firstIssueBox_ = ui::MakePlaced<QComboBox>(range, "Combo1", 12, 26, 150, 26);
    lastIssueBox_ = ui::MakePlaced<QComboBox>(range, "Combo2", 190, 26, 150, 26);
    allDrawsCheck_ = ui::MakePlaced<QCheckBox>(range, "Check1", 12, 64, 300, 24);
    allDrawsCheck_->setText(QStringLiteral("分析所有开奖数据"));

    auto* lottery = ui::MakePlaced<QGroupBox>(page, "Frame2", 10, 116, 355, 70);
    lottery->setTitle(QStringLiteral("设置彩票类型"));
    fc3dOption_ = ui::MakePlaced<QRadioButton>(lottery, "Option1", 12, 30, 150, 24);
    fc3dOption_->setText(QStringLiteral("全国福彩3D"));
    p3Option_ = ui::MakePlaced<QRadioButton>(lottery, "Option2", 190, 30, 150, 24);
    p3Option_->setText(QStringLiteral("体彩排列三"));
}

void SettingsWindow::buildSchemeTab(QWidget* page) {
    auto* scheme = ui::MakePlaced<QGroupBox>(page, "Frame3", 10, 8, 355, 90);
    scheme->setTitle(QStringLiteral("智能方案"));
    schemeSlider_ = ui::MakePlaced<QSlider>(scheme, "Slider1", 20, 26, 315, 26);
    schemeSlider_->setOrientation(Qt::Horizontal);
    schemeSlider_->setRange(0, 3);
    schemeSlider_->setPageStep(1);
    schemeSlider_->setTickPosition(QSlider::TicksBelow);
    for (int k = 0; k < 4; ++k) {
        auto* mark = new QLabel(QStringLiteral("方案%1").arg(k + 1), scheme);
        mark->setGeometry(12 + k * 100, 58, 60, 20);
    }

    auto* tolerance = ui::MakePlaced<QGroupBox>(page, "Frame4", 10, 106, 355, 70);
    tolerance->setTitle(QStringLiteral("设置容错范围"));
    auto* caption = ui::MakePlaced<QLabel>(tolerance, "Label1", 12, 30, 130, 24);
    caption->setText(QStringLiteral("设置总容错范围："));
    toleranceBox_ = ui::MakePlaced<QComboBox>(tolerance, "Combo3", 150, 28, 80, 26);
    toleranceBox_->setEditable(true);  // the stored text comes back exactly, whatever it is
    toleranceBox_->setInsertPolicy(QComboBox::NoInsert);
    for (int v = 0; v <= 10; ++v) toleranceBox_->addItem(QString::number(v));
}

void SettingsWindow::showSettings() {
    const common::AppState& app = state_;
    QStringList issues;
    issues.reserve(app.history().count());
    for (const QString& draw : app.history().draws()) issues.append(draw.left(7));
    firstIssueBox_->clear();
    lastIssueBox_->clear();
    firstIssueBox_->addItems(issues);
    lastIssueBox_->addItems(issues);
    allDrawsCheck_->setChecked(common::SettingUseAllDraws());
    firstIssueBox_->setCurrentIndex(app.rangeFirst() < issues.size() ? app.rangeFirst() : -1);
    lastIssueBox_->setCurrentIndex(app.rangeLast() < issues.size() ? app.rangeLast() : -1);
    schemeSlider_->setValue(common::SettingSmartScheme());
    toleranceBox_->setEditText(common::SettingToleranceRange());
    shownLotteryIsP3_ = app.lotteryIsP3();
    (shownLotteryIsP3_ ? p3Option_ : fc3dOption_)->setChecked(true);
    tabs_->setCurrentIndex(0);
    tabs_->setTabVisible(1, false);
}

void SettingsWindow::saveSettings() {
    common::AppState& app = state_;
    const int first = firstIssueBox_->currentIndex(), last = lastIssueBox_->currentIndex();
    // The range only matters when the analyses do not use every draw, and with fewer draws than
    // a range needs no choice could pass; in both cases the check would only make the lottery
    // and 分析所有开奖数据 unconfirmable. A range that fails the check then stays as it was.
    const bool rangeChoosable = app.history().count() > kMinRangeSpan;
    const bool rangeValid = rangeChoosable && last >= first + kMinRangeSpan;
    if (rangeChoosable && !rangeValid && !allDrawsCheck_->isChecked()) {
        ui::MsgBox(QStringLiteral("开奖期号设置范围太小,请重新设置。"), ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle,
                   this);
        firstIssueBox_->setCurrentIndex(0);
        return;
    }
    common::SaveUseAllDraws(allDrawsCheck_->isChecked());
    common::SaveSmartScheme(schemeSlider_->value());
    if (rangeValid) app.setRange(first, last);
    common::SaveToleranceRange(toleranceBox_->currentText());
    if (fc3dOption_->isChecked() && shownLotteryIsP3_) switchLottery(false);
    if (p3Option_->isChecked() && !shownLotteryIsP3_) switchLottery(true);
    accept();
}

void SettingsWindow::switchLottery(bool toP3) {
    const std::function<void()>& hook = toP3 ? hooks.selectP3 : hooks.selectFc3d;
    if (hook) {
        hook();
        return;
    }
    QString why;
    history::SelectLottery(state_, toP3, &why);
    if (!why.isEmpty()) ui::MsgBox(why, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
}

namespace history {

void OpenSettings(QWidget* parent, common::AppState& state, std::function<void(bool toP3)> switchLottery) {
    SettingsWindow form(state, parent);
    if (switchLottery) {
        form.hooks.selectFc3d = [switchLottery] { switchLottery(false); };
        form.hooks.selectP3 = [switchLottery] { switchLottery(true); };
    }
    ui::ShowModal(&form);
}

}  // namespace history
