// The workbench's tab 模糊过滤: its controls, the digit sources, the digit pickers its boxes open
// and the fuzzy filter run (filterruns.h).
#include "workbench/fuzzytab.h"

#include "dialogs/positiondigitpicker.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/messagebox.h"
#include "pool/fuzzyclasses.h"
#include "workbench/benchcontrols.h"
#include "pool/filterruns.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

namespace workbench {

namespace {

const QString kFuzzyHelp = QStringLiteral(
    "模糊过滤操作方法\r\n"
    "   \r\n"
    "模糊过滤是非常实用的功能，可以结合统计中的数据高效能的过滤垃圾号码，可能第一次使用时会感觉很难理解，现在我就详细说明一下。\r\n"
    "\r\n"
    "模糊过滤有3个大的条件，分别是数字1，数字2，数字3，在过滤时可以只用一个条件，也可以二个或三个条件同时用。只要号码满足条件或同时满足多个条件，该号码就会被选出。\r\n"
    "\r\n"
    "例如：\r\n"
    "\r\n"
    "数字1：1，5，6 （出1，2个）\r\n"
    "\r\n"
    "数字2：3，4 （出0，1个）\r\n"
    "\r\n"
    "数字3：2，7，8 （出2，3个）\r\n"
    "\r\n"
    "比如：\r\n"
    "\r\n"
    "113 其中“1”在数字1条件中满足2个，剩下的“3”在数字2条件中满足1个。所以该号码会出。\r\n"
    "\r\n"
    "123其中“1”在数字1条件中满足1个，“3”在数字2条件中满足1个，但是“2”就只能出1个了，所有的选项中都没这个条件，所以不满足。\r\n"
    "\r\n"
    "模糊过滤是组选过滤，一般设定三个条件同时使用，条件可以自己设置，就像上面的数字123一样，也可以利用系统自动统计的热温冷，复隔中，传邻孤。\r\n"
    " \r\n");

}  // namespace

FuzzyTab::FuzzyTab(dialogs::WorkbenchApi& bench) : bench_(bench) {
    using T = FuzzyTab;
    QGroupBox* f16 = Frm(this, QStringLiteral("Frame16"), QStringLiteral("模糊【断组】过滤"), 2, 0, 402, 236);
    custom_ = Option(f16, this, &T::customSource, QStringLiteral("Option11"), QStringLiteral("自定义"), 6, 18, 80);
    const char* const sources[3][2] = {{"Option12", "热温冷"}, {"Option13", "传邻孤"}, {"Option14", "复隔中"}};
    for (int s = 0; s < 3; ++s) {
        QRadioButton* o = MakeOption(f16, QString::fromLatin1(sources[s][0]), QString::fromUtf8(sources[s][1]),
                                     90 + s * 84, 18, 80, s == 0);
        connect(o, &QRadioButton::toggled, this, [this, s](bool on) {
            if (on) showSource(s);
        });
    }
    for (int k = 0; k < 3; ++k) {
        const int y = 46 + k * 30;
        QCheckBox* box = Chk(f16, QStringLiteral("Check%1").arg(28 + k), Padded(QStringLiteral("数字%1").arg(k + 1), 29),
                             6, y, 236, 22, true);
        boxes_[k] = box;
        const int left = std::max(62, CaptionEnd(box, 3) + 6);
        digits_[k] = Line(f16, QStringLiteral("Text%1").arg(2 + k), left, y + 1, 202 - left);
        digits_[k]->installEventFilter(this);
        for (int j = 0; j < 4; ++j)
            counts_[k][j] = Chk(f16, dialogs::ArrayName(QStringLiteral("Check%1").arg(31 + k), j), QString::number(j),
                                246 + j * 36, y, 34, 22);
    }
    analyse_ = MakeButton(f16, QStringLiteral("Command64"), QStringLiteral("分析"), 6, 146, 56, 24);
    Button(f16, this, &T::showHelp, QStringLiteral("Command65"), QStringLiteral("说明"), 66, 146);
    run_ = Button(f16, this, &T::run, QStringLiteral("Command43"), QStringLiteral("过滤"), 346, 212);
    help_ = new QPlainTextEdit(f16);
    help_->setObjectName(QStringLiteral("Text20"));
    help_->setPlainText(kFuzzyHelp);
    help_->hide();
}

void FuzzyTab::bindModel() {
    pool::FuzzyInputs& fuzzy = bench_.model().fuzzy;
    for (int k = 0; k < 3; ++k) {
        Bind(this, boxes_[k], fuzzy.on[size_t(k)]);
        for (int j = 0; j < 4; ++j) Bind(this, counts_[k][j], fuzzy.counts[size_t(k)][size_t(j)]);
        connect(digits_[k], &QLineEdit::textChanged, this, [this, k] { digitsChanged(k); });
    }
}

void FuzzyTab::setCaptions(const QString& a, const QString& b, const QString& c, int blanks) {
    const QString names[3] = {a, b, c};
    for (int k = 0; k < 3; ++k) boxes_[k]->setText(Padded(names[k], blanks));
}

void FuzzyTab::customSource() {
    for (int k = 0; k < 3; ++k) digits_[k]->setText(customDigits_[k]);
    setCaptions(QStringLiteral("数字1"), QStringLiteral("数字2"), QStringLiteral("数字3"), 29);
}

void FuzzyTab::showSource(int kind) {
    const common::DrawHistory& h = bench_.state().history();
    const pool::FuzzyDigitClasses classes = pool::ComputeFuzzyDigitClasses(h, h.count());
    const pool::DigitPartition& part = kind == 0   ? classes.hotWarmCold
                                       : kind == 1 ? classes.drawnNeighbourLone
                                                   : classes.repeatGapMiddle;
    for (int k = 0; k < 3; ++k) digits_[k]->setText(part.listText(k));
    static const char* const names[3][3] = {{"热", "温", "冷"}, {"传", "邻", "孤"}, {"复", "隔", "中"}};
    setCaptions(QString::fromUtf8(names[kind][0]), QString::fromUtf8(names[kind][1]), QString::fromUtf8(names[kind][2]), 32);
}

void FuzzyTab::digitsChanged(int k) {
    if (custom_->isChecked()) customDigits_[k] = bench_.model().input(pool::InputBox(int(pool::InputBox::FuzzyDigits1) + k));
}

void FuzzyTab::openPicker(int tab) {
    QStringList captions;
    for (int k = 0; k < 3; ++k) captions << boxes_[k]->text().left(3);
    PositionDigitPicker::Open(bench_, captions, tab, QStringLiteral("模糊过滤"));
}

void FuzzyTab::run() {
    bench_.showLogEnd();
    const pool::WorkbenchModel& model = bench_.model();
    std::array<pool::FuzzyRule, 3> rules;
    for (int k = 0; k < 3; ++k) {
        rules[size_t(k)] = pool::FuzzyRule::FromText(model.fuzzy.on[size_t(k)],
                                                     model.input(pool::InputBox(int(pool::InputBox::FuzzyDigits1) + k)),
                                                     model.fuzzy.counts[size_t(k)]);
    }
    pool::RunFuzzy(bench_.session(), rules);
}

void FuzzyTab::showHelp() { ui::MsgBox(help_->toPlainText(), ui::Icon::None, ui::Buttons::Ok, ui::kAppTitle, bench_.dialogParent()); }

// Enter types a comma; a double click opens the digit picker on the box's tab.
bool FuzzyTab::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            edit->insert(QStringLiteral(","));
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        for (int k = 0; k < 3; ++k)
            if (edit == digits_[k]) openPicker(k);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace workbench
