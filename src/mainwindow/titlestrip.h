#pragma once
// The main window's own title strip (the window has no system frame): the bars that move it, the
// program's icon and name, the current lottery, the clock and the minimise and close marks.
// Its controls are children of the window itself, whose style sheet addresses them by name.
#include <QObject>

class QDateTime;
class QLabel;
class QWidget;

namespace mainwindow {

class TitleStrip : public QObject {
    Q_OBJECT
public:
    explicit TitleStrip(QWidget* window);

    // The lottery's name in Label3.
    void showLottery(bool lotteryIsP3);
    // Label2: "yyyy-M-d   H:mm:ss".
    void showClock(const QDateTime& now);
    // Places the bars and marks for a window of that width (twips); the left bar ends at barEnd,
    // the right one starts at rightBar, the picture behind the clock at clockPicture.
    void layOut(int width, int barEnd, int clockPicture, int rightBar, int minimizeX, int closeX);
    // Puts the captions over the bars once every control of the window exists.
    void raiseOverBars();

signals:
    // A bar pressed and dragged the platform's drag distance: the window follows the mouse. A
    // press alone starts no move, so that a double click on the left bar reaches this window
    // rather than the window manager.
    void moveRequested();
    void boardToggleRequested();  // double click on the left bar
    void menuRequested();        // the icon, the lottery or the clock pressed
    void minimizeRequested();
    void closeRequested();

private:
    void placeClock();

    QLabel* leftBar_ = nullptr;
    QLabel* rightBar_ = nullptr;
    QLabel* clockPicture_ = nullptr;
    QLabel* icon_ = nullptr;
    QLabel* caption_ = nullptr;
    QLabel* lottery_ = nullptr;
    QLabel* clock_ = nullptr;
    QLabel* minimize_ = nullptr;
    QLabel* close_ = nullptr;
};

}  // namespace mainwindow
