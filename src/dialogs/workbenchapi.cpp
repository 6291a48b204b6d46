#include "dialogs/workbenchapi.h"

namespace dialogs {
namespace {
// The workbench registers itself here while it lives, because this library may not depend on the
// workbench library that opens its windows (which depends on it); the windows find their
// workbench through Workbench(). The program's wiring owns the workbench itself.
WorkbenchApi* g_workbench = nullptr;
}

WorkbenchApi* Workbench() { return g_workbench; }
void SetWorkbench(WorkbenchApi* workbench) { g_workbench = workbench; }

pool::EditorConditions* WorkbenchConditions() { return g_workbench ? &g_workbench->model().conditions : nullptr; }

}  // namespace dialogs
