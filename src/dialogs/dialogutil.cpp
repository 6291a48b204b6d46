#include "dialogs/dialogutil.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "dialogs/workbenchapi.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace dialogs {

OkCancel AddOkCancel(QWidget* parent, QHBoxLayout* row, const char* okName, const char* cancelName) {
    OkCancel buttons{new QPushButton(QStringLiteral("确定"), parent), new QPushButton(QStringLiteral("取消"), parent)};
    buttons.ok->setObjectName(QString::fromLatin1(okName));
    buttons.cancel->setObjectName(QString::fromLatin1(cancelName));
    buttons.ok->setAutoDefault(false);
    buttons.cancel->setAutoDefault(false);
    row->addWidget(buttons.ok);
    row->addWidget(buttons.cancel);
    return buttons;
}

void CentreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

void PlaceOnWorkbench(WorkbenchApi& bench, QWidget* window) { window->move(bench.dialogParent()->pos()); }

void CentreOnWorkbench(WorkbenchApi& bench, QWidget* window) {
    const QRect area = bench.dialogParent()->frameGeometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

}  // namespace dialogs
