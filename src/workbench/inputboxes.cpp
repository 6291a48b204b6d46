#include "workbench/inputboxes.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace workbench {

void InputBoxes::bindModel() {
    for (int b = 0; b < pool::kInputBoxes; ++b) {
        const auto box = pool::InputBox(b);
        if (auto* line = qobject_cast<QLineEdit*>(shown_[b])) {
            model_.input(box) = line->text();
            connect(line, &QLineEdit::textChanged, this, [this, box](const QString& text) { model_.input(box) = text; });
        } else if (auto* text = qobject_cast<QPlainTextEdit*>(shown_[b])) {
            model_.input(box) = text->toPlainText();
            connect(text, &QPlainTextEdit::textChanged, this,
                    [this, box, text]() { model_.input(box) = text->toPlainText(); });
        }
    }
}

void InputBoxes::set(pool::InputBox box, const QString& text) {
    model_.input(box) = text;
    QWidget* shown = shown_[int(box)];
    if (auto* line = qobject_cast<QLineEdit*>(shown)) line->setText(text);
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(shown)) edit->setPlainText(text);
}

}  // namespace workbench
