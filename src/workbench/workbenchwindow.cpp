// WorkbenchWindow's life: construction, wiring the controls to their handlers, typing
// conveniences, loading, activation, closing, and the switch between building and filtering
// mode. The handlers live beside it by concern: _build (controls), _layout (resizing),
// _basesets, _results (undo, redo, collection, export, the result list), _filters, _inputs
// (condition inputs), _editors (condition editors and batch filters), _history (queries and
// the lottery switch), _formula, _stats and _tools.
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "common/drawtext.h"
#include "common/settings.h"
#include "dialogs/editorframe.h"
#include "platform/ui/messagebox.h"
#include "workbench/workbenchlinks.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStringListModel>
#include <QTabWidget>
#include <QTextCursor>

namespace {

// Buttons switched by the two modes (besides Command1, Command12, Command21).
const char* const kFilterButtons[] = {"Command2",  "Command3",  "Command4",  "Command5",  "Command6",  "Command7",
                                      "Command10", "Command14", "Command30", "Command31", "Command37", "Command38",
                                      "Command40", "Command43", "Command44", "Command63", "Command66", "Command67"};

}  // namespace

WorkbenchWindow::WorkbenchWindow(QWidget* mainWindow) : QWidget(nullptr), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(ui::kAppTitle);
    resize(800, 578);  // 12000 × 8670 twips
    buildControls();

    auto* log = ctl<QPlainTextEdit>(QStringLiteral("Text5"));
    session_.log.onAppend = [log](const QString& block) {
        // Appended in one piece at the end, whatever the caret was doing.
        QTextCursor c(log->document());
        c.movePosition(QTextCursor::End);
        c.insertText(block);
        log->moveCursor(QTextCursor::End);
    };
    session_.log.onReplace = [this, log]() {
        log->setPlainText(session_.log.text());
        log->moveCursor(QTextCursor::End);
    };
    session_.onCommit = [this](const pool::NumberPool& numbers) {
        listModel_->setStringList(numbers);
        ctl<QLabel>(QStringLiteral("Label5"))->setText(pool::PoolSession::CountLabel(int(numbers.size())));
        ctl<QPushButton>(QStringLiteral("Command11"))->setProperty("Tag", session_.setDescription);
    };

    wireControls();
    wireModel();
    dialogs::SetWorkbench(this);
    Form_Load();
    Form_Initialize();
}

WorkbenchWindow::~WorkbenchWindow() {
    if (dialogs::Workbench() == this) dialogs::SetWorkbench(nullptr);
}

void WorkbenchWindow::wireControls() {
    // Every button runs the handler named after it.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        const QByteArray slot = (b->objectName() + QStringLiteral("_Click")).toLatin1();
        if (metaObject()->indexOfSlot(slot + "()") < 0) continue;
        connect(b, &QPushButton::clicked, this, [this, slot]() { QMetaObject::invokeMethod(this, slot.constData()); });
    }
    // Options act when they become selected.
    for (QRadioButton* o : findChildren<QRadioButton*>()) {
        const QByteArray slot = (o->objectName() + QStringLiteral("_Click")).toLatin1();
        if (metaObject()->indexOfSlot(slot + "()") < 0) continue;
        connect(o, &QRadioButton::toggled, this, [this, slot](bool on) {
            if (on) QMetaObject::invokeMethod(this, slot.constData());
        });
    }
    connect(ctl<QCheckBox>(QStringLiteral("Check67")), &QCheckBox::toggled, this, &WorkbenchWindow::Check67_Click);
    connect(ctl<QComboBox>(QStringLiteral("Combo21")), qOverload<int>(&QComboBox::activated), this,
            &WorkbenchWindow::Combo21_Click);
    connect(ctl<QLineEdit>(QStringLiteral("Text2")), &QLineEdit::textChanged, this, &WorkbenchWindow::Text2_Change);
    connect(ctl<QLineEdit>(QStringLiteral("Text3")), &QLineEdit::textChanged, this, &WorkbenchWindow::Text3_Change);
    connect(ctl<QLineEdit>(QStringLiteral("Text4")), &QLineEdit::textChanged, this, &WorkbenchWindow::Text4_Change);
    connect(ctl<QListView>(QStringLiteral("List1")), &QListView::doubleClicked, this, &WorkbenchWindow::List1_DblClick);

    // Typing conveniences: Enter types a comma; a double click selects the whole text (or, in
    // the fuzzy digit boxes, opens the digit picker).
    for (int n : {1, 2, 3, 4, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19})
        if (auto* e = ctl<QLineEdit>(QStringLiteral("Text%1").arg(n))) e->installEventFilter(this);
}

// The controls that show the model write every change back to it.
void WorkbenchWindow::wireModel() {
    wireFrameInputs();
    model_.lotteryIsP3 = common::App().lotteryIsP3;
    const char* const options[] = {"Option1", "Option2", "Option3", "Option4"};
    for (int o = 0; o < 4; ++o)
        if (ctl<QRadioButton>(QString::fromLatin1(options[o]))->isChecked()) model_.baseSet.choice = pool::BaseChoice(o);
    auto* compound = ctl<QCheckBox>(QStringLiteral("Check51"));
    model_.baseSet.compound = compound->isChecked();
    connect(compound, &QCheckBox::toggled, this, [this](bool on) { model_.baseSet.compound = on; });
    auto* groupSix = ctl<QComboBox>(QStringLiteral("Combo12"));
    model_.baseSet.groupSixKind = groupSix->currentIndex();
    connect(groupSix, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int kind) { model_.baseSet.groupSixKind = kind; });
    for (auto group : {dialogs::BatchGroup::Basic, dialogs::BatchGroup::Advanced}) {
        const QStringList& names = dialogs::FamilyBoxes(group);
        auto& families =
            group == dialogs::BatchGroup::Basic ? model_.conditions.basicFamilies : model_.conditions.advancedFamilies;
        for (int f = 0; f < names.size(); ++f)
            connect(ctl<QCheckBox>(names[f]), &QCheckBox::toggled, this, [&families, f](bool on) { families[size_t(f)] = on; });
    }
    for (int b = 0; b < pool::kInputBoxes; ++b) {
        const auto box = pool::InputBox(b);
        const QString name = pool::InputBoxName(box);
        if (auto* line = ctl<QLineEdit>(name)) {
            model_.input(box) = line->text();
            connect(line, &QLineEdit::textChanged, this, [this, box](const QString& text) { model_.input(box) = text; });
        } else if (auto* text = ctl<QPlainTextEdit>(name)) {
            model_.input(box) = text->toPlainText();
            connect(text, &QPlainTextEdit::textChanged, this, [this, box, text]() { model_.input(box) = text->toPlainText(); });
        }
    }
}

void WorkbenchWindow::showFamilies() {
    for (auto group : {dialogs::BatchGroup::Basic, dialogs::BatchGroup::Advanced}) {
        const QStringList& names = dialogs::FamilyBoxes(group);
        const auto& families =
            group == dialogs::BatchGroup::Basic ? model_.conditions.basicFamilies : model_.conditions.advancedFamilies;
        for (int f = 0; f < names.size(); ++f) ctl<QCheckBox>(names[f])->setChecked(families[size_t(f)]);
    }
}

void WorkbenchWindow::setInput(pool::InputBox box, const QString& text) {
    model_.input(box) = text;
    const QString name = pool::InputBoxName(box);
    if (auto* line = ctl<QLineEdit>(name)) line->setText(text);
    else if (auto* edit = ctl<QPlainTextEdit>(name)) edit->setPlainText(text);
}

void WorkbenchWindow::setLogVisible(bool visible) { ctl<QPlainTextEdit>(QStringLiteral("Text5"))->setVisible(visible); }

void WorkbenchWindow::showLogEnd() { ctl<QPlainTextEdit>(QStringLiteral("Text5"))->moveCursor(QTextCursor::End); }

bool WorkbenchWindow::eventFilter(QObject* watched, QEvent* event) {
    const QString name = watched->objectName();
    if (event->type() == QEvent::MouseButtonRelease && (name == QLatin1String("Image1") || name == QLatin1String("Image2"))) {
        if (name == QLatin1String("Image1")) Image1_Click();
        else Image2_Click();
        return true;
    }
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            edit->insert(QStringLiteral(","));
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        if (name == QLatin1String("Text2")) Text2_DblClick();
        else if (name == QLatin1String("Text3")) Text3_DblClick();
        else if (name == QLatin1String("Text4")) Text4_DblClick();
        else if (name == QLatin1String("Text1") || name.mid(4).toInt() >= 12) {
            edit->setCursorPosition(0);
            edit->selectAll();
        } else {
            return QWidget::eventFilter(watched, event);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool WorkbenchWindow::ticked(const QString& name) const {
    const auto* c = ctl<QCheckBox>(name);
    return c && c->isChecked();
}

bool WorkbenchWindow::hasBaseSet() const { return ctl<QPushButton>(QStringLiteral("Command5"))->isEnabled(); }

void WorkbenchWindow::setFilterButtons(bool on) {
    for (const char* n : kFilterButtons) ctl<QPushButton>(QString::fromLatin1(n))->setEnabled(on);
}

// ---- Life cycle -------------------------------------------------------------------------

void WorkbenchWindow::Form_Initialize() {
    model_.conditions.positionPatterns.clear();
    session_.pool.clear();
    session_.log.reset();
    ctl<QLabel>(QStringLiteral("Label5"))->clear();
    ctl<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentIndex(0);
    ctl<QComboBox>(QStringLiteral("Combo12"))->setCurrentIndex(0);
    Option12_Click();
    common::GetSetting(QStringLiteral("zlxuanhao"));  // read at start, not used
    Command69_Click();
    ctl<QPlainTextEdit>(QStringLiteral("Text5"))->moveCursor(QTextCursor::End);
    initialized_ = true;
}

void WorkbenchWindow::Form_Load() {
    if (QScreen* s = screen()) move((s->availableGeometry().width() - width()) / 2, 0);
    if (mainWindow_) setWindowIcon(mainWindow_->windowIcon());
    prevFormHeight_ = 578;  // 8670 twips
    prevFormWidth_ = 800;   // 12000 twips
    for (int n = 1; n <= 4; ++n) ctl<QComboBox>(QStringLiteral("Combo%1").arg(n))->setCurrentIndex(0);

    QStringList hundred, sums;
    for (int i = 1; i <= 100; ++i) hundred << QString::number(i);
    for (int i = 0; i <= 27; ++i) sums << QString::number(i);
    for (int n : {5, 6, 7, 8, 11, 13, 14, 15, 16, 17, 18, 19, 20}) ctl<QComboBox>(QStringLiteral("Combo%1").arg(n))->clear();
    for (int n : {5, 6, 13, 14, 15, 16, 17, 18, 19, 20}) ctl<QComboBox>(QStringLiteral("Combo%1").arg(n))->addItems(hundred);
    ctl<QComboBox>(QStringLiteral("Combo7"))->addItems(sums);
    ctl<QComboBox>(QStringLiteral("Combo8"))->addItems(sums);

    // Issue serials around the next draw; an empty history leaves the box empty.
    const common::DrawHistory& h = common::App().history;
    if (!h.isEmpty()) {
        auto* c11 = ctl<QComboBox>(QStringLiteral("Combo11"));
        const int s = common::SerialOf(h.newest());
        const int x = std::max(s - 5, 1);
        for (int i = x; i <= x + 10; ++i) c11->addItem(QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')));
        c11->setEditText(QStringLiteral("%1").arg(s + 1, 3, 10, QLatin1Char('0')));
    }
    Combo21_re();

    ctl<QComboBox>(QStringLiteral("Combo5"))->setCurrentIndex(29);
    ctl<QComboBox>(QStringLiteral("Combo6"))->setCurrentIndex(4);
    ctl<QComboBox>(QStringLiteral("Combo7"))->setCurrentIndex(10);
    ctl<QComboBox>(QStringLiteral("Combo8"))->setCurrentIndex(17);
    ctl<QComboBox>(QStringLiteral("Combo10"))->setCurrentIndex(0);
    for (int n = 13; n <= 20; ++n) ctl<QComboBox>(QStringLiteral("Combo%1").arg(n))->setCurrentIndex(9);
    ctl<QComboBox>(QStringLiteral("Combo21"))->setCurrentIndex(0);
}

void WorkbenchWindow::Form_Activate() {
    // Another window may have switched the lottery meanwhile.
    const bool p3 = model_.lotteryIsP3 = common::App().lotteryIsP3;
    ctl<QLabel>(QStringLiteral("Image1"))->setVisible(!p3);
    ctl<QLabel>(QStringLiteral("Image2"))->setVisible(p3);
    auto* c9 = ctl<QComboBox>(QStringLiteral("Combo9"));
    c9->clear();
    const common::DrawHistory& h = common::App().history;
    const int n = h.count();
    for (int i = std::max(1, n - 10); i <= n; ++i) c9->addItem(h.number(i));
    if (n > 0) c9->setEditText(h.number(n));
}

void WorkbenchWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
    QWidget::changeEvent(event);
}

void WorkbenchWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (initialized_) Form_Resize();
}

void WorkbenchWindow::closeEvent(QCloseEvent* event) {
    if (common::App().busyFlag) {  // the program is quitting: really close
        event->accept();
        return;
    }
    event->ignore();
    hide();
    if (const auto& closed = workbench::MainWindowLinks().workbenchClosed) {
        closed();
        return;
    }
    if (mainWindow_) mainWindow_->show();
    common::App().trayToggleEnabled = true;
}

void WorkbenchWindow::enterFilteringMode() {
    for (const char* n : {"Command1", "Command12", "Command21"}) ctl<QPushButton>(QString::fromLatin1(n))->setEnabled(false);
    setFilterButtons(true);
    for (const char* n : {"Command11", "Command13", "Command16", "Command25"})
        ctl<QPushButton>(QString::fromLatin1(n))->setEnabled(true);
}
