#include "common/appstate.h"
#include "common/textcodec.h"
#include "dialogs/setoperationswindow.h"
#include "dialogs/textcollectionwindow.h"
#include "fakeworkbench.h"
#include "platform/ui/filedialogs.h"
#include "platform/ui/messagebox.h"
#include "presses.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

class SetToolsTest : public ::testing::Test {
protected:
    ui::FileDialogAnswerScope fileDialogs;  // no answer left behind for the next test
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    static void press(QWidget* window, const char* name) {
        auto* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        ASSERT_TRUE(button->isEnabled()) << name;
        button->click();
    }
    static QString comboText(QWidget* window, const char* name) {
        return window->findChild<QComboBox*>(QString::fromLatin1(name))->currentText();
    }
    QString logTail() const {
        const QString text = const_cast<FakeWorkbench&>(bench).session().log.text();
        return text.mid(pool::WorkbenchLog::InitialText().size());
    }

    QTemporaryDir dir;
    common::AppState app;  // outlives the workbench and the windows it owns
    FakeWorkbench bench{app};
    ui::MessageRecorder messages;
};

TEST_F(SetToolsTest, SetOperationsWindowListsCollectionsOncePerPath) {
    const QString a = write("a.txt", "1 2 3 4 5 6 7");
    const QString b = write("b.h", QByteArray("123\r\n").repeated(10));
    const QString empty = write("empty.txt", "no digits");

    SetOperationsWindow* window = SetOperationsWindow::instance(bench);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("集合运算"));
    EXPECT_TRUE(window->isUnlisted(a));
    EXPECT_TRUE(window->addNumberFile(a, QStringLiteral("组六(顺子)")));
    EXPECT_FALSE(window->isUnlisted(a));
    EXPECT_TRUE(window->addNumberFile(a, QStringLiteral("again")));  // listed already: nothing added
    ASSERT_NE(a.toUpper(), a);
    EXPECT_TRUE(window->isUnlisted(a.toUpper()));  // letter case counts
    window->addNumberFile(b, QStringLiteral("集合运算"));
    window->addNumberFile(empty, QStringLiteral("x"));

    QTreeWidget* list = window->fileList();
    ASSERT_EQ(list->topLevelItemCount(), 3);
    const struct {
        const char* label;
        const char* count;
        QString path;
    } rows[] = {{"组六(顺子)", "002", a}, {"集合运算", "001", b}, {"x", "000", empty}};
    for (int i = 0; i < 3; ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        EXPECT_EQ(item->text(0), QString::fromUtf8(rows[i].label));
        EXPECT_EQ(item->text(1), QString::fromUtf8(rows[i].count));
        // The file by its name; the whole path in its tooltip and data.
        EXPECT_EQ(item->data(2, Qt::UserRole).toString(), rows[i].path);
        EXPECT_EQ(item->text(2), QFileInfo(rows[i].path).fileName());
        EXPECT_EQ(item->toolTip(2), QDir::toNativeSeparators(rows[i].path));
        EXPECT_EQ(item->checkState(0), Qt::Checked);
    }
    testsupport::WaitForTick(window, QStringLiteral("Timer1"));
    EXPECT_EQ(window->findChild<QGroupBox*>("Frame1")->title(), QStringLiteral("列表管理(3)"));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(SetToolsTest, SetOperationsWindowUnreadableFileGivesMessageAndChangesNothing) {
    SetOperationsWindow* window = SetOperationsWindow::instance(bench);
    const QString missing = dir.filePath("gone.txt");
    EXPECT_FALSE(window->addNumberFile(missing, QStringLiteral("集合运算")));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("无法读取文件")));
    EXPECT_EQ(window->fileList()->topLevelItemCount(), 0);

    // A listed file that disappears before the count: the last result and range stay.
    const QString a = write("a.txt", "111 222");
    window->addNumberFile(a, QStringLiteral("a"));
    press(window, "Command6");
    press(window, "Command10");  // cut to the default range: all 1000 stay
    ASSERT_EQ(window->resultNumbers().size(), 1000);
    QFile::remove(a);
    messages.messages.clear();
    press(window, "Command6");
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("无法读取文件")));
    EXPECT_EQ(window->resultNumbers().size(), 1000);
    EXPECT_EQ(comboText(window, "Combo2"), QStringLiteral("1"));
}

// A FIFO chosen as a collection file (or put in a listed file's place): the read returns at once
// and the message names it as no file; the text box and the list stay as they were.
TEST_F(SetToolsTest, FifoAsACollectionFileIsRefusedAtOnce) {
    testsupport::Fifo fifo(dir.filePath("fifo.txt"));
    ASSERT_TRUE(fifo.isMade());
    TextCollectionWindow* text = TextCollectionWindow::instance(bench);
    text->findChild<QPlainTextEdit*>("Text1")->setPlainText("123");
    ui::SetFileDialogAnswer([&](const ui::FileDialogRequest&) { return QStringList{dir.filePath("fifo.txt")}; });
    text->findChild<QAction*>("bianjidr2")->trigger();  // 导入...
    EXPECT_EQ(text->findChild<QPlainTextEdit*>("Text1")->toPlainText(), QStringLiteral("123"));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("这不是文件"))) << messages.lastText().toStdString();

    SetOperationsWindow* sets = SetOperationsWindow::instance(bench);
    EXPECT_FALSE(sets->addNumberFile(dir.filePath("fifo.txt"), QStringLiteral("集合运算")));
    ASSERT_EQ(messages.messages.size(), 2);
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("这不是文件"))) << messages.lastText().toStdString();
    EXPECT_EQ(sets->fileList()->topLevelItemCount(), 0);
    EXPECT_FALSE(fifo.readerWaited());
}

TEST_F(SetToolsTest, SetOperationsWindowSetOperationsByOccurrenceCounts) {
    const QString a = write("a.txt", "123\r\n456\r\n789\r\n123\r\n\r\n");
    const QString b = write("b.txt", common::EncodeAnsi(QStringLiteral("大底：１２３，456 000")));
    SetOperationsWindow* window = SetOperationsWindow::instance(bench);
    window->addNumberFile(a, QStringLiteral("a"));
    window->addNumberFile(b, QStringLiteral("b"));

    press(window, "Command6");
    const QStringList numbers = window->resultNumbers();
    const QStringList counts = window->resultCounts();
    ASSERT_EQ(numbers.size(), 1000);
    EXPECT_EQ(numbers.first(), QStringLiteral("000"));
    EXPECT_EQ(numbers.last(), QStringLiteral("999"));
    EXPECT_EQ(counts[123], QStringLiteral("02"));
    EXPECT_EQ(counts[789], QStringLiteral("01"));
    EXPECT_EQ(counts[1], QStringLiteral("00"));
    EXPECT_EQ(window->findChild<QLabel*>("Label4")->text(), QStringLiteral("共计 2 个文件参与运算,统计数据 4 注。"));
    EXPECT_EQ(comboText(window, "Combo1"), QStringLiteral("0"));
    EXPECT_EQ(comboText(window, "Combo2"), QStringLiteral("2"));

    const struct {
        const char* button;
        const char* low;
        const char* high;
        QStringList kept;  // empty = only the size is checked
        int size;
    } ops[] = {{"Command7", "2", "2", {"123", "456"}, 2},
               {"Command8", "1", "2", {"000", "123", "456", "789"}, 4},
               {"Command9", "0", "1", {}, 998}};
    for (const auto& op : ops) {
        press(window, "Command6");
        press(window, op.button);
        EXPECT_EQ(comboText(window, "Combo1"), QString::fromLatin1(op.low)) << op.button;
        EXPECT_EQ(comboText(window, "Combo2"), QString::fromLatin1(op.high)) << op.button;
        messages.messages.clear();
        press(window, "Command10");
        EXPECT_EQ(messages.lastText(), QStringLiteral("操作完成，还剩 %1 注。").arg(op.size));
        EXPECT_EQ(window->resultNumbers().size(), op.size);
        if (!op.kept.isEmpty()) { EXPECT_EQ(window->resultNumbers(), op.kept) << op.button; }
    }
    // A second cut needs a new count.
    press(window, "Command10");
    EXPECT_EQ(messages.lastText(), QStringLiteral("请先点击“集合运算”再进行生成结果操作。"));

    // Intersection, then into the workbench.
    press(window, "Command6");
    press(window, "Command7");
    press(window, "Command10");
    window->show();
    press(window, "Command11");
    EXPECT_FALSE(window->isVisible());
    pool::PoolSession& session = bench.session();
    EXPECT_EQ(session.pool, (QStringList{"123", "456"}));
    EXPECT_EQ(logTail(), QStringLiteral("集合运算共导入2注\n"));
    EXPECT_EQ(session.setDescription, QStringLiteral("集合运算"));
    EXPECT_EQ(bench.enterFilteringModeCalls, 1);
    EXPECT_EQ(session.ring.index(), 1);  // committed once
}

TEST_F(SetToolsTest, SetOperationsWindowShortcutsNeedACountOverTickedFiles) {
    SetOperationsWindow* window = SetOperationsWindow::instance(bench);
    const QString a = write("a.txt", "123");
    window->addNumberFile(a, QStringLiteral("a"));
    window->fileList()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(window->findChild<QPushButton*>("Command7")->isEnabled());
    press(window, "Command6");
    EXPECT_EQ(window->findChild<QLabel*>("Label4")->text(), QStringLiteral("共计 0 个文件参与运算,统计数据 0 注。"));
    const struct {
        const char* button;
        const char* name;
    } shortcuts[] = {{"Command7", "交集"}, {"Command8", "并集"}, {"Command9", "反集"}};
    for (const auto& s : shortcuts) {
        press(window, s.button);
        EXPECT_EQ(messages.lastText(),
                  QStringLiteral("所有号码出现次全为0次,不能参与%1运算。").arg(QString::fromUtf8(s.name)));
        EXPECT_EQ(messages.messages.last().icon, ui::Icon::Information);
    }
    EXPECT_EQ(comboText(window, "Combo1"), QStringLiteral("0"));
    EXPECT_EQ(comboText(window, "Combo2"), QStringLiteral("0"));
}

TEST_F(SetToolsTest, SetOperationsWindowImportWithoutCountGivesEmptyPoolAndFilteringMode) {
    bench.session().pool = {"111"};
    press(SetOperationsWindow::instance(bench), "Command11");
    EXPECT_TRUE(bench.session().pool.isEmpty());
    EXPECT_EQ(logTail(), QStringLiteral("集合运算共导入0注\n"));
    EXPECT_EQ(bench.enterFilteringModeCalls, 1);
}

TEST_F(SetToolsTest, SetOperationsWindowAddDialogSkipsListedFilesAndStopsAtAnUnreadableOne) {
    const QString a = write("a.txt", "123");
    const QString b = write("b.txt", "456 789");
    const QString c = write("c.txt", "000");
    SetOperationsWindow* window = SetOperationsWindow::instance(bench);
    window->addNumberFile(a, QStringLiteral("集合运算"));
    ui::SetFileDialogAnswer([&](const ui::FileDialogRequest&) { return QStringList{a, b, dir.filePath("missing.txt"), c}; });
    press(window, "Command1");
    QTreeWidget* list = window->fileList();
    ASSERT_EQ(list->topLevelItemCount(), 2);  // the list now sorts itself by its first column
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("集合02"));
    EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("002"));
    EXPECT_EQ(list->topLevelItem(0)->data(2, Qt::UserRole).toString(), b);
    EXPECT_EQ(list->topLevelItem(1)->data(2, Qt::UserRole).toString(), a);
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("missing.txt")));

    // Deleting the selected row; without a selection nothing happens.
    list->clearSelection();
    list->setCurrentItem(nullptr);
    press(window, "Command3");
    EXPECT_EQ(list->topLevelItemCount(), 2);
    list->setCurrentItem(list->topLevelItem(0));
    press(window, "Command3");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->data(2, Qt::UserRole).toString(), a);
    press(window, "Command4");
    EXPECT_EQ(list->topLevelItemCount(), 0);
}

TEST_F(SetToolsTest, SetOperationsWindowEmptyListDoubleClickAddsAndHelpShowsTheGuide) {
    const QString a = write("a.txt", "123");
    ui::SetFileDialogAnswer([&](const ui::FileDialogRequest&) { return QStringList{a}; });
    SetOperationsWindow* window = SetOperationsWindow::instance(bench);
    testsupport::DoubleClickOn(window->fileList()->viewport());
    ASSERT_EQ(window->fileList()->topLevelItemCount(), 1);
    EXPECT_EQ(window->fileList()->topLevelItem(0)->text(0), QStringLiteral("集合01"));

    press(window, "Command2");
    for (const char* heading : {"第一步：添加数据文件", "第二步：集合运算", "第三步：计算集合", "第四步：导入到缩水器"})
        EXPECT_TRUE(messages.lastText().contains(QString::fromUtf8(heading))) << heading;
}

TEST_F(SetToolsTest, SetOperationsWindowCollectionsSwitchTheCaptionOnce) {
    const QString a = write("a.txt", "123");
    const QString b = write("b.h", "456");
    const QString c = write("c.h", "789");
    SetOperationsWindow::instance(bench)->addNumberFile(a, QStringLiteral("a"));
    ASSERT_TRUE(SetOperationsWindow::AddCollection(bench, b, QStringLiteral("组六(顺子)")));
    SetOperationsWindow* window = SetOperationsWindow::existing(bench);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("大底采集"));
    EXPECT_TRUE(window->isVisible());
    SetOperationsWindow::AddCollection(bench, c, QStringLiteral("集合运算"));
    SetOperationsWindow::AddCollection(bench, c, QStringLiteral("集合运算"));
    QTreeWidget* list = window->fileList();
    ASSERT_EQ(list->topLevelItemCount(), 2);  // the hand-added row went with the caption switch
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("组六(顺子)"));
    EXPECT_EQ(list->topLevelItem(1)->data(2, Qt::UserRole).toString(), c);

    // The title bar's close discards the window; the next use starts afresh.
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(SetOperationsWindow::existing(bench), nullptr);
    EXPECT_EQ(SetOperationsWindow::instance(bench)->windowTitle(), QStringLiteral("集合运算"));
    EXPECT_EQ(SetOperationsWindow::instance(bench)->fileList()->topLevelItemCount(), 0);
}

TEST_F(SetToolsTest, TextCollectionWindowCollectsWithAndWithoutRepeats) {
    const struct {
        const char* text;
        bool keep;
        QStringList pool;
    } cases[] = {{"123 123 456", false, {"123", "456"}},
                 {"456 123 123", true, {"123", "123", "456"}},
                 {"112233", false, {"112", "233"}},
                 {"12 34 5", false, {"123"}}};  // trailing digits are dropped
    for (const auto& c : cases) {
        TextCollectionWindow* window = TextCollectionWindow::instance(bench);
        window->show();
        window->findChild<QPlainTextEdit*>("Text1")->setPlainText(QString::fromUtf8(c.text));
        window->findChild<QCheckBox*>("Check1")->setChecked(c.keep);
        const int before = bench.enterFilteringModeCalls;
        const qsizetype logBefore = bench.session().log.text().size();
        press(window, "Command5");
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(bench.session().pool, c.pool) << c.text;
        EXPECT_EQ(bench.session().log.text().mid(logBefore),
                  QStringLiteral("数据采集共%1注\n").arg(c.pool.size()));
        EXPECT_EQ(bench.session().setDescription, QStringLiteral("数据采集"));
        EXPECT_EQ(bench.enterFilteringModeCalls, before + 1);
    }
}

TEST_F(SetToolsTest, TextCollectionWindowBlankTextDoesNothingAndTextWithoutDigitsGivesEmptySet) {
    TextCollectionWindow* window = TextCollectionWindow::instance(bench);
    window->show();
    auto* text = window->findChild<QPlainTextEdit*>("Text1");
    bench.session().pool = {"111"};
    text->setPlainText("    ");
    press(window, "Command5");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(bench.session().pool, QStringList{"111"});
    EXPECT_EQ(logTail(), QString());
    EXPECT_EQ(bench.enterFilteringModeCalls, 0);

    text->setPlainText("abc\ndef\n");
    press(window, "Command5");
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(bench.session().pool.isEmpty());
    EXPECT_EQ(logTail(), QStringLiteral("数据采集共0注\n"));
    EXPECT_EQ(bench.enterFilteringModeCalls, 1);
}

TEST_F(SetToolsTest, TextCollectionWindowRefusesMoreNumbersThanThePoolTakes) {
    TextCollectionWindow* window = TextCollectionWindow::instance(bench);
    window->show();
    window->findChild<QPlainTextEdit*>("Text1")->setPlainText(QStringLiteral("123 ").repeated(dialogs::kMaxPoolEntries + 1));
    window->findChild<QCheckBox*>("Check1")->setChecked(true);
    bench.session().pool = {"111"};
    press(window, "Command5");
    EXPECT_TRUE(messages.lastText().contains(QString::number(dialogs::kMaxPoolEntries)));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(bench.session().pool, QStringList{"111"});
    EXPECT_EQ(logTail(), QString());

    window->findChild<QCheckBox*>("Check1")->setChecked(false);  // one distinct number is fine
    press(window, "Command5");
    EXPECT_EQ(bench.session().pool, QStringList{"123"});
}

TEST_F(SetToolsTest, TextCollectionWindowImportReadsCodePage936AndRefusesUnreadableFiles) {
    TextCollectionWindow* window = TextCollectionWindow::instance(bench);
    auto* text = window->findChild<QPlainTextEdit*>("Text1");
    const QString file = write("post.txt", common::EncodeAnsi(QStringLiteral("  推荐：１２３ 456  ")));
    ui::SetFileDialogAnswer([&](const ui::FileDialogRequest&) { return QStringList{file}; });
    testsupport::Trigger(window, QStringLiteral("bianjidr2"));  // 导入...
    EXPECT_EQ(text->toPlainText(), QStringLiteral("推荐：１２３ 456"));

    ui::SetFileDialogAnswer([&](const ui::FileDialogRequest&) { return QStringList{dir.filePath("missing.txt")}; });
    testsupport::Trigger(window, QStringLiteral("bianjidr2"));  // 导入...
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("无法读取文件")));
    EXPECT_EQ(text->toPlainText(), QStringLiteral("推荐：１２３ 456"));

    ui::SetFileDialogAnswer([](const ui::FileDialogRequest&) { return QStringList{QString()}; });  // cancelled
    const int shown = int(messages.messages.size());
    testsupport::Trigger(window, QStringLiteral("bianjidr2"));  // 导入...
    EXPECT_EQ(messages.messages.size(), shown);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("推荐：１２３ 456"));

    testsupport::Trigger(window, QStringLiteral("kdngqq"));  // 清空
    EXPECT_EQ(text->toPlainText(), QString());

    QApplication::clipboard()->setText(QStringLiteral("  123 456\n  "));
    testsupport::Trigger(window, QStringLiteral("ghskfj"));  // 粘贴
    EXPECT_EQ(text->toPlainText(), QStringLiteral("123 456\n"));
}

}  // namespace
