#include "dialogs/workbenchapi.h"

namespace dialogs {
namespace {
WorkbenchApi* g_workbench = nullptr;
}

WorkbenchApi* Workbench() { return g_workbench; }
void SetWorkbench(WorkbenchApi* workbench) { g_workbench = workbench; }

pool::EditorConditions* WorkbenchConditions() { return g_workbench ? &g_workbench->model().conditions : nullptr; }

}  // namespace dialogs
