// The main window: tray toggle, clock, window shape, mouse and keys on the frame, closing.
#include "mainwindow/mainwindow.h"

#include "common/appstate.h"
#include "mainwindow/mainwindowlayout.h"
#include "mainwindow/trayicon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

using namespace mainwindow::layout;

void MainWindow::TrayWndProc() {
    if (common::App().trayToggleEnabled) setVisible(!isVisible());
}

void MainWindow::Timer3_Timer() {
    Picture6->setVisible(Label1->text().startsWith(QLatin1Char('.')));
    const QDateTime now = QDateTime::currentDateTime();
    Label2->setText(now.toString(QStringLiteral("yyyy-M-d")) + QStringLiteral("   ") +
                    now.toString(QStringLiteral("H:mm:ss")));
    Label2->move(Image18->x() - Px(2350), Label2->y());
}

void MainWindow::alignHeader() {
    // The header's first column stands over the text's first column, wherever the text is
    // scrolled (the caret rectangle of the text's start already carries the scroll offset).
    const QRect start = Text1->cursorRect(QTextCursor(Text1->document()));
    Label4->move(Text1->viewport()->mapTo(this, start.topLeft()).x() - Picture6->x(), 0);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    alignHeader();
}

void MainWindow::Form_Resize() {
    if (isMinimized()) {
        setWindowTitle(QStringLiteral("Sifmora"));
    } else {
        setWindowTitle(QString());
        if (height() != Px(kHeight)) resize(width(), Px(kHeight));
        const int w = width() * 15 < 9000 ? 540 : 741;
        QPainterPath path;
        path.addRoundedRect(QRectF(0, 0, w, 470), 12.5, 12.5);
        setMask(QRegion(path.toFillPolygon().toPolygon()));
    }
    toolbarStrip->resize(width() - Px(150), toolbarStrip->height());
    Toolbar2->resize(toolbarStrip->width(), Toolbar2->height());
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        helpme_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::startMove() {
    if (windowHandle()) windowHandle()->startSystemMove();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    common::AppState& app = common::App();
    if (closing_) {
        event->accept();
        return;
    }
    if (app.busyFlag) {
        Text1->setPlainText(kBusyText);
        Label1->setText(kBusyText);
        event->ignore();
        return;
    }
    closing_ = true;
    app.busyFlag = true;  // for good: nothing starts any more, hidden windows unload
    if (tray_) tray_->remove();  // none yet when the close came during the start's message
    Timer1->stop();
    Timer2->stop();
    Timer3->stop();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isWindow() && !qobject_cast<QMenu*>(w)) w->close();
    event->accept();
    if (quitOnClose) QCoreApplication::quit();
}
