#include "platform/ui/openpage.h"

#include "common/paths.h"
#include "platform/process.h"
#include "platform/ui/messagebox.h"

namespace ui {

bool OpenPage(const QString& url, QWidget* parent) {
    QString error;
    if (platform::OpenPage(url, &error)) return true;
    MsgBox(error, Icon::Information, Buttons::Ok, kAppTitle, parent);
    return false;
}

QString HomePageUrlOrSay(const QString& path, QWidget* parent) {
    const QString url = common::HomePageUrl(path);
    if (url.isEmpty())
        MsgBox(QStringLiteral("没有主页地址（程序文件夹中也没有 home 文件夹），无法打开页面 %1。").arg(path), Icon::Information, Buttons::Ok, kAppTitle,
               parent);
    return url;
}

}  // namespace ui
