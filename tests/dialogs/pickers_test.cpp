#include "common/appstate.h"
#include "dialogs/pairpicker.h"
#include "dialogs/positiondigitpicker.h"
#include "fakeworkbench.h"
#include "platform/ui/messagebox.h"
#include "hookreset.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kAllDigits = QStringLiteral("0,1,2,3,4,5,6,7,8,9");

class PickerTest : public ::testing::Test {
protected:
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    common::AppState app;  // outlives the workbench and the pickers it owns
    FakeWorkbench bench{app};

    // Opens the picker the way the workbench does and lets fn act while it is "shown".
    void openPositionDigitPicker(const QStringList& tabs, int tab, const QString& caption, std::function<void(PositionDigitPicker*)> fn) {
        ui::SetModalHandler([&](QDialog* d) {
            d->show();
            fn(static_cast<PositionDigitPicker*>(d));
            return 0;
        });
        PositionDigitPicker::Open(bench, tabs, tab, caption);
    }
    static void press(QWidget* window, const char* name) {
        auto* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
    static void choosePreset(PositionDigitPicker* picker, int slot, int item) {
        auto* combo = picker->findChild<QComboBox*>(QStringLiteral("Combo%1").arg(slot + 1));
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(item);
        emit combo->activated(item);
    }
};

const QStringList kPositionTabs = {QStringLiteral("百位"), QStringLiteral("十位"), QStringLiteral("个位")};

TEST_F(PickerTest, PositionDigitPickerFirstConfirmWritesAllDigitsToThePositionalLists) {
    bench.text("Text12")->setText("1");
    openPositionDigitPicker(kPositionTabs, 0, QStringLiteral("定位选号"), [](PositionDigitPicker* p) {
        EXPECT_EQ(p->findChild<QTabWidget*>("SSTab1")->currentIndex(), 0);
        press(p, "Command1");
    });
    for (const char* name : {"Text12", "Text13", "Text14"}) EXPECT_EQ(bench.text(name)->text(), kAllDigits) << name;
    EXPECT_EQ(bench.text("Text2")->text(), QString());
}

TEST_F(PickerTest, PositionDigitPickerPresetsAndInvertPerTab) {
    openPositionDigitPicker(kPositionTabs, 1, QStringLiteral("定位选号"), [](PositionDigitPicker* p) {
        choosePreset(p, 0, 3);   // 奇数
        choosePreset(p, 1, 7);   // 质数
        press(p, "Command3");    // 反选 of the second tab
        choosePreset(p, 2, 2);   // 全清 through the third tab's list
        press(p, "Command1");
    });
    EXPECT_EQ(bench.text("Text12")->text(), QStringLiteral("1,3,5,7,9"));
    EXPECT_EQ(bench.text("Text13")->text(), QStringLiteral("0,4,6,8,9"));
    EXPECT_EQ(bench.text("Text14")->text(), QString());  // nothing ticked: empty list

    const struct {
        int item;
        const char* digits;
    } presets[] = {{4, "0,2,4,6,8"}, {5, "5,6,7,8,9"}, {6, "0,1,2,3,4"}, {8, "0,4,6,8,9"}, {0, "0,4,6,8,9"}};
    for (const auto& preset : presets) {
        openPositionDigitPicker(kPositionTabs, 0, QStringLiteral("定位选号"), [&](PositionDigitPicker* p) {
            press(p, "Command5");  // 反选 first, so the preset must untick first
            choosePreset(p, 0, 8);
            choosePreset(p, 0, preset.item);  // "选号" (0) leaves the ticks alone
            press(p, "Command1");
        });
        EXPECT_EQ(bench.text("Text12")->text(), QString::fromUtf8(preset.digits)) << preset.item;
    }
}

TEST_F(PickerTest, PositionDigitPickerFuzzyRoleWritesAllThreeFuzzyBoxesAndSharesTicks) {
    const QStringList fuzzyTabs = {QStringLiteral("热"), QStringLiteral("温"), QStringLiteral("冷")};
    openPositionDigitPicker(fuzzyTabs, 1, QStringLiteral("模糊过滤"), [](PositionDigitPicker* p) {
        EXPECT_EQ(p->findChild<QTabWidget*>("SSTab1")->tabText(1), QStringLiteral("温"));
        press(p, "Command4");  // 全清 of the first tab
        p->box(0, 2)->setChecked(true);
        press(p, "Command1");
    });
    EXPECT_EQ(bench.text("Text2")->text(), QStringLiteral("2"));
    EXPECT_EQ(bench.text("Text3")->text(), kAllDigits);
    EXPECT_EQ(bench.text("Text4")->text(), kAllDigits);
    EXPECT_EQ(bench.text("Text12")->text(), kAllDigits);  // untouched

    // The positional role sees the ticks left by the fuzzy confirm.
    openPositionDigitPicker(kPositionTabs, 0, QStringLiteral("定位选号"), [](PositionDigitPicker* p) { press(p, "Command1"); });
    EXPECT_EQ(bench.text("Text12")->text(), QStringLiteral("2"));
}

TEST_F(PickerTest, PositionDigitPickerCloseBoxDiscardsTheTicks) {
    openPositionDigitPicker(kPositionTabs, 0, QStringLiteral("定位选号"), [](PositionDigitPicker* p) {
        press(p, "Command4");
        p->close();
    });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(bench.text("Text12")->text(), kAllDigits);  // nothing sent
    openPositionDigitPicker(kPositionTabs, 0, QStringLiteral("定位选号"), [](PositionDigitPicker* p) { press(p, "Command1"); });
    EXPECT_EQ(bench.text("Text12")->text(), kAllDigits);  // fresh picker: all ticked
}

TEST_F(PickerTest, PairPickerWritesTickedCodesInBoxOrder) {
    PairPicker* picker = PairPicker::instance(bench);
    EXPECT_EQ(picker->windowTitle(), QStringLiteral("二码处理"));
    const QStringList codes = PairPicker::Codes();
    ASSERT_EQ(codes.size(), 55);
    for (int k = 0; k < 55; ++k) {
        QCheckBox* box = picker->findChild<QCheckBox*>(dialogs::ArrayName("Check1", k));
        ASSERT_NE(box, nullptr) << k;
        EXPECT_EQ(box->text(), codes[k]);
        EXPECT_FALSE(box->isChecked());
    }
    // Five boxes a row: "05" opens the second row, "99" ends the eleventh.
    EXPECT_EQ(picker->box(5)->pos(), QPoint(240 / 15, 480 / 15));
    EXPECT_EQ(picker->box(4)->pos(), QPoint(2700 / 15, 180 / 15));
    EXPECT_EQ(picker->box(54)->pos().y(), 3180 / 15);

    bench.text("Text1")->setText("33");
    picker->box(codes.indexOf("99"))->setChecked(true);
    picker->box(codes.indexOf("01"))->setChecked(true);
    picker->box(codes.indexOf("12"))->setChecked(true);
    press(picker, "Command4");
    EXPECT_EQ(bench.text("Text1")->text(), QStringLiteral("01,12,99"));

    press(picker, "Command3");  // 全清
    press(picker, "Command4");
    EXPECT_EQ(bench.text("Text1")->text(), QString());

    press(picker, "Command2");  // 反选
    press(picker, "Command4");
    EXPECT_EQ(bench.text("Text1")->text(), codes.join(','));
}

TEST_F(PickerTest, PairPickerCloseHidesAndKeepsTicksUnlessQuitting) {
    PairPicker* picker = PairPicker::instance(bench);
    picker->show();
    picker->box(3)->setChecked(true);
    picker->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(PairPicker::instance(bench), picker);
    EXPECT_FALSE(picker->isVisible());
    EXPECT_TRUE(picker->box(3)->isChecked());

    app.setQuitting(true);
    picker->show();
    picker->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    app.setQuitting(false);
    EXPECT_FALSE(PairPicker::instance(bench)->box(3)->isChecked());  // unloaded: a fresh picker
}

}  // namespace
