#pragma once
// Prize check "兑奖": compares the bets of a file in the bet folder with one past draw,
// straight (单选) or group (组选). The bet folder is remembered in setting path and chosen
// through the folder chooser BetFolderChooser.
// Its objectName is "Form4": tests, settings and the other windows find it by that name.
#include "dialogs/workbenchapi.h"
#include "dialogs/betfolderchooser.h"

#include <QDialog>
#include <QStringList>

namespace common {
class AppState;
}  // namespace common
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

class PrizeCheckWindow : public QDialog, public BetFolderTarget {
    Q_OBJECT
public:
    // state: the draws the numbers are checked against.
    // chosenBetFolder: where the folder chooser keeps the last folder its tree reported, from
    // one opening to the next (null: for this window only).
    // bench: the workbench it is opened over (its parent).
    PrizeCheckWindow(dialogs::WorkbenchApi& bench, const common::AppState& state, QString* chosenBetFolder = nullptr);

    // Workbench button "兑奖": a fresh window, loaded and shown modally, then discarded.
    // False, with the reason, when the load fails (the bet folder cannot be listed); the
    // window is then not shown.
    static bool Open(dialogs::WorkbenchApi& bench, const common::AppState& state, QString* chosenBetFolder, QString* error);

    // Lists a folder's bet files and shows the folder in Label3; the bets read stay as they
    // are. False with the reason (nothing changed) when the folder cannot be listed.
    bool showFolder(const QString& folder, QString* error) override;

    QString folder() const { return folder_; }
    const QStringList& bets() const { return bets_; }
    // Hits counted by the last check.
    int lastHits() const { return lastHits_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    dialogs::WorkbenchApi& bench_;
    // The issues of the draw history (newest selected), the bet folder and its files. False with
    // the reason when the bet folder cannot be listed.
    bool fill(QString* error);
    void showChosenDraw();                     // Combo1: the chosen issue's number into Text1
    void readChosenFile();                     // File1: the chosen file's bets
    void checkStraight() { checkPrize(true); } // 单选兑奖 (Command3)
    void checkGroup() { checkPrize(false); }   // 组选兑奖 (Command2)
    void backToWorkbench();                    // 返回 (Command1)
    void chooseBetFolder();                    // a click on Label3: the folder chooser, modal over the window
    void underlineFolder();                    // the pointer over Label3
    void plainFolder();                        // the pointer off Label3
    void readBetFile(const QString& name);
    void checkPrize(bool straight);

    const common::AppState& state_;
    QString* chosenBetFolder_ = nullptr;
    QComboBox* combo_ = nullptr;
    QLineEdit* draw_ = nullptr;
    QListWidget* files_ = nullptr;
    QLabel* folderLabel_ = nullptr;
    QPlainTextEdit* betText_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QString folder_;
    QStringList bets_;
    int lastHits_ = 0;
};
