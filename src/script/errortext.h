#pragma once
// What an error says of itself: its standard Chinese description by number, the two sources
// the engine gives its own errors, and the numbers of the two ends a script cannot catch. Apart
// from scriptengine.h so that the interpreter's units need not include the public engine.
#include <QString>

namespace script {

// Standard description for an error number ("类型不匹配" for 13).
QString ErrorDescription(int number);

inline const QString kCompileSource = QStringLiteral("Microsoft VBScript 编译器错误");
inline const QString kRuntimeSource = QStringLiteral("Microsoft VBScript 运行时错误");
// Raised when one addCode or run call outlives the time limit; not catchable by the script.
constexpr int kErrTimeout = 9001;
// Raised when the host's stop request turns true during a call; not catchable either.
constexpr int kErrStopped = 9002;

}  // namespace script
