#pragma once
// DrawEntryWindow (数据输入): corrects, appends, deletes and restores draws of the current lottery in a
// working copy of its history; 返回 writes the draw file back, 网上更新 takes the home server's
// copy. Closed otherwise (the close box, Esc) with edits the file does not hold yet, it asks
// whether to write them. The main window opens it modal and reloads the history from the file
// once it closes.
// Its objectName is "Form3": tests, settings and the other windows find it by that name.
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

    // ---- handlers ----
    void Form_Load();
    void Combo1_Click();
    void Text1_Change();
    void Command1_Click();  // 保存号码
    void Command2_Click();  // 返回
    void Command3_Click();  // 删除号码
    void Command4_Click();  // 网上更新

    // The working copy (what 返回 would write).
    const history::DrawEntryBook& book() const { return book_; }
    // Selects a list item as a click would (Combo1_Click runs).
    void selectItem(int index);

    // ---- controls ----
    QLabel* Label1 = nullptr;  // 开奖期号
    QLabel* Label2 = nullptr;  // 开奖号码
    QLabel* Label3 = nullptr;  // status line
    QComboBox* Combo1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QLabel* Image1 = nullptr;  // 福彩3D
    QLabel* Image2 = nullptr;  // 排列三

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
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
};

namespace history {
// The main window's opener: DrawEntryWindow modal over parent.
void OpenDrawEntry(QWidget* parent, const common::AppState& state);
}  // namespace history
