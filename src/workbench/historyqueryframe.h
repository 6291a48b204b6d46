#pragma once
// The workbench's frame 历史查询 (Frame2): a number's and an issue serial's past draws, written to
// the model's log. Its sum-range row (Combo7, Label12, Combo8 and its 过滤 Command3) is never shown.
#include <QGroupBox>

class QComboBox;
class QPushButton;
namespace common {
class DrawHistory;
}
namespace pool {
class PoolSession;
}

namespace workbench {

class HistoryQueryFrame : public QGroupBox {
public:
    HistoryQueryFrame(pool::PoolSession& session, const common::DrawHistory& history, QWidget* parent);

    QPushButton* hiddenRun() const { return hiddenRun_; }  // Command3, switched with the modes
    // The number list: the last eleven draws, the newest shown (the window's activation).
    void fillNumbers();
    // The serial list: eleven serials around the next draw, the next shown; the sum lists.
    void fillSerials();

    void queryNumber();  // 查询号码 (Command42)
    void querySerial();  // 查询期号 (Command57)

private:
    void run(QComboBox* box, int (*query)(QString&, const common::DrawHistory&, const QString&));

    pool::PoolSession& session_;
    const common::DrawHistory& history_;  // the current lottery's, reloaded in place
    QComboBox* numbers_ = nullptr;  // Combo9
    QComboBox* serials_ = nullptr;  // Combo11
    QComboBox* sumRange_[2] = {};   // Combo7, Combo8
    QPushButton* hiddenRun_ = nullptr;
};

}  // namespace workbench
