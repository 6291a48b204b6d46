// The calculator's scheme list: loaded from the home server or imported from a file.
#include "smart/calculator.h"

#include "smart/calculatortext.h"

#include <algorithm>

namespace smart {

using namespace calctext;

void SchemeCalculator::loadSchemeList(const QString& url, platform::Downloader* downloader) {
    const Operation op(*this);
    const SchemeListResult r = FetchSchemeList(url, downloader);
    if (!r.error.isEmpty()) addError(r.error);
    if (!r.loaded) return;
    schemes_ = r.records;
}

int SchemeCalculator::importSchemes(const QString& path) {
    const Operation op(*this);
    bool ok = false;
    const QStringList incoming = ReadImportLines(path, &ok);
    if (!ok) return -1;
    int added = 0;
    for (const QString& line : incoming) {
        const QString cycleText = line.right(9).left(5), verify = line.right(16).left(5), tag = line.right(37).left(4);
        const QString errs = line.right(127).left(2), tagToDigit = line.right(37).left(10);
        const bool duplicate = std::any_of(schemes_.begin(), schemes_.end(), [&](const QString& old) {
            const bool a = old.right(9).left(5) == cycleText && old.right(16).left(5) == verify && old.right(37).left(4) == tag;
            const bool b = old.right(127).left(2) == errs && old.right(37).left(10) == tagToDigit;
            return a || b;
        });
        if (duplicate) continue;
        schemes_ << line;
        ++added;
    }
    return added;
}

}  // namespace smart
