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

    SSTab1 = ui::MakePlaced<QTabWidget>(this, "SSTab1", 10, 10, 380, 230);
    auto* general = new QWidget(SSTab1);
    auto* schemes = new QWidget(SSTab1);
    SSTab1->addTab(general, QStringLiteral("通用"));
    SSTab1->addTab(schemes, QStringLiteral("方案"));

    Frame1 = ui::MakePlaced<QGroupBox>(general, "Frame1", 10, 8, 355, 100);
    Frame1->setTitle(QStringLiteral("分析期号范围"));
    Combo1 = ui::MakePlaced<QComboBox>(Frame1, "Combo1", 12, 26, 150, 26);
    Combo2 = ui::MakePlaced<QComboBox>(Frame1, "Combo2", 190, 26, 150, 26);
    Check1 = ui::MakePlaced<QCheckBox>(Frame1, "Check1", 12, 64, 300, 24);
    Check1->setText(QStringLiteral("分析所有开奖数据"));

    Frame2 = ui::MakePlaced<QGroupBox>(general, "Frame2", 10, 116, 355, 70);
    Frame2->setTitle(QStringLiteral("设置彩票类型"));
    Option1 = ui::MakePlaced<QRadioButton>(Frame2, "Option1", 12, 30, 150, 24);
    Option1->setText(QStringLiteral("全国福彩3D"));
    Option2 = ui::MakePlaced<QRadioButton>(Frame2, "Option2", 190, 30, 150, 24);
    Option2->setText(QStringLiteral("体彩排列三"));

    Frame3 = ui::MakePlaced<QGroupBox>(schemes, "Frame3", 10, 8, 355, 90);
    Frame3->setTitle(QStringLiteral("智能方案"));
    Slider1 = ui::MakePlaced<QSlider>(Frame3, "Slider1", 20, 26, 315, 26);
    Slider1->setOrientation(Qt::Horizontal);
    Slider1->setRange(0, 3);
    Slider1->setPageStep(1);
    Slider1->setTickPosition(QSlider::TicksBelow);
    for (int k = 0; k < 4; ++k) {
        auto* mark = new QLabel(QStringLiteral("方案%1").arg(k + 1), Frame3);
        mark->setGeometry(12 + k * 100, 58, 60, 20);
    }

    Frame4 = ui::MakePlaced<QGroupBox>(schemes, "Frame4", 10, 106, 355, 70);
    Frame4->setTitle(QStringLiteral("设置容错范围"));
    Label1 = ui::MakePlaced<QLabel>(Frame4, "Label1", 12, 30, 130, 24);
    Label1->setText(QStringLiteral("设置总容错范围："));
    Combo3 = ui::MakePlaced<QComboBox>(Frame4, "Combo3", 150, 28, 80, 26);
    Combo3->setEditable(true);  // the stored text comes back exactly, whatever it is
    Combo3->setInsertPolicy(QComboBox::NoInsert);
    for (int v = 0; v <= 10; ++v) Combo3->addItem(QString::number(v));

    Command1 = ui::MakePlaced<QPushButton>(this, "Command1", 190, 254, 90, 30);
    Command1->setText(QStringLiteral("确定"));
    Command2 = ui::MakePlaced<QPushButton>(this, "Command2", 295, 254, 90, 30);
    Command2->setText(QStringLiteral("取消"));
    connect(Command1, &QPushButton::clicked, this, &SettingsWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &SettingsWindow::Command2_Click);

    Form_Load();
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::Form_Load() {
    if (QWidget* main = parentWidget()) setWindowIcon(main->windowIcon());
    const common::AppState& app = state_;
    QStringList issues;
    issues.reserve(app.history.count());
    for (const QString& draw : app.history.draws()) issues.append(draw.left(7));
    Combo1->clear();
    Combo2->clear();
    Combo1->addItems(issues);
    Combo2->addItems(issues);
    Check1->setChecked(common::SettingUseAllDraws());
    Combo1->setCurrentIndex(app.rangeFirst() < issues.size() ? app.rangeFirst() : -1);
    Combo2->setCurrentIndex(app.rangeLast() < issues.size() ? app.rangeLast() : -1);
    Slider1->setValue(common::SettingSmartScheme());
    Combo3->setEditText(common::SettingToleranceRange());
    shownLotteryIsP3_ = app.lotteryIsP3();
    (shownLotteryIsP3_ ? Option2 : Option1)->setChecked(true);
    SSTab1->setCurrentIndex(0);
    SSTab1->setTabVisible(1, false);
}

void SettingsWindow::Command1_Click() {
    common::AppState& app = state_;
    // The range only matters when the analyses do not use every draw, and with fewer draws than
    // a range needs no choice could pass; in both cases the check would only make the lottery
    // and 分析所有开奖数据 unconfirmable. A range that fails the check then stays as it was.
    const bool rangeChoosable = app.history.count() > kMinRangeSpan;
    const bool rangeValid = rangeChoosable && Combo2->currentIndex() >= Combo1->currentIndex() + kMinRangeSpan;
    if (rangeChoosable && !rangeValid && !Check1->isChecked()) {
        ui::MsgBox(QStringLiteral("开奖期号设置范围太小,请重新设置。"), ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle,
                   this);
        Combo1->setCurrentIndex(0);
        return;
    }
    common::SaveUseAllDraws(Check1->isChecked());
    common::SaveSmartScheme(Slider1->value());
    if (rangeValid) app.setRange(Combo1->currentIndex(), Combo2->currentIndex());
    common::SaveToleranceRange(Combo3->currentText());
    if (Option1->isChecked() && shownLotteryIsP3_) switchLottery(false);
    if (Option2->isChecked() && !shownLotteryIsP3_) switchLottery(true);
    accept();
}

void SettingsWindow::Command2_Click() { reject(); }

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
