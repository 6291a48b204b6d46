#include "history/windows/drawentrywindow.h"

#include "common/appstate.h"
#include "common/atomicfile.h"
#include "common/drawtext.h"
#include "common/paths.h"
#include "history/drawdownload.h"
#include "history/drawfile.h"
#include "platform/ui/controls.h"
#include "platform/ui/lotterymark.h"
#include "platform/ui/messagebox.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QPushButton* MakeDrawEntryButton(QWidget* parent, const char* name, const QString& caption, int x, int y) {
    QPushButton* b = ui::MakeButton(parent, QString::fromLatin1(name), caption, x, y, 100, 30);
    b->setAutoDefault(false);
    return b;
}

// The window's place and icon come from the main window it is opened over.
void TakeMainWindowLook(QWidget* window, QWidget* main) {
    if (!main) return;
    window->setWindowIcon(main->windowIcon());
    const QRect m = main->frameGeometry();
    window->move(m.left() + (m.width() - window->width()) / 2, m.top() + (m.height() - window->height()) / 2);
}

}  // namespace

DrawEntryWindow::DrawEntryWindow(const common::AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("数据输入"));
    setFixedSize(360, 210);

    Label1 = ui::MakeLabel(this, "Label1", QStringLiteral("开奖期号"), 20, 22, 70, 24);
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);  // a typed issue is taken by 保存号码 only
    Combo1->setCompleter(nullptr);                 // and taken as typed
    // Leaving the box would otherwise select the item whose text matches the typed issue and put
    // that draw's old digits over the ones just typed; a typed issue stays a typed issue.
    QObject::disconnect(Combo1->lineEdit(), SIGNAL(editingFinished()), Combo1, nullptr);
    Combo1->setGeometry(96, 20, 130, 26);
    Label2 = ui::MakeLabel(this, "Label2", QStringLiteral("开奖号码"), 20, 62, 70, 24);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(96, 60, 130, 26);
    Label3 = ui::MakeLabel(this, "Label3", QString(), 20, 100, 320, 24);

    Command1 = MakeDrawEntryButton(this, "Command1", QStringLiteral("保存号码"), 240, 18);
    Command3 = MakeDrawEntryButton(this, "Command3", QStringLiteral("删除号码"), 240, 58);
    Command2 = MakeDrawEntryButton(this, "Command2", QStringLiteral("返回"), 130, 160);
    Command4 = MakeDrawEntryButton(this, "Command4", QStringLiteral("网上更新"), 20, 160);

    Image1 = ui::MakeLabel(this, "Image1", QString(), 240, 160, 100, 30);
    Image2 = ui::MakeLabel(this, "Image2", QString(), 240, 160, 100, 30);
    for (QLabel* image : {Image1, Image2}) {
        image->setToolTip(QStringLiteral("点击转换彩票类型"));
        image->setAlignment(Qt::AlignCenter);
        ui::SetLotteryMark(image, image == Image2);
    }

    connect(Combo1, qOverload<int>(&QComboBox::activated), this, [this] { Combo1_Click(); });
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(Command1, &QPushButton::clicked, this, &DrawEntryWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &DrawEntryWindow::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &DrawEntryWindow::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &DrawEntryWindow::Command4_Click);

    Form_Load();
}

DrawEntryWindow::~DrawEntryWindow() = default;

void DrawEntryWindow::Form_Load() {
    TakeMainWindowLook(this, parentWidget());
    const common::AppState& app = state_;
    book_ = history::DrawEntryBook(app.history.draws());
    Combo1->clear();
    Combo1->addItems(book_.itemTexts());
    selectItem(book_.lastItem());
    Label3->setText(QStringLiteral("软件支持在线更新"));
    Image1->setVisible(!app.lotteryIsP3());
    Image2->setVisible(app.lotteryIsP3());
}

void DrawEntryWindow::selectItem(int index) {
    Combo1->setCurrentIndex(index);
    Combo1_Click();
}

// The entry the list has selected, or -1 when the user typed an issue of their own.
int DrawEntryWindow::selectedEntry() const {
    const int li = Combo1->currentIndex();
    if (li < 0 || Combo1->currentText().trimmed() != Combo1->itemText(li)) return -1;
    return li;
}

void DrawEntryWindow::refreshLastItem() {
    const int last = book_.lastItem();
    Combo1->setItemText(last, book_.nextIssue());
    if (Combo1->currentIndex() == last) Combo1->setEditText(book_.nextIssue());
}

void DrawEntryWindow::Combo1_Click() {
    Label3->clear();
    const int li = Combo1->currentIndex();
    if (li < 0) return;
    if (li >= book_.lastItem()) {
        Text1->clear();
        return;
    }
    if (!book_.isDeleted(li)) {
        Text1->setText(common::NumberOf(book_.entry(li)));
        return;
    }
    const QString issue = common::IssueOf(book_.entry(li));
    const ui::Answer answer = ui::MsgBox(issue + QStringLiteral("期记录已被删除,是否要恢复数据?"), ui::Icon::Question,
                                         ui::Buttons::YesNo, ui::kAppTitle, this, ui::Answer::No);
    if (answer != ui::Answer::Yes) {
        selectItem(book_.lastItem());
        return;
    }
    if (!book_.restore(li)) {
        // A draw saved again under this issue since: restoring would put two draws of one issue
        // (or an older issue after a newer one) into the file.
        selectItem(book_.lastItem());
        Label3->setText(issue + QStringLiteral("期已有开奖记录,不能恢复"));
        return;
    }
    Combo1->setItemText(li, issue);
    Combo1->setEditText(issue);
    Text1->setText(common::NumberOf(book_.entry(li)));
    refreshLastItem();
    Label3->setText(QStringLiteral("记录已恢复"));
}

void DrawEntryWindow::Text1_Change() {
    if (inTextChange_) return;
    const QString trimmed = Text1->text().trimmed();
    if (trimmed != Text1->text()) {
        inTextChange_ = true;
        Text1->setText(trimmed);
        inTextChange_ = false;
    }
    if (trimmed.size() == 3) Command1->setFocus();
}

void DrawEntryWindow::Command1_Click() {
    const QString issue = Combo1->currentText().trimmed();
    Text1->setText(Text1->text().trimmed());
    Label3->clear();
    const int li = selectedEntry();
    switch (book_.save(li, issue, Text1->text())) {
    case history::DrawEntryBook::SaveOutcome::FormatError:
        Text1->clear();
        Text1->setFocus();
        Label3->setText(QStringLiteral("格式错误"));
        return;
    case history::DrawEntryBook::SaveOutcome::Modified:
        Label3->setText(QStringLiteral("修改成功"));
        return;
    case history::DrawEntryBook::SaveOutcome::IssueNotNewer:
        selectItem(book_.lastItem());
        Label3->setText(QStringLiteral("期号设置错误"));
        return;
    case history::DrawEntryBook::SaveOutcome::Appended: {
        const int added = book_.entryCount() - 1;  // the old last item's place
        Combo1->setItemText(added, issue);
        Combo1->addItem(book_.nextIssue());
        selectItem(book_.lastItem());
        Text1->clear();
        Text1->setFocus();
        Label3->setText(QStringLiteral("保存成功"));
        return;
    }
    }
}

void DrawEntryWindow::Command3_Click() {
    Label3->clear();
    const int li = selectedEntry();
    if (!book_.canDelete(li)) {
        Label3->setText(QStringLiteral("不能删除数据"));
        return;
    }
    const ui::Answer answer =
        ui::MsgBox(QStringLiteral("是否删除第[") + Combo1->currentText() + QStringLiteral("]期的数据?"),
                   ui::Icon::Question, ui::Buttons::YesNo, ui::kAppTitle, this, ui::Answer::No);
    if (answer != ui::Answer::Yes) return;
    book_.markDeleted(li);
    Combo1->setItemText(li, history::DrawEntryBook::kDeletedText);
    refreshLastItem();
    selectItem(book_.lastItem());
    Label3->setText(QStringLiteral("记录已删除"));
}

void DrawEntryWindow::Command2_Click() {
    const QString drawFile = state_.drawFilePath();
    QString why;
    if (!history::WriteDrawFileViaFlag(drawFile, common::ProgramFile(QStringLiteral("FLAG.TXT")), book_.keptDraws(),
                                       &why)) {
        // The draw file is as it was; the window stays open with the edits.
        ui::MsgBox(QStringLiteral("开奖数据保存失败：") + why, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
        return;
    }
    accept();
}

void DrawEntryWindow::setButtonsEnabled(bool enabled) {
    for (QPushButton* b : {Command1, Command2, Command3, Command4}) b->setEnabled(enabled);
}

void DrawEntryWindow::Command4_Click() {
    const common::AppState& app = state_;
    setButtonsEnabled(false);
    Label3->setText(QStringLiteral("正在下载数据,请稍候..."));
    downloading_ = true;
    const QString bak = common::ProgramFile(QStringLiteral("HAOBAK.TXT"));
    history::HomeCopyCheck check;
    const history::HomeCopyFetch fetched =
        common::HasHomeServer()
            ? history::FetchHomeCopy(history::HomeDrawFileUrl(app.lotteryIsP3()), bak, app.drawFilePath(), &check)
            : history::HomeCopyFetch::NotReached;
    downloading_ = false;
    // Only a copy that extends the local file may replace it; every other answer leaves the file
    // as it was and says why on the status line.
    QString refusal;
    switch (fetched) {
    case history::HomeCopyFetch::Fetched: break;
    case history::HomeCopyFetch::NotReached: refusal = QStringLiteral("网络连接失败"); break;
    case history::HomeCopyFetch::TooLarge: refusal = QStringLiteral("服务器的回答太大,本机数据未更新"); break;
    case history::HomeCopyFetch::WebPage: refusal = QStringLiteral("服务器没有发来开奖数据,本机数据未更新"); break;
    case history::HomeCopyFetch::Refused: refusal = QStringLiteral("服务器数据格式错误,本机数据未更新"); break;
    case history::HomeCopyFetch::LocalUnreadable: refusal = QStringLiteral("本机数据文件无法读取,已保留原文件"); break;
    case history::HomeCopyFetch::Disagrees: refusal = QStringLiteral("服务器数据与本机记录不一致,本机数据未更新"); break;
    case history::HomeCopyFetch::Shorter: refusal = QStringLiteral("本机数据已升级不需更新"); break;
    case history::HomeCopyFetch::BadNewRecord: refusal = check.reason + QStringLiteral(",本机数据未更新"); break;
    }
    if (!refusal.isEmpty()) {
        Label3->setText(refusal);
        setButtonsEnabled(true);
        return;
    }
    auto updateFailed = [&](const QString& why) {
        QFile::remove(bak);
        ui::MsgBox(QStringLiteral("开奖数据更新失败：") + why, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
        Label3->clear();
        setButtonsEnabled(true);
    };
    // A read-only file (or a folder of its name) takes no copy: said before anything is asked.
    QString why;
    if (!history::CheckDrawFileWritable(app.drawFilePath(), &why)) return updateFailed(why);
    const ui::Answer answer = ui::MsgBox(
        QStringLiteral("服务器数据已更新到[") + check.serverIssue + QStringLiteral("]期,是否校对本机数据后再更新?"),
        ui::Icon::Question, ui::Buttons::YesNo, QStringLiteral("自动更新"), this);
    if (answer != ui::Answer::Yes || book_.lastEntryIssue() < check.serverIssue) {
        if (!history::CheckDrawFileWritable(app.drawFilePath(), &why) || !common::ReplaceFile(bak, app.drawFilePath(), &why))
            return updateFailed(why);
        accept();
        return;
    }
    QFile::remove(bak);
    Label3->setText(QStringLiteral("本机数据已升级不需更新"));
    setButtonsEnabled(true);
}

// The close box comes here too (through QDialog::closeEvent), as does Esc.
void DrawEntryWindow::reject() {
    if (downloading_) return;  // the download blocks the window; it ends first
    if (!leaveUnwrittenEdits()) return;
    QDialog::reject();
}

// 保存号码 said "保存成功": leaving without a word would drop what the player was told was saved.
bool DrawEntryWindow::leaveUnwrittenEdits() {
    if (!book_.changed()) return true;
    const ui::Answer answer = ui::MsgBox(QStringLiteral("数据已修改，是否保存到开奖数据文件？"), ui::Icon::Question,
                                         ui::Buttons::YesNoCancel, ui::kAppTitle, this, ui::Answer::Yes);
    if (answer == ui::Answer::No) return true;
    // 是 writes as 返回 does and closes the window, or says why it could not and keeps it open.
    if (answer == ui::Answer::Yes) Command2_Click();
    return false;
}

void DrawEntryWindow::closeEvent(QCloseEvent* event) {
    if (downloading_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

// Enter presses the button that has the focus (the digits box hands it to 保存号码); no button is
// the dialog's default, so Enter elsewhere does nothing.
void DrawEntryWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled()) {
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

namespace history {

void OpenDrawEntry(QWidget* parent, const common::AppState& state) {
    DrawEntryWindow form(state, parent);
    ui::ShowModal(&form);
}

}  // namespace history
