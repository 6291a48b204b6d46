#include "mainwindow/analysispanel.h"

#include "mainwindow/mainwindowlayout.h"
#include "platform/ui/clicksource.h"
#include "platform/ui/controls.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>

namespace mainwindow {
namespace {

// A small downward triangle, the mark of a button's drop-down choices. Painted, not a font's
// glyph: some CJK fonts draw "▼" as a dot.
QPixmap DropArrow(const QColor& color) {
    const qreal ratio = qGuiApp->devicePixelRatio();
    QPixmap pm(QSize(9, 6) * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({QPointF(0, 0.5), QPointF(9, 0.5), QPointF(4.5, 5.5)}));
    return pm;
}

}  // namespace

AnalysisPanel::AnalysisPanel(QWidget* window) : QObject(window) {
    struct ButtonDef {
        const char* name;
        const char* caption;
        Command command;
    };
    static constexpr ButtonDef kButtons[] = {
        {"Command6", "中奖分析", Command::HistoryList},   {"Command1", "质合分析", Command::PrimeComposite},
        {"Command2", "二码分析", Command::Pair},          {"Command3", "012路分析", Command::RepeatRoute},
        {"Command4", "合值分析", Command::SumTail},       {"Command5", "跨值分析", Command::Span},
        {"Command7", "单码分析", Command::SingleDigit},   {"Command8", "1234分析", Command::Repeat1234},
        {"Command10", "和值分析", Command::Sum},          {"Command12", "奇偶分析", Command::OddEven},
        {"Command13", "大中小分析", Command::BigMiddleSmall}, {"Command14", "大小分析", Command::BigSmall},
        {"Command15", "数据输入", Command::DrawEntry},    {"Command9", "过滤缩水", Command::Workbench},
    };
    int y = 100;
    for (const ButtonDef& b : kButtons) {
        QPushButton* button = addButton(window, b.name, b.caption, b.command, y);
        y += 24;
        if (b.command == Command::RepeatRoute) route_ = button;
        if (b.command == Command::Repeat1234) digits1234_ = button;
    }
    routeChoices_ = addChoices(window, route_, "Picture4", "popup1", "p1d", Command::StraightRoute, "p1z",
                               Command::GroupRoute);
    digits1234Choices_ = addChoices(window, digits1234_, "Picture3", "popup2", "p2d", Command::Straight1234, "p2z",
                                    Command::Group1234);
}

QPushButton* AnalysisPanel::addButton(QWidget* window, const char* name, const char* caption, Command command,
                                      int y) {
    auto* button = new QPushButton(QString::fromUtf8(caption), window);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(5, y, 88, 22);
    connect(button, &QPushButton::clicked, this, [this, command] { emit commandChosen(command); });
    return button;
}

QMenu* AnalysisPanel::addChoices(QWidget* window, QPushButton* button, const char* arrowName, const char* menuName,
                                 const char* straightName, Command straight, const char* groupName, Command group) {
    auto* menu = new QMenu(window);
    menu->setObjectName(QLatin1String(menuName));
    for (const auto& [name, caption, command] : {std::tuple{straightName, "单选", straight}, std::tuple{groupName, "组选", group}}) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [this, command = command] { emit commandChosen(command); });
    }
    // The arrow lies on the right end of its button and takes the press from it.
    QLabel* arrow = ui::MakeLabel(button, arrowName);
    arrow->setGeometry(button->width() - layout::kArrowWidth - 2, 2, layout::kArrowWidth, button->height() - 4);
    arrow->setAlignment(Qt::AlignCenter);
    arrow->setCursor(Qt::PointingHandCursor);
    arrow->setAccessibleName(QStringLiteral("▼"));
    arrow->setPixmap(DropArrow(arrow->palette().color(QPalette::ButtonText)));
    // The caption keeps clear of the arrow.
    button->setStyleSheet(QStringLiteral("QPushButton { padding-right: %1px; }").arg(layout::kArrowWidth));
    connect(ui::ClickSource::of(arrow), &ui::ClickSource::pressed, menu, [menu] { menu->popup(QCursor::pos()); });
    return menu;
}

}  // namespace mainwindow
