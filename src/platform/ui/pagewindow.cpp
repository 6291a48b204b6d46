#include "platform/ui/pagewindow.h"

#include "platform/process.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/openpage.h"
#include "platform/ui/webview.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

namespace {
const QString kPageWindowName = QStringLiteral("PageWindow");
}

PageWindow::PageWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(kPageWindowName);
    view_ = new WebView(this);
    view_->setObjectName(QStringLiteral("PageView"));
    view_->setSilent(true);
    browserButton_ = new QPushButton(QStringLiteral("用浏览器打开"), this);
    browserButton_->setObjectName(QStringLiteral("OpenInBrowser"));
    closeButton_ = new QPushButton(QStringLiteral("关闭"), this);
    closeButton_->setObjectName(QStringLiteral("ClosePage"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(browserButton_);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    connect(browserButton_, &QPushButton::clicked, this, &PageWindow::openInBrowser);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    resize(760, 560);
}

void PageWindow::showPage(const QString& url, const QString& title) {
    url_ = url;
    setWindowTitle(title);
    view_->Navigate(url);
    show();
    raise();
    activateWindow();
}

void PageWindow::openInBrowser() { OpenPage(url_, this); }

bool ShowPage(const QString& url, const QString& title, QWidget* parent) {
    if (QString error; !platform::PageFileExists(url, &error)) {
        MsgBox(error, Icon::Information, Buttons::Ok, kAppTitle, parent);
        return false;
    }
    QWidget* owner = parent ? parent->window() : nullptr;
    PageWindow* window = owner ? owner->findChild<PageWindow*>(kPageWindowName, Qt::FindDirectChildrenOnly) : nullptr;
    if (!window) window = new PageWindow(owner);
    if (!owner) window->setAttribute(Qt::WA_DeleteOnClose);
    window->showPage(url, title);
    return true;
}

bool ShowHomePage(const QString& path, const QString& title, QWidget* parent) {
    const QString url = HomePageUrlOrSay(path, parent);
    return !url.isEmpty() && ShowPage(url, title, parent);
}

}  // namespace ui
