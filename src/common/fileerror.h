#pragma once
// The Chinese reason of a failed file operation, shared by the writes (atomicfile.h) and the
// reads (localfile.h), which use each other's work only through it.
#include <QString>

class QFileDevice;

namespace common {

// The cause of a failed file operation, in Chinese, from the system's error number.
QString FileErrorText(int errnum);
// The same for a QFile/QSaveFile whose last operation failed (read right after the failure:
// the system's error number is still that of the failing call).
QString FileErrorText(const QFileDevice& file);

}  // namespace common
