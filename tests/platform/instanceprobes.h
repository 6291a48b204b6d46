#pragma once
// What the one-copy tests start: real copies taking the lock (instanceprobe.cpp), and a private
// runtime folder; heldcopy.h holds a lock without answering.
#include "platform/closerequest.h"

#include "heldcopy.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <functional>
#include <memory>
#include <unistd.h>

namespace instanceprobes {

// Starts the probe (a real copy taking the lock, see instanceprobe.cpp) in an environment of its
// own: runtime sets XDG_RUNTIME_DIR (null: none, with the home folder's cache elsewhere).
inline std::unique_ptr<QProcess> StartProbeIn(const QString& markerDir, int holdMs, const QString& runtime,
                                              const QString& cache = QString()) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (runtime.isNull()) env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    else env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    if (!cache.isNull()) env.insert(QStringLiteral("XDG_CACHE_HOME"), cache);
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::SeparateChannels);
    p->start(QStringLiteral(SIFMORA_INSTANCE_PROBE), {markerDir, QString::number(holdMs)});
    return p;
}

// Starts the probe in this process's environment.
inline std::unique_ptr<QProcess> StartProbe(const QString& markerDir, int holdMs) {
    return StartProbeIn(markerDir, holdMs, qEnvironmentVariable("XDG_RUNTIME_DIR"));
}

// Waits for a condition as a hang guard, never as a measure of time.
inline bool Eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 1200; ++i) {
        if (condition()) return true;
        QThread::msleep(50);
    }
    return condition();
}

// A private folder for the locks, as $XDG_RUNTIME_DIR names one.
struct RuntimeFolder {
    QTemporaryDir base;
    testsupport::EnvVar var{"XDG_RUNTIME_DIR", base.path()};
    QString folder() const { return base.filePath("Sifmora"); }
};

}  // namespace instanceprobes
