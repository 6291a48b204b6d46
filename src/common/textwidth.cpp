#include "common/textwidth.h"

namespace common {

int CharWidth(QChar ch) {
    const char16_t u = ch.unicode();
    if (QChar::isLowSurrogate(u))
        return 0;
    if (QChar::isHighSurrogate(u))
        return 2;  // the supplementary ideographs
    if (u < 0x1100)
        return 1;
    if (u == 0x25A0)  // ■
        return 2;
    if (u <= 0x115F)  // Hangul Jamo
        return 2;
    if (u >= 0x2E80 && u <= 0xA4CF)  // radicals, CJK symbols (ideographic space), kana, ideographs, Yi
        return 2;
    if (u >= 0xAC00 && u <= 0xD7A3)  // Hangul syllables
        return 2;
    if (u >= 0xF900 && u <= 0xFAFF)  // compatibility ideographs
        return 2;
    if (u >= 0xFE30 && u <= 0xFE4F)  // compatibility forms
        return 2;
    if ((u >= 0xFF00 && u <= 0xFF60) || (u >= 0xFFE0 && u <= 0xFFE6))  // full-width forms
        return 2;
    return 1;
}

int DisplayWidth(QStringView text) {
    int width = 0;
    for (const QChar ch : text)
        width += CharWidth(ch);
    return width;
}

QString PadRight(const QString& text, int columns) {
    const int missing = columns - DisplayWidth(text);
    return missing > 0 ? text + QString(missing, QLatin1Char(' ')) : text;
}

QString PadLeft(const QString& text, int columns) {
    const int missing = columns - DisplayWidth(text);
    return missing > 0 ? QString(missing, QLatin1Char(' ')) + text : text;
}

}  // namespace common
