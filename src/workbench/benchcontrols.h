#pragma once
// Control makers for the workbench window and its tabs: each control gets its objectName and its
// place in pixels (15 twips each); a button or option is connected to its handler by a
// member-function pointer as it is made.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QStringList>

namespace workbench {

QCheckBox* Chk(QWidget* p, const QString& name, const QString& caption, int x, int y, int w, int h = 20, bool on = false);
QLineEdit* Line(QWidget* p, const QString& name, int x, int y, int w, int h = 20, const QString& text = {});
QComboBox* Cmb(QWidget* p, const QString& name, int x, int y, int w, bool editable, const QStringList& items = {});
QLabel* Lbl(QWidget* p, const QString& name, const QString& text, int x, int y, int w, int h = 20);
QGroupBox* Frm(QWidget* p, const QString& name, const QString& caption, int x, int y, int w, int h);
QPushButton* MakeButton(QWidget* p, const QString& name, const QString& caption, int x, int y, int w, int h);
// The model follows a control: value takes the control's state now and on every change
// (context ends the link).
void Bind(QObject* context, QAbstractButton* box, bool& value);
void Bind(QObject* context, QLineEdit* line, QString& value);
void Bind(QObject* context, QComboBox* list, QString& currentText);

QRadioButton* MakeOption(QWidget* p, const QString& name, const QString& caption, int x, int y, int w, bool checked);

// A push button that runs owner->*handler when pressed (none: a button kept for its objectName).
template <class T>
QPushButton* Button(QWidget* p, T* owner, void (T::*handler)(), const QString& name, const QString& caption, int x,
                    int y, int w = 56, int h = 24) {
    QPushButton* b = MakeButton(p, name, caption, x, y, w, h);
    if (handler) QObject::connect(b, &QPushButton::clicked, owner, handler);
    return b;
}

// An option button that runs owner->*handler when it becomes selected; one made checked opens
// without running it.
template <class T>
QRadioButton* Option(QWidget* p, T* owner, void (T::*handler)(), const QString& name, const QString& caption, int x,
                     int y, int w, bool checked = false) {
    QRadioButton* o = MakeOption(p, name, caption, x, y, w, checked);
    QObject::connect(o, &QRadioButton::toggled, owner, [owner, handler](bool on) {
        if (on) (owner->*handler)();
    });
    return o;
}

// Where the first `length` characters of a box's caption end, in its parent's coordinates: the
// controls that stand inside a caption's run of blanks are placed by the font, not by pixels.
int CaptionEnd(QCheckBox* box, int length);
// A caption followed by blanks and "出", the row's count boxes standing in the blanks.
QString Padded(const QString& name, int blanks);

// The typing aid of the value boxes: Enter types a comma; with selectOnDoubleClick a double
// click selects the whole text.
class CommaOnEnter : public QObject {
public:
    CommaOnEnter(QObject* parent, bool selectOnDoubleClick) : QObject(parent), select_(selectOnDoubleClick) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool select_;
};

}  // namespace workbench
