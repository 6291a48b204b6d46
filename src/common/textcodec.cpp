#include "common/textcodec.h"

#include "common/atomicfile.h"

#include <QFile>
#include <QRegularExpression>
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

QString DecodeWebPage(const QByteArray& body, const QByteArray& contentType) {
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*[\"']?\\s*(gb2312|gbk|gb18030)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(body.left(2048)) + QString::fromLatin1(contentType);
    return charset.match(head).hasMatch() ? DecodeAnsi(body) : QString::fromUtf8(body);
}

}  // namespace common
