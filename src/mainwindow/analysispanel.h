#pragma once
// The column of buttons at the main window's left: the history list, the thirteen analyses, the
// draw entry and the workbench. 012路分析 and 1234分析 carry a drop-down arrow on their right
// end that offers 单选 and 组选; a click on their body repeats the last choice.
#include "mainwindow/commands.h"

#include <QObject>

class QLabel;
class QMenu;
class QPushButton;
class QWidget;

namespace mainwindow {

class AnalysisPanel : public QObject {
    Q_OBJECT
public:
    explicit AnalysisPanel(QWidget* window);

signals:
    void commandChosen(mainwindow::Command command);

private:
    QPushButton* addButton(QWidget* window, const char* name, const char* caption, Command command, int y);
    QMenu* addChoices(QWidget* window, QPushButton* button, const char* arrowName, const char* menuName,
                      const char* straightName, Command straight, const char* groupName, Command group);

    QPushButton* route_ = nullptr;       // 012路分析
    QPushButton* digits1234_ = nullptr;  // 1234分析
    QMenu* routeChoices_ = nullptr;
    QMenu* digits1234Choices_ = nullptr;
};

}  // namespace mainwindow
