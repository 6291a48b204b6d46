#include "common/digittriples.h"

namespace common {

QStringList ExtractDigitTriples(const QString& text, bool acceptStar) {
    QStringList numbers;
    QString buffer;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        QChar taken;
        if (c >= u'0' && c <= u'9')
            taken = ch;
        else if (c >= u'\xFF10' && c <= u'\xFF19')  // full-width digits of code page 936 texts
            taken = QChar(u'0' + (c - u'\xFF10'));
        else if (acceptStar && c == u'*')
            taken = ch;
        else
            continue;
        buffer.append(taken);
        if (buffer.size() == 3) {
            numbers.append(buffer);
            buffer.clear();
        }
    }
    return numbers;
}

}  // namespace common
