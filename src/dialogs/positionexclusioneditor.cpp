#include "dialogs/positionexclusioneditor.h"

#include "common/appstate.h"
#include "common/digittriples.h"
#include "common/numbertables.h"
#include "common/paths.h"
#include "common/textcodec.h"
#include "dialogs/dialogutil.h"
#include "dialogs/workbenchapi.h"
#include "dialogs/editorframe.h"
#include "dialogs/setops.h"
#include "platform/ui/controls.h"
#include "platform/ui/filedialogs.h"
#include "platform/ui/messagebox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStringListModel>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <array>

using dialogs::MakeButton;

namespace {


const QString kStar = QStringLiteral("*");
const QString kPositions[3] = {QStringLiteral("百位"), QStringLiteral("十位"), QStringLiteral("个位")};


const char* const kRunText = "012, 019, 089, 123, 234 , 345, 456, 567, 678, 789";
const char* const kHalfRunText =
    "013, 014, 015, 016, 017, 018, 023, 029, 034, 039,045, 049, 056, 059, 067, 069, 078, 079, 124, 125"
    "126, 127, 128, 129, 134, 145, 156, 167, 178, 189, 235, 236, 237, 238, 239, 245, 256, 267, 278, 289"
    "346, 347, 348, 349, 356, 367, 378, 389, 457, 458, 459, 467, 478, 489, 568, 569, 578, 589, 679, 689";
const char* const kMixedSixText =
    "024, 025, 026, 027, 028, 035, 036, 037, 038, 046, 047, 048, 057, 058, 068, 135, 136, 137, 138, 139"
    "146, 147, 148, 149, 157, 158, 159, 168, 169, 179, 246, 247, 248, 249, 257, 258, 259, 268, 269, 279, "
    "357, 358, 359, 368, 369, 379, 468, 469, 479, 579";

}  // namespace

PositionExclusionEditor::PositionExclusionEditor(dialogs::WorkbenchApi& bench)
    : QDialog(bench.dialogParent()), EditorRowHandlers(bench, this), bench_(bench) {
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("定位排除过滤"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    buildMenus();
    sources_ = new QTabWidget(this);
    sources_->setObjectName(QStringLiteral("SSTab2"));
    sources_->setGeometry(8, 32, 340, 240);
    buildManualTab();
    buildGeneratorTab();
    buildPasteTab();
    buildPatternList();
    setFixedSize(560, 318);

    countTimer_ = new QTimer(this);
    countTimer_->setObjectName(QStringLiteral("Timer1"));
    countTimer_->setInterval(500);
    connect(countTimer_, &QTimer::timeout, this, &PositionExclusionEditor::showCount);
    countTimer_->start();

    showPatterns();
}

// 快捷操作 and 说明.
void PositionExclusionEditor::buildMenus() {
    auto* menus = new QMenuBar(this);
    menus->setObjectName(QStringLiteral("MenuBar"));
    QMenu* quick = menus->addMenu(QStringLiteral("快捷操作"));
    quick->setObjectName(QStringLiteral("menu_1"));
    using E = PositionExclusionEditor;
    const struct {
        const char* name;
        const char* caption;
        void (E::*handler)();
    } items[] = {{"menu_10", "从文件导入", &E::importFromFile}, {nullptr, nullptr, nullptr},
                 {"menu_2", "未出号码", &E::listUndrawn},        {"meun_3", "已出号码", &E::listDrawn},
                 {"menu_4", "组三", &E::listGroupThree},         {"menu_5", "组六", &E::listGroupSix},
                 {"menu_6", "顺子", &E::collectRuns},            {"meun_7", "半顺", &E::collectHalfRuns},
                 {"menu_8", "杂六", &E::collectMixedSix},        {"menu_9", "豹子", &E::listTriples}};
    for (const auto& item : items) {
        if (!item.name) {
            quick->addSeparator();
            continue;
        }
        QAction* action = quick->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        connect(action, &QAction::triggered, this, item.handler);
    }
    QAction* help = menus->addAction(QStringLiteral("说明"));
    help->setObjectName(QStringLiteral("menu_13"));
    connect(help, &QAction::triggered, this, &PositionExclusionEditor::showHelp);
    menus->setGeometry(0, 0, 560, 24);
}

// 1、手工输入: a digit or "*" per position.
void PositionExclusionEditor::buildManualTab() {
    auto* manual = new QWidget(sources_);
    sources_->addTab(manual, QStringLiteral("1、手工输入"));
    const char* const labels[3] = {"Label11", "Label13", "Label12"};
    for (int k = 0; k < 3; ++k) {
        ui::MakeLabel(manual, labels[k], kPositions[k], 16 + k * 100, 40, 36, 24);
        auto* box = new QLineEdit(kStar, manual);
        box->setObjectName(QStringLiteral("Text%1").arg(9 + k));
        box->setMaxLength(1);
        box->setAlignment(Qt::AlignCenter);
        box->setGeometry(54 + k * 100, 40, 32, 24);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this, k]() { boxChanged(k); });
        positionBoxes_[k] = box;
    }
    addButton_ = MakeButton(manual, "Command2", QStringLiteral("添加"), 120, 100, 90, 28);
    connect(addButton_, &QPushButton::clicked, this, &PositionExclusionEditor::addTypedPattern);
}

// 2、定位生成: the ticked characters of each position, combined.
void PositionExclusionEditor::buildGeneratorTab() {
    auto* generate = new QWidget(sources_);
    sources_->addTab(generate, QStringLiteral("2、定位生成"));
    QStringList characters;
    for (int d = 0; d <= 9; ++d) characters << QString::number(d);
    characters << kStar;
    const char* const rowLabels[3] = {"Label3", "Label4", "Label5"};
    for (int r = 0; r < 3; ++r) {
        ui::MakeLabel(generate, rowLabels[r], kPositions[r], 8, 8 + r * 56, 40, 20);
        // Two lines of six boxes per position, right of its label.
        characterRows_[r] = dialogs::MakeCheckArray(generate, QStringLiteral("Check%1").arg(r + 1), characters, 6, 48,
                                           8 + r * 56, 46, 24);
    }
    MakeButton(generate, "Command14", QStringLiteral("生成号码"), 120, 176, 90, 28, this, &PositionExclusionEditor::generatePatterns);
}

// 3、外部采集: numbers in any text.
void PositionExclusionEditor::buildPasteTab() {
    auto* outside = new QWidget(sources_);
    sources_->addTab(outside, QStringLiteral("3、外部采集"));
    ui::MakeLabel(outside, "Label7", QStringLiteral("直接在文本框中输入号码即可，支持任意格式："), 8, 4, 320, 20);
    pastedText_ = new QPlainTextEdit(QStringLiteral("可以从论坛复制垃圾号码到这里采集"), outside);
    pastedText_->setObjectName(QStringLiteral("Text1"));
    pastedText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pastedText_->setGeometry(8, 26, 320, 140);
    MakeButton(outside, "Command15", QStringLiteral("采集号码"), 120, 176, 90, 28, this, &PositionExclusionEditor::collectPastedNumbers);
}

// The pattern list, its column of buttons and the bottom row.
void PositionExclusionEditor::buildPatternList() {
    ui::MakeLabel(this, "Label6", QStringLiteral("→"), 352, 140, 20, 20);
    countLabel_ = ui::MakeLabel(this, "Label1", QString(), 440, 32, 110, 20);
    countLabel_->setStyleSheet(QStringLiteral("color: red"));
    countLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    patternList_ = new QListView(this);
    patternList_->setObjectName(QStringLiteral("List1"));
    patternList_->setToolTip(QStringLiteral("双击删除"));
    patternList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listModel_ = new QStringListModel(this);
    patternList_->setModel(listModel_);
    patternList_->setGeometry(376, 54, 90, 218);
    connect(patternList_, &QListView::doubleClicked, this, &PositionExclusionEditor::removeSelectedPattern);
    MakeButton(this, "Command20", QStringLiteral("清空号码"), 472, 54, 80, 28, this, &PositionExclusionEditor::clearPatterns);
    MakeButton(this, "Command19", QStringLiteral("组 变 单"), 472, 88, 80, 28, this, &PositionExclusionEditor::expandDigitOrders);

    // Bottom row.
    using E = PositionExclusionEditor;
    dialogs::MakeBottomRow<E>(this, {282,
                                     {"Command25", "开始过滤号码", 8, 110, &E::filterNumbers},
                                     {"Command22", "撤消", 160, 70, &E::undo},
                                     {"Command23", "恢复", 236, 70, &E::redo},
                                     {"Command24", "[做大底]", 312, 80, &E::makeBase},
                                     {"Command18", "返回>>", 472, 80, &E::backToWorkbench}});
}

int PositionExclusionEditor::Open(dialogs::WorkbenchApi& bench) {
    // Each opening starts from PositionPatterns: the editor lives for one opening only.
    QPointer<PositionExclusionEditor> editor = new PositionExclusionEditor(bench);
    const int result = ui::ShowModal(editor);
    delete editor.data();  // unloads on close
    return result;
}


QString PositionExclusionEditor::HelpText() {
    return QStringLiteral(
               "定位过滤是非常实用的功能，他是匹配号码过滤，当号码中有和定位过滤设置中相同的号码时，号码将被过滤掉，“*”可以代表0-9，"
               "可以单个添加，也可以批量组合生成和导入号码。单个添加一次添加一个组合，在百位，十位，个位设定好后点添加按钮就可以了。"
               "该功能的一个特色就是用“*”号匹配0-9，批量生成要先设置好各位的组合后，点生成就可以了。") +
           QLatin1Char('\n');
}

void PositionExclusionEditor::showPatterns() {
    dialogs::PlaceEditorOnWorkbench(bench_, this);
    patterns_.clear();
    for (const QString& p : bench_.model().conditions.positionPatterns) addPattern(p);
    refresh();
    countLabel_->setText(QString::number(patterns_.size()));
    sources_->setCurrentIndex(0);
}

void PositionExclusionEditor::refresh() { listModel_->setStringList(patterns_); }

bool PositionExclusionEditor::addPattern(const QString& text) {
    if (text == QLatin1String("***")) return false;
    for (const QString& row : patterns_)
        if (row.startsWith(text, Qt::CaseInsensitive)) return false;
    // Kept in ascending text order; "*" sorts before the digits.
    patterns_.insert(std::lower_bound(patterns_.begin(), patterns_.end(), text), text);
    return true;
}

void PositionExclusionEditor::CheckForDupes(const QString& text) {
    if (addPattern(text)) refresh();
}

void PositionExclusionEditor::selectRow(int row) {
    if (row < 0 || row >= patterns_.size()) {
        patternList_->setCurrentIndex(QModelIndex());
        return;
    }
    patternList_->setCurrentIndex(listModel_->index(row));
}

void PositionExclusionEditor::addTypedPattern() {
    CheckForDupes(positionBoxes_[0]->text() + positionBoxes_[1]->text() + positionBoxes_[2]->text());
    positionBoxes_[0]->setFocus();
}

void PositionExclusionEditor::generatePatterns() {
    for (int i = 0; i <= 10; ++i)
        for (int j = 0; j <= 10; ++j)
            for (int k = 0; k <= 10; ++k)
                if (characterRows_[0][i]->isChecked() && characterRows_[1][j]->isChecked() && characterRows_[2][k]->isChecked())
                    addPattern(characterRows_[0][i]->text() + characterRows_[1][j]->text() + characterRows_[2][k]->text());
    refresh();
}

void PositionExclusionEditor::collect(const QString& text) {
    for (const QString& triple : common::ExtractDigitTriples(text, true)) addPattern(triple);
    refresh();
}

void PositionExclusionEditor::collectPastedNumbers() {
    const QString text = dialogs::TrimBlanks(pastedText_->toPlainText());
    pastedText_->setPlainText(text);
    collect(text);
}

void PositionExclusionEditor::expandDigitOrders() {
    const QStringList rows = patterns_;
    patterns_.clear();
    for (const QString& r : rows) {
        if (r.isEmpty()) continue;
        const QString x = r.left(1), y = r.mid(1, 1), z = r.right(1);
        for (const QString& order : {x + y + z, x + z + y, y + x + z, y + z + x, z + x + y, z + y + x}) addPattern(order);
    }
    refresh();
}

void PositionExclusionEditor::clearPatterns() {
    patterns_.clear();
    refresh();
}

void PositionExclusionEditor::importFromFile() {
    const QString path =
        ui::AskOpenFileName(this, QStringLiteral("导入到定位过滤"), common::NumberFolder(), QStringLiteral("文本文件 (*.txt)"));
    if (path.isEmpty()) return;  // cancelled
    // The list is replaced only by an import that brings patterns; otherwise it stays and the
    // player is told why.
    QString content, error;
    if (!common::ReadAnsiFile(path, &content, &error)) {
        ui::MsgBox(QStringLiteral("无法读取文件：") + QDir::toNativeSeparators(path) + QLatin1Char('\n') + error,
                   ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
        return;
    }
    const QStringList found = common::ExtractDigitTriples(content.trimmed(), true);
    if (found.isEmpty()) {
        ui::MsgBox(QStringLiteral("文件中没有找到号码：") + QDir::toNativeSeparators(path), ui::Icon::Warning,
                   ui::Buttons::Ok, ui::kAppTitle, this);
        return;
    }
    patterns_.clear();
    for (const QString& triple : found) addPattern(triple);
    refresh();
}

void PositionExclusionEditor::showHelp() { ui::MsgBox(HelpText(), ui::Icon::None, ui::Buttons::Ok, ui::kAppTitle, this); }

void PositionExclusionEditor::savePatterns() {
    bench_.model().conditions.positionPatterns = patterns_;
}

void PositionExclusionEditor::filterNumbers() {
    savePatterns();
    dialogs::StartFilterFromDialog(bench_, dialogs::BatchGroup::Advanced, pool::kPositionalFamily, this);
}

void PositionExclusionEditor::backToWorkbench() {
    if (ui::MsgBox(QStringLiteral("是否保存设置的定位号码条件？"), ui::Icon::Question, ui::Buttons::YesNo, ui::kAppTitle,
                   this) == ui::Answer::Yes)
        savePatterns();
    close();
}


void PositionExclusionEditor::removeSelectedPattern() {
    const QModelIndex current = patternList_->currentIndex();
    if (!current.isValid() || current.row() >= patterns_.size()) return;
    patterns_.removeAt(current.row());
    refresh();
}

void PositionExclusionEditor::showCount() { countLabel_->setText(QString::number(patterns_.size()) + QStringLiteral("组")); }

void PositionExclusionEditor::ListDrawnOrUndrawn(int kind) {
    // The draws are those of the state the workbench was given.
    const common::AppState& app = bench_.state();
    std::array<int, 1000> counts{};
    const int first = std::max(app.analysisFirst(), 0);
    const int last = std::min(app.analysisLast(), app.history().count() - 1);
    for (int i = first; i <= last; ++i) {
        bool ok = false;
        const int n = app.history().number(i + 1).toInt(&ok);
        if (ok && n >= 0 && n < 1000) ++counts[size_t(n)];
    }
    patterns_.clear();
    for (int n = 0; n < 1000; ++n)
        if ((counts[size_t(n)] != 0) == (kind == 1)) addPattern(QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')));
    refresh();
}

void PositionExclusionEditor::listSet(const QStringList& numbers) {
    patterns_.clear();
    for (const QString& n : numbers) addPattern(n);
    refresh();
}

void PositionExclusionEditor::listGroupThree() { listSet(common::GroupThreeTable()); }
void PositionExclusionEditor::listGroupSix() { listSet(common::GroupSixTable()); }
void PositionExclusionEditor::listTriples() { listSet(common::TripleTable()); }

void PositionExclusionEditor::collectSet(const QString& text) {
    patterns_.clear();
    pastedText_->setPlainText(text);
    collectPastedNumbers();
    pastedText_->setPlainText(QString());
}

void PositionExclusionEditor::collectRuns() { collectSet(QString::fromLatin1(kRunText)); }
void PositionExclusionEditor::collectHalfRuns() { collectSet(QString::fromLatin1(kHalfRunText)); }
void PositionExclusionEditor::collectMixedSix() { collectSet(QString::fromLatin1(kMixedSixText)); }

void PositionExclusionEditor::boxChanged(int k) {
    if (positionBoxes_[k]->text().size() != 1) return;
    if (k < 2)
        positionBoxes_[k + 1]->setFocus();
    else
        addButton_->setFocus();
}

bool PositionExclusionEditor::eventFilter(QObject* watched, QEvent* event) {
    for (int k = 0; k < 3; ++k) {
        if (watched != positionBoxes_[k]) continue;
        if (event->type() == QEvent::FocusIn) {
            positionBoxes_[k]->setSelection(0, 1);
            return false;
        }
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool typed = !key->text().isEmpty() || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Return ||
                           key->key() == Qt::Key_Enter;
        if (!typed || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
        // Anything but a digit stands for "any digit".
        const QString t = key->text();
        const bool digit = t.size() == 1 && t.at(0) >= QLatin1Char('0') && t.at(0) <= QLatin1Char('9');
        positionBoxes_[k]->setText(digit ? t : kStar);
        boxChanged(k);  // also when the same character was typed again
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PositionExclusionEditor::closeEvent(QCloseEvent* event) {
    // Unloads without saving; the next opening starts from PositionPatterns again.
    QDialog::closeEvent(event);
}
