#pragma once
// Folder chooser "文件夹" of the prize check: a folder tree; 确定 makes the chosen folder the
// bet folder (setting path) and lists it in the prize check.
// Its objectName is "Form8": tests, settings and the other windows find it by that name.
#include <QDialog>

class QTreeWidget;
class QTreeWidgetItem;

// What the chooser applies a folder to (the prize check): lists the folder's bet files, or
// returns false with the reason and changes nothing.
class BetFolderTarget {
public:
    virtual ~BetFolderTarget() = default;
    virtual bool showFolder(const QString& folder, QString* error) = 0;
};

class BetFolderChooser : public QDialog {
    Q_OBJECT
public:
    // chosenFolder: the last folder a tree reported (ending with "/"), kept by whoever lives
    // from one opening to the next (the workbench's results frame, for the run); null keeps it
    // for this chooser only.
    explicit BetFolderChooser(BetFolderTarget* target, QString* chosenFolder = nullptr, QWidget* parent = nullptr);

    // Shows the chooser modally over parent (the prize check); returns the modal result.
    static int Open(BetFolderTarget* target, QString* chosenFolder, QWidget* parent);

private:
    void arrange();                              // icon and centring
    void noteChosenFolder(const QString& path);  // the tree (FolderView1) reported a chosen folder
    void applyFolder();                          // 确定 (Command1)
    void cancel();                               // 取消 (Command2)
    void fillChildren(QTreeWidgetItem* item);

    BetFolderTarget* target_ = nullptr;
    QString ownChosenFolder_;
    QString* chosenFolder_ = &ownChosenFolder_;
    QTreeWidget* tree_ = nullptr;
};
