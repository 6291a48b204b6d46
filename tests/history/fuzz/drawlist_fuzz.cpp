// libFuzzer target: arbitrary bytes as a results list. Whatever is taken must be new draws in
// strictly rising issue order, each "IIIIIII DDD".
#include "history/drawdownload.h"

#include <QByteArray>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

static void Check(const QList<QStringList>& children, const QString& last, const QString& prefix) {
    QStringList draws;
    QString error;
    if (!history::NewDrawsFromList(children, last, prefix, &draws, &error)) {
        if (!draws.isEmpty() || error.isEmpty()) std::abort();
        return;
    }
    QString previous = last;
    for (const QString& d : draws) {
        if (d.size() != 11 || d.at(7) != QLatin1Char(' ')) std::abort();
        for (int i : {0, 1, 2, 3, 4, 5, 6, 8, 9, 10})
            if (d.at(i) < QLatin1Char('0') || d.at(i) > QLatin1Char('9')) std::abort();
        if (!(d.left(7) > previous)) std::abort();
        previous = d.left(7);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QStringList> children;
    QString error;
    if (!history::ParseDrawListXml(bytes, &children, &error)) {
        if (!children.isEmpty()) std::abort();
        return 0;
    }
    Check(children, QString(), QString());
    Check(children, QStringLiteral("2024100"), QString());
    Check(children, QStringLiteral("2024100"), QStringLiteral("20"));
    return 0;
}
