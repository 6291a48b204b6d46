#include "common/settings.h"
#include "fixture.h"
#include "history/windows/drawentrywindow.h"
#include "history/windows/settingswindow.h"
#include "legibility.h"
#include "httpserver.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/trayicon.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

using namespace historywindows_test;

namespace historywindows_test {

class DrawEntry : public WindowFixture {
protected:
    const QStringList draws = MakeDraws(5, 354);  // 2024354..2024358
    void SetUp() override {
        WindowFixture::SetUp();
        load(draws);
    }
    QByteArray fileBytes() const { return dir.read("HAO.TXT"); }
    // The window's controls, by objectName.
    static QComboBox* Combo1(const QWidget& f) { return Control<QComboBox>(f, "Combo1"); }  // the issues
    static QLineEdit* Text1(const QWidget& f) { return Control<QLineEdit>(f, "Text1"); }    // the digits
    static QLabel* Label2(const QWidget& f) { return Control<QLabel>(f, "Label2"); }        // 开奖号码
    static QLabel* Label3(const QWidget& f) { return Control<QLabel>(f, "Label3"); }        // the status line
    static QPushButton* Command1(const QWidget& f) { return Control<QPushButton>(f, "Command1"); }  // 保存号码
    static QPushButton* Command2(const QWidget& f) { return Control<QPushButton>(f, "Command2"); }  // 返回
    static QPushButton* Command3(const QWidget& f) { return Control<QPushButton>(f, "Command3"); }  // 删除号码
    static QPushButton* Command4(const QWidget& f) { return Control<QPushButton>(f, "Command4"); }  // 网上更新
    static QLabel* Image1(const QWidget& f) { return Control<QLabel>(f, "Image1"); }  // 福彩3D
    static QLabel* Image2(const QWidget& f) { return Control<QLabel>(f, "Image2"); }  // 排列三
    // Types into the issue box and the digits box and presses 保存号码.
    static void Enter(DrawEntryWindow& f, const QString& issue, const QString& digits) {
        if (!issue.isNull()) Combo1(f)->setEditText(issue);
        Text1(f)->setText(digits);
        Command1(f)->click();
    }
};

}  // namespace historywindows_test

TEST_F(DrawEntry, OpensOnTheNextIssue) {
    DrawEntryWindow f(app);
    EXPECT_EQ(f.windowTitle(), "数据输入");
    ASSERT_EQ(Combo1(f)->count(), 6);
    EXPECT_EQ(Combo1(f)->itemText(0), "2024354");
    EXPECT_EQ(Combo1(f)->itemText(5), "2024359");
    EXPECT_EQ(Combo1(f)->currentIndex(), 5);
    EXPECT_EQ(Combo1(f)->currentText(), "2024359");
    EXPECT_EQ(Text1(f)->text(), "");
    EXPECT_EQ(Label3(f)->text(), "软件支持在线更新");
    EXPECT_FALSE(Image1(f)->isHidden());
    EXPECT_TRUE(Image2(f)->isHidden());
    EXPECT_EQ(Image2(f)->toolTip(), "点击转换彩票类型");

    f.selectItem(2);
    EXPECT_EQ(Text1(f)->text(), "102");
    EXPECT_EQ(Label3(f)->text(), "");
}

// The two lottery marks are pictures filling their labels, different from each other, named
// for assistive tools by their game.
TEST_F(DrawEntry, LotteryMarksArePictures) {
    DrawEntryWindow f(app);
    QImage images[2];
    int k = 0;
    for (QLabel* image : {Image1(f), Image2(f)}) {
        SCOPED_TRACE(image->objectName().toStdString());
        EXPECT_TRUE(image->text().isEmpty());
        const QPixmap pm = image->pixmap();
        ASSERT_FALSE(pm.isNull());
        EXPECT_EQ(pm.deviceIndependentSize().toSize(), image->size());
        images[k] = pm.toImage();
        // Painted, not blank: the centre carries the badge's colour.
        EXPECT_GT(images[k].pixelColor(images[k].rect().center()).alpha(), 0);
        ++k;
    }
    EXPECT_NE(images[0], images[1]);
    EXPECT_EQ(Image1(f)->accessibleName(), "福彩3D");
    EXPECT_EQ(Image2(f)->accessibleName(), "排列三");
}

// The draw entry and the settings window are legible at their design size in the installed fonts.
TEST_F(DrawEntry, DrawEntryAndSettingsAreLegible) {
    DrawEntryWindow entry(app);
    EXPECT_EQ(testsupport::LegibilityProblems(&entry), QStringList());
    SettingsWindow settings(app);
    EXPECT_EQ(testsupport::LegibilityProblems(&settings), QStringList());
}

TEST_F(DrawEntry, NewDrawsAreSavedAndWrittenOnReturn) {
    DrawEntryWindow f(app);
    Enter(f, QString(), " 123 ");
    EXPECT_EQ(Label3(f)->text(), "保存成功");
    EXPECT_EQ(Text1(f)->text(), "");
    ASSERT_EQ(Combo1(f)->count(), 7);
    EXPECT_EQ(Combo1(f)->itemText(5), "2024359");
    EXPECT_EQ(Combo1(f)->itemText(6), "2024360");
    EXPECT_EQ(Combo1(f)->currentIndex(), 6);
    // A new year's first issue is typed over the offered one.
    Enter(f, "2025001", "090");
    EXPECT_EQ(Label3(f)->text(), "保存成功");
    EXPECT_EQ(Combo1(f)->currentText(), "2025002");
    EXPECT_EQ(fileBytes(), MakeRecords(draws));  // nothing written before 返回
    EXPECT_EQ(app.history().count(), 5);  // the loaded history is the file's until the reload

    Command2(f)->click();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(fileBytes(), MakeRecords(draws) + QByteArray("2024359 1231" "2025001 0901"));
    EXPECT_FALSE(QFile::exists(dir.file("FLAG.TXT")));
}

TEST_F(DrawEntry, CorrectionOfAnExistingDraw) {
    DrawEntryWindow f(app);
    f.selectItem(1);
    EXPECT_EQ(Text1(f)->text(), "101");
    Enter(f, QString(), "777");
    EXPECT_EQ(Label3(f)->text(), "修改成功");
    EXPECT_EQ(Combo1(f)->itemText(1), "2024355");
    EXPECT_EQ(Combo1(f)->count(), 6);
    Command2(f)->click();
    QStringList expected = draws;
    expected[1] = "2024355 777";
    EXPECT_EQ(fileBytes(), MakeRecords(expected));
}

TEST_F(DrawEntry, BadInputIsRefusedAndNothingIsLost) {
    DrawEntryWindow f(app);
    struct Case {
        QString issue, digits, label;
    } cases[] = {
        {QString(), "12", "格式错误"},
        {QString(), "1e3", "格式错误"},
        {QString(), "-12", "格式错误"},
        {QString(), "abc", "格式错误"},
        {"2024.59", "123", "格式错误"},
        {"2024 59", "123", "格式错误"},
        {"202435", "123", "格式错误"},
        {"2024358", "123", "期号设置错误"},  // the newest issue again
        {"2023100", "123", "期号设置错误"},
    };
    for (const Case& c : cases) {
        f.selectItem(5);
        Enter(f, c.issue, c.digits);
        EXPECT_EQ(Label3(f)->text(), c.label) << c.issue.toStdString() << " " << c.digits.toStdString();
        EXPECT_EQ(Text1(f)->text(), "");
        EXPECT_EQ(Combo1(f)->count(), 6);
        if (c.label == "期号设置错误") {
            EXPECT_EQ(Combo1(f)->currentIndex(), 5);
            EXPECT_EQ(Combo1(f)->currentText(), "2024359");
        }
    }
    EXPECT_EQ(f.book().keptDraws(), draws);
    Command2(f)->click();
    EXPECT_EQ(fileBytes(), MakeRecords(draws));
}

TEST_F(DrawEntry, DeleteAndRestore) {
    ui::MessageRecorder answers(ui::Answer::No);
    DrawEntryWindow f(app);
    Command3(f)->click();  // the next-issue item is no draw
    EXPECT_EQ(Label3(f)->text(), "不能删除数据");
    EXPECT_TRUE(answers.messages.isEmpty());

    f.selectItem(4);
    Command3(f)->click();  // answered No
    ASSERT_EQ(answers.messages.size(), 1);
    EXPECT_EQ(answers.messages[0].text, "是否删除第[2024358]期的数据?");
    EXPECT_EQ(answers.messages[0].icon, ui::Icon::Question);
    EXPECT_EQ(answers.messages[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(answers.messages[0].defaultButton, ui::Answer::No);
    EXPECT_EQ(Combo1(f)->itemText(4), "2024358");

    answers.answer = ui::Answer::Yes;
    Command3(f)->click();
    EXPECT_EQ(Label3(f)->text(), "记录已删除");
    EXPECT_EQ(Combo1(f)->itemText(4), "删除");
    EXPECT_EQ(Combo1(f)->itemText(5), "2024358");  // the last item goes back to the deleted issue
    EXPECT_EQ(Combo1(f)->currentIndex(), 5);
    EXPECT_EQ(Combo1(f)->currentText(), "2024358");

    f.selectItem(1);
    Command3(f)->click();
    EXPECT_EQ(Combo1(f)->itemText(1), "删除");

    // A deleted item answered No stays deleted and the last item is selected.
    answers.answer = ui::Answer::No;
    f.selectItem(1);
    EXPECT_EQ(answers.lastText(), "2024355期记录已被删除,是否要恢复数据?");
    EXPECT_EQ(Combo1(f)->itemText(1), "删除");
    EXPECT_EQ(Combo1(f)->currentIndex(), 5);
    // Answered Yes it comes back.
    answers.answer = ui::Answer::Yes;
    f.selectItem(1);
    EXPECT_EQ(Label3(f)->text(), "记录已恢复");
    EXPECT_EQ(Combo1(f)->itemText(1), "2024355");
    EXPECT_EQ(Text1(f)->text(), "101");

    // A new draw under the deleted newest's issue takes its place in the file.
    f.selectItem(5);
    Enter(f, QString(), "456");
    EXPECT_EQ(Label3(f)->text(), "保存成功");
    EXPECT_EQ(Combo1(f)->itemText(5), "2024358");
    EXPECT_EQ(Combo1(f)->itemText(6), "2024359");
    // The old draw of that issue cannot come back beside it.
    f.selectItem(4);
    EXPECT_EQ(Label3(f)->text(), "2024358期已有开奖记录,不能恢复");
    EXPECT_EQ(Combo1(f)->itemText(4), "删除");
    EXPECT_EQ(Combo1(f)->currentIndex(), 6);

    Command2(f)->click();
    QStringList expected = draws.mid(0, 4);
    expected << "2024358 456";
    EXPECT_EQ(fileBytes(), MakeRecords(expected));
}

TEST_F(DrawEntry, CloseBoxWritesNothing) {
    ui::MessageRecorder answers(ui::Answer::No);  // 否 to the question about the edits
    DrawEntryWindow f(app);
    f.show();
    Enter(f, QString(), "123");
    f.close();
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_EQ(fileBytes(), MakeRecords(draws));
}

// The close box or Esc after 保存号码 said "保存成功" asks before the edits go: 是 writes them as
// 返回 does, 否 drops them, 取消 keeps the window open with them.
TEST_F(DrawEntry, ClosingWithUnwrittenEditsAsks) {
    const QByteArray before = MakeRecords(draws);
    const QByteArray written = before + "2024359 1231";
    for (const bool esc : {false, true}) {
        for (const ui::Answer answer : {ui::Answer::Yes, ui::Answer::No, ui::Answer::Cancel}) {
            SCOPED_TRACE(testing::Message() << (esc ? "Esc " : "close box ") << int(answer));
            dir.write("HAO.TXT", before);
            ui::MessageRecorder answers(answer);
            DrawEntryWindow f(app);
            f.show();
            Enter(f, QString(), "123");
            ASSERT_EQ(Label3(f)->text(), "保存成功");
            auto leave = [&] {
                if (!esc) return void(f.close());
                QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QCoreApplication::sendEvent(&f, &key);
            };
            leave();
            ASSERT_EQ(answers.messages.size(), 1);
            EXPECT_EQ(answers.messages[0].text, "数据已修改，是否保存到开奖数据文件？");
            EXPECT_EQ(answers.messages[0].buttons, ui::Buttons::YesNoCancel);
            EXPECT_EQ(answers.messages[0].icon, ui::Icon::Question);
            EXPECT_EQ(f.isVisible(), answer == ui::Answer::Cancel);
            EXPECT_EQ(f.result(), answer == ui::Answer::Yes ? QDialog::Accepted : QDialog::Rejected);
            EXPECT_EQ(fileBytes(), answer == ui::Answer::Yes ? written : before);
            EXPECT_FALSE(QFile::exists(dir.file("FLAG.TXT")));
            if (answer != ui::Answer::Cancel) continue;
            // Kept open with the edits: 返回 still writes them.
            EXPECT_EQ(f.book().keptDraws().size(), 6);
            Command2(f)->click();
            EXPECT_EQ(fileBytes(), written);
        }
    }
}

// Nothing to write, nothing asked: an untouched window, a draw saved with its own digits, a
// draw deleted and restored again.
TEST_F(DrawEntry, ClosingWithNothingChangedAsksNothing) {
    ui::MessageRecorder answers(ui::Answer::Yes);  // 是 to deleting and restoring
    for (const int edit : {0, 1, 2}) {
        SCOPED_TRACE(edit);
        DrawEntryWindow f(app);
        f.show();
        if (edit == 1) {
            f.selectItem(2);
            Enter(f, QString(), "102");
            ASSERT_EQ(Label3(f)->text(), "修改成功");
        }
        if (edit == 2) {
            f.selectItem(2);
            Command3(f)->click();
            f.selectItem(2);
            ASSERT_EQ(Label3(f)->text(), "记录已恢复");
        }
        const qsizetype asked = answers.messages.size();
        f.close();
        EXPECT_EQ(answers.messages.size(), asked);
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(f.result(), QDialog::Rejected);
    }
    EXPECT_EQ(fileBytes(), MakeRecords(draws));
}

TEST_F(DrawEntry, EmptyHistoryOffersThisYearsFirstIssue) {
    load({});
    DrawEntryWindow f(app);
    ASSERT_EQ(Combo1(f)->count(), 1);
    EXPECT_TRUE(Combo1(f)->currentText().endsWith("001"));
    Enter(f, "2024001", "321");
    EXPECT_EQ(Label3(f)->text(), "保存成功");
    Command2(f)->click();
    EXPECT_EQ(fileBytes(), QByteArray("2024001 3211"));
}

TEST_F(DrawEntry, HomeServerCopy) {
    testsupport::HttpServer server;
    ASSERT_TRUE(server.isListening());
    testsupport::EnvVar homeUrl("SIFMORA_HOME_URL", server.baseUrl());
    const QByteArray local = MakeRecords(draws);
    const QByteArray later = MakeRecords(MakeDraws(7, 354));   // ends 2024360
    const QByteArray equal = MakeRecords(MakeDraws(3, 356));   // ends 2024358, other draws
    const QByteArray older = MakeRecords(MakeDraws(2, 1));     // ends 2024002
    struct Case {
        const char* what;
        QByteArray served;
        int status;
        ui::Answer answer;
        bool replaced;
        QString label;  // when it stays open
        QString asked;  // the question, when one is asked
    } cases[] = {
        {"later, checked", later, 200, ui::Answer::Yes, true, "", "服务器数据已更新到[2024360]期,是否校对本机数据后再更新?"},
        {"equal, checked", local, 200, ui::Answer::Yes, false, "本机数据已升级不需更新", "服务器数据已更新到[2024358]期,是否校对本机数据后再更新?"},
        {"equal, not checked", local, 200, ui::Answer::No, true, "", "服务器数据已更新到[2024358]期,是否校对本机数据后再更新?"},
        // The copy must hold every local record unchanged, whatever the answer would be.
        {"older", older, 200, ui::Answer::No, false, "服务器数据与本机记录不一致,本机数据未更新", ""},
        {"other draws", equal, 200, ui::Answer::No, false, "服务器数据与本机记录不一致,本机数据未更新", ""},
        {"behind", MakeRecords(MakeDraws(4, 354)), 200, ui::Answer::No, false, "本机数据已升级不需更新", ""},
        {"not found", later, 404, ui::Answer::Yes, false, "网络连接失败", ""},
        {"too large", local + QByteArray(2 * 1024 * 1024, '\n'), 200, ui::Answer::No, false, "服务器的回答太大,本机数据未更新", ""},
        {"error page", "<html>busy</html>", 200, ui::Answer::No, false, "服务器没有发来开奖数据,本机数据未更新", ""},
        {"partial record", later + "2024", 200, ui::Answer::No, false, "服务器数据格式错误,本机数据未更新", ""},
        {"a draw that cannot exist", local + MakeRecords({"9999999 000"}), 200, ui::Answer::No, false,
         "服务器的副本新增的第 9999999 期年份晚于今年,本机数据未更新", ""},
    };
    for (const Case& c : cases) {
        dir.write("HAO.TXT", local);
        server.serve("/3d/HAO.txt", c.served, c.status);
        ui::MessageRecorder answers(c.answer);
        DrawEntryWindow f(app);
        Command4(f)->click();
        EXPECT_EQ(dir.read("HAO.TXT"), c.replaced ? c.served : local) << c.what;
        EXPECT_FALSE(QFile::exists(dir.file("HAOBAK.TXT"))) << c.what;
        EXPECT_FALSE(QFile::exists(dir.file("FLAG.TXT"))) << c.what;
        if (c.asked.isEmpty()) {
            EXPECT_TRUE(answers.messages.isEmpty()) << c.what;
        } else {
            ASSERT_EQ(answers.messages.size(), 1) << c.what;
            EXPECT_EQ(answers.messages[0].text, c.asked) << c.what;
            EXPECT_EQ(answers.messages[0].title, "自动更新") << c.what;
        }
        if (c.replaced) {
            EXPECT_EQ(f.result(), QDialog::Accepted) << c.what;
        } else {
            EXPECT_EQ(Label3(f)->text(), c.label) << c.what;
            for (QPushButton* b : {Command1(f), Command2(f), Command3(f), Command4(f)}) EXPECT_TRUE(b->isEnabled()) << c.what;
        }
    }
}

// The file on disk is what the copy must extend: a local file that cannot be read is kept, and a
// read-only one takes neither the copy nor the window's edits.
TEST_F(DrawEntry, HomeServerCopyKeepsAnUnreadableOrReadOnlyFile) {
    testsupport::HttpServer server;
    ASSERT_TRUE(server.isListening());
    testsupport::EnvVar homeUrl("SIFMORA_HOME_URL", server.baseUrl());
    const QByteArray local = MakeRecords(draws);
    server.serve("/3d/HAO.txt", MakeRecords(MakeDraws(8, 354)));  // extends the file, ends 2024361

    // The newest record is damaged: the copy only seems to be newer.
    const QByteArray damaged = local + QByteArray("2024x59 9991");
    dir.write("HAO.TXT", damaged);
    {
        ui::MessageRecorder answers(ui::Answer::No);
        DrawEntryWindow f(app);
        Command4(f)->click();
        EXPECT_EQ(Label3(f)->text(), "本机数据文件无法读取,已保留原文件");
        EXPECT_TRUE(answers.messages.isEmpty());
        EXPECT_EQ(dir.read("HAO.TXT"), damaged);
        EXPECT_FALSE(QFile::exists(dir.file("HAOBAK.TXT")));
    }

    dir.write("HAO.TXT", local);
    const QString hao = dir.file("HAO.TXT");
    ASSERT_TRUE(QFile::setPermissions(hao, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QString readOnly = QStringLiteral("%1 是只读文件，新的开奖数据没有写入").arg(hao);
    {
        ui::MessageRecorder answers(ui::Answer::Yes);
        DrawEntryWindow f(app);
        Command4(f)->click();
        ASSERT_EQ(answers.messages.size(), 1);  // told at once, nothing asked
        EXPECT_EQ(answers.messages[0].text, QStringLiteral("开奖数据更新失败：") + readOnly);
        EXPECT_NE(f.result(), QDialog::Accepted);
        EXPECT_TRUE(Command4(f)->isEnabled());
        Enter(f, QString(), "123");
        Command2(f)->click();
        ASSERT_EQ(answers.messages.size(), 2);
        EXPECT_EQ(answers.messages[1].text, QStringLiteral("开奖数据保存失败：") + readOnly);
        EXPECT_NE(f.result(), QDialog::Accepted);
    }
    EXPECT_EQ(dir.read("HAO.TXT"), local);
    EXPECT_EQ(QFile::permissions(hao) & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther), QFile::Permissions());
    EXPECT_EQ(testsupport::FilesIn(dir.path()), QStringList({"HAO.TXT", "HAOP3.TXT"}));
    QFile::setPermissions(hao, QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(DrawEntry, HomeServerCopyComparesWithTheEditedHistory) {
    testsupport::HttpServer server;
    testsupport::EnvVar homeUrl("SIFMORA_HOME_URL", server.baseUrl());
    server.serve("/3d/HAO.txt", MakeRecords(MakeDraws(6, 354)));  // ends 2024359
    ui::MessageRecorder answers(ui::Answer::Yes);
    DrawEntryWindow f(app);
    Enter(f, QString(), "123");  // 2024359 entered here
    Command4(f)->click();
    EXPECT_EQ(Label3(f)->text(), "本机数据已升级不需更新");
    EXPECT_EQ(dir.read("HAO.TXT"), MakeRecords(draws));
    Command2(f)->click();
    EXPECT_EQ(dir.read("HAO.TXT"), MakeRecords(draws) + "2024359 1231");
}

TEST_F(DrawEntry, PickThree) {
    common::SaveSetting("fclx", "1");
    load(MakeDraws(2), MakeDraws(3, 100));
    testsupport::HttpServer server;
    testsupport::EnvVar homeUrl("SIFMORA_HOME_URL", server.baseUrl());
    const QByteArray later = MakeRecords(MakeDraws(4, 100));
    server.serve("/3d/HAOP3.txt", later);
    DrawEntryWindow f(app);
    EXPECT_TRUE(Image1(f)->isHidden());
    EXPECT_FALSE(Image2(f)->isHidden());
    EXPECT_EQ(Combo1(f)->currentText(), "2024103");
    ui::MessageRecorder answers(ui::Answer::Yes);
    Command4(f)->click();
    EXPECT_EQ(dir.read("HAOP3.TXT"), later);
    EXPECT_EQ(dir.read("HAO.TXT"), MakeRecords(MakeDraws(2)));
}

// The main window opens it modal and reloads from the file when it closes.
TEST_F(DrawEntry, MainWindowReloadsAfterIt) {
    MainWindow main(app);
    main.quitOnClose = false;
    main.start();
    main.openers().drawEntry = [this](QWidget* parent) { history::OpenDrawEntry(parent, app); };
    bool save = true;
    QWidget* parentSeen = nullptr;
    ui::SetModalHandler([&](QDialog* d) {
        auto* f = qobject_cast<DrawEntryWindow*>(d);
        EXPECT_NE(f, nullptr);
        parentSeen = f->parentWidget();
        Text1(*f)->setText("123");
        Command1(*f)->click();
        Text1(*f)->setText("456");
        Command1(*f)->click();
        if (save) {
            Command2(*f)->click();
        } else {
            f->show();
            f->close();  // 否 to writing the edits
        }
        return f->result();
    });
    int reloads = 0;
    QObject::connect(&app, &common::AppState::historyReloaded, &main, [&] { ++reloads; });
    main.run(mainwindow::Command::DrawEntry);
    EXPECT_EQ(parentSeen, &main);
    EXPECT_EQ(app.history().count(), 7);
    EXPECT_EQ(app.history().newest(), "2024360 456");
    EXPECT_EQ(reloads, 1);  // the list is built again from the new history
    EXPECT_TRUE(main.tray()->toggleEnabled());
    EXPECT_TRUE(main.findChild<QTimer*>("Timer1")->isActive());  // the list is rebuilt after the reload

    save = false;  // closed by the close box: the edits are gone after the reload
    ui::MessageRecorder answers(ui::Answer::No);
    main.run(mainwindow::Command::DrawEntry);
    EXPECT_EQ(app.history().count(), 7);
    EXPECT_EQ(dir.read("HAO.TXT"), MakeRecords(draws) + "2024359 1231" "2024360 4561");
}

TEST_F(DrawEntry, FailedWriteKeepsTheWindowAndTheEdits) {
    ui::MessageRecorder messages;
    DrawEntryWindow f(app);
    Enter(f, QString(), "123");
    const QString drawFile = app.drawFilePath();
    const common::DrawHistory loaded = app.history();
    app.selectLottery(false, dir.file("gone/HAO.TXT"), loaded);  // cannot be written
    Command2(f)->click();
    EXPECT_NE(f.result(), QDialog::Accepted);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.lastText().startsWith("开奖数据保存失败：")) << messages.lastText().toStdString();
    EXPECT_FALSE(QFile::exists(dir.file("FLAG.TXT")));
    app.selectLottery(false, drawFile, loaded);
    Command2(f)->click();  // the edits are still there
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(fileBytes(), MakeRecords(draws) + "2024359 1231");
}

// A program folder that takes no new file: 返回 says which draw file was not written and why
// (never the temporary FLAG.TXT), the note says the draws are not written yet, and nothing is lost.
TEST_F(DrawEntry, ReturnInAReadOnlyFolderNamesTheDrawFile) {
    ui::MessageRecorder messages;
    DrawEntryWindow f(app);
    Enter(f, QString(), "123");
    ASSERT_EQ(Label3(f)->text(), "保存成功");
    {
        testsupport::ReadOnlyFolder readOnly(dir.path());
        if (!readOnly.isReadOnly()) GTEST_SKIP() << "the program folder cannot be made read-only here";
        Command2(f)->click();
        EXPECT_NE(f.result(), QDialog::Accepted);
        ASSERT_EQ(messages.messages.size(), 1);
        const QString text = messages.lastText();
        // The draw file and a reason after it, whichever of the file or the folder refused first.
        EXPECT_TRUE(text.startsWith("开奖数据保存失败：无法写入 " + QDir::toNativeSeparators(dir.file("HAO.TXT")) + "："))
            << text.toStdString();
        EXPECT_GT(text.size(), text.indexOf("HAO.TXT：") + 9) << text.toStdString();
        EXPECT_FALSE(text.contains("FLAG")) << text.toStdString();
        EXPECT_EQ(Label3(f)->text(), "开奖数据尚未写入 HAO.TXT");
        EXPECT_EQ(fileBytes(), MakeRecords(draws));
    }
    Command2(f)->click();  // the folder takes files again: the edits were kept
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(fileBytes(), MakeRecords(draws) + "2024359 1231");
}

// Focus leaving the issue box (to 保存号码, or Enter in it) must not swap the list's selection
// under the typed digits: a typed issue stays a typed issue.
TEST_F(DrawEntry, TypedIssueStaysTypedWhenTheBoxLosesFocus) {
    DrawEntryWindow f(app);
    Text1(f)->setText("777");
    Combo1(f)->setEditText("2024356");  // an existing draw's issue, typed
    emit Combo1(f)->lineEdit()->editingFinished();
    EXPECT_EQ(Text1(f)->text(), "777");
    Command1(f)->click();
    EXPECT_EQ(Label3(f)->text(), "期号设置错误");
    EXPECT_EQ(f.book().entry(2), draws[2]);
    Command2(f)->click();
    EXPECT_EQ(fileBytes(), MakeRecords(draws));
}

// Three digits hand the focus to 保存号码, and Enter then saves, as the entry routine expects.
TEST_F(DrawEntry, EnterOnTheFocusedSaveButtonSaves) {
    DrawEntryWindow f(app);
    f.show();
    f.activateWindow();
    Text1(f)->setFocus();
    Text1(f)->setText("321");
    ASSERT_EQ(f.focusWidget(), Command1(f));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(Command1(f), &press);
    EXPECT_EQ(Label3(f)->text(), "保存成功");
    EXPECT_EQ(f.book().entryCount(), 6);
    ui::MessageRecorder answers(ui::Answer::No);  // the edit is not to be written
    f.close();
}

// Opened over the main window, the window must not take on the main window's title-bar look
// (white text): its status line would be unreadable.
TEST_F(DrawEntry, StatusLineReadableOverTheMainWindow) {
    MainWindow main(app);
    main.quitOnClose = false;
    main.start();
    DrawEntryWindow f(app, &main);
    auto* mainLabel2 = main.findChild<QLabel*>("Label2", Qt::FindDirectChildrenOnly);
    auto* mainLabel3 = main.findChild<QLabel*>("Label3", Qt::FindDirectChildrenOnly);
    ASSERT_TRUE(mainLabel2 && mainLabel3);
    for (QLabel* label : {mainLabel2, mainLabel3, Label2(f), Label3(f)}) label->ensurePolished();
    EXPECT_EQ(mainLabel3->palette().color(QPalette::WindowText), QColor(Qt::white));  // the title bar
    EXPECT_NE(Label3(f)->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_NE(Label2(f)->palette().color(QPalette::WindowText), QColor(Qt::white));
}
