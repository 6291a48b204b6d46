#include "dialogs/optioneditor.h"

#include "dialogs/dialogutil.h"
#include "dialogs/editorframe.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/tablefont.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

#include <iterator>

using dialogs::MakeButton;

namespace {

const char* const kTabCaptions[OptionEditor::kTabs] = {"升降序", "均值", "AC值", "直落号", "斜连值"};

dialogs::TickList OptionTicks(int tab) {
    return [tab](pool::EditorConditions& c) -> QList<bool>& { return c.options[size_t(tab)]; };
}


QLabel* Help(QWidget* page, const char* name, const QString& text, int top) {
    auto* label = new QLabel(text, page);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setGeometry(8, top, 400, 80);
    return label;
}

}  // namespace

OptionEditor::OptionEditor(dialogs::WorkbenchApi& bench)
    : QDialog(bench.dialogParent()), LastingWindow(bench), EditorRowHandlers(bench, this) {
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(QStringLiteral("选项过滤"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    tab_ = new QTabWidget(this);
    tab_->setObjectName(QStringLiteral("SSTab1"));
    tab_->setGeometry(8, 8, 420, 200);
    QWidget* pages[kTabs];
    for (int t = 0; t < kTabs; ++t) {
        pages[t] = new QWidget(tab_);
        tab_->addTab(pages[t], QString::fromUtf8(kTabCaptions[t]));
    }

    // 升降序: shapes in four rows, with presets.
    arrays_[0] = dialogs::MakeCheckArray(pages[0], QStringLiteral("Check1"), pool::OptionCaptions(0), 4, 8, 40, 70, 24);
    shapePreset_ = new QComboBox(pages[0]);
    shapePreset_->setObjectName(QStringLiteral("Combo1"));
    shapePreset_->addItems({QStringLiteral("请选择组合方式"), QStringLiteral("升组合"), QStringLiteral("降组合"),
                       QStringLiteral("凹组合"), QStringLiteral("凸组合"), QStringLiteral("平组合"),
                       QStringLiteral("偏组合")});
    shapePreset_->setGeometry(8, 8, 160, 24);
    connect(shapePreset_, qOverload<int>(&QComboBox::activated), this, &OptionEditor::applyShapePreset);
    auto* note = new QLabel(QStringLiteral("注：A 小于 B 小于 C 的组合方式。"), pages[0]);
    note->setObjectName(QStringLiteral("Label1"));
    note->setGeometry(8, 144, 400, 20);

    // 均值
    arrays_[1] = dialogs::MakeCheckArray(pages[1], QStringLiteral("Check2"), pool::OptionCaptions(1), 5, 8, 8, 56, 26);
    MakeButton(pages[1], "Command2", QStringLiteral("全清"), 300, 8, 70, 26, this, &OptionEditor::clearMeans);
    MakeButton(pages[1], "Command3", QStringLiteral("反选"), 300, 38, 70, 26, this, &OptionEditor::invertMeans);

    // AC值, 直落号, 斜连值
    arrays_[2] = dialogs::MakeCheckArray(pages[2], QStringLiteral("Check62"), pool::OptionCaptions(2), 3, 8, 8, 56, 26);
    Help(pages[2], "Label2",
         QStringLiteral("AC值为1的号码为豹子号，AC值为2的号码包括组3号和等差号码，AC值为3的号码是除了AC值等于1和2之外的所有号码。"),
         44);
    arrays_[3] = dialogs::MakeCheckArray(pages[3], QStringLiteral("Check70"), pool::OptionCaptions(3), 4, 8, 8, 56, 26);
    Help(pages[3], "Label4", QStringLiteral("直落号的规律可以参考上下两期之间的重号来选择，一般每期都有1-2个重号。"), 44);
    arrays_[4] = dialogs::MakeCheckArray(pages[4], QStringLiteral("Check63"), pool::OptionCaptions(4), 6, 8, 8, 56, 26);
    QLabel* example = Help(pages[4], "Label3",
                           QStringLiteral("例如：上期开奖936，下期开542，斜连值为3，0和9也是斜连。") + QLatin1Char('\n') +
                               QString(4, QChar(0x3000)) + QStringLiteral("3  6   9") + QLatin1Char('\n') +
                               QString(3, QChar(0x3000)) + QStringLiteral(" 2 45"),
                           44);
    // The example's digits are a small table laid out with blanks: it needs the table font.
    example->setFont(ui::TableFont());
    example->setWordWrap(false);

    using E = OptionEditor;
    dialogs::MakeBottomRow<E>(this, {216,
                                     {"Command1", "开始过滤", 8, 90, &E::filterNumbers},
                                     {"Command4", "撤消", 104, 70, &E::undo},
                                     {"Command5", "恢复", 180, 70, &E::redo},
                                     {"Command6", "做大底", 256, 80, &E::makeBase},
                                     {"Command7", "返回", 342, 80, &E::hide}});
    setFixedSize(436, 252);

    arrange();
    fill();
    for (int t = 0; t < kTabs; ++t) dialogs::BindTicks(bench_, this, arrays_[t], OptionTicks(t));
}

void OptionEditor::fill() {
    for (int t = 0; t < kTabs; ++t) dialogs::FillTicks(bench_, arrays_[t], OptionTicks(t));
}

QString OptionEditor::TabCaption(int tab) { return QString::fromUtf8(kTabCaptions[tab]); }

int OptionEditor::Open(dialogs::WorkbenchApi& bench, int tab) {
    OptionEditor* editor = instance(bench);
    editor->fill();
    // The editor keeps its tab layout between openings, so every opening sets all five.
    editor->tab_->setTabVisible(tab, true);
    for (int t = 0; t < kTabs; ++t)
        if (t != tab) editor->tab_->setTabVisible(t, false);
    editor->setWindowTitle(TabCaption(tab));
    editor->tab_->setCurrentIndex(tab);
    return ui::ShowModal(editor);
}

void OptionEditor::arrange() {
    dialogs::PlaceEditorOnWorkbench(bench_, this);
    shapePreset_->setCurrentIndex(0);
    applyShapePreset();
}

void OptionEditor::filterNumbers() {
    const int t = tab_->currentIndex();
    if (t < 0 || t >= kTabs) return;
    dialogs::StartFilterFromDialog(bench_, dialogs::BatchGroup::Advanced, pool::kFirstOptionFamily + t, this);
}

void OptionEditor::applyShapePreset() {
    QList<QCheckBox*>& shapes = arrays_[0];
    static const QList<int> ticks[] = {{}, {7}, {12}, {9, 11}, {8, 10}, {0}, {1, 2, 3, 4, 5, 6}};
    const int item = shapePreset_->currentIndex();
    if (item <= 0) {
        for (QCheckBox* box : shapes) box->setChecked(false);
        return;
    }
    if (item >= int(std::size(ticks))) return;
    for (int i : ticks[item]) shapes[i]->setChecked(true);
}

void OptionEditor::clearMeans() { dialogs::ClearTicks(arrays_[1]); }
void OptionEditor::invertMeans() { dialogs::InvertTicks(arrays_[1]); }

void OptionEditor::closeEvent(QCloseEvent* event) {
    if (!dialogs::HideUnlessQuitting(bench_, this, event)) QDialog::closeEvent(event);
}
