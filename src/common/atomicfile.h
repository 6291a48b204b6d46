#pragma once
// Files are replaced whole: written to a temporary file beside the target, then renamed
// over it, so a failure never leaves a half-written file.
#include <QByteArray>
#include <QString>

namespace common {

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// Renames source over target in one step (target replaced when it exists).
bool ReplaceFile(const QString& source, const QString& target, QString* error = nullptr);

}  // namespace common
