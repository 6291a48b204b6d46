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
#include <QFileInfo>
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

DrawEntryWindow::DrawEntryWindow(const common::AppState& state, QWidget* parent)
    : QDialog(parent), state_(state), book_(state.history().draws()) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("数据输入"));
    setFixedSize(360, 210);

    ui::MakeLabel(this, "Label1", QStringLiteral("开奖期号"), 20, 22, 70, 24);
    issueBox_ = new QComboBox(this);
    issueBox_->setObjectName(QStringLiteral("Combo1"));
    issueBox_->setEditable(true);
    issueBox_->setInsertPolicy(QComboBox::NoInsert);  // a typed issue is taken by 保存号码 only
    issueBox_->setCompleter(nullptr);                 // and taken as typed
    // Leaving the box would otherwise select the item whose text matches the typed issue and put
    // that draw's old digits over the ones just typed; a typed issue stays a typed issue.
    QObject::disconnect(issueBox_->lineEdit(), &QLineEdit::editingFinished, issueBox_, nullptr);
    issueBox_->setGeometry(96, 20, 130, 26);
    ui::MakeLabel(this, "Label2", QStringLiteral("开奖号码"), 20, 62, 70, 24);
    digitsEdit_ = new QLineEdit(this);
    digitsEdit_->setObjectName(QStringLiteral("Text1"));
    digitsEdit_->setGeometry(96, 60, 130, 26);
    status_ = ui::MakeLabel(this, "Label3", QString(), 20, 100, 320, 24);

    saveButton_ = MakeDrawEntryButton(this, "Command1", QStringLiteral("保存号码"), 240, 18);
    deleteButton_ = MakeDrawEntryButton(this, "Command3", QStringLiteral("删除号码"), 240, 58);
    returnButton_ = MakeDrawEntryButton(this, "Command2", QStringLiteral("返回"), 130, 160);
    updateButton_ = MakeDrawEntryButton(this, "Command4", QStringLiteral("网上更新"), 20, 160);

    fc3dMark_ = ui::MakeLabel(this, "Image1", QString(), 240, 160, 100, 30);
    p3Mark_ = ui::MakeLabel(this, "Image2", QString(), 240, 160, 100, 30);
    for (QLabel* mark : {fc3dMark_, p3Mark_}) {
        mark->setToolTip(QStringLiteral("点击转换彩票类型"));
        mark->setAlignment(Qt::AlignCenter);
        ui::SetLotteryMark(mark, mark == p3Mark_);
    }

    connect(issueBox_, &QComboBox::activated, this, &DrawEntryWindow::showSelectedDraw);
    connect(digitsEdit_, &QLineEdit::textChanged, this, &DrawEntryWindow::tidyDigits);
    connect(saveButton_, &QPushButton::clicked, this, &DrawEntryWindow::saveDraw);
    connect(returnButton_, &QPushButton::clicked, this, &DrawEntryWindow::writeAndReturn);
    connect(deleteButton_, &QPushButton::clicked, this, &DrawEntryWindow::deleteDraw);
    connect(updateButton_, &QPushButton::clicked, this, &DrawEntryWindow::updateFromHomeServer);

    TakeMainWindowLook(this, parentWidget());
    showBook();
}

DrawEntryWindow::~DrawEntryWindow() = default;

void DrawEntryWindow::showBook() {
    issueBox_->clear();
    issueBox_->addItems(book_.itemTexts());
    selectItem(book_.lastItem());
    status_->setText(QStringLiteral("软件支持在线更新"));
    fc3dMark_->setVisible(!state_.lotteryIsP3());
    p3Mark_->setVisible(state_.lotteryIsP3());
}

void DrawEntryWindow::selectItem(int index) {
    issueBox_->setCurrentIndex(index);
    showSelectedDraw();
}

// The entry the list has selected, or -1 when the user typed an issue of their own.
int DrawEntryWindow::selectedEntry() const {
    const int li = issueBox_->currentIndex();
    if (li < 0 || issueBox_->currentText().trimmed() != issueBox_->itemText(li)) return -1;
    return li;
}

void DrawEntryWindow::refreshLastItem() {
    const int last = book_.lastItem();
    issueBox_->setItemText(last, book_.nextIssue());
    if (issueBox_->currentIndex() == last) issueBox_->setEditText(book_.nextIssue());
}

void DrawEntryWindow::showSelectedDraw() {
    status_->clear();
    const int li = issueBox_->currentIndex();
    if (li < 0) return;
    if (li >= book_.lastItem()) {
        digitsEdit_->clear();
        return;
    }
    if (!book_.isDeleted(li)) {
        digitsEdit_->setText(common::NumberOf(book_.entry(li)));
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
        status_->setText(issue + QStringLiteral("期已有开奖记录,不能恢复"));
        return;
    }
    issueBox_->setItemText(li, issue);
    issueBox_->setEditText(issue);
    digitsEdit_->setText(common::NumberOf(book_.entry(li)));
    refreshLastItem();
    status_->setText(QStringLiteral("记录已恢复"));
}

void DrawEntryWindow::tidyDigits() {
    if (inTextChange_) return;
    const QString trimmed = digitsEdit_->text().trimmed();
    if (trimmed != digitsEdit_->text()) {
        inTextChange_ = true;
        digitsEdit_->setText(trimmed);
        inTextChange_ = false;
    }
    if (trimmed.size() == 3) saveButton_->setFocus();
}

void DrawEntryWindow::saveDraw() {
    const QString issue = issueBox_->currentText().trimmed();
    digitsEdit_->setText(digitsEdit_->text().trimmed());
    status_->clear();
    const int li = selectedEntry();
    switch (book_.save(li, issue, digitsEdit_->text())) {
    case history::DrawEntryBook::SaveOutcome::FormatError:
        digitsEdit_->clear();
        digitsEdit_->setFocus();
        status_->setText(QStringLiteral("格式错误"));
        return;
    case history::DrawEntryBook::SaveOutcome::Modified:
        status_->setText(QStringLiteral("修改成功"));
        return;
    case history::DrawEntryBook::SaveOutcome::IssueNotNewer:
        selectItem(book_.lastItem());
        status_->setText(QStringLiteral("期号设置错误"));
        return;
    case history::DrawEntryBook::SaveOutcome::Appended: {
        const int added = book_.entryCount() - 1;  // the old last item's place
        issueBox_->setItemText(added, issue);
        issueBox_->addItem(book_.nextIssue());
        selectItem(book_.lastItem());
        digitsEdit_->clear();
        digitsEdit_->setFocus();
        status_->setText(QStringLiteral("保存成功"));
        return;
    }
    }
}

void DrawEntryWindow::deleteDraw() {
    status_->clear();
    const int li = selectedEntry();
    if (!book_.canDelete(li)) {
        status_->setText(QStringLiteral("不能删除数据"));
        return;
    }
    const ui::Answer answer =
        ui::MsgBox(QStringLiteral("是否删除第[") + issueBox_->currentText() + QStringLiteral("]期的数据?"),
                   ui::Icon::Question, ui::Buttons::YesNo, ui::kAppTitle, this, ui::Answer::No);
    if (answer != ui::Answer::Yes) return;
    book_.markDeleted(li);
    issueBox_->setItemText(li, history::DrawEntryBook::kDeletedText);
    refreshLastItem();
    selectItem(book_.lastItem());
    status_->setText(QStringLiteral("记录已删除"));
}

void DrawEntryWindow::writeAndReturn() {
    const QString drawFile = state_.drawFilePath();
    QString why;
    if (!history::WriteDrawFileViaFlag(drawFile, common::ProgramFile(QStringLiteral("FLAG.TXT")), book_.keptDraws(),
                                       &why)) {
        // The draw file is as it was; the window stays open with the edits, and its note no
        // longer reads as if they were kept ("保存成功" said they were taken, not written).
        status_->setText(QStringLiteral("开奖数据尚未写入 %1").arg(QFileInfo(drawFile).fileName()));
        ui::MsgBox(QStringLiteral("开奖数据保存失败：") + why, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
        return;
    }
    accept();
}

void DrawEntryWindow::setButtonsEnabled(bool enabled) {
    for (QPushButton* b : {saveButton_, returnButton_, deleteButton_, updateButton_}) b->setEnabled(enabled);
}

void DrawEntryWindow::updateFromHomeServer() {
    const common::AppState& app = state_;
    setButtonsEnabled(false);
    status_->setText(QStringLiteral("正在下载数据,请稍候..."));
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
        status_->setText(refusal);
        setButtonsEnabled(true);
        return;
    }
    auto updateFailed = [&](const QString& why) {
        QFile::remove(bak);
        ui::MsgBox(QStringLiteral("开奖数据更新失败：") + why, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
        status_->clear();
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
    status_->setText(QStringLiteral("本机数据已升级不需更新"));
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
    if (answer == ui::Answer::Yes) writeAndReturn();
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
