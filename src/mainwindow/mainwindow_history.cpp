// The main window: reload, lottery switch and the history list.
#include "mainwindow/mainwindow.h"

#include "common/appstate.h"
#include "history/lottery.h"
#include "mainwindow/historylist.h"
#include "mainwindow/mainwindowlayout.h"
#include "platform/ui/columnfit.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/tablefont.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTimer>

#include <cmath>

using namespace mainwindow::layout;

// A draw file that exists but cannot be read would show as an empty history; say so instead.
static void ReportLoadFailure(bool loaded, const QString& why, QWidget* parent) {
    if (!loaded) ui::MsgBox(why, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, parent);
}

void MainWindow::Form_Load() {
    QString why;
    const bool loaded = history::ReloadCurrentLottery(&why);
    ReportLoadFailure(loaded, why, this);
    if (!closing_) Timer1->start();  // a close request may have come during the message
}

void MainWindow::Timer1_Timer() {
    Timer1->stop();
    Command6_Click();
}

void MainWindow::switchLottery(bool toP3) {
    switchingHere_ = true;
    history::SelectLottery(toP3);
    switchingHere_ = false;
    Command6_Click();
}

void MainWindow::lotteryChanged(bool toP3, const QString& loadError) {
    if (!switchingHere_) {
        LotteryChangedElsewhere();
        return;
    }
    Label3->setText(history::LotteryLabel(toP3));
    ReportLoadFailure(loadError.isEmpty(), loadError, this);
}

void MainWindow::fc3d_Click() { switchLottery(false); }
void MainWindow::p3_Click() { switchLottery(true); }

void MainWindow::LotteryChangedElsewhere() {
    Label3->setText(history::LotteryLabel(common::App().lotteryIsP3));
    const QString notice = QStringLiteral("彩票类型已被转换请刷新数据...");
    Text1->setPlainText(notice);
    Label1->setText(notice);
}

void MainWindow::showText(const QString& text, bool withHeader) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    fitTableFont(withHeader ? mainwindow::HistoryHeaderText() + QLatin1Char('\n') + shown : shown);
    Text1->setPlainText(shown);
    Text1->moveCursor(QTextCursor::End);
    Text1->ensureCursorVisible();
}

void MainWindow::fitTableFont(const QString& lines) {
    // Every column in sight: the table font steps down from its design size until the widest
    // line fits the text's room beside a vertical scroll bar; every character is laid on the
    // font's table grid so that the columns line up whatever its glyph widths (the header stands
    // over the same columns, so it takes the same font and grid).
    const int bar = Text1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Text1);
    const int room = Text1->width() - 2 * Text1->frameWidth() - bar -
                     2 * int(std::ceil(Text1->document()->documentMargin())) - Text1->cursorWidth() - 1;
    const QFont font = ui::FontFittingLines(ui::TableFont(), lines, room);
    if (font == Text1->font()) return;
    Text1->setFont(font);
    grid_->setFont(font);
    Label4->setFont(font);
    Label4->setText(ui::GridHtml(font, mainwindow::HistoryHeaderText()));
    Label4->resize(Label4->sizeHint().width(), Label4->height());
    alignHeader();
}

void MainWindow::Command6_Click() {
    common::AppState& app = common::App();
    if (app.busyFlag) return;
    Text1->setPlainText(kBusyText);
    Label1->setText(kBusyText);
    app.busyFlag = true;
    if (app.drawListDirty) {
        // Events are handled after each line; a reload in between (a lottery switch, the settings)
        // marks the list dirty again, and the build starts over on the new history.
        for (;;) {
            app.drawListDirty = false;
            const QStringList draws = app.history.draws();  // the build's own copy
            bool restart = false;
            const QString text =
                mainwindow::BuildHistoryText(draws, app.rangeFirst, app.rangeLast, [&] {
                    QCoreApplication::processEvents();
                    restart = app.drawListDirty;
                    return !restart;
                });
            if (!restart) {
                mainwindow::HistoryText() = text;
                break;
            }
        }
    }
    if (!closing_) {
        showText(mainwindow::HistoryText(), true);
        Label1->setText(mainwindow::HistoryLabelText(app.lotteryIsP3, app.history.count()));
        app.busyFlag = false;
    }
}
