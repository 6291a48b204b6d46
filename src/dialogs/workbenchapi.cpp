#include "dialogs/workbenchapi.h"

namespace dialogs {
namespace {
WorkbenchApi* g_workbench = nullptr;
}

WorkbenchApi* Workbench() { return g_workbench; }
void SetWorkbench(WorkbenchApi* workbench) { g_workbench = workbench; }

}  // namespace dialogs
