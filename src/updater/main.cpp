// update: brings a newer main program from the home server, closes the running one, swaps it
// in and starts it again.
#include "platform/closerequest.h"
#include "platform/translations.h"
#include "updater/upgrade.h"
#include "updater/updaterwindow.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Updexa"));
    platform::UseChineseLocale();
    platform::InstallQtTranslations(&app);
    // A second copy ends at once, without a message; a lock that cannot be made is said.
    platform::SingleInstance instance(QString::fromLatin1(updater::kUpdaterAppName));
    QString why;
    if (!instance.acquire(&why)) {
        if (why.isEmpty()) return 0;
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Updexa"), why, QMessageBox::Ok);
        box.exec();
        return 1;
    }
    updater::UpdaterWindow window;
    window.show();
    return app.exec();
}
