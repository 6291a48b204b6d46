#pragma once
// The workbench's frame 缩水结果 (Frame8): the log (Text5) and the pool (List1, a double click
// deletes a number) of the model's session, the count (Label5), and 预览, 兑奖, 保存 (the export)
// and 【做大底】 (the pool saved as a collection with the session's set description).
#include <QGroupBox>
#include <QList>
#include <QString>

class QLabel;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QStringListModel;
namespace dialogs {
class WorkbenchApi;
}

namespace workbench {

class ResultsFrame : public QGroupBox {
public:
    ResultsFrame(dialogs::WorkbenchApi& bench, QWidget* parent);

    QPlainTextEdit* log() const { return log_; }
    QList<QPushButton*> buttons() const;  // 【做大底】, 保存, 兑奖, 预览: the row from the corner leftwards
    // The log and the list follow the session from now on.
    void followSession();
    void clear();  // the list and the count emptied (the reset to building mode)
    // The log and the list fill the frame, widened by the window's ratio.
    void place(double widthRatio);

    void saveCollection();  // 【做大底】 (Command11)
    void exportNumbers();   // 保存 (Command13)
    void deleteChosen();    // List1's double click
    void checkPrizes();     // 兑奖 (Command16)
    // False when the last 【做大底】 could not write its file (the error was shown).
    bool collectionSaved() const { return collectionSaved_; }
    QString lastCollectionPath() const { return lastCollectionPath_; }

private:
    dialogs::WorkbenchApi& bench_;
    QPlainTextEdit* log_ = nullptr;
    QListView* list_ = nullptr;
    QStringListModel* listModel_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* preview_ = nullptr;     // Command25
    QPushButton* prizes_ = nullptr;      // Command16
    QPushButton* export_ = nullptr;      // Command13
    QPushButton* collection_ = nullptr;  // Command11
    bool collectionSaved_ = true;
    QString lastCollectionPath_;
    QString chosenBetFolder_;  // the prize check's folder chooser's last folder, kept for the run
};

}  // namespace workbench
