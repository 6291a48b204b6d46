// The workbench's control makers and typing aid.
#include "workbench/benchcontrols.h"

#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionButton>

namespace workbench {

QCheckBox* Chk(QWidget* p, const QString& name, const QString& caption, int x, int y, int w, int h, bool on) {
    auto* c = new QCheckBox(caption, p);
    c->setObjectName(name);
    c->setGeometry(x, y, w, h);
    c->setChecked(on);
    return c;
}

QLineEdit* Line(QWidget* p, const QString& name, int x, int y, int w, int h, const QString& text) {
    auto* e = new QLineEdit(text, p);
    e->setObjectName(name);
    e->setGeometry(x, y, w, h);
    return e;
}

QComboBox* Cmb(QWidget* p, const QString& name, int x, int y, int w, bool editable, const QStringList& items) {
    auto* c = new QComboBox(p);
    c->setObjectName(name);
    c->setGeometry(x, y, w, 22);
    c->setEditable(editable);
    c->addItems(items);
    return c;
}

QLabel* Lbl(QWidget* p, const QString& name, const QString& text, int x, int y, int w, int h) {
    auto* l = new QLabel(text, p);
    if (!name.isEmpty()) l->setObjectName(name);
    l->setGeometry(x, y, w, h);
    return l;
}

QGroupBox* Frm(QWidget* p, const QString& name, const QString& caption, int x, int y, int w, int h) {
    auto* f = new QGroupBox(caption, p);
    f->setObjectName(name);
    f->setGeometry(x, y, w, h);
    return f;
}

QPushButton* MakeButton(QWidget* p, const QString& name, const QString& caption, int x, int y, int w, int h) {
    auto* b = new QPushButton(caption, p);
    b->setObjectName(name);
    b->setGeometry(x, y, w, h);
    b->setProperty("Tag", QString());
    return b;
}

QRadioButton* MakeOption(QWidget* p, const QString& name, const QString& caption, int x, int y, int w, bool checked) {
    auto* o = new QRadioButton(caption, p);
    o->setObjectName(name);
    o->setGeometry(x, y, w, 20);
    o->setProperty("Tag", QString());
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

}  // namespace workbench
