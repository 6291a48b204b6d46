// update: brings a newer main program from the home server, closes the running one, swaps it
// in and starts it again.
#include "platform/closerequest.h"
#include "platform/translations.h"
#include "updater/upgrade.h"
#include "updater/updaterwindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Updexa"));
    platform::InstallQtTranslations(&app);
    // A second copy ends at once, without a message.
    platform::SingleInstance instance(QString::fromLatin1(updater::kUpdaterAppName));
    if (!instance.acquire()) return 0;
    updater::UpdaterWindow window;
    window.show();
    return app.exec();
}
