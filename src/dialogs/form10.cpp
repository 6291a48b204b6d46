#include "dialogs/form10.h"

#include "dialogs/dialogutil.h"
#include "dialogs/editorframe.h"
#include "platform/ui/messagebox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

namespace {

QPointer<Form10> g_form10;

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, int x, int y, int w, int h) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, w, h);
    return b;
}

}  // namespace

Form10::Form10(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("和值过滤"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    tab_ = new QTabWidget(this);
    tab_->setObjectName(QStringLiteral("SSTab1"));
    tab_->setGeometry(8, 8, 420, 200);
    auto* page = new QWidget(tab_);
    tab_->addTab(page, QStringLiteral("和值过滤"));
    boxes_ = dialogs::MakeCheckArray(page, QStringLiteral("Check1"), QStringList(28, QString()), 7, 8, 8, 56, 26);

    combo1_ = new QComboBox(page);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->addItems({QStringLiteral("请选择条件"), QStringLiteral("0路"), QStringLiteral("1路"), QStringLiteral("2路")});
    combo1_->setGeometry(8, 126, 130, 24);
    connect(combo1_, qOverload<int>(&QComboBox::activated), this, &Form10::Combo1_Click);
    connect(Button(page, "Command3", QStringLiteral("全清"), 240, 124, 76, 28), &QPushButton::clicked, this,
            &Form10::Command3_Click);
    connect(Button(page, "Command2", QStringLiteral("反选"), 324, 124, 76, 28), &QPushButton::clicked, this,
            &Form10::Command2_Click);

    connect(Button(this, "Command7", QStringLiteral("开始过滤号码"), 8, 216, 110, 28), &QPushButton::clicked, this,
            &Form10::Command7_Click);
    connect(Button(this, "Command1", QStringLiteral("撤消"), 124, 216, 70, 28), &QPushButton::clicked, this,
            &Form10::Command1_Click);
    connect(Button(this, "Command4", QStringLiteral("恢复"), 198, 216, 70, 28), &QPushButton::clicked, this,
            &Form10::Command4_Click);
    connect(Button(this, "Command5", QStringLiteral("[做大底]"), 272, 216, 80, 28), &QPushButton::clicked, this,
            &Form10::Command5_Click);
    connect(Button(this, "Command6", QStringLiteral("返回"), 356, 216, 70, 28), &QPushButton::clicked, this,
            &Form10::Command6_Click);
    setFixedSize(436, 252);

    Form_Load();
}

Form10* Form10::instance() {
    if (!g_form10) g_form10 = new Form10(dialogs::WorkbenchWidget());
    return g_form10;
}

Form10* Form10::existing() { return g_form10; }

int Form10::Open() {
    Form10* editor = instance();
    editor->tab_->setCurrentIndex(0);
    return ui::ShowModal(editor);
}

void Form10::Form_Load() {
    dialogs::PlaceEditorOnWorkbench(this);
    for (int k = 0; k < boxes_.size(); ++k) boxes_[k]->setText(QString::number(k));
    combo1_->setCurrentIndex(0);
}

void Form10::Combo1_Click() {
    const int item = combo1_->currentIndex();
    if (item <= 0) {
        for (QCheckBox* box : boxes_) box->setChecked(false);
        return;
    }
    // A route preset adds the sums of that route; the other ticks stay.
    for (int s = 0; s < boxes_.size(); ++s)
        if (s % 3 == item - 1) boxes_[s]->setChecked(true);
}

void Form10::Command3_Click() { dialogs::ClearTicks(boxes_, combo1_); }
void Form10::Command2_Click() { dialogs::InvertTicks(boxes_, combo1_); }

void Form10::Command7_Click() {
    dialogs::StartFilterFromDialog(dialogs::BatchGroup::Advanced, QStringLiteral("Check1"), this);
}

void Form10::Command1_Click() { dialogs::UndoFromDialog(); }
void Form10::Command4_Click() { dialogs::RedoFromDialog(); }
void Form10::Command5_Click() { dialogs::MakeBaseFromDialog(this); }
void Form10::Command6_Click() { hide(); }

void Form10::closeEvent(QCloseEvent* event) {
    if (!dialogs::HideUnlessQuitting(this, event)) QDialog::closeEvent(event);
}
