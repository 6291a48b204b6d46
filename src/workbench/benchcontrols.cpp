// The workbench's control makers, built on the program's (platform/ui/controls.h), and its
// typing aid.
#include "workbench/benchcontrols.h"

#include "platform/ui/controls.h"

#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionButton>

namespace workbench {

QCheckBox* Chk(QWidget* p, const QString& name, const QString& caption, int x, int y, int w, int h, bool on) {
    auto* c = ui::MakePlaced<QCheckBox>(p, name, x, y, w, h);
    c->setText(caption);
    c->setChecked(on);
    return c;
}

QLineEdit* Line(QWidget* p, const QString& name, int x, int y, int w, int h, const QString& text) {
    auto* e = ui::MakePlaced<QLineEdit>(p, name, x, y, w, h);
    e->setText(text);
    return e;
}

QComboBox* Cmb(QWidget* p, const QString& name, int x, int y, int w, bool editable, const QStringList& items) {
    QComboBox* c = ui::MakePickList(p, name, items, x, y, w, 22);
    c->setEditable(editable);
    return c;
}

QLabel* Lbl(QWidget* p, const QString& name, const QString& text, int x, int y, int w, int h) {
    return ui::MakeLabel(p, name, text, x, y, w, h);
}

QGroupBox* Frm(QWidget* p, const QString& name, const QString& caption, int x, int y, int w, int h) {
    auto* f = ui::MakePlaced<QGroupBox>(p, name, x, y, w, h);
    f->setTitle(caption);
    return f;
}

QPushButton* MakeButton(QWidget* p, const QString& name, const QString& caption, int x, int y, int w, int h) {
    QPushButton* b = ui::MakeButton(p, name, caption, x, y, w, h);
    return b;
}

QRadioButton* MakeOption(QWidget* p, const QString& name, const QString& caption, int x, int y, int w, bool checked) {
    auto* o = ui::MakePlaced<QRadioButton>(p, name, x, y, w, 20);
    o->setText(caption);
    o->setChecked(checked);
    return o;
}

int CaptionEnd(QCheckBox* box, int length) {
    QStyleOptionButton opt;
    opt.initFrom(box);
    opt.text = box->text();
    const QRect contents = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, box);
    return box->x() + contents.left() + box->fontMetrics().horizontalAdvance(box->text().left(length));
}

QString Padded(const QString& name, int blanks) { return name + QString(blanks, QLatin1Char(' ')) + QStringLiteral("出"); }

bool CommaOnEnter::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit) return false;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            edit->insert(QStringLiteral(","));
            return true;
        }
    } else if (select_ && event->type() == QEvent::MouseButtonDblClick) {
        edit->setCursorPosition(0);
        edit->selectAll();
        return true;
    }
    return false;
}

void Bind(QObject* context, QAbstractButton* box, bool& value) {
    value = box->isChecked();
    QObject::connect(box, &QAbstractButton::toggled, context, [&value](bool on) { value = on; });
}

void Bind(QObject* context, QLineEdit* line, QString& value) {
    value = line->text();
    QObject::connect(line, &QLineEdit::textChanged, context, [&value](const QString& text) { value = text; });
}

void Bind(QObject* context, QComboBox* list, QString& currentText) {
    currentText = list->currentText();
    QObject::connect(list, &QComboBox::currentTextChanged, context, [&currentText](const QString& text) { currentText = text; });
}

}  // namespace workbench
