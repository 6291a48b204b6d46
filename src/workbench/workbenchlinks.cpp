#include "workbench/workbenchlinks.h"

#include "platform/ui/messagebox.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace workbench {
namespace {
SaveFileHook g_saveHook;
WindowOpener g_smartOpener;
MainWindowLink g_link;
}  // namespace

void SetSaveFileHook(SaveFileHook hook) { g_saveHook = std::move(hook); }

QString AskSaveFileName(QWidget* parent, const QString& title, const QString& defaultName, const QString& filter) {
    if (g_saveHook) return g_saveHook(title, defaultName, filter);
    QFileDialog dialog(parent, title, defaultName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The filter's extension is added by the dialog itself, so the overwrite question is asked
    // about the file really written ("plan" typed while plan.txt exists).
    static const QRegularExpression kPattern(QStringLiteral("\\*\\.(\\w+)"));
    const QRegularExpressionMatch m = kPattern.match(filter);
    if (m.hasMatch()) dialog.setDefaultSuffix(m.captured(1));
    if (ui::ShowModal(&dialog) != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

void SetSmartSystemOpener(WindowOpener opener) { g_smartOpener = std::move(opener); }
WindowOpener SmartSystemOpener() { return g_smartOpener; }

void SetMainWindowLink(MainWindowLink link) { g_link = std::move(link); }
const MainWindowLink& MainWindowLinks() { return g_link; }

}  // namespace workbench
