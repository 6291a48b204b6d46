// libFuzzer target: arbitrary bytes as a scheme list, and each record it yields as a scheme
// record. Nothing may crash whatever the bytes.
#include "smart/schemerecords.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const smart::SchemeListResult r = smart::ParseSchemeListXml(bytes);
    if (!r.loaded && !r.records.isEmpty()) std::abort();
    for (const QString& line : r.records) {
        smart::SchemeRecord record;
        QString error;
        (void)smart::ParseSchemeRecord(line, &record, &error);
        (void)smart::ReportLineDigit(line);
    }
    // The bytes as one record line as well.
    const QString line = QString::fromUtf8(bytes);
    smart::SchemeRecord record;
    (void)smart::ParseSchemeRecord(line, &record);
    (void)smart::ReportLineDigit(line);
    return 0;
}
