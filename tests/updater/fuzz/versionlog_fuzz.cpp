// libFuzzer target: arbitrary bytes as a version log, read by the updater and by the start-up
// check. A message quotes at most a short start of the garbage.
#include "startup/versioncheck.h"
#include "updater/upgrade.h"

#include "common/textcodec.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    updater::VersionLog log;
    QString error;
    if (!updater::ParseVersionLog(bytes, &log, &error)) {
        if (error.isEmpty() || error.size() > 60) std::abort();
    }
    const QString text = common::DecodeAnsi(bytes);
    const QString first = text.section(QLatin1Char('\n'), 0, 0);
    int version = 0;
    startup::StartError startError;
    if (startup::ParseVersionLine(first, &version, &startError)) {
        if (version < -32768 || version > 32767) std::abort();
    } else if (startError.description.size() > 60) {
        std::abort();
    }
    return 0;
}
