#pragma once
// One of the workbench's two batch-family frames (基本条件过滤 Frame4, 高级条件过滤 Frame7): eight
// family boxes bound to the model's families, each with the 过滤 button that opens its condition
// editor, and hidden: the 容错 box, the frame's batch button (Command5 / Command7) and the one the
// editors press (Command70 / Command71). A batch runs over the model's ticked families.
#include "dialogs/editorframe.h"

#include <QGroupBox>

class QCheckBox;
class QPushButton;
namespace dialogs {
class WorkbenchApi;
}

namespace workbench {

class FamilyFrame : public QGroupBox {
public:
    FamilyFrame(dialogs::BatchGroup group, dialogs::WorkbenchApi& bench, QWidget* parent);

    // The hidden batch button: the mode switch sets its enabled state, which tells the editors
    // whether a base set exists.
    QPushButton* batchButton() const { return batch_; }
    void bindModel();
    void runBatch();  // the batch over the ticked families; the boxes then show the model
    void openEditor(int family);

private:
    void showFamilies();

    dialogs::BatchGroup group_;
    dialogs::WorkbenchApi& bench_;
    QCheckBox* boxes_[8] = {};
    QPushButton* batch_ = nullptr;
};

}  // namespace workbench
