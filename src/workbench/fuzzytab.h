#pragma once
// The workbench's tab 模糊过滤: the three digit sources (the player's own, remembered, or the
// hot/warm/cold, drawn/neighbour/lone, repeat/gap/middle classes of the history), each with its
// switch and allowed counts, and the fuzzy filter run over the model's session.
#include <QString>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
namespace dialogs {
class WorkbenchApi;
}

namespace workbench {

class FuzzyTab : public QWidget {
public:
    explicit FuzzyTab(dialogs::WorkbenchApi& bench);

    QLineEdit* digitBox(int k) const { return digits_[k]; }  // shows the model's FuzzyDigits k
    QPushButton* runButton() const { return run_; }          // Command43
    QPushButton* analyseButton() const { return analyse_; }  // Command64: the window opens the statistics
    // Binds the switches and count boxes to the model (after the digit boxes are bound).
    void bindModel();

    void customSource();  // 自定义 (Option11): the player's own digits, remembered
    void showSource(int kind);  // 热温冷 (0), 传邻孤 (1), 复隔中 (2): Option12..Option14
    void run();           // 过滤 (Command43)
    void showHelp();      // 说明 (Command65)

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setCaptions(const QString& a, const QString& b, const QString& c, int blanks);
    void digitsChanged(int k);
    void openPicker(int tab);

    dialogs::WorkbenchApi& bench_;
    QRadioButton* custom_ = nullptr;  // Option11
    QCheckBox* boxes_[3] = {};        // Check28..Check30
    QCheckBox* counts_[3][4] = {};    // Check31(0..3) .. Check33(0..3)
    QLineEdit* digits_[3] = {};       // Text2..Text4
    QString customDigits_[3];
    QPushButton* run_ = nullptr;
    QPushButton* analyse_ = nullptr;
    QPlainTextEdit* help_ = nullptr;  // Text20: 说明 shows its text
};

}  // namespace workbench
