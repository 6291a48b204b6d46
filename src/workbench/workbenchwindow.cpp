// WorkbenchWindow's life: construction, wiring the controls to their handlers, typing
// conveniences, loading, activation, closing, and the switch between building and filtering
// mode. The handlers live beside it by concern: _build (controls), _layout (resizing),
// _basesets, _results (undo, redo, collection, export, the result list), _filters, _inputs
// (condition inputs), _editors (condition editors and batch filters), _history (queries and
// the lottery switch), _formula, _stats and _tools.
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "common/drawtext.h"
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

WorkbenchWindow::WorkbenchWindow(QWidget* mainWindow) : QWidget(nullptr), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(ui::kAppTitle);
    resize(800, 578);  // 12000 × 8670 twips
    buildControls();

    QPlainTextEdit* log = log_;
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
        countLabel_->setText(pool::PoolSession::CountLabel(int(numbers.size())));
        saveCollection_->setProperty("Tag", session_.setDescription);
    };

    wireModel();  // first: the handlers wired next read the model the controls have just written
    wireControls();
    dialogs::SetWorkbench(this);
    Form_Load();
    Form_Initialize();
}

WorkbenchWindow::~WorkbenchWindow() {
    if (dialogs::Workbench() == this) dialogs::SetWorkbench(nullptr);
}

// The buttons and options are connected as they are made (buildControls); here the other
// controls that run a handler.
void WorkbenchWindow::wireControls() {
    connect(formulaCondition_, &QCheckBox::toggled, this, &WorkbenchWindow::Check67_Click);
    connect(formulaList_, qOverload<int>(&QComboBox::activated), this, &WorkbenchWindow::Combo21_Click);
    connect(fuzzyDigits_[0], &QLineEdit::textChanged, this, &WorkbenchWindow::Text2_Change);
    connect(fuzzyDigits_[1], &QLineEdit::textChanged, this, &WorkbenchWindow::Text3_Change);
    connect(fuzzyDigits_[2], &QLineEdit::textChanged, this, &WorkbenchWindow::Text4_Change);
    connect(resultList_, &QListView::doubleClicked, this, &WorkbenchWindow::List1_DblClick);

    // Typing conveniences: Enter types a comma; a double click selects the whole text (or, in
    // the fuzzy digit boxes, opens the digit picker).
    for (int b = 0; b < pool::kInputBoxes; ++b)
        if (b != int(pool::InputBox::OmissionStraight) && qobject_cast<QLineEdit*>(inputs_[b]))
            inputs_[b]->installEventFilter(this);
    for (QLineEdit* digits : groupDigits_) digits->installEventFilter(this);
}

// The controls that show the model write every change back to it.
void WorkbenchWindow::wireModel() {
    wireFrameInputs();
    model_.lotteryIsP3 = common::App().lotteryIsP3;
    for (int o = 0; o < 4; ++o)
        if (baseOptions_[o]->isChecked()) model_.baseSet.choice = pool::BaseChoice(o);
    model_.baseSet.compound = compound_->isChecked();
    connect(compound_, &QCheckBox::toggled, this, [this](bool on) { model_.baseSet.compound = on; });
    model_.baseSet.groupSixKind = groupSixKind_->currentIndex();
    connect(groupSixKind_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int kind) { model_.baseSet.groupSixKind = kind; });
    for (int f = 0; f < pool::kBatchFamilies; ++f) {
        auto& basic = model_.conditions.basicFamilies[size_t(f)];
        auto& advanced = model_.conditions.advancedFamilies[size_t(f)];
        connect(basicFamilies_[f], &QCheckBox::toggled, this, [&basic](bool on) { basic = on; });
        connect(advancedFamilies_[f], &QCheckBox::toggled, this, [&advanced](bool on) { advanced = on; });
    }
    for (int b = 0; b < pool::kInputBoxes; ++b) {
        const auto box = pool::InputBox(b);
        if (auto* line = qobject_cast<QLineEdit*>(inputs_[b])) {
            model_.input(box) = line->text();
            connect(line, &QLineEdit::textChanged, this, [this, box](const QString& text) { model_.input(box) = text; });
        } else if (auto* text = qobject_cast<QPlainTextEdit*>(inputs_[b])) {
            model_.input(box) = text->toPlainText();
            connect(text, &QPlainTextEdit::textChanged, this, [this, box, text]() { model_.input(box) = text->toPlainText(); });
        }
    }
}

void WorkbenchWindow::showFamilies() {
    for (int f = 0; f < pool::kBatchFamilies; ++f) {
        basicFamilies_[f]->setChecked(model_.conditions.basicFamilies[size_t(f)]);
        advancedFamilies_[f]->setChecked(model_.conditions.advancedFamilies[size_t(f)]);
    }
}

void WorkbenchWindow::setInput(pool::InputBox box, const QString& text) {
    model_.input(box) = text;
    QWidget* shown = inputs_[int(box)];
    if (auto* line = qobject_cast<QLineEdit*>(shown)) line->setText(text);
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(shown)) edit->setPlainText(text);
}

void WorkbenchWindow::setLogVisible(bool visible) { log_->setVisible(visible); }

void WorkbenchWindow::showLogEnd() { log_->moveCursor(QTextCursor::End); }

bool WorkbenchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && (watched == images_[0] || watched == images_[1])) {
        if (watched == images_[0]) Image1_Click();
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
        // The positional and omission value boxes select their whole text too.
        const auto first = std::begin(inputs_) + int(pool::InputBox::PositionDigits1);
        const auto end = std::begin(inputs_) + int(pool::InputBox::OmissionStraight);
        const bool positional = std::find(first, end, edit) != end;
        if (edit == fuzzyDigits_[0]) Text2_DblClick();
        else if (edit == fuzzyDigits_[1]) Text3_DblClick();
        else if (edit == fuzzyDigits_[2]) Text4_DblClick();
        else if (edit == inputs_[int(pool::InputBox::TwoCodes)] || positional) {
            edit->setCursorPosition(0);
            edit->selectAll();
        } else {
            return QWidget::eventFilter(watched, event);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool WorkbenchWindow::hasBaseSet() const { return basicRun_->isEnabled(); }

void WorkbenchWindow::setFilterButtons(bool on) {
    for (QPushButton* b : filterButtons_) b->setEnabled(on);
}

// ---- Life cycle -------------------------------------------------------------------------

void WorkbenchWindow::Form_Initialize() {
    model_.conditions.positionPatterns.clear();
    session_.pool.clear();
    session_.log.reset();
    countLabel_->clear();
    tabs_->setCurrentIndex(0);
    groupSixKind_->setCurrentIndex(0);
    Option12_Click();
    Command69_Click();
    log_->moveCursor(QTextCursor::End);
    initialized_ = true;
}

void WorkbenchWindow::Form_Load() {
    if (QScreen* s = screen()) move((s->availableGeometry().width() - width()) / 2, 0);
    if (mainWindow_) setWindowIcon(mainWindow_->windowIcon());
    prevFormHeight_ = 578;  // 8670 twips
    prevFormWidth_ = 800;   // 12000 twips
    for (QComboBox* part : formulaParts_) part->setCurrentIndex(0);

    QStringList hundred, sums;
    for (int i = 1; i <= 100; ++i) hundred << QString::number(i);
    for (int i = 0; i <= 27; ++i) sums << QString::number(i);
    issueQuery_->clear();
    for (QComboBox* range : sumRange_) {
        range->clear();
        range->addItems(sums);
    }
    for (QComboBox* counts : recentCounts_) {
        counts->clear();
        counts->addItems(hundred);
    }

    // Issue serials around the next draw; an empty history leaves the box empty.
    const common::DrawHistory& h = common::App().history;
    if (!h.isEmpty()) {
        QComboBox* c11 = issueQuery_;
        const int s = common::SerialOf(h.newest());
        const int x = std::max(s - 5, 1);
        for (int i = x; i <= x + 10; ++i) c11->addItem(QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')));
        c11->setEditText(QStringLiteral("%1").arg(s + 1, 3, 10, QLatin1Char('0')));
    }
    Combo21_re();

    // Rows 0 and 2 (单选号码 Combo5, 和值 Combo6) start at 30 and 5 draws, the others at 10.
    for (int r = 0; r < 10; ++r) recentCounts_[r]->setCurrentIndex(r == 0 ? 29 : r == 2 ? 4 : 9);
    sumRange_[0]->setCurrentIndex(10);
    sumRange_[1]->setCurrentIndex(17);
    twoCodePosition_->setCurrentIndex(0);
    formulaList_->setCurrentIndex(0);
}

void WorkbenchWindow::Form_Activate() {
    // Another window may have switched the lottery meanwhile.
    const bool p3 = model_.lotteryIsP3 = common::App().lotteryIsP3;
    images_[0]->setVisible(!p3);
    images_[1]->setVisible(p3);
    QComboBox* c9 = numberQuery_;
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
    for (QPushButton* b : {buildAll_, collect_, buildPositional_}) b->setEnabled(false);
    setFilterButtons(true);
    for (QPushButton* b : resultButtons_) b->setEnabled(true);
}
