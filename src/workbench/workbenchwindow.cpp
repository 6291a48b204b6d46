#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "common/drawtext.h"
#include "common/paths.h"
#include "common/settings.h"
#include "dialogs/sumeditor.h"
#include "dialogs/positionexclusioneditor.h"
#include "dialogs/pairpicker.h"
#include "dialogs/optioneditor.h"
#include "dialogs/setoperationswindow.h"
#include "dialogs/textcollectionwindow.h"
#include "dialogs/onedigiteditor.h"
#include "dialogs/patterneditor.h"
#include "dialogs/positiondigitpicker.h"
#include "dialogs/formulafiles.h"
#include "history/drawfile.h"
#include "platform/process.h"
#include "platform/ui/messagebox.h"
#include "pool/fuzzyclasses.h"
#include "pool/queries.h"
#include "pool/valuefilters.h"
#include "workbench/basesets.h"
#include "workbench/batch.h"
#include "workbench/batchinputs.h"
#include "workbench/numberfiles.h"
#include "workbench/workbenchlinks.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QGroupBox>
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

using pool::kNewLine;

// Buttons switched by the two modes (besides Command1, Command12, Command21).
const char* const kFilterButtons[] = {"Command2",  "Command3",  "Command4",  "Command5",  "Command6",  "Command7",
                                      "Command10", "Command14", "Command30", "Command31", "Command37", "Command38",
                                      "Command40", "Command43", "Command44", "Command63", "Command66", "Command67"};

// Values 1..9, 0 in the order the digit rows are read.
const int kDigitOrder[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};

// A three-character text that converts to a number (the queries' input test).
bool AcceptedQuery(const QString& text) { return text.size() == 3 && pool::IsNumericText(text); }

// Writes a text into a control of another window, whatever kind of text control it is.
void SetControlText(QWidget* window, const QString& name, const QString& text) {
    if (!window) return;
    QWidget* w = window->findChild<QWidget*>(name);
    if (auto* l = qobject_cast<QLabel*>(w)) l->setText(text);
    else if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(text);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) p->setPlainText(text);
    else if (w) w->setProperty("text", text);
}

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
    common::App().positionPatterns.clear();
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
    const bool p3 = common::App().lotteryIsP3;
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

void WorkbenchWindow::Form_Resize() {
    if (isMinimized() || prevFormHeight_ <= 0 || prevFormWidth_ <= 0) return;
    const double hr = height() / prevFormHeight_, wr = width() / prevFormWidth_;
    prevFormHeight_ = height();
    prevFormWidth_ = width();
    auto w = [this](const char* name) { return findChild<QWidget*>(QString::fromLatin1(name)); };
    // A placement that would make a size negative is skipped; the others still run.
    auto setGeo = [](QWidget* c, int x, int y, int cw, int ch) {
        if (c && cw >= 0 && ch >= 0) c->setGeometry(x, y, cw, ch);
    };
    auto right = [](QWidget* c) { return c->x() + c->width(); };
    auto bottom = [](QWidget* c) { return c->y() + c->height(); };
    const int gap = 8;  // 120 twips

    for (const char* f : {"Frame1", "Frame2", "Frame12", "Frame4", "Frame7"}) {
        QWidget* c = w(f);
        setGeo(c, c->x(), c->y(), int(c->width() * wr), int(c->height() * hr));
    }
    QWidget* tab = w("SSTab1");
    QWidget* f8 = w("Frame8");
    setGeo(tab, tab->x(), tab->y(), tab->width(), int(tab->height() * hr));
    setGeo(f8, f8->x(), f8->y(), int(f8->width() * wr), f8->height());
    setGeo(tab, tab->x(), tab->y(), f8->width(), tab->height());

    QWidget* f1 = w("Frame1");
    QWidget* f2 = w("Frame2");
    QWidget* f12 = w("Frame12");
    QWidget* f4 = w("Frame4");
    QWidget* f7 = w("Frame7");
    tab->move(right(f1) + gap, tab->y());
    f8->move(tab->x(), f8->y());
    f2->move(f2->x(), f1->height() + 2 * gap);
    f12->move(f2->width() + 2 * gap, f2->y());
    f4->move(f4->x(), bottom(f2) + gap);
    f7->move(f7->x(), bottom(f4) + gap);
    setGeo(f8, f8->x(), bottom(tab) + gap, f8->width(), bottom(f7) - (bottom(tab) + gap));

    // The corner button of each frame, and the rows that continue leftwards from it.
    const struct { const char* button; const char* frame; } corners[] = {
        {"Command1", "Frame1"}, {"Command3", "Frame2"},  {"Command5", "Frame4"},  {"Command6", "Frame3"},
        {"Command21", "Frame12"}, {"Command7", "Frame7"}, {"Command2", "Frame5"},  {"Command4", "Frame6"},
        {"Command10", "Frame9"}, {"Command14", "Frame10"}, {"Command11", "Frame8"}};
    for (const auto& c : corners) {
        QWidget* b = w(c.button);
        QWidget* f = w(c.frame);
        if (b && f) b->move(f->width() - b->width(), f->height() - b->height());
    }
    auto row = [&](std::initializer_list<const char*> names) {
        QWidget* prev = nullptr;
        for (const char* n : names) {
            QWidget* b = w(n);
            if (prev) b->move(prev->x() - b->width(), prev->y());
            prev = b;
        }
    };
    row({"Command1", "Command12", "Command54", "Command69", "Command58"});
    row({"Command21", "Command47"});
    row({"Command11", "Command13", "Command16", "Command25"});

    QWidget* text5 = w("Text5");
    QWidget* list1 = w("List1");
    setGeo(list1, list1->x(), list1->y(), int(list1->width() * wr), f8->height() - 53);
    setGeo(text5, text5->x(), text5->y(), int(text5->width() * wr), list1->height());
    list1->move(text5->width() + 33, text5->y());
    QWidget* label5 = w("Label5");
    label5->move(label5->x(), text5->height() + 27);

    const int top = bottom(f7);
    QWidget* prev = w("Command20");
    prev->move(prev->x(), top);
    for (const char* n : {"Command45", "Command30", "Command31", "Command52", "Command51"}) {
        QWidget* b = w(n);
        b->move(right(prev), top);
        prev = b;
    }
    for (const char* n : {"Image1", "Image2"}) {
        QWidget* img = w(n);
        img->move(right(f8) - img->width(), top);
    }
    QWidget* tutorial = w("Command49");
    const int imageLeft = w("Image1")->x();
    setGeo(tutorial, 0, top, imageLeft - prev->x() - prev->width(), tutorial->height());
    tutorial->move(imageLeft - tutorial->width(), top);
    update();
}

void WorkbenchWindow::cmdstyle() {
    for (const char* n : {"Command1", "Command12", "Command21"}) ctl<QPushButton>(QString::fromLatin1(n))->setEnabled(false);
    setFilterButtons(true);
    for (const char* n : {"Command11", "Command13", "Command16", "Command25"})
        ctl<QPushButton>(QString::fromLatin1(n))->setEnabled(true);
}

// ---- Base sets --------------------------------------------------------------------------

void WorkbenchWindow::Option1_Click() {
    ctl<QCheckBox>(QStringLiteral("Check51"))->setEnabled(true);
    ctl<QLabel>(QStringLiteral("Label11"))->hide();
    ctl<QComboBox>(QStringLiteral("Combo12"))->hide();
}
void WorkbenchWindow::Option2_Click() {
    ctl<QCheckBox>(QStringLiteral("Check51"))->setEnabled(false);
    ctl<QLabel>(QStringLiteral("Label11"))->hide();
    ctl<QComboBox>(QStringLiteral("Combo12"))->hide();
}
void WorkbenchWindow::Option3_Click() { Option2_Click(); }
void WorkbenchWindow::Option4_Click() {
    ctl<QCheckBox>(QStringLiteral("Check51"))->setEnabled(false);
    ctl<QLabel>(QStringLiteral("Label11"))->show();
    ctl<QComboBox>(QStringLiteral("Combo12"))->show();
}

void WorkbenchWindow::Command1_Click() {
    using workbench::BaseKind;
    cmdstyle();
    BaseKind kind;
    if (ctl<QRadioButton>(QStringLiteral("Option1"))->isChecked())
        kind = ticked(QStringLiteral("Check51")) ? BaseKind::AllCompound : BaseKind::AllSingle;
    else if (ctl<QRadioButton>(QStringLiteral("Option2"))->isChecked())
        kind = BaseKind::AllGroup;
    else if (ctl<QRadioButton>(QStringLiteral("Option3"))->isChecked())
        kind = BaseKind::GroupThree;
    else {
        switch (ctl<QComboBox>(QStringLiteral("Combo12"))->currentIndex()) {
        case 0: kind = BaseKind::GroupSixAll; break;
        case 1: kind = BaseKind::GroupSixRun; break;
        case 2: kind = BaseKind::GroupSixHalfRun; break;
        default: kind = BaseKind::GroupSixMixed; break;
        }
    }
    workbench::BaseSet set = workbench::MakeBaseSet(kind);
    appendLog(set.logLine + kNewLine);
    session_.setDescription = set.description;
    session_.pool = std::move(set.numbers);
    session_.CommitSet();
}

void WorkbenchWindow::Command12_Click() { TextCollectionWindow::Open(); }

void WorkbenchWindow::Command21_Click() {
    QLineEdit* boxes[3] = {ctl<QLineEdit>(QStringLiteral("Text12")), ctl<QLineEdit>(QStringLiteral("Text13")),
                           ctl<QLineEdit>(QStringLiteral("Text14"))};
    QString texts[3];
    for (int k = 0; k < 3; ++k) {
        texts[k] = boxes[k]->text().trimmed();
        boxes[k]->setText(texts[k]);
    }
    for (const QString& t : texts)
        if (t.isEmpty()) return;
    QList<int> lists[3];
    for (int k = 0; k < 3; ++k) {
        pool::ParseNumberList(texts[k], 1, &lists[k]);
        if (lists[k].isEmpty()) return;
    }
    cmdstyle();
    session_.pool = workbench::PositionalSet(lists[0], lists[1], lists[2], ticked(QStringLiteral("Check61")));
    session_.setDescription = QStringLiteral("定位组号：") + texts[0] + QLatin1Char('|') + texts[1] + QLatin1Char('|') + texts[2];
    appendLog(QStringLiteral("百位定位:") + texts[0] + kNewLine + QStringLiteral("十位定位:") + texts[1] + kNewLine +
              QStringLiteral("个位定位:") + texts[2] + kNewLine + QStringLiteral("定位组号共生成") +
              QString::number(session_.pool.size()) + QStringLiteral("注") + kNewLine);
    session_.CommitSet();
}

void WorkbenchWindow::Command30_Click() {
    session_.pool = workbench::ExpandToStraight(session_.pool);
    session_.setDescription += QStringLiteral("=》组变单");
    appendLog(kNewLine + QStringLiteral("组变单") + kNewLine);
    session_.CommitSet();
}

void WorkbenchWindow::Command31_Click() {
    workbench::ReduceToGroup(session_.pool);
    session_.setDescription += QStringLiteral("=》单变组");
    appendLog(kNewLine + QStringLiteral("单变组") + kNewLine);
    session_.CommitSet();
}

void WorkbenchWindow::Command58_Click() {
    session_.pool.clear();
    for (const char* n : {"Command1", "Command12", "Command21", "Command54"})
        ctl<QPushButton>(QString::fromLatin1(n))->setEnabled(true);
    setFilterButtons(false);
    ctl<QPushButton>(QStringLiteral("Command1"))->setFocus();
    listModel_->setStringList({});
    session_.log.reset();
    ctl<QLabel>(QStringLiteral("Label5"))->clear();
}

// ---- Undo, redo, collection, export -----------------------------------------------------

void WorkbenchWindow::Command52_Click() {
    session_.Undo();
    if (!session_.pool.isEmpty()) cmdstyle();
}

void WorkbenchWindow::Command51_Click() {
    session_.Redo();
    if (!session_.pool.isEmpty()) cmdstyle();
}

void WorkbenchWindow::Command11_Click() {
    QString path, error;
    collectionSaved_ = workbench::SaveCollection(session_.pool, QDateTime::currentDateTime(), &path, &error);
    if (!collectionSaved_) {
        ui::MsgBox(error, ui::Icon::Critical, ui::Buttons::Ok, ui::kAppTitle, this);
        return;
    }
    lastCollectionPath_ = path;
    // Lists the file in the set-operations window (caption 大底采集) and shows it.
    if (!SetOperationsWindow::AddCollection(path, session_.setDescription)) collectionSaved_ = false;
}

void WorkbenchWindow::Command13_Click() {
    const QString chosen = workbench::AskSaveFileName(this, QStringLiteral("导出奖号"),
                                                      workbench::ExportDefaultName(QDate::currentDate()),
                                                      QStringLiteral("文本文件 (*.txt)"));
    if (chosen.isEmpty()) return;  // cancelled
    const QString path = workbench::WithDefaultExtension(chosen);
    QString error;
    if (!workbench::ExportNumbers(session_.pool, path, &error)) {
        ui::MsgBox(error, ui::Icon::Critical, ui::Buttons::Ok, ui::kAppTitle, this);
        return;
    }
    common::SaveSetting(QStringLiteral("path"), workbench::FolderOf(path));
}

// ---- Single-value filters ---------------------------------------------------------------

// Ticked values of a digit row, in the order 1..9, 0, and their item texts.
static QList<int> TickedValues(const WorkbenchWindow* form, const QStringList& boxes, const QString& itemSuffix, QString* items) {
    QList<int> values;
    for (int i = 0; i < 10; ++i) {
        if (!form->ctl<QCheckBox>(boxes[i])->isChecked()) continue;
        values << kDigitOrder[i];
        *items += QString::number(kDigitOrder[i]) + itemSuffix;
    }
    return values;
}

void WorkbenchWindow::Command10_Click() {
    const QStringList boxes = {QStringLiteral("Check44"), QStringLiteral("Check43"), QStringLiteral("Check42"),
                               QStringLiteral("Check41"), QStringLiteral("Check40"), QStringLiteral("Check39"),
                               QStringLiteral("Check38"), QStringLiteral("Check37"), QStringLiteral("Check36"),
                               QStringLiteral("Check35")};
    QString items;
    const QList<int> values = TickedValues(this, boxes, QStringLiteral(" "), &items);
    session_.RunFilter(QStringLiteral("跨度过滤开始"), QStringLiteral("夸度过滤：") + items,
                       [&](pool::NumberPool& p, QString& log) {
                           for (int v : values) pool::FilterSpan(p, log, v);
                       });
}

void WorkbenchWindow::Command14_Click() {
    const QStringList boxes = {QStringLiteral("Check45"), QStringLiteral("Check46"), QStringLiteral("Check47"),
                               QStringLiteral("Check48"), QStringLiteral("Check52"), QStringLiteral("Check53"),
                               QStringLiteral("Check54"), QStringLiteral("Check55"), QStringLiteral("Check56"),
                               QStringLiteral("Check57")};
    QString items;
    const QList<int> values = TickedValues(this, boxes, QStringLiteral(" "), &items);
    session_.RunFilter(QStringLiteral("合值过滤开始"), QStringLiteral("和值尾（合值）过滤：") + items,
                       [&](pool::NumberPool& p, QString& log) {
                           for (int v : values) pool::FilterSumTail(p, log, v);
                       });
}

void WorkbenchWindow::Command4_Click() {
    QStringList boxes;
    for (int d : kDigitOrder) boxes << dialogs::ArrayName(QStringLiteral("Check23"), d);
    QString items;
    const QList<int> values = TickedValues(this, boxes, QStringLiteral("  "), &items);
    session_.RunFilter(QStringLiteral("胆码过滤开始"), QStringLiteral("胆码过滤：") + items,
                       [&](pool::NumberPool& p, QString& log) {
                           for (int v : values) pool::FilterContainsDigit(p, log, QString::number(v), true);
                       });
}

void WorkbenchWindow::Command2_Click() {
    // Selection: the removal marks the numbers holding a ticked digit; those are kept.
    pool::NumberPool& p = session_.pool;
    const pool::NumberPool copy = p;
    QString block = kNewLine + QStringLiteral("胆码选取开始") + kNewLine;
    QStringList boxes;
    for (int i = 13; i <= 22; ++i) boxes << QStringLiteral("Check%1").arg(i);
    QString items;
    int total = 0;
    for (int v : TickedValues(this, boxes, QStringLiteral("  "), &items))
        total += pool::FilterContainsDigit(p, block, QString::number(v), false);
    block += kNewLine + QStringLiteral("选出") + QString::number(total) + QStringLiteral("注") + kNewLine;
    appendLog(block);
    session_.setDescription = QStringLiteral("选胆：") + items;
    pool::NumberPool kept = copy;
    for (qsizetype i = 0; i < p.size() && i < kept.size(); ++i)
        if (!p.at(i).isEmpty()) kept[i].clear();
    p = kept;
    pool::CompactSet(p);
    session_.CommitSet();
}

// ---- History queries --------------------------------------------------------------------

// Runs one history query on the text of a query box; a text that is no number clears the box.
void WorkbenchWindow::runHistoryQuery(const QString& comboName,
                            int (*query)(QString&, const common::DrawHistory&, const QString&)) {
    auto* box = ctl<QComboBox>(comboName);
    const QString text = box->currentText().trimmed();
    if (!AcceptedQuery(text)) {
        box->setFocus();
        box->setEditText(QString());
        return;
    }
    QString block;
    query(block, common::App().history, text);
    appendLog(block);
}

void WorkbenchWindow::Command42_Click() { runHistoryQuery(QStringLiteral("Combo9"), pool::QueryNumberHistory); }

void WorkbenchWindow::Command57_Click() { runHistoryQuery(QStringLiteral("Combo11"), pool::QueryIssueSerial); }

// ---- Result list ------------------------------------------------------------------------

void WorkbenchWindow::List1_DblClick() {
    auto* list = ctl<QListView>(QStringLiteral("List1"));
    const QModelIndex index = list->currentIndex();
    if (!index.isValid() || !list->selectionModel()->isSelected(index)) return;
    const int row = index.row();
    if (row < 0 || row >= session_.pool.size()) return;
    appendLog(kNewLine + QStringLiteral("删除 ") + session_.pool.at(row) + kNewLine);
    session_.pool.removeAt(row);
    session_.CommitSet();
}

// ---- Lottery switch ---------------------------------------------------------------------

void WorkbenchWindow::Image1_Click() {
    if (!common::App().lotteryIsP3) switchLottery(true);
}
void WorkbenchWindow::Image2_Click() {
    if (common::App().lotteryIsP3) switchLottery(false);
}

void WorkbenchWindow::switchLottery(bool toP3) {
    common::AppState& app = common::App();
    app.drawListDirty = true;
    common::SaveSetting(QStringLiteral("fclx"), toP3 ? QStringLiteral("1") : QStringLiteral("0"));
    app.lotteryIsP3 = toP3;
    const auto& told = workbench::MainWindowLinks().lotteryChanged;
    if (!told)
        SetControlText(mainWindow_, QStringLiteral("Label3"), toP3 ? QStringLiteral("体彩排列3") : QStringLiteral("全国福彩3D"));
    app.drawFilePath = common::DrawFilePathFor(toP3);
    QString error;
    if (!history::LoadDrawHistory(&error))
        ui::MsgBox(error, ui::Icon::Critical, ui::Buttons::Ok, ui::kAppTitle, this);
    app.resetAnalysisRange();
    Form_Activate();
    if (told) {
        told();
    } else {
        SetControlText(mainWindow_, QStringLiteral("Text1"), QStringLiteral("彩票类型已被转换请刷新数据..."));
        SetControlText(mainWindow_, QStringLiteral("Label1"), QStringLiteral("彩票类型已被转换请刷新数据..."));
    }
    ui::MsgBox(toP3 ? QStringLiteral("彩票类型已被转换，当前彩票类型为[体彩排列3]。")
                    : QStringLiteral("彩票类型已被转换，当前彩票类型为[福彩3D]。"),
               ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
}

// ---- Hidden batch buttons ---------------------------------------------------------------

void WorkbenchWindow::Command70_Click() { Command5_Click(); }
void WorkbenchWindow::Command71_Click() { Command7_Click(); }
void WorkbenchWindow::Command5_Click() {
    ctl<QPlainTextEdit>(QStringLiteral("Text5"))->moveCursor(QTextCursor::End);
    workbench::RunBasicBatch(session_, workbench::TakeBasicConditions(this));
}
void WorkbenchWindow::Command7_Click() {
    ctl<QPlainTextEdit>(QStringLiteral("Text5"))->moveCursor(QTextCursor::End);
    const QString warning =
        workbench::RunAdvancedBatch(session_, workbench::TakeAdvancedConditions(this), common::App().history);
    if (!warning.isEmpty()) ui::MsgBox(warning, ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
}

// ---- Condition inputs -------------------------------------------------------------------

void WorkbenchWindow::Option9_Click() {
    auto* text1 = ctl<QLineEdit>(QStringLiteral("Text1"));
    ctl<QRadioButton>(QStringLiteral("Option10"))->setProperty("Tag", text1->text());
    text1->setText(ctl<QRadioButton>(QStringLiteral("Option9"))->property("Tag").toString());
    ctl<QPushButton>(QStringLiteral("Command40"))->setText(QStringLiteral("过滤"));
}

void WorkbenchWindow::Option10_Click() {
    auto* text1 = ctl<QLineEdit>(QStringLiteral("Text1"));
    ctl<QRadioButton>(QStringLiteral("Option9"))->setProperty("Tag", text1->text());
    text1->setText(ctl<QRadioButton>(QStringLiteral("Option10"))->property("Tag").toString());
    ctl<QPushButton>(QStringLiteral("Command40"))->setText(QStringLiteral("选择"));
}

void WorkbenchWindow::setFuzzyCaptions(const QString& a, const QString& b, const QString& c, int blanks) {
    const QString names[3] = {a, b, c};
    for (int k = 0; k < 3; ++k)
        ctl<QCheckBox>(QStringLiteral("Check%1").arg(28 + k))
            ->setText(names[k] + QString(blanks, QLatin1Char(' ')) + QStringLiteral("出"));
}

void WorkbenchWindow::Option11_Click() {
    for (int k = 0; k < 3; ++k) ctl<QLineEdit>(QStringLiteral("Text%1").arg(2 + k))->setText(customDigits_[k]);
    setFuzzyCaptions(QStringLiteral("数字1"), QStringLiteral("数字2"), QStringLiteral("数字3"), 29);
}

void WorkbenchWindow::writeFuzzySource(int kind) {
    const common::DrawHistory& h = common::App().history;
    const pool::FuzzyDigitClasses classes = pool::ComputeFuzzyDigitClasses(h, h.count());
    const pool::DigitPartition& part = kind == 0   ? classes.hotWarmCold
                                       : kind == 1 ? classes.drawnNeighbourLone
                                                   : classes.repeatGapMiddle;
    for (int k = 0; k < 3; ++k) ctl<QLineEdit>(QStringLiteral("Text%1").arg(2 + k))->setText(part.listText(k));
    static const char* const names[3][3] = {{"热", "温", "冷"}, {"传", "邻", "孤"}, {"复", "隔", "中"}};
    setFuzzyCaptions(QString::fromUtf8(names[kind][0]), QString::fromUtf8(names[kind][1]),
                     QString::fromUtf8(names[kind][2]), 32);
}

void WorkbenchWindow::Option12_Click() { writeFuzzySource(0); }
void WorkbenchWindow::Option13_Click() { writeFuzzySource(1); }
void WorkbenchWindow::Option14_Click() { writeFuzzySource(2); }

void WorkbenchWindow::customDigitsChanged(int k) {
    if (ctl<QRadioButton>(QStringLiteral("Option11"))->isChecked())
        customDigits_[k] = ctl<QLineEdit>(QStringLiteral("Text%1").arg(2 + k))->text();
}
void WorkbenchWindow::Text2_Change() { customDigitsChanged(0); }
void WorkbenchWindow::Text3_Change() { customDigitsChanged(1); }
void WorkbenchWindow::Text4_Change() { customDigitsChanged(2); }

void WorkbenchWindow::openFuzzyPicker(int tab) {
    QStringList captions;
    for (int k = 0; k < 3; ++k) captions << ctl<QCheckBox>(QStringLiteral("Check%1").arg(28 + k))->text().left(3);
    PositionDigitPicker::Open(captions, tab, QStringLiteral("模糊过滤"));
}
void WorkbenchWindow::Text2_DblClick() { openFuzzyPicker(0); }
void WorkbenchWindow::Text3_DblClick() { openFuzzyPicker(1); }
void WorkbenchWindow::Text4_DblClick() { openFuzzyPicker(2); }

// ---- Openers and tools ------------------------------------------------------------------

void WorkbenchWindow::openDigitPicker(int tab) {
    PositionDigitPicker::Open({QStringLiteral("百位"), QStringLiteral("十位"), QStringLiteral("个位")}, tab, QStringLiteral("定位选号"));
}
void WorkbenchWindow::Command22_Click() { openDigitPicker(0); }
void WorkbenchWindow::Command23_Click() { openDigitPicker(1); }
void WorkbenchWindow::Command24_Click() { openDigitPicker(2); }

void WorkbenchWindow::Command9_Click() { PairPicker::Open(); }

void WorkbenchWindow::Command54_Click() {
    SetOperationsWindow* w = SetOperationsWindow::instance();
    w->show();
    w->raise();
}

void WorkbenchWindow::Command69_Click() {
    if (common::App().history.count() >= 600) {
        if (const workbench::WindowOpener open = workbench::SmartSystemOpener()) open(this);
        return;
    }
    ui::MsgBox(QStringLiteral("开奖总期数累积达到600期以后,智能选号系统才能启动。"), ui::Icon::Information,
               ui::Buttons::Ok, QStringLiteral("智能选号"), this);
}

void WorkbenchWindow::Command65_Click() {
    ui::MsgBox(ctl<QPlainTextEdit>(QStringLiteral("Text20"))->toPlainText(), ui::Icon::None, ui::Buttons::Ok,
               ui::kAppTitle, this);
}

void WorkbenchWindow::Command49_Click() {
    if (common::HasHomeServer()) platform::OpenInBrowser(common::HomeUrl() + QStringLiteral("/3d/gd.htm"));
}

void WorkbenchWindow::Command20_Click() {
    QString error;
    if (!platform::StartCalculator(&error))
        ui::MsgBox(error, ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
}

// ---- Formula list -----------------------------------------------------------------------

void WorkbenchWindow::Combo21_re() {
    auto* combo = ctl<QComboBox>(QStringLiteral("Combo21"));
    combo->clear();
    combo->addItem(QStringLiteral("选择要过滤的万能公式"));
    combo->addItems(dialogs::ListFormulaFiles());  // a missing folder lists nothing
    // The prompt is selected without loading it, so a refill (the editor's save) never
    // replaces the script box's text by a not-found message.
    combo->setCurrentIndex(0);
}

void WorkbenchWindow::Check67_Click() {
    const bool on = ticked(QStringLiteral("Check67"));
    ctl<QPlainTextEdit>(QStringLiteral("Text29"))->setEnabled(on);
    ctl<QPushButton>(QStringLiteral("Command68"))->setEnabled(on);
}

// ---- Handlers whose bodies come with later windows and filters --------------------------

void WorkbenchWindow::Command3_Click() {}
void WorkbenchWindow::Command6_Click() {}
void WorkbenchWindow::Command15_Click() { PositionExclusionEditor::Open(); }
void WorkbenchWindow::Command18_Click() { PatternEditor::Open(0); }
void WorkbenchWindow::Command19_Click() { PatternEditor::Open(1); }
void WorkbenchWindow::Command26_Click() { PatternEditor::Open(2); }
void WorkbenchWindow::Command27_Click() { PatternEditor::Open(4); }
void WorkbenchWindow::Command28_Click() { SumEditor::Open(); }
void WorkbenchWindow::Command32_Click() { PatternEditor::Open(3); }
void WorkbenchWindow::Command33_Click() {}
void WorkbenchWindow::Command34_Click() {}
void WorkbenchWindow::Command35_Click() {}
void WorkbenchWindow::Command38_Click() {}
void WorkbenchWindow::Command39_Click() { OptionEditor::Open(0); }
void WorkbenchWindow::Command41_Click() { PatternEditor::Open(5); }
void WorkbenchWindow::Command46_Click() { PatternEditor::Open(6); }
void WorkbenchWindow::Command50_Click() { PatternEditor::Open(7); }
void WorkbenchWindow::Command53_Click() { OneDigitEditor::Open(); }
void WorkbenchWindow::Command55_Click() {}
void WorkbenchWindow::Command56_Click() { OptionEditor::Open(1); }
void WorkbenchWindow::Command59_Click() { OptionEditor::Open(4); }
void WorkbenchWindow::Command60_Click() { OptionEditor::Open(2); }
void WorkbenchWindow::Command61_Click() { OptionEditor::Open(3); }
void WorkbenchWindow::Command66_Click() {}
