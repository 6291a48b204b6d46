#include "workbench/bottomrow.h"

#include "dialogs/workbenchapi.h"
#include "platform/process.h"
#include "platform/ui/lotterymark.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/pagewindow.h"
#include "workbench/basesets.h"
#include "workbench/benchcontrols.h"
#include "workbench/statsopeners.h"

#include <QEvent>

namespace workbench {

using pool::kNewLine;

BottomRow::BottomRow(dialogs::WorkbenchApi& bench, QWidget* window) : QObject(window), bench_(bench), window_(window) {
    using B = BottomRow;
    row_ << Button(window, this, &B::calculator, QStringLiteral("Command20"), QStringLiteral("计算器"), 8, 504, 70, 28);
    row_ << Button(window, this, &B::plan, QStringLiteral("Command45"), QStringLiteral("投资计划"), 78, 504, 70, 28);
    toStraight_ = Button(window, this, &B::toStraight, QStringLiteral("Command30"), QStringLiteral("组选=》单选"), 148,
                         504, 90, 28);
    toGroup_ = Button(window, this, &B::toGroup, QStringLiteral("Command31"), QStringLiteral("单选=》组选"), 238, 504,
                      90, 28);
    row_ << toStraight_ << toGroup_;
    row_ << Button(window, this, &B::undo, QStringLiteral("Command52"), QStringLiteral("撤消"), 328, 504, 60, 28);
    row_ << Button(window, this, &B::redo, QStringLiteral("Command51"), QStringLiteral("恢复"), 388, 504, 60, 28);
    tutorial_ = Button(window, this, &B::tutorial, QStringLiteral("Command49"), QStringLiteral("<<不会使用就来看视频教程>>"),
                       448, 504, 264, 28);
    for (int k = 1; k <= 2; ++k) {
        QLabel* image = Lbl(window, QStringLiteral("Image%1").arg(k),
                            k == 1 ? QStringLiteral("福彩3D") : QStringLiteral("排列三"), 712, 504, 80, 28);
        image->setAlignment(Qt::AlignCenter);
        image->setToolTip(QStringLiteral("点击转换彩票类型"));
        ui::SetLotteryMark(image, k == 2);
        image->setCursor(Qt::PointingHandCursor);
        image->installEventFilter(this);
        images_[k - 1] = image;
    }
}

void BottomRow::showLottery(bool isP3) {
    images_[0]->setVisible(!isP3);
    images_[1]->setVisible(isP3);
}

void BottomRow::place(int top, int right) {
    QWidget* prev = row_.front();
    prev->move(prev->x(), top);
    for (int i = 1; i < row_.size(); ++i) {
        row_[i]->move(prev->x() + prev->width(), top);
        prev = row_[i];
    }
    for (QLabel* img : images_) img->move(right - img->width(), top);
    const int imageLeft = images_[0]->x();
    const int w = imageLeft - prev->x() - prev->width();
    if (w >= 0) tutorial_->setGeometry(0, top, w, tutorial_->height());
    tutorial_->move(imageLeft - tutorial_->width(), top);
}

// The lottery pictures are plain labels: a release on one switches.
bool BottomRow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && (watched == images_[0] || watched == images_[1])) {
        bench_.switchLottery(watched == images_[0]);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void BottomRow::calculator() {
    QString error;
    if (!platform::StartCalculator(&error))
        ui::MsgBox(error, ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, window_);
}

void BottomRow::plan() { OpenStatistics(bench_, StatisticsWindow::Opener::ProfitPlan); }

void BottomRow::toStraight() {
    pool::PoolSession& session = bench_.session();
    session.pool = ExpandToStraight(session.pool);
    session.setDescription += QStringLiteral("=》组变单");
    session.log.append(kNewLine + QStringLiteral("组变单") + kNewLine);
    session.CommitSet();
}

void BottomRow::toGroup() {
    pool::PoolSession& session = bench_.session();
    ReduceToGroup(session.pool);
    session.setDescription += QStringLiteral("=》单变组");
    session.log.append(kNewLine + QStringLiteral("单变组") + kNewLine);
    session.CommitSet();
}

void BottomRow::undo() {
    bench_.session().Undo();
    if (!bench_.session().pool.isEmpty()) bench_.enterFilteringMode();
}

void BottomRow::redo() {
    bench_.session().Redo();
    if (!bench_.session().pool.isEmpty()) bench_.enterFilteringMode();
}

void BottomRow::tutorial() { ui::ShowHomePage(QStringLiteral("/3d/gd.htm"), QStringLiteral("使用教程"), window_); }

}  // namespace workbench
