// WorkbenchWindow's base-set frames (第一步 and 定位组号): choosing and building a base set,
// the straight/group conversions and the reset to building mode. The sets come from basesets.h.
#include "workbench/workbenchwindow.h"

#include "dialogs/textcollectionwindow.h"
#include "pool/numberpool.h"
#include "workbench/basesets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>

using pool::kNewLine;

void WorkbenchWindow::Option1_Click() {
    model_.baseSet.choice = pool::BaseChoice::AllNumbers;
    compound_->setEnabled(true);
    groupSixLabel_->hide();
    groupSixKind_->hide();
}
void WorkbenchWindow::Option2_Click() {
    model_.baseSet.choice = pool::BaseChoice::AllGroups;
    compound_->setEnabled(false);
    groupSixLabel_->hide();
    groupSixKind_->hide();
}
void WorkbenchWindow::Option3_Click() {
    Option2_Click();
    model_.baseSet.choice = pool::BaseChoice::GroupThree;
}
void WorkbenchWindow::Option4_Click() {
    model_.baseSet.choice = pool::BaseChoice::GroupSix;
    compound_->setEnabled(false);
    groupSixLabel_->show();
    groupSixKind_->show();
}

void WorkbenchWindow::Command1_Click() {
    using workbench::BaseKind;
    enterFilteringMode();
    workbench::BaseSet set = workbench::MakeBaseSet(workbench::BaseKindOf(model_.baseSet));
    appendLog(set.logLine + kNewLine);
    session_.setDescription = set.description;
    session_.pool = std::move(set.numbers);
    session_.CommitSet();
}

void WorkbenchWindow::Command12_Click() { TextCollectionWindow::Open(); }

void WorkbenchWindow::Command21_Click() {
    QString texts[3];
    for (int k = 0; k < 3; ++k) {
        const auto box = pool::InputBox(int(pool::InputBox::PositionDigits1) + k);
        texts[k] = model_.input(box).trimmed();
        setInput(box, texts[k]);
    }
    for (const QString& t : texts)
        if (t.isEmpty()) return;
    QList<int> lists[3];
    for (int k = 0; k < 3; ++k) {
        pool::ParseNumberList(texts[k], 1, &lists[k]);
        if (lists[k].isEmpty()) return;
    }
    enterFilteringMode();
    session_.pool = workbench::PositionalSet(lists[0], lists[1], lists[2], model_.baseSet.positionalCompound);
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
    for (QPushButton* b : {buildAll_, collect_, buildPositional_, setOperations_}) b->setEnabled(true);
    setFilterButtons(false);
    buildAll_->setFocus();
    listModel_->setStringList({});
    session_.log.reset();
    countLabel_->clear();
}
