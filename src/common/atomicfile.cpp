#include "common/atomicfile.h"

#include <QFile>
#include <QSaveFile>

#include <cstdio>

namespace common {

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    if (f.write(bytes) != bytes.size()) {
        if (error) *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

bool ReplaceFile(const QString& source, const QString& target, QString* error) {
    // rename(2) replaces an existing target atomically; QFile::rename refuses to.
    if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0) {
        if (error) *error = QStringLiteral("cannot rename %1 to %2").arg(source, target);
        return false;
    }
    return true;
}

}  // namespace common
