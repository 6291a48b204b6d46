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

private:
    void arrange();          // icon and centring
    void pasteText();        // 粘贴 (menu ghskfj)
    void importFromFile();   // 导入... (menu bianjidr2)
    void clearText();        // 清空 (menu kdngqq)
    void cancel();           // 取消 (Command4)
    void collectNumbers();   // 确定 (Command5): the numbers of the text become the pool

    QPlainTextEdit* text_ = nullptr;
    QCheckBox* keep_ = nullptr;
};
