#include "common/textcodec.h"

#include "common/atomicfile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace common {

QString DecodeAnsi(const QByteArray& bytes) {
    QStringDecoder dec("GBK");
    if (!dec.isValid()) return QString::fromLatin1(bytes);
    return dec.decode(bytes);
}

QByteArray EncodeAnsi(const QString& text) {
    QStringEncoder enc("GBK");
    if (!enc.isValid()) return text.toLatin1();
    return enc.encode(text);
}

bool ReadAnsiFile(const QString& path, QString* text, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error) *error = f.errorString();
        return false;
    }
    if (text) *text = DecodeAnsi(bytes);
    return true;
}

bool WriteAnsiFile(const QString& path, const QString& text, QString* error) {
    return WriteFileAtomically(path, EncodeAnsi(text), error);
}

}  // namespace common
