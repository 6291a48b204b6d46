#pragma once
// The main window's toolbar with the drop-down of its 中奖分析 button, and the window's menu
// (the lotteries, help, updater, settings and the board), opened from the 菜单 pictures, the
// title strip and the caption line. Every item is bound to its Command when it is built.
#include "mainwindow/commands.h"

#include <QObject>

#include <optional>

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class QWidget;

namespace mainwindow {

class AnalysisToolbar : public QObject {
    Q_OBJECT
public:
    explicit AnalysisToolbar(QWidget* window);

    // Opens the window's menu at the mouse.
    void popUpMenu();
    // The strip spans the window but for the room of the title marks.
    void fitWidth(int windowWidth);

signals:
    void commandChosen(mainwindow::Command command);

private:
    void buildToolbar();
    void buildMenu(QWidget* window);
    QAction* addItem(QWidget* owner, const QString& name, const char* caption, std::optional<Command> command);

    QWidget* strip_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QMenu* menu_ = nullptr;
    QLabel* menuIcon_ = nullptr;
    QLabel* menuCaption_ = nullptr;
};

}  // namespace mainwindow
