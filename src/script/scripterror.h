#pragma once
// A script's error as the user reads it: what failed and where. No widgets, so plain logic
// (the scheme calculator) words its errors the same way as the windows.
#include "scriptengine.h"

#include <QString>

namespace script {

// The error's description, then where it is: "第3行：" and that line of code as the engine
// was given it (nothing when the line is not known).
QString ScriptErrorText(const ScriptError& error, const QString& code);

}  // namespace script
