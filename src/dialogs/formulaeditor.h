#pragma once
// The user formula editor "自编公式": edits the workbench's formula script, saves it as a
// named formula file, loads or deletes stored formulas, and shows the home server's formula
// page beside the text.
// Its objectName is "Form23": tests, settings and the other windows find it by that name.
#include "dialogs/workbenchapi.h"
#include <QDialog>
#include <QPointer>
#include <QString>

class QLabel;
class QListWidget;
class QNetworkAccessManager;
class QNetworkReply;
class QPlainTextEdit;

namespace ui {
class WebView;
}

class FormulaEditor : public QDialog {
    Q_OBJECT
public:
    // Starts fetching the guide and lists the formulas. The editor has no owner and is
    // discarded when it closes.
    // bench: the workbench whose formula input and list it writes.
    explicit FormulaEditor(dialogs::WorkbenchApi& bench);
    ~FormulaEditor() override;

    // Workbench "编写公式…": a new editor on the script, shown modally, then discarded.
    static int Open(dialogs::WorkbenchApi& bench, const QString& script);

    // The formula name offered when saving (last loaded or saved).
    QString rememberedName() const { return name_; }

signals:
    // The home server's page arrived and is shown (true) or could not be fetched (false).
    void pageFinished(bool shown);

private:
    dialogs::WorkbenchApi& bench_;
    void loadGuideAndFormulas();  // the guide page (fetched while the editor is used) and File1
    void openChosenFormula();     // a double click on a formula of File1: its text into Text1
    void deleteChosenFormula();   // 删除所选公式 (a click on Label2)
    void saveAsNewFormula();      // 保存为新公式 (menu2)
    void useFormula();            // 确定 (Command4): the text into the workbench's formula input
    void cancel();                // 取消 (Command5)
    void refreshFileList();
    void showError(const QString& description);
    void pageArrived(QNetworkReply* reply);

    QString name_;
    QLabel* folderLabel_ = nullptr;
    QListWidget* files_ = nullptr;
    QLabel* deleteLabel_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    ui::WebView* browser_ = nullptr;
    QNetworkAccessManager* network_ = nullptr;
    QPointer<QNetworkReply> page_;
};
