#pragma once
// The real 3D draw history for benchmarks; empty when the shared data is absent.
#include "common/drawhistory.h"
#include "history/drawfile.h"

#include <QDir>
#include <QFile>

inline const common::DrawHistory& RealHistory() {
    static const common::DrawHistory history = [] {
        QFile file(QStringLiteral(SIFMORA_SHARED_DIR "/data/HAO.TXT"));
        if (!file.open(QIODevice::ReadOnly)) return common::DrawHistory();
        return common::DrawHistory(history::ValidDrawTexts(file.readAll()));
    }();
    return history;
}

// A program folder as it is after an offline start-up: the real draw files of both lotteries
// and an update log saying the program is current. False when the shared files are missing.
inline bool PrepareOfflineProgramDir(const QString& programDir) {
    const QDir shared(QStringLiteral(SIFMORA_SHARED_DIR "/data"));
    for (const QString& name : {QStringLiteral("HAO.TXT"), QStringLiteral("HAOP3.TXT")})
        if (!QFile::copy(shared.filePath(name), QDir(programDir).filePath(name))) return false;
    QFile log(QDir(programDir).filePath(QStringLiteral("updatelog.txt")));
    if (!log.open(QIODevice::WriteOnly)) return false;
    log.write("5\r\nx\r\n");
    return true;
}
