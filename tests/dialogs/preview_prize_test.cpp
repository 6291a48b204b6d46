// Number preview (bet text, attribute cells, taking numbers back) and prize check (bet files,
// straight and group hits, bet folder, folder chooser).
#include "common/appstate.h"
#include "historyof.h"
#include "common/digitomission.h"
#include "common/numbertables.h"
#include "common/paths.h"
#include "common/settings.h"
#include "common/textcodec.h"
#include "dialogs/numberpreviewwindow.h"
#include "dialogs/prizecheckwindow.h"
#include "dialogs/betfolderchooser.h"
#include "dialogs/numberpreview.h"
#include "dialogs/prizecheck.h"
#include "fakeworkbench.h"
#include "platform/ui/messagebox.h"
#include "hookreset.h"
#include "presses.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

common::DrawHistory PreviewHistory(const QStringList& numbers) {
    return testsupport::HistoryOf(numbers, QStringLiteral("2025"));
}

void Press(QWidget* window, const char* name) {
    auto* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

// Each test has a state of its own, 福彩3D over two draws, and no bet folder saved.
class PreviewPrizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.selectLottery(false, common::DrawFilePathFor(false), PreviewHistory({"456", "123"}));
        common::SaveSetting(QStringLiteral("path"), QString());
    }
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    void TearDown() override {
        common::SaveSetting(QStringLiteral("path"), QString());
    }
    // Lets fn act on the window while the opener "shows" it modally.
    template <class W>
    void whileShown(std::function<void(W*)> fn) {
        ui::SetModalHandler([fn](QDialog* d) {
            auto* w = qobject_cast<W*>(d);
            EXPECT_NE(w, nullptr);
            if (w) fn(w);
            return 0;
        });
    }
    QString logTail() { return bench.session().log.text().mid(pool::WorkbenchLog::InitialText().size()); }

    common::AppState app;  // outlives the workbench and the windows it owns
    FakeWorkbench bench{app};
    ui::MessageRecorder messages;
};

// ---- Preview: plain logic ----------------------------------------------------------------

TEST(NumberPreviewLogic, BetTextIsExact) {
    EXPECT_EQ(dialogs::BuildBetText({"001", "123", "999"}, false, QStringLiteral("https://sifmora.example")),
              QStringLiteral("Sifmora https://sifmora.example") + kCrLf + QStringLiteral("投注类型：全国福彩3D") + kCrLf +
                  QStringLiteral("投注数量：3 注") + kCrLf + QStringLiteral("001  123  999  "));
    // No numbers: the text ends after the count line; no address: no blank after the name.
    EXPECT_EQ(dialogs::BuildBetText({}, true, QString()),
              QStringLiteral("Sifmora") + kCrLf + QStringLiteral("投注类型：体彩排列三") + kCrLf +
                  QStringLiteral("投注数量：0 注") + kCrLf);
    EXPECT_EQ(dialogs::BetTextForClipboard(QStringLiteral("  Sifmora\n投注数量：1 注\n001  ")),
              QStringLiteral("Sifmora\r\n投注数量：1 注\r\n001"));
}

TEST(NumberPreviewLogic, CellsShowTheAttributesOfEachNumber) {
    const common::DigitOmissionTable none = common::DigitOmissionTable::Count(common::DrawHistory());
    struct Case { const char* number; QStringList cells; } cases[] = {
        {"112", {"112", "04", "1", "00", "112", "■■■", "质质质", "奇奇■", "组三"}},
        {"579", {"579", "21", "4", "00", "210", "大大大", "质质■", "奇奇奇", "■■"}},
        {"501", {"501", "06", "5", "00", "201", "大■■", "质■质", "奇■奇", "■■"}},
        {"000", {"000", "00", "0", "00", "000", "■■■", "■■■", "■■■", "组三"}},
    };
    for (const Case& c : cases) EXPECT_EQ(dialogs::PreviewCells(c.number, none), c.cells) << c.number;
    EXPECT_EQ(dialogs::PreviewColumns().size(), 9);
}

TEST(NumberPreviewLogic, OmissionCountsDrawsSinceEachDigitCame) {
    // Newest 123, before it 456, before that 789.
    const auto table = common::DigitOmissionTable::Count(PreviewHistory({"789", "456", "123"}));
    EXPECT_EQ(table.straightSum("123"), 0);
    EXPECT_EQ(table.straightSum("456"), 3);  // each digit came at its place one draw before
    EXPECT_EQ(table.straightSum("789"), 6);
    EXPECT_EQ(table.straightSum("000"), 9);  // 0 never came: the number of draws each
    EXPECT_EQ(table.straightSum("321"), 3 + 0 + 3);  // 3 never at 百位, 1 never at 个位
    EXPECT_EQ(table.groupSum("321"), 0);
    EXPECT_EQ(table.groupSum("640"), 1 + 1 + 3);
    EXPECT_EQ(dialogs::PreviewCells("456", table).at(3), QStringLiteral("03"));
    EXPECT_EQ(dialogs::PreviewCells("000", table).at(3), QStringLiteral("09"));
}

// ---- Preview window ----------------------------------------------------------------------

TEST_F(PreviewPrizeTest, PreviewListsEveryNumberTickedWithTheBetText) {
    bench.session().pool = common::GroupTable();
    NumberPreviewWindow preview(bench, app);
    ASSERT_EQ(preview.rowCount(), 220);
    for (int r = 0; r < 220; ++r) ASSERT_TRUE(preview.isTicked(r)) << r;
    const QString text = preview.findChild<QPlainTextEdit*>("Text1")->toPlainText();
    const QStringList lines = text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1], QStringLiteral("投注类型：全国福彩3D"));
    EXPECT_EQ(lines[2], QStringLiteral("投注数量：220 注"));
    EXPECT_EQ(lines[3], common::GroupTable().join(QStringLiteral("  ")) + QStringLiteral("  "));
    // Omission of the newest draw 123 is 00, of 456 (the draw before) 03.
    const int row123 = int(common::GroupTable().indexOf("123"));
    const int row456 = int(common::GroupTable().indexOf("456"));
    EXPECT_EQ(preview.cell(row123, 3), QStringLiteral("00"));
    EXPECT_EQ(preview.cell(row456, 3), QStringLiteral("03"));
    EXPECT_EQ(preview.cell(row123, 8), QStringLiteral("■■"));
}

TEST_F(PreviewPrizeTest, TickingByTheUserRebuildsTheTextButClearAndInvertDoNot) {
    bench.session().pool = {"001", "005", "123"};
    app.selectLottery(true, common::DrawFilePathFor(true), app.history());
    NumberPreviewWindow preview(bench, app);
    auto* text = preview.findChild<QPlainTextEdit*>("Text1");
    auto* list = preview.findChild<QTreeView*>("ListView1");
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("投注类型：体彩排列三")));
    // The tick box of the second row, as a mouse click sets it.
    list->model()->setData(list->model()->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_TRUE(text->toPlainText().endsWith(QStringLiteral("投注数量：2 注\n001  123  "))) << text->toPlainText().toStdString();

    testsupport::Trigger(&preview, QStringLiteral("quanqin"));  // 全清: ticks gone, text unchanged until the next build
    EXPECT_TRUE(preview.tickedNumbers().isEmpty());
    EXPECT_TRUE(text->toPlainText().endsWith(QStringLiteral("001  123  ")));
    testsupport::Trigger(&preview, QStringLiteral("fangxuan01"));  // 反选
    EXPECT_EQ(preview.tickedNumbers(), (QStringList{"001", "005", "123"}));
    Press(&preview, "Command5");
    Press(&preview, "Command4");
    EXPECT_TRUE(text->toPlainText().endsWith(QStringLiteral("投注数量：0 注\n"))) << text->toPlainText().toStdString();
}

TEST_F(PreviewPrizeTest, CopyPutsTheTextWithoutTheTrailingBlanks) {
    bench.session().pool = {"001", "123"};
    NumberPreviewWindow preview(bench, app);
    testsupport::Trigger(&preview, QStringLiteral("copyjg"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              dialogs::BuildBetText({"001", "123"}, false, common::HomeUrl()).chopped(2));
}

TEST_F(PreviewPrizeTest, ConfirmAfterSortingTakesTheTickedNumbersSorted) {
    app.setHistory(PreviewHistory({"005", "999"}));
    bench.session().pool = {"999", "005", "001", "123"};
    bench.session().setDescription = QStringLiteral("大底采集");
    whileShown<NumberPreviewWindow>([](NumberPreviewWindow* preview) {
        emit preview->findChild<QTreeView*>("ListView1")->header()->sectionClicked(3);  // 遗漏
        // 999 has omission 00, 005 has 03, 001 and 123 more: sorted by the cell text.
        EXPECT_EQ(preview->cell(0, 0), QStringLiteral("999"));
        EXPECT_EQ(preview->cell(1, 0), QStringLiteral("005"));
        Press(preview, "Command5");
        auto* model = preview->findChild<QTreeView*>("ListView1")->model();
        for (int r = 0; r < preview->rowCount(); ++r)
            if (preview->cell(r, 0) == "005" || preview->cell(r, 0) == "001")
                model->setData(model->index(r, 0), Qt::Checked, Qt::CheckStateRole);
        EXPECT_EQ(preview->tickedNumbers(), (QStringList{"005", "001"}));
        Press(preview, "Command3");
    });
    NumberPreviewWindow::Open(bench, app);
    EXPECT_EQ(bench.session().pool, (QStringList{"001", "005"}));
    EXPECT_EQ(logTail(), QStringLiteral("\n添加到缩水器共2注\n"));
    EXPECT_EQ(bench.session().setDescription, QStringLiteral("预览号码生成的结果"));
    EXPECT_EQ(bench.session().ring.slot(bench.session().ring.index()), (QStringList{"001", "005"}));
    EXPECT_EQ(bench.enterFilteringModeCalls, 0);  // the mode buttons stay as they are
}

TEST_F(PreviewPrizeTest, CancelLeavesTheWorkbenchAndEmptyPoolGivesCountZero) {
    bench.session().pool = {"001", "123"};
    whileShown<NumberPreviewWindow>([](NumberPreviewWindow* preview) {
        Press(preview, "Command5");
        Press(preview, "Command2");
    });
    NumberPreviewWindow::Open(bench, app);
    EXPECT_EQ(bench.session().pool, (QStringList{"001", "123"}));
    EXPECT_EQ(logTail(), QString());

    bench.session().pool.clear();
    app.setHistory(common::DrawHistory());
    NumberPreviewWindow empty(bench, app);
    EXPECT_EQ(empty.rowCount(), 0);
    EXPECT_TRUE(empty.findChild<QPlainTextEdit*>("Text1")->toPlainText().endsWith(QStringLiteral("投注数量：0 注\n")));
}

// ---- Prize check: plain logic ------------------------------------------------------------

TEST(PrizeCheckLogic, BetLinesAreThreeDigitsAlone) {
    struct Case { const char* name; QString text; QStringList bets; } cases[] = {
        {"number list file", "123\r\n456\r\n\r\n", {"123", "456"}},
        {"blanks around", "  123  \r\n\t789\r\n", {"123", "789"}},
        {"not three digits", "0123\r\n12\r\n12a\r\n\r\n1 2\r\n", {}},
        {"signs and points never bets", "-12\r\n1.5\r\n1e2\r\n+12\r\n", {}},
        {"line feed alone", "123\n456\n", {"123", "456"}},
        {"carriage return alone", "123\r456", {"123", "456"}},
        {"full-width digits", QStringLiteral("１２３\r\n"), {"123"}},
        {"chinese header", QStringLiteral("投注号码\r\n001\r\n"), {"001"}},
    };
    for (const Case& c : cases) EXPECT_EQ(dialogs::ParseBets(c.text), c.bets) << c.name;
}

TEST(PrizeCheckLogic, StraightAndGroupHits) {
    const QStringList bets = {"123", "321", "123", "122"};
    EXPECT_EQ(dialogs::CountPrizeHits(bets, "123", dialogs::PrizeMode::Straight), 2);
    EXPECT_EQ(dialogs::CountPrizeHits(bets, "123", dialogs::PrizeMode::Group), 3);
    EXPECT_EQ(dialogs::CountPrizeHits(bets, "312", dialogs::PrizeMode::Group), 3);
    EXPECT_EQ(dialogs::CountPrizeHits(bets, "212", dialogs::PrizeMode::Group), 1);
    EXPECT_EQ(dialogs::CountPrizeHits(bets, "", dialogs::PrizeMode::Straight), 0);
    EXPECT_EQ(dialogs::CountPrizeHits(bets, "", dialogs::PrizeMode::Group), 0);
    EXPECT_EQ(dialogs::CountPrizeHits(bets, "1234", dialogs::PrizeMode::Group), 0);
    EXPECT_EQ(dialogs::CountPrizeHits({}, "123", dialogs::PrizeMode::Group), 0);
    EXPECT_EQ(dialogs::PrizeMessage(3), QStringLiteral("本次投注中出 3 注。"));
}

// ---- Prize check window ------------------------------------------------------------------

class PrizeWindowTest : public PreviewPrizeTest {
protected:
    void SetUp() override {
        PreviewPrizeTest::SetUp();
        // Oldest first; the newest draw is 123.
        app.setHistory(common::DrawHistory(QStringList{"2025001 456", "2025002 312", "2025003 123"}));
        // The HAO folder in another case than the program names it.
        program.write("hao/bets.txt", common::EncodeAnsi(QStringLiteral("投注号码（共四注）\r\n123\r\n321\r\n 123 \r\n")) +
                                          QByteArray("0123\r\n12a\r\n\r\n"));
        program.write("hao/MORE.TXT", "456\r\n");
        program.write("hao/collection.h", "789\r\n");
    }
    QString hao() const { return program.file("hao") + QLatin1Char('/'); }
    static void clickFile(PrizeCheckWindow* form, const QString& name) {
        auto* files = form->findChild<QListWidget*>("File1");
        const auto found = files->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        files->setCurrentItem(found.first());
    }
    static QString shown(PrizeCheckWindow* form, const char* name) {
        if (auto* label = form->findChild<QLabel*>(QString::fromLatin1(name))) return label->text();
        if (auto* line = form->findChild<QLineEdit*>(QString::fromLatin1(name))) return line->text();
        return form->findChild<QPlainTextEdit*>(QString::fromLatin1(name))->toPlainText();
    }

    // Opens the prize check as the workbench does and lets fn act on it while it is shown.
    void opened(const std::function<void(PrizeCheckWindow*)>& fn, QString* chosenBetFolder = nullptr) {
        bool shownModal = false;
        whileShown<PrizeCheckWindow>([&](PrizeCheckWindow* form) {
            shownModal = true;
            fn(form);
        });
        QString error;
        EXPECT_TRUE(PrizeCheckWindow::Open(bench, app, chosenBetFolder, &error)) << error.toStdString();
        ui::SetModalHandler({});
        EXPECT_TRUE(shownModal);
    }

    testsupport::ProgramDir program;
};

TEST_F(PrizeWindowTest, ChecksTheChosenFileAgainstTheChosenDraw) {
    bool shownModal = false;
    whileShown<PrizeCheckWindow>([&](PrizeCheckWindow* form) {
        shownModal = true;
        auto* combo = form->findChild<QComboBox*>("Combo1");
        EXPECT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->itemText(0), QStringLiteral("2025001"));
        EXPECT_EQ(combo->currentIndex(), 2);
        EXPECT_EQ(shown(form, "Text1"), QStringLiteral("123"));
        // The folder by its name, the whole path as the tooltip.
        EXPECT_EQ(shown(form, "Label3"), QDir(hao()).dirName());
        EXPECT_EQ(QDir::fromNativeSeparators(form->findChild<QLabel*>("Label3")->toolTip()), hao());
        auto* files = form->findChild<QListWidget*>("File1");
        ASSERT_EQ(files->count(), 2);  // *.txt in any case, nothing else
        EXPECT_EQ(files->item(0)->text(), QStringLiteral("bets.txt"));
        EXPECT_EQ(files->item(1)->text(), QStringLiteral("MORE.TXT"));

        clickFile(form, "bets.txt");
        EXPECT_EQ(form->bets(), (QStringList{"123", "321", "123"}));
        EXPECT_EQ(shown(form, "Text2"), QStringLiteral("123\n321\n123\n"));
        EXPECT_EQ(shown(form, "Label4"), QStringLiteral("3"));

        Press(form, "Command3");  // 单选兑奖
        EXPECT_EQ(form->lastHits(), 2);
        Press(form, "Command2");  // 组选兑奖
        EXPECT_EQ(form->lastHits(), 3);

        combo->setCurrentIndex(1);  // 312
        EXPECT_EQ(shown(form, "Text1"), QStringLiteral("312"));
        Press(form, "Command3");
        EXPECT_EQ(form->lastHits(), 0);
        Press(form, "Command2");
        EXPECT_EQ(form->lastHits(), 3);
    });
    QString error;
    ASSERT_TRUE(PrizeCheckWindow::Open(bench, app, nullptr, &error)) << error.toStdString();
    EXPECT_TRUE(shownModal);
    ASSERT_EQ(messages.messages.size(), 4);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("本次投注中出 2 注。"));
    EXPECT_EQ(messages.messages[0].title, QStringLiteral("兑奖"));
    EXPECT_EQ(messages.messages[0].icon, ui::Icon::Information);
    EXPECT_EQ(messages.messages[1].text, QStringLiteral("本次投注中出 3 注。"));
}

// A bet file written on Linux (line feeds alone) is read line by line from the disk, and a line
// like "1.5" is no bet.
TEST_F(PrizeWindowTest, LineFeedOnlyFileIsReadAndPointNumbersAreNoBets) {
    program.write("hao/linux.txt", "123\n1.5\n321\n 456 \n");
    opened([&](PrizeCheckWindow* form) {
        clickFile(form, "linux.txt");
        EXPECT_EQ(form->bets(), (QStringList{"123", "321", "456"}));
        EXPECT_EQ(shown(form, "Label4"), QStringLiteral("3"));
        Press(form, "Command2");  // 组选兑奖 against 123
        EXPECT_EQ(form->lastHits(), 2);
    });
}

TEST_F(PrizeWindowTest, EmptyHistoryAndNoFileGiveNoHits) {
    app.setHistory(common::DrawHistory());
    opened([&](PrizeCheckWindow* form) {
        EXPECT_EQ(form->findChild<QComboBox*>("Combo1")->count(), 0);
        EXPECT_EQ(shown(form, "Text1"), QString());
        Press(form, "Command3");
        Press(form, "Command2");
    });
    ASSERT_EQ(messages.messages.size(), 2);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("本次投注中出 0 注。"));
    EXPECT_EQ(messages.messages[1].text, QStringLiteral("本次投注中出 0 注。"));
}

TEST_F(PrizeWindowTest, SavedFolderIsUsedWhileItExists) {
    program.write("elsewhere/mine.txt", "123\r\n");
    common::SaveSetting(QStringLiteral("path"), program.file("elsewhere") + QLatin1Char('/'));
    opened([&](PrizeCheckWindow* form) {
        EXPECT_EQ(form->folder(), program.file("elsewhere") + QLatin1Char('/'));
        EXPECT_EQ(form->findChild<QListWidget*>("File1")->count(), 1);
    });

    common::SaveSetting(QStringLiteral("path"), program.file("gone") + QLatin1Char('/'));
    opened([&](PrizeCheckWindow* form) { EXPECT_EQ(form->folder(), hao()); });
}

TEST_F(PrizeWindowTest, MissingBetFolderKeepsTheWindowClosed) {
    QDir(program.file("hao")).removeRecursively();
    bool shownModal = false;
    whileShown<PrizeCheckWindow>([&](PrizeCheckWindow*) { shownModal = true; });
    QString error;
    EXPECT_FALSE(PrizeCheckWindow::Open(bench, app, nullptr, &error));
    EXPECT_FALSE(shownModal);
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(program.file("HAO")))) << error.toStdString();
}

TEST_F(PrizeWindowTest, FolderChooserAppliesAndRemembersTheFolder) {
    program.write("picked/a.txt", "999\r\n");
    const QString picked = program.file("picked") + QLatin1Char('/');
    QString chosen;  // what the workbench keeps from one chooser to the next
    opened([&](PrizeCheckWindow* form) {
        clickFile(form, "bets.txt");
        {
            BetFolderChooser chooser(form, &chosen);
            testsupport::Press(&chooser, QStringLiteral("Command1"));  // nothing reported yet: stays open, nothing stored
            EXPECT_EQ(chooser.result(), 0);
            EXPECT_EQ(common::GetSetting(QStringLiteral("path")), QString());
            testsupport::ChooseSubfolder(&chooser, QStringLiteral("FolderView1"), QStringLiteral("picked"));
            testsupport::Press(&chooser, QStringLiteral("Command1"));
            EXPECT_EQ(chooser.result(), int(QDialog::Accepted));
        }
        EXPECT_EQ(common::GetSetting(QStringLiteral("path")), picked);
        EXPECT_EQ(form->folder(), picked);
        EXPECT_EQ(form->findChild<QListWidget*>("File1")->item(0)->text(), QStringLiteral("a.txt"));
        EXPECT_EQ(form->bets().size(), 3);  // the bets change only at the next click on a file
    });

    // The next prize check starts from the stored folder.
    opened([&](PrizeCheckWindow* next) {
        EXPECT_EQ(next->folder(), picked);

        // A later chooser applies the remembered folder with 确定 alone.
        common::SaveSetting(QStringLiteral("path"), QString());
        ASSERT_TRUE(next->showFolder(hao(), nullptr));
        BetFolderChooser again(next, &chosen);
        testsupport::Press(&again, QStringLiteral("Command1"));
        EXPECT_EQ(next->folder(), picked);
        EXPECT_EQ(common::GetSetting(QStringLiteral("path")), picked);
    });
}

TEST_F(PrizeWindowTest, UnreadableChosenFolderIsReportedAndNotStored) {
    opened([&](PrizeCheckWindow* form) {
        BetFolderChooser chooser(form);
        // Chosen in the tree, then gone before 确定.
        ASSERT_TRUE(QDir(program.path()).mkdir(QStringLiteral("nowhere")));
        testsupport::ChooseSubfolder(&chooser, QStringLiteral("FolderView1"), QStringLiteral("nowhere"));
        ASSERT_TRUE(QDir(program.path()).rmdir(QStringLiteral("nowhere")));
        testsupport::Press(&chooser, QStringLiteral("Command1"));
        EXPECT_EQ(chooser.result(), 0);
        EXPECT_EQ(messages.messages.size(), 1);
        EXPECT_EQ(common::GetSetting(QStringLiteral("path")), QString());
        EXPECT_EQ(form->folder(), hao());
    });
}

}  // namespace
