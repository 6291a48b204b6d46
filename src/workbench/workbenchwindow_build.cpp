// WorkbenchWindow's controls. Positions are pixels (15 twips each) of the 12000 × 8670 twips window.
#include "workbench/workbenchwindow.h"

#include "dialogs/workbenchapi.h"
#include "platform/ui/lotterymark.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStringListModel>
#include <QTabWidget>

namespace {

using dialogs::ArrayName;

QCheckBox* Chk(QWidget* p, const QString& name, const QString& caption, int x, int y, int w, int h = 20,
               bool on = false) {
    auto* c = new QCheckBox(caption, p);
    c->setObjectName(name);
    c->setGeometry(x, y, w, h);
    c->setChecked(on);
    return c;
}

QLineEdit* Line(QWidget* p, const QString& name, int x, int y, int w, int h = 20, const QString& text = {}) {
    auto* e = new QLineEdit(text, p);
    e->setObjectName(name);
    e->setGeometry(x, y, w, h);
    return e;
}

QComboBox* Cmb(QWidget* p, const QString& name, int x, int y, int w, bool editable, const QStringList& items = {}) {
    auto* c = new QComboBox(p);
    c->setObjectName(name);
    c->setGeometry(x, y, w, 22);
    c->setEditable(editable);
    c->addItems(items);
    return c;
}

QLabel* Lbl(QWidget* p, const QString& name, const QString& text, int x, int y, int w, int h = 20) {
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

// Where the first `length` characters of a box's caption end, in its parent's coordinates: the
// controls that stand inside a caption's run of blanks are placed by the font, not by pixels.
int CaptionEnd(QCheckBox* box, int length) {
    QStyleOptionButton opt;
    opt.initFrom(box);
    opt.text = box->text();
    const QRect contents = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, box);
    return box->x() + contents.left() + box->fontMetrics().horizontalAdvance(box->text().left(length));
}

QString Padded(const QString& name, int blanks) { return name + QString(blanks, QLatin1Char(' ')) + QStringLiteral("出"); }

// A row of ten digit boxes for the values 1..9, 0 with the given names.
void DigitRow(QWidget* frame, const QStringList& names, QCheckBox* (&row)[10]) {
    static const int values[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
    for (int i = 0; i < 10; ++i) row[i] = Chk(frame, names[i], QString::number(values[i]), 6 + i * 32, 16, 32, 18);
}

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

QPushButton* WorkbenchWindow::button(QWidget* parent, const QString& name, const QString& caption, int x, int y,
                                     int w, int h, Handler handler) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(x, y, w, h);
    b->setProperty("Tag", QString());
    if (handler) connect(b, &QPushButton::clicked, this, handler);
    return b;
}

QRadioButton* WorkbenchWindow::option(QWidget* parent, const QString& name, const QString& caption, int x, int y,
                                      int w, Handler handler, bool checked) {
    auto* o = new QRadioButton(caption, parent);
    o->setObjectName(name);
    o->setGeometry(x, y, w, 20);
    o->setProperty("Tag", QString());
    o->setChecked(checked);  // before the connection: the window opens without running the handler
    if (handler)
        connect(o, &QRadioButton::toggled, this, [this, handler](bool on) {
            if (on) (this->*handler)();
        });
    return o;
}

void WorkbenchWindow::buildControls() {
    buildBaseFrames();
    buildFamilyFrames();

    // Condition sections
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    tabs_->setGeometry(376, 8, 416, 268);
    auto page = [this](const QString& caption) {
        auto* w = new QWidget;
        tabs_->addTab(w, caption);
        return w;
    };
    buildCommonTab(page(QStringLiteral("常用过滤")));
    buildFuzzyTab(page(QStringLiteral("模糊过滤")));
    buildRecentTab(page(QStringLiteral("近期过滤")));
    buildDigitGroupTab(page(QStringLiteral("胆码组合")));
    buildFormulaTab(page(QStringLiteral("万能公式")));
    buildHiddenFrames();
    buildResultFrame();

    const pool::InputBox boxes[] = {pool::InputBox::TwoCodes, pool::InputBox::FuzzyDigits1, pool::InputBox::FuzzyDigits2,
                                    pool::InputBox::FuzzyDigits3, pool::InputBox::Formula};
    QWidget* shown[] = {inputs_[0], fuzzyDigits_[0], fuzzyDigits_[1], fuzzyDigits_[2], formulaText_};
    for (size_t i = 0; i < std::size(boxes); ++i) inputs_[int(boxes[i])] = shown[i];

    // Building mode, as the window is stored.
    setFilterButtons(false);
}

void WorkbenchWindow::buildBaseFrames() {
    using W = WorkbenchWindow;
    // 第一步：组装要过滤的号码
    QGroupBox* f1 = Frm(this, QStringLiteral("Frame1"), QStringLiteral("第一步：组装要过滤的号码"), 8, 8, 360, 116);
    // The five kinds share one row.
    baseOptions_[0] = option(f1, QStringLiteral("Option1"), QStringLiteral("全部号码"), 10, 20, 80, &W::Option1_Click, true);
    compound_ = Chk(f1, QStringLiteral("Check51"), QStringLiteral("复式"), 90, 20, 56, 20, true);
    baseOptions_[1] = option(f1, QStringLiteral("Option2"), QStringLiteral("全部组选"), 148, 20, 80, &W::Option2_Click);
    baseOptions_[2] = option(f1, QStringLiteral("Option3"), QStringLiteral("组三"), 230, 20, 58, &W::Option3_Click);
    baseOptions_[3] = option(f1, QStringLiteral("Option4"), QStringLiteral("组六"), 290, 20, 62, &W::Option4_Click);
    groupSixLabel_ = Lbl(f1, QStringLiteral("Label11"), QStringLiteral("类型："), 74, 48, 40);
    groupSixLabel_->hide();
    groupSixKind_ = Cmb(f1, QStringLiteral("Combo12"), 114, 46, 80, false,
                        {QStringLiteral("全部"), QStringLiteral("顺子"), QStringLiteral("半顺"), QStringLiteral("杂六")});
    groupSixKind_->hide();
    button(f1, QStringLiteral("Command58"), QStringLiteral("重新选号"), 30, 90, 66, 26, &W::Command58_Click);
    button(f1, QStringLiteral("Command69"), QStringLiteral("智能系统"), 96, 90, 66, 26, &W::Command69_Click);
    setOperations_ = button(f1, QStringLiteral("Command54"), QStringLiteral("集合运算"), 162, 90, 66, 26, &W::Command54_Click);
    collect_ = button(f1, QStringLiteral("Command12"), QStringLiteral("数据采集"), 228, 90, 66, 26, &W::Command12_Click);
    buildAll_ = button(f1, QStringLiteral("Command1"), QStringLiteral("选择"), 294, 90, 66, 26, &W::Command1_Click);

    // 历史查询 (its sum-range row is never shown)
    QGroupBox* f2 = Frm(this, QStringLiteral("Frame2"), QStringLiteral("历史查询"), 8, 132, 175, 100);
    Lbl(f2, {}, QStringLiteral("号码："), 6, 22, 36);
    numberQuery_ = Cmb(f2, QStringLiteral("Combo9"), 42, 20, 60, true);
    button(f2, QStringLiteral("Command42"), QStringLiteral("查询号码"), 104, 19, 66, 24, &W::Command42_Click);
    Lbl(f2, {}, QStringLiteral("期号："), 6, 48, 36);
    issueQuery_ = Cmb(f2, QStringLiteral("Combo11"), 42, 46, 60, true);
    button(f2, QStringLiteral("Command57"), QStringLiteral("查询期号"), 104, 45, 66, 24, &W::Command57_Click);
    sumRange_[0] = Cmb(f2, QStringLiteral("Combo7"), 6, 74, 48, false);
    sumRange_[0]->hide();
    Lbl(f2, QStringLiteral("Label12"), QStringLiteral("-"), 56, 75, 8)->hide();
    sumRange_[1] = Cmb(f2, QStringLiteral("Combo8"), 64, 74, 48, false);
    sumRange_[1]->hide();
    filterButtons_ << button(f2, QStringLiteral("Command3"), QStringLiteral("过滤"), 119, 76);
    filterButtons_.back()->hide();

    // 单选：定位组号
    QGroupBox* f12 = Frm(this, QStringLiteral("Frame12"), QStringLiteral("单选：定位组号"), 191, 132, 177, 100);
    const QString allDigits = QStringLiteral("0,1,2,3,4,5,6,7,8,9");
    const QString pos[3] = {QStringLiteral("百位"), QStringLiteral("十位"), QStringLiteral("个位")};
    const Handler pickers[3] = {&W::Command22_Click, &W::Command23_Click, &W::Command24_Click};
    for (int k = 0; k < 3; ++k) {
        // Wide enough for the ten digits of the default list.
        Lbl(f12, {}, pos[k], 5, 18 + k * 20, 26);
        inputs_[int(pool::InputBox::PositionDigits1) + k] =
            Line(f12, QStringLiteral("Text%1").arg(12 + k), 31, 18 + k * 20, 122, 19, allDigits);
        button(f12, QStringLiteral("Command%1").arg(22 + k), QStringLiteral("…"), 154, 18 + k * 20, 20, 19, pickers[k]);
    }
    positionalCompound_ = Chk(f12, QStringLiteral("Check61"), QStringLiteral("复式"), 6, 79, 60, 18, true);
    compoundStats_ = button(f12, QStringLiteral("Command47"), QStringLiteral("统计"), 77, 78, 50, 22, &W::Command47_Click);
    compoundStats_->setProperty("Tag", QStringLiteral("0"));
    buildPositional_ = button(f12, QStringLiteral("Command21"), QStringLiteral("选择"), 127, 78, 50, 22, &W::Command21_Click);
}

void WorkbenchWindow::buildFamilyFrames() {
    using W = WorkbenchWindow;
    // The two family frames: eight family boxes, each with the 过滤 button that opens its
    // editor, and hidden: the 容错 box, the frame's batch button and the one the editors press.
    struct Family {
        const char* box;
        const char* caption;
        const char* button;
        Handler open;
    };
    auto familyFrame = [this](const QString& frame, const QString& title, int top, const Family (&families)[8],
                              QCheckBox* (&boxes)[8], const QString& tolerance, const QString& run, Handler runs,
                              const QString& pressed, Handler press) {
        QGroupBox* f = Frm(this, frame, title, 8, top, 360, 128);
        for (int i = 0; i < 8; ++i) {
            const int x = 8 + (i % 2) * 176, y = 20 + (i / 2) * 25;
            boxes[i] = Chk(f, QString::fromLatin1(families[i].box), QString::fromUtf8(families[i].caption), x, y, 110, 22);
            button(f, QString::fromLatin1(families[i].button), QStringLiteral("过滤"), x + 112, y, 50, 22, families[i].open);
        }
        Chk(f, tolerance, QStringLiteral("容错"), 8, 104, 60, 20)->hide();
        QPushButton* batch = button(f, run, QStringLiteral("过滤"), 304, 104, 56, 24, runs);
        batch->hide();
        filterButtons_ << batch;
        button(f, pressed, pressed, 240, 104, 56, 24, press)->hide();
        return batch;
    };
    // 基本条件过滤: family boxes with the buttons that open the pattern editor
    const Family basic[8] = {{"Check49", "组选012路", "Command18", &W::Command18_Click},
                             {"Check50", "单选012路", "Command19", &W::Command19_Click},
                             {"Check11", "奇偶 组合", "Command26", &W::Command26_Click},
                             {"Check3", "质合 组合", "Command32", &W::Command32_Click},
                             {"Check12", "大小组合", "Command27", &W::Command27_Click},
                             {"Check24", "大 中 小", "Command41", &W::Command41_Click},
                             {"Check34", "组选1234", "Command46", &W::Command46_Click},
                             {"Check59", "单选1234", "Command50", &W::Command50_Click}};
    basicRun_ = familyFrame(QStringLiteral("Frame4"), QStringLiteral("基本条件过滤"), 240, basic, basicFamilies_,
                            QStringLiteral("Check64"), QStringLiteral("Command5"), &W::Command5_Click,
                            QStringLiteral("Command70"), &W::Command70_Click);
    // 高级条件过滤
    const Family advanced[8] = {{"Check58", "定位过滤", "Command15", &W::Command15_Click},
                                {"Check1", "和值过滤", "Command28", &W::Command28_Click},
                                {"Check26", "1 D 过滤", "Command53", &W::Command53_Click},
                                {"Check9", "升降序过滤", "Command39", &W::Command39_Click},
                                {"Check27", "均值过滤", "Command56", &W::Command56_Click},
                                {"Check25", "AC值过滤", "Command60", &W::Command60_Click},
                                {"Check69", "直落号过滤", "Command61", &W::Command61_Click},
                                {"Check60", "斜连值过滤", "Command59", &W::Command59_Click}};
    familyFrame(QStringLiteral("Frame7"), QStringLiteral("高级条件过滤"), 376, advanced, advancedFamilies_,
                QStringLiteral("Check66"), QStringLiteral("Command7"), &W::Command7_Click, QStringLiteral("Command71"),
                &W::Command71_Click);

    // Bottom row
    button(this, QStringLiteral("Command20"), QStringLiteral("计算器"), 8, 504, 70, 28, &W::Command20_Click);
    button(this, QStringLiteral("Command45"), QStringLiteral("投资计划"), 78, 504, 70, 28, &W::Command45_Click);
    filterButtons_ << button(this, QStringLiteral("Command30"), QStringLiteral("组选=》单选"), 148, 504, 90, 28,
                             &W::Command30_Click);
    filterButtons_ << button(this, QStringLiteral("Command31"), QStringLiteral("单选=》组选"), 238, 504, 90, 28,
                             &W::Command31_Click);
    button(this, QStringLiteral("Command52"), QStringLiteral("撤消"), 328, 504, 60, 28, &W::Command52_Click);
    button(this, QStringLiteral("Command51"), QStringLiteral("恢复"), 388, 504, 60, 28, &W::Command51_Click);
    button(this, QStringLiteral("Command49"), QStringLiteral("<<不会使用就来看视频教程>>"), 448, 504, 264, 28,
           &W::Command49_Click);
    for (int k = 1; k <= 2; ++k) {
        QLabel* image = Lbl(this, QStringLiteral("Image%1").arg(k), k == 1 ? QStringLiteral("福彩3D") : QStringLiteral("排列三"),
                            712, 504, 80, 28);
        image->setAlignment(Qt::AlignCenter);
        image->setToolTip(QStringLiteral("点击转换彩票类型"));
        ui::SetLotteryMark(image, k == 2);
        image->setCursor(Qt::PointingHandCursor);
        image->installEventFilter(this);
        images_[k - 1] = image;
    }
}

void WorkbenchWindow::buildCommonTab(QWidget* t0) {
    using W = WorkbenchWindow;
    QGroupBox* f5 = Frm(t0, QStringLiteral("Frame5"), QStringLiteral("选胆"), 2, 0, 402, 40);
    QStringList names;
    for (int i = 13; i <= 22; ++i) names << QStringLiteral("Check%1").arg(i);
    DigitRow(f5, names, pickRow_);
    for (QCheckBox* box : pickRow_) box->setChecked(true);
    filterButtons_ << button(f5, QStringLiteral("Command2"), QStringLiteral("选胆"), 346, 16, 56, 24, &W::Command2_Click);
    QGroupBox* f6 = Frm(t0, QStringLiteral("Frame6"), QStringLiteral("过滤  胆"), 2, 42, 402, 40);
    names.clear();
    for (int d : {1, 2, 3, 4, 5, 6, 7, 8, 9, 0}) names << ArrayName(QStringLiteral("Check23"), d);
    DigitRow(f6, names, excludeRow_);
    filterButtons_ << button(f6, QStringLiteral("Command4"), QStringLiteral("过滤"), 346, 16, 56, 24, &W::Command4_Click);
    QGroupBox* f9 = Frm(t0, QStringLiteral("Frame9"), QStringLiteral("过滤跨度"), 2, 84, 402, 40);
    names.clear();
    for (int i = 44; i >= 35; --i) names << QStringLiteral("Check%1").arg(i);
    DigitRow(f9, names, spanRow_);
    filterButtons_ << button(f9, QStringLiteral("Command10"), QStringLiteral("过滤"), 346, 16, 56, 24, &W::Command10_Click);
    QGroupBox* f10 = Frm(t0, QStringLiteral("Frame10"), QStringLiteral("过滤合值[和值尾]"), 2, 126, 402, 40);
    names.clear();
    for (int i : {45, 46, 47, 48, 52, 53, 54, 55, 56, 57}) names << QStringLiteral("Check%1").arg(i);
    DigitRow(f10, names, sumTailRow_);
    filterButtons_ << button(f10, QStringLiteral("Command14"), QStringLiteral("过滤"), 346, 16, 56, 24, &W::Command14_Click);
    QGroupBox* f13 = Frm(t0, QStringLiteral("Frame13"), QStringLiteral("二码处理"), 2, 168, 402, 68);
    inputs_[int(pool::InputBox::TwoCodes)] = Line(f13, QStringLiteral("Text1"), 6, 18, 280);
    button(f13, QStringLiteral("Command9"), QStringLiteral("设置"), 290, 17, 50, 22, &W::Command9_Click);
    twoCodeFilter_ = option(f13, QStringLiteral("Option9"), QStringLiteral("过滤两码"), 6, 42, 80, &W::Option9_Click, true);
    twoCodeSelect_ = option(f13, QStringLiteral("Option10"), QStringLiteral("选取两码"), 90, 42, 80, &W::Option10_Click);
    twoCodePosition_ = Cmb(f13, QStringLiteral("Combo10"), 176, 41, 70, false,
                           {QStringLiteral("全部"), QStringLiteral("百十"), QStringLiteral("十个"), QStringLiteral("百个")});
    twoCodeRun_ = button(f13, QStringLiteral("Command40"), QStringLiteral("过滤"), 346, 42, 56, 24, &W::Command40_Click);
    filterButtons_ << twoCodeRun_;
}

void WorkbenchWindow::buildFuzzyTab(QWidget* t1) {
    using W = WorkbenchWindow;
    QGroupBox* f16 = Frm(t1, QStringLiteral("Frame16"), QStringLiteral("模糊【断组】过滤"), 2, 0, 402, 236);
    fuzzyCustom_ = option(f16, QStringLiteral("Option11"), QStringLiteral("自定义"), 6, 18, 80, &W::Option11_Click);
    fuzzySources_[0] = option(f16, QStringLiteral("Option12"), QStringLiteral("热温冷"), 90, 18, 80, &W::Option12_Click, true);
    fuzzySources_[1] = option(f16, QStringLiteral("Option13"), QStringLiteral("传邻孤"), 174, 18, 80, &W::Option13_Click);
    fuzzySources_[2] = option(f16, QStringLiteral("Option14"), QStringLiteral("复隔中"), 258, 18, 80, &W::Option14_Click);
    for (int k = 0; k < 3; ++k) {
        const int y = 46 + k * 30;
        QCheckBox* box = Chk(f16, QStringLiteral("Check%1").arg(28 + k), Padded(QStringLiteral("数字%1").arg(k + 1), 29),
                             6, y, 236, 22, true);
        fuzzyBoxes_[k] = box;
        const int left = std::max(62, CaptionEnd(box, 3) + 6);
        fuzzyDigits_[k] = Line(f16, QStringLiteral("Text%1").arg(2 + k), left, y + 1, 202 - left);
        for (int j = 0; j < 4; ++j)
            fuzzyCounts_[k][j] = Chk(f16, ArrayName(QStringLiteral("Check%1").arg(31 + k), j), QString::number(j),
                                     246 + j * 36, y, 34, 22);
    }
    button(f16, QStringLiteral("Command64"), QStringLiteral("分析"), 6, 146, 56, 24, &W::Command64_Click);
    button(f16, QStringLiteral("Command65"), QStringLiteral("说明"), 66, 146, 56, 24, &W::Command65_Click);
    filterButtons_ << button(f16, QStringLiteral("Command43"), QStringLiteral("过滤"), 346, 212, 56, 24, &W::Command43_Click);
    fuzzyHelp_ = new QPlainTextEdit(f16);
    fuzzyHelp_->setObjectName(QStringLiteral("Text20"));
    fuzzyHelp_->setPlainText(kFuzzyHelp);
    fuzzyHelp_->hide();
}

void WorkbenchWindow::buildRecentTab(QWidget* t2) {
    QGroupBox* f17 = Frm(t2, QStringLiteral("Frame17"), QStringLiteral("近期过滤"), 2, 0, 402, 236);
    const struct { const char* box; const char* caption; const char* combo; } recent[10] = {
        {"Check10", "单选过滤号码  近        期", "Combo5"}, {"Check71", "组选过滤号码  近        期", "Combo13"},
        {"Check4", "过滤号码和值  近        期", "Combo6"},  {"Check74", "单选过滤奇偶  近        期", "Combo15"},
        {"Check79", "单选过滤质合  近        期", "Combo20"}, {"Check77", "单选过滤大小  近        期", "Combo18"},
        {"Check76", "单选过滤1234  近        期", "Combo17"}, {"Check75", "组选过滤1234  近        期", "Combo16"},
        {"Check73", "单选过滤012路 近        期", "Combo14"}, {"Check78", "单选过滤大中小近        期", "Combo19"}};
    // The count lists cover the blanks between "近" and "期", whose place the font decides; they
    // stand in one column per row of boxes, and a label after each shows the "期" it covers.
    int listLeft[2] = {0, 0}, listRight[2] = {0, 0};
    for (int i = 0; i < 10; ++i) {
        const int x = 4 + (i / 5) * 198, y = 18 + (i % 5) * 28;
        QCheckBox* box = Chk(f17, QString::fromLatin1(recent[i].box), QString::fromUtf8(recent[i].caption), x, y, 194, 22);
        const QString caption = box->text();
        listLeft[i / 5] = std::max(listLeft[i / 5], CaptionEnd(box, int(caption.indexOf(QStringLiteral("近"))) + 1) + 3);
        listRight[i / 5] = std::max(listRight[i / 5], CaptionEnd(box, int(caption.size())) + 2);
        recentRows_[i] = box;
    }
    for (int i = 0; i < 10; ++i) {
        QCheckBox* box = recentRows_[i];
        const int c = i / 5, y = box->y();
        const QString caption = box->text();
        int left = listLeft[c], right = listRight[c];
        if (CaptionEnd(box, int(caption.size()) - 1) < left) {  // its own "期" would show: a place of its own
            left = CaptionEnd(box, int(caption.indexOf(QStringLiteral("近"))) + 1) + 3;
            right = CaptionEnd(box, int(caption.size())) + 2;
        }
        const int width = std::max(50, right - left);
        recentCounts_[i] = Cmb(f17, QString::fromLatin1(recent[i].combo), left, y, width, false);
        Lbl(f17, {}, QStringLiteral("期"), left + width + 2, y + 1, 16);
    }
    recentAutoCollect_ = Chk(f17, QStringLiteral("Check68"), QStringLiteral("用做大底自动容错"), 4, 162, 160, 20);
    Chk(f17, QStringLiteral("Check72"), QStringLiteral("容错"), 170, 162, 60, 20)->hide();
    filterButtons_ << button(f17, QStringLiteral("Command44"), QStringLiteral("过滤"), 346, 212, 56, 24,
                             &WorkbenchWindow::Command44_Click);
}

void WorkbenchWindow::buildDigitGroupTab(QWidget* t3) {
    QGroupBox* f11 = Frm(t3, QStringLiteral("Frame11"), QStringLiteral("胆码组合过滤"), 2, 0, 402, 236);
    // In run order: switch, digit box, count array and its member for count 0 (counts 1..3 are
    // the members below it).
    const struct { const char* box; const char* text; const char* counts; int first; } groups[5] = {
        {"Check81", "Text10", "Check32", 11}, {"Check80", "Text9", "Check33", 11}, {"Check70", "Text8", "Check31", 7},
        {"Check63", "Text7", "Check32", 7},   {"Check62", "Text6", "Check33", 7}};
    for (int g = 0; g < 5; ++g) {
        const int y = 18 + g * 28;
        QCheckBox* box = Chk(f11, QString::fromLatin1(groups[g].box), Padded(QStringLiteral("组合%1").arg(g + 1), 29), 6,
                             y, 236, 22);
        groupBoxes_[g] = box;
        const int left = std::max(62, CaptionEnd(box, 3) + 6);
        groupDigits_[g] = Line(f11, QString::fromLatin1(groups[g].text), left, y + 1, 240 - left, 20,
                               g == 0 ? QStringLiteral("例：0,1,2,3,4,5,6,7,8,9") : QString());
        for (int j = 0; j < 4; ++j)  // counts "0".."3" are members first, first-1, …
            groupCounts_[g][j] = Chk(f11, ArrayName(QString::fromLatin1(groups[g].counts), groups[g].first - j),
                                     QString::number(j), 246 + j * 36, y, 34, 22);
    }
    groupRepeatOnce_ = Chk(f11, QStringLiteral("Check2"), QStringLiteral("重复号按一个计算"), 6, 162, 150, 20, true);
    groupAutoCollect_ = Chk(f11, QStringLiteral("Check90"), QStringLiteral("用做大底自动容错"), 160, 162, 150, 20);
    filterButtons_ << button(f11, QStringLiteral("Command63"), QStringLiteral("过滤"), 346, 212, 56, 24,
                             &WorkbenchWindow::Command63_Click);
}

void WorkbenchWindow::buildFormulaTab(QWidget* t4) {
    QGroupBox* f19 = Frm(t4, QStringLiteral("Frame19"), QStringLiteral("万能公式过滤"), 2, 0, 402, 236);
    formulaList_ = Cmb(f19, QStringLiteral("Combo21"), 6, 18, 280, false);
    formulaCondition_ = Chk(f19, QStringLiteral("Check67"), QStringLiteral("设置条件:"), 6, 44, 90, 20, true);
    formulaConditionText_ = Line(f19, QStringLiteral("Text28"), 100, 44, 200);
    formulaConditionText_->setToolTip(QStringLiteral("这里输入要过滤的条件"));
    formulaText_ = new QPlainTextEdit(f19);
    formulaText_->setObjectName(QStringLiteral("Text29"));
    formulaText_->setGeometry(6, 68, 390, 136);
    formulaEdit_ = button(f19, QStringLiteral("Command68"), QStringLiteral("编写公式…"), 6, 208, 90, 24,
                          &WorkbenchWindow::Command68_Click);
    filterButtons_ << button(f19, QStringLiteral("Command67"), QStringLiteral("过滤"), 346, 212, 56, 24,
                             &WorkbenchWindow::Command67_Click);
}

// Frames of the design that no operation shows: only their objectNames and the mode switch's
// buttons remain; the omission frame's two buttons still run for the window's callers.
void WorkbenchWindow::buildHiddenFrames() {
    QGroupBox* f3 = Frm(this, QStringLiteral("Frame3"), QStringLiteral("组合过滤Ⅱ"), 8, 8, 200, 60);
    filterButtons_ << button(f3, QStringLiteral("Command6"), QStringLiteral("过滤"), 144, 36);
    f3->hide();
    QGroupBox* f14 = Frm(this, QStringLiteral("Frame14"), QStringLiteral("公式过滤"), 8, 8, 360, 80);
    const QStringList positions = {QStringLiteral("百位"), QStringLiteral("十位"), QStringLiteral("个位")};
    formulaParts_[0] = Cmb(f14, QStringLiteral("Combo1"), 6, 18, 60, false, positions);
    formulaParts_[1] =
        Cmb(f14, QStringLiteral("Combo2"), 70, 18, 50, false, {QStringLiteral("加"), QStringLiteral("减"), QStringLiteral("乘")});
    formulaParts_[2] = Cmb(f14, QStringLiteral("Combo3"), 124, 18, 60, false, positions);
    formulaParts_[3] = Cmb(f14, QStringLiteral("Combo4"), 188, 18, 60, false, {QStringLiteral("等于"), QStringLiteral("不等于")});
    Line(f14, QStringLiteral("Text19"), 6, 44, 180);
    button(f14, QStringLiteral("Command33"), QStringLiteral("统计"), 190, 44);
    button(f14, QStringLiteral("Command34"), QStringLiteral("清空"), 250, 44);
    button(f14, QStringLiteral("Command35"), QStringLiteral("…"), 250, 18, 24, 22);
    filterButtons_ << button(f14, QStringLiteral("Command38"), QStringLiteral("过滤"), 304, 56);
    f14->hide();
    QGroupBox* f15 = Frm(this, QStringLiteral("Frame15"), QStringLiteral("条件过滤"), 8, 8, 200, 60);
    button(f15, QStringLiteral("Command55"), QStringLiteral("设置"), 6, 20);
    button(f15, QStringLiteral("Command62"), QStringLiteral("清空"), 66, 20, 56, 24, &WorkbenchWindow::Command62_Click);
    filterButtons_ << button(f15, QStringLiteral("Command66"), QStringLiteral("过滤"), 144, 36);
    f15->hide();
    QGroupBox* f18 = Frm(this, QStringLiteral("Frame18"), QStringLiteral("遗漏过滤"), 8, 8, 360, 150);
    const struct { const char* box; const char* caption; const char* text; } omission[5] = {
        {"Check5", "组选遗漏", "Text15"}, {"Check8", "百位遗漏", "Text18"}, {"Check7", "十位遗漏", "Text17"},
        {"Check6", "个位遗漏", "Text16"}, {"Check82", "单选遗漏", "Text11"}};
    for (int i = 0; i < 5; ++i) {
        omissionBoxes_[i] =
            Chk(f18, QString::fromLatin1(omission[i].box), QString::fromUtf8(omission[i].caption), 6, 18 + i * 24, 90, 20);
        inputs_[int(pool::InputBox::OmissionGroup) + i] = Line(f18, QString::fromLatin1(omission[i].text), 100, 18 + i * 24, 180);
    }
    button(f18, QStringLiteral("Command36"), QStringLiteral("设置"), 290, 18, 56, 24, &WorkbenchWindow::Command36_Click);
    filterButtons_ << button(f18, QStringLiteral("Command37"), QStringLiteral("过滤"), 304, 126, 56, 24,
                             &WorkbenchWindow::Command37_Click);
    f18->hide();
}

void WorkbenchWindow::buildResultFrame() {
    using W = WorkbenchWindow;
    // 缩水结果
    QGroupBox* f8 = Frm(this, QStringLiteral("Frame8"), QStringLiteral("缩水结果"), 376, 284, 416, 220);
    log_ = new QPlainTextEdit(f8);
    log_->setObjectName(QStringLiteral("Text5"));
    log_->setGeometry(8, 18, 260, 167);
    log_->setReadOnly(true);
    log_->setUndoRedoEnabled(false);
    resultList_ = new QListView(f8);
    resultList_->setObjectName(QStringLiteral("List1"));
    resultList_->setGeometry(293, 18, 115, 167);
    resultList_->setToolTip(QStringLiteral("双击删除"));
    resultList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultList_->setUniformItemSizes(true);
    listModel_ = new QStringListModel(this);
    resultList_->setModel(listModel_);
    countLabel_ = Lbl(f8, QStringLiteral("Label5"), QStringLiteral("统计"), 8, 194, 140);
    resultButtons_ << button(f8, QStringLiteral("Command25"), QStringLiteral("预览"), 160, 194, 60, 26, &W::Command25_Click);
    resultButtons_ << button(f8, QStringLiteral("Command16"), QStringLiteral("兑奖"), 220, 194, 60, 26, &W::Command16_Click);
    resultButtons_ << button(f8, QStringLiteral("Command13"), QStringLiteral("保存"), 280, 194, 60, 26, &W::Command13_Click);
    saveCollection_ = button(f8, QStringLiteral("Command11"), QStringLiteral("【做大底】"), 340, 194, 76, 26, &W::Command11_Click);
    saveCollection_->setProperty("Tag", QStringLiteral("大底采集"));
    resultButtons_ << saveCollection_;
}
