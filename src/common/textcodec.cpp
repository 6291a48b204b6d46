#include "common/textcodec.h"

#include "common/atomicfile.h"

#include <QDir>
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

bool ReadAnsiFile(const QString& path, QString* text, QString* error, qint64 maxBytes) {
    QByteArray bytes;
    if (!ReadRegularFile(path, maxBytes, &bytes, error)) return false;
    if (text) *text = DecodeAnsi(bytes);
    return true;
}

bool WriteAnsiFile(const QString& path, const QString& text, QString* error) {
    return WriteFileAtomically(path, EncodeAnsi(text), error);
}

QString QuoteStart(const QString& text, int maxChars) {
    QString out;
    out.reserve(maxChars + 1);
    for (QChar c : text) {
        if (out.size() >= maxChars) {
            out += QChar(0x2026);  // …
            break;
        }
        // Line breaks and control bytes of garbage would break the message's lines.
        out += (c.unicode() < 0x20 || c.unicode() == 0x7f || c.isNonCharacter() || c.isSurrogate()) ? QLatin1Char(' ') : c;
    }
    return out;
}

QString DecodeWebPage(const QByteArray& body, const QByteArray& contentType) {
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*[\"']?\\s*(gb2312|gbk|gb18030)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(body.left(2048)) + QString::fromLatin1(contentType);
    return charset.match(head).hasMatch() ? DecodeAnsi(body) : QString::fromUtf8(body);
}

}  // namespace common
