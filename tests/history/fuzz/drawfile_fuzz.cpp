// libFuzzer target: arbitrary bytes as a draw file. Every draw the history keeps must be digits
// where the analyses read digits; nothing may crash whatever the bytes.
#include "history/drawfile.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    int damaged = -1;
    const QStringList draws = history::ValidDrawTexts(bytes, &damaged);
    if (damaged < 0 || draws.size() + damaged > bytes.size() / history::kRecordLength) std::abort();
    for (const QString& d : draws) {
        if (d.size() != 11) std::abort();
        for (int i : {0, 1, 2, 3, 4, 5, 6, 8, 9, 10})
            if (!d.at(i).isDigit() || d.at(i).unicode() > '9') std::abort();
    }
    const QList<history::DrawRecord> records = history::DecodeDrawRecords(bytes);
    if (records.size() != bytes.size() / history::kRecordLength) std::abort();
    // A well-formed file keeps every record flagged valid and none is damaged.
    if (history::IsValidDrawFileContent(bytes) && damaged != 0) std::abort();
    return 0;
}
