#pragma once
// DrawEntryWindow (数据输入): corrects, appends, deletes and restores draws of the current lottery in a
// working copy of its history; 返回 writes the draw file back, 网上更新 takes the home server's
// copy. Closed otherwise (the close box, Esc) with edits the file does not hold yet, it asks
// whether to write them. The main window opens it modal and reloads the history from the file
// once it closes.
// The working copy (history::DrawEntryBook) is the window's model: the list shows its items and
// every edit goes to it first. Its objectName is "Form3" and its controls keep theirs (Combo1,
// Text1, Command1..4, Label3, Image1/2): tests, settings and the other windows find them by name.
#include "history/drawentry.h"

#include <QDialog>

namespace common {
class AppState;
}  // namespace common
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class DrawEntryWindow : public QDialog {
    Q_OBJECT
public:
    // state: the current lottery, its draws and its draw file.
    explicit DrawEntryWindow(const common::AppState& state, QWidget* parent = nullptr);
    ~DrawEntryWindow() override;

    // The working copy (what 返回 would write).
    const history::DrawEntryBook& book() const { return book_; }
    // Selects a list item as a click would (the item's draw is shown, or a deleted one offered back).
    void selectItem(int index);

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showBook();              // fills the list and the lottery mark from the working copy
    void showSelectedDraw();      // an item picked in the list (Combo1)
    void tidyDigits();            // the digits typed (Text1)
    void saveDraw();              // 保存号码 (Command1)
    void writeAndReturn();        // 返回 (Command2)
    void deleteDraw();            // 删除号码 (Command3)
    void updateFromHomeServer();  // 网上更新 (Command4)

    int selectedEntry() const;
    // Closing without 返回: asks whether to write edits the file does not hold yet. True when
    // the window may close as rejected (nothing to write, or 否).
    bool leaveUnwrittenEdits();
    void refreshLastItem();
    void setButtonsEnabled(bool enabled);

    const common::AppState& state_;
    history::DrawEntryBook book_;
    bool downloading_ = false;
    bool inTextChange_ = false;

    QComboBox* issueBox_ = nullptr;        // Combo1: the entries' issues and the next issue
    QLineEdit* digitsEdit_ = nullptr;      // Text1
    QLabel* status_ = nullptr;             // Label3
    QPushButton* saveButton_ = nullptr;    // Command1 保存号码
    QPushButton* returnButton_ = nullptr;  // Command2 返回
    QPushButton* deleteButton_ = nullptr;  // Command3 删除号码
    QPushButton* updateButton_ = nullptr;  // Command4 网上更新
    QLabel* fc3dMark_ = nullptr;           // Image1 福彩3D
    QLabel* p3Mark_ = nullptr;             // Image2 排列三
};

namespace history {
// The main window's opener: DrawEntryWindow modal over parent.
void OpenDrawEntry(QWidget* parent, const common::AppState& state);
}  // namespace history
