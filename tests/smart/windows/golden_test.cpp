// The smart windows on the real 福彩3D history and the shipped scheme list, recorded once from a
// known-good build: the result line of 确定, the rows and hits of the history verification and
// of the older selection's verification for a few settings. However the windows or the
// calculator get faster, these must stay exactly as they are.
#include "programsmartcontext.h"
#include "presses.h"
#include "common/appstate.h"
#include "hookreset.h"
#include "platform/ui/messagebox.h"
#include "smart/windows/historyverificationwindow.h"
#include "smart/windows/olderselectionverificationwindow.h"
#include "smart/windows/olderselectionwindow.h"
#include "smart/windows/smartsystemwindow.h"
#include "testsupport.h"
#include "realhistory.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSlider>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

QString TextSha1(const QString& text) {
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex());
}

// The smart window's options by their items: 设置杀胆个数, 生成号码类型, 过滤和值个数.
struct SmartOptions {
    int killCount, baseType, sumCount;
};

void SetOptions(SmartSystemWindow& w, const SmartOptions& o) {
    w.findChild<QComboBox*>(QStringLiteral("Combo3"))->setCurrentIndex(o.killCount);
    w.findChild<QComboBox*>(QStringLiteral("Combo2"))->setCurrentIndex(o.baseType);
    w.findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(o.sumCount);
}

}  // namespace

TEST(SmartWindowsGolden, SmartRunOnTheRealHistory) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    smartwin::RealHistoryFixture f;
    ASSERT_TRUE(f.ok);
    const struct {
        SmartOptions options;
        const char* line;
    } cases[] = {
        {{0, 0, 0}, "福彩3D第2026268期  方案一杀码6 方案二杀码2 方案三杀码9 方案四杀码4"},
        {{2, 1, 2}, "福彩3D第2026268期  方案一杀码629 方案二杀码294 方案三杀码694 方案四杀码624"},
    };
    SmartSystemWindow w(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    for (const auto& c : cases) {
        SetOptions(w, c.options);
        ui::MessageRecorder messages(ui::Answer::Yes);
        testsupport::Press(&w, QStringLiteral("Command2"));
        ASSERT_EQ(messages.messages.size(), 2) << messages.lastText().toStdString();
        EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Label14"))->text(), QString::fromUtf8(c.line));
    }
}

TEST(SmartWindowsGolden, HistoryVerificationOnTheRealHistory) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    smartwin::RealHistoryFixture f;
    ASSERT_TRUE(f.ok);
    const struct {
        SmartOptions options;
        int periods;
        const char* rowsSha1;
        const char* summary;
    } cases[] = {
        {{0, 0, 0}, 12, "dbecccd88f8a76d0086ddb6fd9edb90ed99facfd", "方案一中4次 方案二中9次 方案三中9次 方案四中11次 "},
        {{1, 2, 1}, 5, "fb93cbfbf5cb01f54340299bfe648af676678efe", "方案一中0次 方案二中1次 方案三中1次 方案四中1次 "},
        {{2, 1, 3}, 7, "813f49b9595a381959f85fbd807c7ad2a0499832", "方案一中1次 方案二中1次 方案三中1次 方案四中1次 "},
        {{0, 0, 0}, 300, "9b16559b6f608fe44fd13828c72ee52e72107a84", "方案一中194次 方案二中203次 方案三中218次 方案四中227次 "},
    };
    SmartSystemWindow smartWindow(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    for (const auto& c : cases) {
        SetOptions(smartWindow, c.options);
        HistoryVerificationWindow w(&smartWindow);
        w.findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(c.periods - 1);
        ui::MessageRecorder messages(ui::Answer::Yes);
        testsupport::Press(&w, QStringLiteral("Command2"));
        ASSERT_EQ(messages.lastText(), QStringLiteral("历史成绩验证完成！"));
        EXPECT_EQ(TextSha1(w.tableText()), QString::fromUtf8(c.rowsSha1)) << w.tableText().toStdString();
        EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QString::fromUtf8(c.summary));
    }
}

TEST(SmartWindowsGolden, OlderSelectionVerificationOnTheRealHistory) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    smartwin::RealHistoryFixture f;
    ASSERT_TRUE(f.ok);
    const struct {
        int baseType, sumCount, scheme;
        const char* rowsSha1;
        const char* summary;
    } cases[] = {
        {0, 0, 0, "32afb4497ab54b7c31a0fcf89ce7882d0fe2e776", "最近100期组六共开出69次,智能中25次。"},
        {1, 2, 1, "b391b753d17aad4554936a473e7b3ad6ae4849c2", "最近100期组三共开出31次,智能中16次。"},
        {0, 3, 2, "5c4aaede931a37426c3797b7b60d1860a4939184", "最近100期组六共开出69次,智能中42次。"},
    };
    for (const auto& c : cases) {
        OlderSmartSelection selection(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
        selection.findChild<QComboBox*>(QStringLiteral("Combo2"))->setCurrentIndex(c.baseType);
        selection.findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(c.sumCount);
        selection.findChild<QSlider*>(QStringLiteral("Slider1"))->setValue(c.scheme);
        OlderSelectionVerification w(&selection);
        const QTreeWidget* list = w.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
        QString rows;
        for (int r = 0; r < list->topLevelItemCount(); ++r)
            for (int col = 0; col < 5; ++col) rows += list->topLevelItem(r)->text(col) + QLatin1Char(col < 4 ? '|' : '\n');
        EXPECT_EQ(list->topLevelItemCount(), 100);
        EXPECT_EQ(TextSha1(rows), QString::fromUtf8(c.rowsSha1)) << rows.toStdString();
        EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QString::fromUtf8(c.summary));
    }
}
