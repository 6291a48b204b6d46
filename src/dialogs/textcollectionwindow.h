#pragma once
// Collection from text "数据采集": reads numbers out of any text (every three digits one
// number) and makes them the workbench's base set.
// Its objectName is "Form20": tests, settings and the other windows find it by that name.
#include "dialogs/dialogutil.h"

#include <QDialog>


class QCheckBox;
class QPlainTextEdit;

class TextCollectionWindow : public QDialog, public dialogs::LastingWindow<TextCollectionWindow> {
    Q_OBJECT
public:
    explicit TextCollectionWindow(dialogs::WorkbenchApi& bench);

    // The one window of the run (instance()), created on first use (closing by the title bar discards it).

    // Shows it modally (workbench button "数据采集"); returns the modal result.
    static int Open(dialogs::WorkbenchApi& bench);

public slots:
    void Form_Load();
    void Command1_Click();  // 粘贴
    void Command2_Click();  // 导入...
    void Command3_Click();  // 清空
    void Command4_Click();  // 取消
    void Command5_Click();  // 确定

private:
    QPlainTextEdit* text_ = nullptr;
    QCheckBox* keep_ = nullptr;
};
