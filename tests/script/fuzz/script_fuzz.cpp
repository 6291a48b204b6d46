// libFuzzer target: arbitrary text as a script (added, then Main and Custom_GL called) and as a
// scheme condition. Any crash, sanitizer report or hang is a fault of the engine.
#include "scriptengine.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    script::ScriptEngine engine;
    engine.setTimeout(50);
    engine.addCode(text);
    script::Variant r;
    engine.run(QStringLiteral("Main"), {}, &r);
    engine.run(QStringLiteral("Custom_GL"), {script::Variant(QStringLiteral("407"))}, &r);
    (void)r.debugText();
    // Same text again: reused compiled form, top-level statements run again.
    engine.addCode(text);

    script::ScriptCondition condition;
    condition.setTimeout(50);
    if (condition.compile(text)) {
        std::vector<script::Variant> items(6);
        for (int i = 1; i < 6; ++i)
            items[size_t(i)] = script::Variant(i % 3);
        script::Variant series = script::Variant::makeArray(items);
        condition.evaluate(series, &r);
        condition.evaluate(series, &r);
    }
    return 0;
}
