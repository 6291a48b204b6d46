#include "mainwindow/analysistoolbar.h"

#include "mainwindow/mainwindowlayout.h"
#include "platform/ui/clicksource.h"
#include "platform/ui/controls.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include <optional>

namespace mainwindow {
namespace {

// An item of the toolbar or of a menu; no command makes a separator.
struct Item {
    const char* caption;
    std::optional<Command> command;
};

// The toolbar's buttons are named "Toolbar2(1)".."Toolbar2(10)", separators included.
const Item kToolbar[] = {
    {"", {}}, {"", {}}, {"中奖分析", Command::HistoryList}, {"系统设置", Command::Settings}, {"", {}},
    {"数据输入", Command::DrawEntry}, {"过滤缩水", Command::Workbench}, {"", {}}, {"视频教程", Command::Tutorial},
    {"退出系统", Command::Quit},
};
constexpr int kDropDownButton = 3;  // 中奖分析

// The drop-down of 中奖分析: "Toolbar2(3).ButtonMenus(1)".."(16)".
const Item kDropDown[] = {
    {"1.全国福彩3D", Command::SwitchToFc3d}, {"2.体彩排列三", Command::SwitchToP3}, {"", {}},
    {"合值分析", Command::SumTail},          {"跨度分析", Command::Span},         {"奇偶分析", Command::OddEven},
    {"质合分析", Command::PrimeComposite},   {"二码分析", Command::Pair},         {"和值分析", Command::Sum},
    {"单码分析", Command::SingleDigit},      {"大中小分析", Command::BigMiddleSmall}, {"大小分析", Command::BigSmall},
    {"单选012路", Command::StraightRoute},   {"组选012路", Command::GroupRoute},
    {"单选1234分析", Command::Straight1234}, {"组选1234分析", Command::Group1234},
};

// The window's menu: items carry their own names.
struct NamedItem {
    const char* name;
    const char* caption;
    std::optional<Command> command;
};
const NamedItem kMenu[] = {
    {"fc3d", "1.全国福彩3D", Command::SwitchToFc3d}, {"p3", "2.体彩排列三", Command::SwitchToP3},
    {"menu1", "", {}},
    {"helpme", "帮助系统", Command::Help},           {"zaixsj", "在线升级", Command::Updater},
    {"syssetup", "系统设置", Command::Settings},     {"reflush", "刷新公告", Command::RefreshBoard},
    {"heng34", "", {}},
    {"openguang", "打开|关闭公告栏", Command::ToggleBoard},
};

}  // namespace

AnalysisToolbar::AnalysisToolbar(QWidget* window) : QObject(window) {
    strip_ = new QWidget(window);
    strip_->setObjectName(QStringLiteral("Picture5"));
    strip_->setGeometry(5, 34, layout::Px(layout::kNarrowWidth) - 10, 40);
    buildToolbar();
    menuIcon_ = ui::MakeLabel(window, "Image20", QStringLiteral("☰"));
    menuIcon_->setGeometry(5, 78, 20, 18);
    menuCaption_ = ui::MakeLabel(window, "Picture2", QStringLiteral("菜单"));
    menuCaption_->setGeometry(27, 78, 60, 18);
    buildMenu(window);
    for (QLabel* opener : {menuIcon_, menuCaption_})
        connect(ui::ClickSource::of(opener), &ui::ClickSource::pressed, this, &AnalysisToolbar::popUpMenu);
}

// Adds an item (a separator without a command) to a toolbar or a menu, bound to its command.
QAction* AnalysisToolbar::addItem(QWidget* owner, const QString& name, const char* caption,
                                  std::optional<Command> command) {
    auto* a = new QAction(QString::fromUtf8(caption), owner);
    a->setObjectName(name);
    a->setSeparator(!command);
    if (command) connect(a, &QAction::triggered, this, [this, c = *command] { emit commandChosen(c); });
    owner->addAction(a);
    return a;
}

void AnalysisToolbar::buildToolbar() {
    toolbar_ = new QToolBar(strip_);
    toolbar_->setObjectName(QStringLiteral("Toolbar2"));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar_->setGeometry(0, 0, strip_->width(), strip_->height());
    QAction* dropDownButton = nullptr;
    int index = 0;
    for (const Item& item : kToolbar) {
        QAction* a = addItem(toolbar_, QStringLiteral("Toolbar2(%1)").arg(++index), item.caption, item.command);
        if (index == kDropDownButton) dropDownButton = a;
    }
    auto* dropDown = new QMenu(toolbar_);
    index = 0;
    for (const Item& item : kDropDown)
        addItem(dropDown, QStringLiteral("Toolbar2(%1).ButtonMenus(%2)").arg(kDropDownButton).arg(++index), item.caption,
                item.command);
    dropDownButton->setMenu(dropDown);
    if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(dropDownButton)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
}

void AnalysisToolbar::buildMenu(QWidget* window) {
    menu_ = new QMenu(window);
    menu_->setObjectName(QStringLiteral("popup"));
    for (const NamedItem& item : kMenu) addItem(menu_, QLatin1String(item.name), item.caption, item.command);
}

void AnalysisToolbar::popUpMenu() { menu_->popup(QCursor::pos()); }

void AnalysisToolbar::fitWidth(int windowWidth) {
    strip_->resize(windowWidth - layout::Px(150), strip_->height());
    toolbar_->resize(strip_->width(), toolbar_->height());
}

}  // namespace mainwindow
