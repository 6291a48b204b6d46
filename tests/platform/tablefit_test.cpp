// Tables sized to their room from the font's glyph widths, the check that finds a cut column,
// and message boxes wide enough for their titles.
#include "hookreset.h"
#include "legibility.h"
#include "platform/ui/columnfit.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/tablefont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cmath>

namespace {

QStringList InstalledTableFamilies() {
    QStringList families;
    for (const QString& f : {QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("WenQuanYi Micro Hei Mono")})
        if (QFontDatabase::hasFamily(f)) families << f;
    return families;
}

QTreeWidget* MakeList(QWidget* parent, int width) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("ListView1"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("开奖期号"), QStringLiteral("开奖号"), QStringLiteral("方案1"), QStringLiteral("备注")});
    list->setGeometry(0, 0, width, 200);
    for (int r = 0; r < 30; ++r) {
        auto* row = new QTreeWidgetItem(list);
        const QStringList cells{QStringLiteral("2026267"), QStringLiteral("222"), QStringLiteral("杀码123|正确"),
                                r % 2 ? QStringLiteral("本期开组三") : QString()};
        for (int c = 0; c < cells.size(); ++c) row->setText(c, cells[c]);
    }
    return list;
}

}  // namespace

// The default column widths cut the remark; fitted, every column shows whole, the room left over
// is shared in proportion and the columns fill the list.
TEST(TableFitTest, ListColumnsFitTheirWidestTextAndTheCheckFindsACutColumn) {
    QWidget window;
    window.resize(420, 220);
    QTreeWidget* list = MakeList(&window, 420);
    for (int c = 0; c < 4; ++c) list->header()->resizeSection(c, 110);
    const QStringList cut = testsupport::LegibilityProblems(&window);
    ASSERT_FALSE(cut.isEmpty());
    EXPECT_TRUE(cut.join(QLatin1Char('\n')).contains(QStringLiteral("备注"))) << cut.join(QLatin1Char('\n')).toStdString();

    ui::FitColumns(list, {{QStringLiteral("0000000")}, {QStringLiteral("000")}, {QStringLiteral("杀码000|正确")},
                          {QStringLiteral("本期开组三")}});
    EXPECT_EQ(testsupport::LegibilityProblems(&window), QStringList());
    EXPECT_LE(list->header()->length(), list->viewport()->width());
    EXPECT_GE(list->header()->length(), list->viewport()->width() - 4);
    EXPECT_GT(list->header()->sectionSize(2), list->header()->sectionSize(1));

    // A list too narrow for its columns keeps each column whole and is reported as scrolling.
    list->resize(200, list->height());
    ui::FitColumns(list, {{QStringLiteral("0000000")}, {QStringLiteral("000")}, {QStringLiteral("杀码000|正确")},
                          {QStringLiteral("本期开组三")}});
    const QStringList scrolls = testsupport::LegibilityProblems(&window);
    ASSERT_EQ(scrolls.size(), 1);
    EXPECT_TRUE(scrolls[0].contains(QStringLiteral("被切掉"))) << scrolls[0].toStdString();
}

// A table shown as unwrapped text: too wide at the design size, it fits at the size chosen for
// it, in each installed table font, and its columns line up on the font's grid whatever the
// widths of "■" and the CJK glyphs; the check finds the cut line.
TEST(TableFitTest, TextTableTakesTheLargestSizeThatShowsEveryColumnOnAGrid) {
    const QStringList families = InstalledTableFamilies();
    if (families.isEmpty()) GTEST_SKIP() << "no CJK fixed-pitch font installed";
    const QString line = QStringLiteral("2026267 857  \u3000 20    3     221    3      木土火   大大大   ■质质   奇■奇   ■■");
    const QString other = QStringLiteral("2026268 123  \u3000 6     2     120    1      金金金   ■■■   质质■   ■奇■   组三");
    const QString table = (line + QLatin1Char('\n') + other + QLatin1Char('\n')).repeated(20);
    testsupport::HookReset<&ui::SetPreferredTableFamily> familyReset;
    for (const QString& family : families) {
        SCOPED_TRACE(family.toStdString());
        ui::SetPreferredTableFamily(family);
        QWidget window;
        window.resize(440, 300);
        auto* text = new QPlainTextEdit(&window);
        text->setObjectName(QStringLiteral("Text1"));
        text->setGeometry(0, 0, 440, 300);
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
        auto* grid = new ui::TableGrid(text->document());
        text->setFont(ui::TableFont());
        grid->setFont(ui::TableFont());
        text->setPlainText(table);
        const QStringList cut = testsupport::LegibilityProblems(&window);
        ASSERT_EQ(cut.size(), 1);
        EXPECT_TRUE(cut[0].startsWith(QStringLiteral("Text1: 第1行"))) << cut[0].toStdString();

        int room = text->viewport()->width() - 2 * int(text->document()->documentMargin());
        QFont fitted = ui::FontFittingLines(ui::TableFont(), table, room);
        if (ui::GridWidth(fitted, line) > room) {
            // Not even the smallest legible size holds it here (WenQuanYi's grid is the
            // wider): a wider text, that the size does hold.
            EXPECT_EQ(fitted.pixelSize(), 10);
            const int more = int(std::ceil(ui::GridWidth(fitted, line))) - room + 1;
            text->resize(text->width() + more, text->height());
            window.resize(window.width() + more, window.height());
            room += more;
            fitted = ui::FontFittingLines(ui::TableFont(), table, room);
        }
        EXPECT_LE(ui::GridWidth(fitted, line), room);
        // The largest size that fits: the next size up does not, even drawn closest.
        QFont larger = fitted;
        larger.setPixelSize(fitted.pixelSize() + 1);
        larger.setLetterSpacing(QFont::AbsoluteSpacing, -0.5);
        EXPECT_GT(ui::GridWidth(larger, line), room);
        text->setFont(fitted);
        grid->setFont(fitted);
        EXPECT_EQ(testsupport::LegibilityProblems(&window), QStringList());

        // Each column starts at the same place on both lines.
        window.show();
        QApplication::processEvents();
        const QTextLayout* first = text->document()->firstBlock().layout();
        const QTextLayout* second = text->document()->firstBlock().next().layout();
        ASSERT_TRUE(first->lineCount() > 0 && second->lineCount() > 0);
        for (const QString& column : {QStringLiteral("大大大"), QStringLiteral("■质质"), QStringLiteral("奇■奇"), QStringLiteral("■■")}) {
            SCOPED_TRACE(column.toStdString());
            const int at = int(line.indexOf(column));
            EXPECT_NEAR(first->lineAt(0).cursorToX(at), second->lineAt(0).cursorToX(at), 0.5);
        }
        EXPECT_NEAR(first->lineAt(0).naturalTextWidth(), ui::GridWidth(fitted, line), 1.0);

        // Too narrow for any legible size: 10 px stays, and the table scrolls sideways.
        const QFont floor = ui::FontFittingLines(ui::TableFont(), table, room / 3);
        EXPECT_EQ(floor.pixelSize(), 10);
        EXPECT_GT(ui::GridWidth(floor, line), room / 3);
    }
}

// A short text under a long title: the box grows to hold the whole title beside the frame's
// icon and buttons.
TEST(TableFitTest, MessageBoxIsWideEnoughForItsTitle) {
    const QString title = QStringLiteral("万能条件(公式)过滤");
    QMessageBox box(QMessageBox::Information, title, QStringLiteral("好"), QMessageBox::Ok);
    const int before = box.sizeHint().width();
    ui::MakeRoomForTitle(box);
    box.show();
    QApplication::processEvents();
    QFont bold = QApplication::font("QMdiSubWindowTitleBar");
    bold.setBold(true);
    EXPECT_GE(box.width(), QFontMetrics(bold).horizontalAdvance(title) + 120);
    EXPECT_GT(box.width(), before);
    box.hide();

    // Through the shared routine, shown for real: closed from outside, the answer is OK.
    int seen = 0;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* shown = qobject_cast<QMessageBox*>(w); shown && shown->isVisible()) {
                seen = shown->width();
                shown->accept();
            }
    });
    EXPECT_EQ(ui::MsgBox(QStringLiteral("好"), ui::Icon::Information, ui::Buttons::Ok, title), ui::Answer::Ok);
    EXPECT_GE(seen, QFontMetrics(bold).horizontalAdvance(title) + 120);
}
