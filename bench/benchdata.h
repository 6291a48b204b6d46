#pragma once
// The real 3D draw history for benchmarks; empty when the shared data is absent.
#include "common/drawhistory.h"
#include "history/drawfile.h"

#include <QFile>

inline const common::DrawHistory& RealHistory() {
    static const common::DrawHistory history = [] {
        QFile file(QStringLiteral(SIFMORA_SHARED_DIR "/data/HAO.TXT"));
        if (!file.open(QIODevice::ReadOnly)) return common::DrawHistory();
        return common::DrawHistory(history::ValidDrawTexts(file.readAll()));
    }();
    return history;
}
