#include "workbench/workbenchlinks.h"

#include <utility>

namespace workbench {
namespace {
WindowOpener g_smartOpener;
MainWindowLink g_link;
}  // namespace

void SetSmartSystemOpener(WindowOpener opener) { g_smartOpener = std::move(opener); }
WindowOpener SmartSystemOpener() { return g_smartOpener; }

void SetMainWindowLink(MainWindowLink link) { g_link = std::move(link); }
const MainWindowLink& MainWindowLinks() { return g_link; }

}  // namespace workbench
