#pragma once
// The controls that show the workbench model's text inputs (the digit lists, the two codes, the
// fuzzy digits, the formula, the omission values): each writes every change back to the model,
// and a text set from outside goes to both.
#include "pool/workbenchmodel.h"

#include <QObject>
#include <QString>

class QWidget;

namespace workbench {

class InputBoxes : public QObject {
public:
    InputBoxes(pool::WorkbenchModel& model, QObject* parent) : QObject(parent), model_(model) {}
    // A QLineEdit or QPlainTextEdit showing one input.
    void add(pool::InputBox box, QWidget* shown) { shown_[int(box)] = shown; }
    // The model takes each box's text and follows its changes.
    void bindModel();
    void set(pool::InputBox box, const QString& text);

private:
    pool::WorkbenchModel& model_;
    QWidget* shown_[pool::kInputBoxes] = {};
};

}  // namespace workbench
