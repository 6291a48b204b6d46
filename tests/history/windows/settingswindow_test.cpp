#include "common/settings.h"
#include "fixture.h"
#include "history/windows/settingswindow.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/trayicon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

using namespace historywindows_test;

namespace historywindows_test {

class Settings : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        load(MakeDraws(300), MakeDraws(50, 1, 2023));
    }
    static QString Stored(const char* key) { return common::GetSetting(QString::fromLatin1(key)); }
    // The window's controls, by objectName.
    static QTabWidget* SSTab1(const QWidget& f) { return Control<QTabWidget>(f, "SSTab1"); }
    static QComboBox* Combo1(const QWidget& f) { return Control<QComboBox>(f, "Combo1"); }  // the range's first draw
    static QComboBox* Combo2(const QWidget& f) { return Control<QComboBox>(f, "Combo2"); }  // the range's last draw
    static QComboBox* Combo3(const QWidget& f) { return Control<QComboBox>(f, "Combo3"); }  // 设置总容错范围
    static QCheckBox* Check1(const QWidget& f) { return Control<QCheckBox>(f, "Check1"); }  // 分析所有开奖数据
    static QRadioButton* Option1(const QWidget& f) { return Control<QRadioButton>(f, "Option1"); }  // 全国福彩3D
    static QRadioButton* Option2(const QWidget& f) { return Control<QRadioButton>(f, "Option2"); }  // 体彩排列三
    static QSlider* Slider1(const QWidget& f) { return Control<QSlider>(f, "Slider1"); }
    static QPushButton* Command1(const QWidget& f) { return Control<QPushButton>(f, "Command1"); }  // 确定
    static QPushButton* Command2(const QWidget& f) { return Control<QPushButton>(f, "Command2"); }  // 取消
};

}  // namespace historywindows_test

TEST_F(Settings, ShowsTheSharedValues) {
    common::SaveUseAllDraws(false);
    common::SaveSmartScheme(2);
    common::SaveToleranceRange(QStringLiteral("7"));
    SettingsWindow f(app);
    EXPECT_EQ(f.windowTitle(), "系统设置");
    ASSERT_EQ(Combo1(f)->count(), 300);
    ASSERT_EQ(Combo2(f)->count(), 300);
    EXPECT_EQ(Combo1(f)->itemText(0), "2024001");
    EXPECT_EQ(Combo1(f)->currentIndex(), 199);  // the default range: the last 101 draws
    EXPECT_EQ(Combo2(f)->currentIndex(), 299);
    EXPECT_FALSE(Check1(f)->isChecked());
    EXPECT_EQ(Slider1(f)->value(), 2);
    EXPECT_EQ(Combo3(f)->currentText(), "7");
    EXPECT_EQ(Combo3(f)->count(), 11);
    EXPECT_TRUE(Option1(f)->isChecked());
    EXPECT_FALSE(Option2(f)->isChecked());
    EXPECT_EQ(SSTab1(f)->currentIndex(), 0);
    EXPECT_EQ(SSTab1(f)->tabText(0), "通用");
    EXPECT_FALSE(SSTab1(f)->isTabVisible(1));
}

TEST_F(Settings, RangeOfFewerThanElevenDrawsIsRefused) {
    struct Case {
        int first, last;
        bool accepted;
    } cases[] = {{5, 15, true}, {5, 14, false}, {20, 10, false}, {0, 299, true}, {289, 299, true}, {290, 299, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << ".." << c.last);
        SetUp();  // a fresh start for each case
        ui::MessageRecorder messages;
        SettingsWindow f(app);
        Check1(f)->setChecked(false);
        Combo1(f)->setCurrentIndex(c.first);
        Combo2(f)->setCurrentIndex(c.last);
        Command1(f)->click();
        if (c.accepted) {
            EXPECT_EQ(f.result(), QDialog::Accepted);
            EXPECT_TRUE(messages.messages.isEmpty());
            EXPECT_EQ(app.rangeFirst(), c.first);
            EXPECT_EQ(app.rangeLast(), c.last);
            EXPECT_EQ(app.analysisFirst(), c.first);  // kj off: the analyses use the range
            EXPECT_EQ(app.analysisLast(), c.last);
        } else {
            EXPECT_EQ(f.result(), QDialog::Rejected);  // still open, nothing decided
            ASSERT_EQ(messages.messages.size(), 1);
            EXPECT_EQ(messages.messages[0].text, "开奖期号设置范围太小,请重新设置。");
            EXPECT_EQ(messages.messages[0].icon, ui::Icon::Warning);
            EXPECT_EQ(messages.messages[0].title, "Sifmora");
            EXPECT_EQ(Combo1(f)->currentIndex(), 0);
            EXPECT_EQ(app.rangeFirst(), 199);
            EXPECT_FALSE(common::HasSetting("kj"));
            EXPECT_TRUE(common::SettingUseAllDraws());
        }
    }
}

TEST_F(Settings, ConfirmStoresEverySettingAndCancelNone) {
    common::SaveSmartScheme(3);
    common::SaveToleranceRange(QStringLiteral("4"));
    {
        SettingsWindow f(app);
        Check1(f)->setChecked(false);
        Command2(f)->click();
        EXPECT_EQ(f.result(), QDialog::Rejected);
        EXPECT_FALSE(common::HasSetting("kj"));
        EXPECT_TRUE(common::SettingUseAllDraws());
    }
    SettingsWindow f(app);
    Check1(f)->setChecked(false);
    Command1(f)->click();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(Stored("kj"), "0");
    EXPECT_EQ(Stored("zl"), "3");  // the hidden tab's values, saved back as loaded
    EXPECT_EQ(Stored("rc"), "4");
    EXPECT_FALSE(common::HasSetting("fclx"));  // the lottery did not change
    EXPECT_FALSE(common::SettingUseAllDraws());

    SettingsWindow again(app);
    EXPECT_FALSE(Check1(again)->isChecked());
    Check1(again)->setChecked(true);
    Command1(again)->click();
    EXPECT_EQ(Stored("kj"), "1");
    EXPECT_TRUE(common::SettingUseAllDraws());
    EXPECT_EQ(app.analysisFirst(), 0);
    EXPECT_EQ(app.analysisLast(), 299);
}

TEST_F(Settings, LotterySwitchOnlyWhenChanged) {
    int fc3d = 0, p3 = 0;
    auto open = [&](bool chooseP3) {
        SettingsWindow f(app);
        f.hooks.selectFc3d = [&] { ++fc3d; };
        f.hooks.selectP3 = [&] { ++p3; };
        (chooseP3 ? Option2(f) : Option1(f))->setChecked(true);
        Command1(f)->click();
        EXPECT_EQ(f.result(), QDialog::Accepted);
    };
    open(false);
    EXPECT_EQ(fc3d + p3, 0);
    open(true);
    EXPECT_EQ(p3, 1);
    EXPECT_EQ(fc3d, 0);
    history::SelectLottery(app, true);  // what the main window's switch did
    open(true);
    EXPECT_EQ(p3, 1);
    open(false);
    EXPECT_EQ(fc3d, 1);
}

TEST_F(Settings, SwitchWithoutTheMainWindowReloadsAndResetsTheRange) {
    SettingsWindow f(app);
    Combo1(f)->setCurrentIndex(10);
    Combo2(f)->setCurrentIndex(40);
    Option2(f)->setChecked(true);
    Command1(f)->click();
    EXPECT_EQ(Stored("fclx"), "1");
    EXPECT_TRUE(app.lotteryIsP3());
    EXPECT_EQ(app.history().count(), 50);
    EXPECT_EQ(app.history().at(1), "2023001 100");
    // The range chosen together with the switch gives way to the new history's default.
    EXPECT_EQ(app.rangeFirst(), 0);
    EXPECT_EQ(app.rangeLast(), 49);
}

TEST_F(Settings, FewDrawsStillLetTheLotteryAndKjBeConfirmed) {
    load(MakeDraws(4), MakeDraws(50, 1, 2023));
    {
        SettingsWindow f(app);
        EXPECT_EQ(Combo1(f)->count(), 4);
        Check1(f)->setChecked(false);
        Command1(f)->click();
        EXPECT_EQ(f.result(), QDialog::Accepted);
        EXPECT_EQ(Stored("kj"), "0");
        EXPECT_EQ(app.rangeFirst(), 0);
        EXPECT_EQ(app.rangeLast(), 3);
    }
    load({}, MakeDraws(50, 1, 2023));
    ui::MessageRecorder messages;
    SettingsWindow f(app);
    EXPECT_EQ(Combo1(f)->count(), 0);
    Option2(f)->setChecked(true);
    Command1(f)->click();
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(app.lotteryIsP3());
    EXPECT_EQ(app.history().count(), 50);
}

// 分析所有开奖数据 ticked: the range is not used, so a short one never blocks 确定 (real history).
TEST_F(Settings, AllDrawsTickedConfirmsWhateverTheRange) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    ASSERT_TRUE(dir.copyShared("data/HAO.TXT", "HAO.TXT"));
    ASSERT_TRUE(history::ReloadCurrentLottery(app));
    const int n = app.history().count();
    ASSERT_GT(n, 300);
    common::SaveSmartScheme(2);
    common::SaveToleranceRange(QStringLiteral("3"));
    struct Case {
        int first, last;
        bool rangeKept;  // a valid range is still taken over
    } cases[] = {{5, 14, false}, {20, 10, false}, {5, 15, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << ".." << c.last);
        const int oldFirst = app.rangeFirst(), oldLast = app.rangeLast();
        ui::MessageRecorder messages;
        SettingsWindow f(app);
        Check1(f)->setChecked(true);
        Combo1(f)->setCurrentIndex(c.first);
        Combo2(f)->setCurrentIndex(c.last);
        Command1(f)->click();
        EXPECT_EQ(f.result(), QDialog::Accepted);
        EXPECT_TRUE(messages.messages.isEmpty());
        EXPECT_EQ(Stored("kj"), "1");
        EXPECT_EQ(Stored("zl"), "2");
        EXPECT_EQ(Stored("rc"), "3");
        EXPECT_TRUE(common::SettingUseAllDraws());
        EXPECT_EQ(app.analysisFirst(), 0);
        EXPECT_EQ(app.analysisLast(), n - 1);
        EXPECT_EQ(app.rangeFirst(), c.rangeKept ? c.first : oldFirst);
        EXPECT_EQ(app.rangeLast(), c.rangeKept ? c.last : oldLast);
    }
}

// The main window's menu item: the switch runs through the main window's own operation.
TEST_F(Settings, MainWindowSwitchesThroughItsOwnOperation) {
    MainWindow main(app);
    main.quitOnClose = false;
    main.start();
    main.openers().settings = [this, &main](QWidget* parent) {
        history::OpenSettings(parent, app, [&main](bool toP3) { main.switchLottery(toP3); });
    };
    bool trayDuring = true;
    ui::SetModalHandler([&](QDialog* d) {
        auto* f = qobject_cast<SettingsWindow*>(d);
        EXPECT_NE(f, nullptr);
        EXPECT_EQ(f->parentWidget(), &main);
        trayDuring = main.tray()->toggleEnabled();
        Option2(*f)->setChecked(true);
        Command1(*f)->click();
        return f->result();
    });
    main.run(mainwindow::Command::Settings);
    EXPECT_FALSE(trayDuring);
    EXPECT_TRUE(main.tray()->toggleEnabled());
    EXPECT_TRUE(app.lotteryIsP3());
    EXPECT_EQ(main.findChild<QLabel*>("Label3", Qt::FindDirectChildrenOnly)->text(), "体彩排列3");
    EXPECT_EQ(app.history().count(), 50);
    // The switch rebuilt the history list.
    EXPECT_EQ(main.findChild<QLabel*>("Label1", Qt::FindDirectChildrenOnly)->text(), ".体彩排列3共开奖50期");
}
