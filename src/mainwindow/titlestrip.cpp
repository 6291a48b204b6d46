#include "mainwindow/titlestrip.h"

#include "history/lottery.h"
#include "mainwindow/mainwindowlayout.h"
#include "mainwindow/trayicon.h"
#include "platform/ui/clicksource.h"
#include "platform/ui/controls.h"

#include <QDateTime>
#include <QLabel>

namespace mainwindow {

using layout::Px;
using ui::ClickSource;

TitleStrip::TitleStrip(QWidget* window) : QObject(window) {
    leftBar_ = ui::MakeLabel(window, "Bar");
    rightBar_ = ui::MakeLabel(window, "RightBar");
    clockPicture_ = ui::MakeLabel(window, "Image18");
    icon_ = ui::MakeLabel(window, "Image17");
    icon_->setPixmap(AppIcon().pixmap(24, 24));
    icon_->setGeometry(6, 4, 24, 24);
    caption_ = ui::MakeLabel(window, "Label13dd", QStringLiteral("Sifmora 5.80"));
    caption_->setGeometry(36, 8, 150, 18);
    lottery_ = ui::MakeLabel(window, "Label3");
    lottery_->setGeometry(190, 8, 110, 18);
    clock_ = ui::MakeLabel(window, "Label2");
    clock_->setGeometry(0, 8, 150, 18);
    minimize_ = ui::MakeLabel(window, "winmin", QStringLiteral("_"));
    close_ = ui::MakeLabel(window, "winexit", QStringLiteral("×"));
    for (QLabel* mark : {minimize_, close_}) {
        mark->setAlignment(Qt::AlignCenter);
        mark->setCursor(Qt::PointingHandCursor);
    }

    for (QWidget* bar : std::initializer_list<QWidget*>{leftBar_, rightBar_, caption_})
        connect(ClickSource::of(bar), &ClickSource::dragged, this, &TitleStrip::moveRequested);
    connect(ClickSource::of(leftBar_), &ClickSource::doubleClicked, this, &TitleStrip::boardToggleRequested);
    for (QWidget* w : std::initializer_list<QWidget*>{clock_, lottery_, icon_})
        connect(ClickSource::of(w), &ClickSource::pressed, this, &TitleStrip::menuRequested);
    connect(ClickSource::of(minimize_), &ClickSource::released, this, &TitleStrip::minimizeRequested);
    connect(ClickSource::of(close_), &ClickSource::released, this, &TitleStrip::closeRequested);
}

void TitleStrip::showLottery(bool lotteryIsP3) { lottery_->setText(history::LotteryLabel(lotteryIsP3)); }

void TitleStrip::showClock(const QDateTime& now) {
    clock_->setText(now.toString(QStringLiteral("yyyy-M-d")) + QStringLiteral("   ") +
                    now.toString(QStringLiteral("H:mm:ss")));
    placeClock();
}

void TitleStrip::layOut(int width, int barEnd, int clockPicture, int rightBar, int minimizeX, int closeX) {
    clockPicture_->setGeometry(Px(clockPicture), 0, Px(width) - Px(clockPicture), 32);
    rightBar_->setGeometry(Px(rightBar), 0, Px(width) - Px(rightBar), 32);
    minimize_->setGeometry(Px(minimizeX), 6, 20, 20);
    close_->setGeometry(Px(closeX), 6, 20, 20);
    leftBar_->setGeometry(0, 0, Px(barEnd), 32);
    placeClock();
}

// The clock stands at a fixed distance left of its picture, which moves with the board.
void TitleStrip::placeClock() { clock_->move(clockPicture_->x() - Px(2350), clock_->y()); }

void TitleStrip::raiseOverBars() {
    leftBar_->lower();
    rightBar_->lower();
    clockPicture_->lower();
    for (QLabel* w : {icon_, caption_, lottery_, clock_, minimize_, close_}) w->raise();
}

}  // namespace mainwindow
