#include "platform/process.h"

#include "common/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace platform {

bool StartProgram(const QString& path, const QStringList& args, QString* error) {
    const QFileInfo info(path);
    if (!info.exists()) {
        if (error) *error = QStringLiteral("找不到程序 %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (!info.isExecutable() || info.isDir()) {
        if (error) *error = QStringLiteral("%1 不是可执行的程序").arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (!QProcess::startDetached(info.absoluteFilePath(), args, info.absolutePath())) {
        if (error) *error = QStringLiteral("无法启动 %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

QString UpdaterPath() {
#ifdef Q_OS_WIN
    return common::ProgramFile(QStringLiteral("update.exe"));
#else
    return common::ProgramFile(QStringLiteral("update"));
#endif
}

bool StartUpdater(QString* error) { return StartProgram(UpdaterPath(), {}, error); }

QStringList CalculatorPrograms() {
#ifdef Q_OS_WIN
    return {QStringLiteral("calc.exe")};
#else
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),     QStringLiteral("galculator"),
            QStringLiteral("qalculate-gtk"),    QStringLiteral("mate-calc"), QStringLiteral("xcalc")};
#endif
}

bool StartCalculator(QString* error) {
    for (const QString& name : CalculatorPrograms()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (path.isEmpty()) continue;
        if (QProcess::startDetached(path, {}, QDir::homePath())) return true;
        if (error) *error = QStringLiteral("无法启动计算器程序 %1。").arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (error)
        *error = QStringLiteral("没有找到计算器程序，请先安装其中之一：%1。")
                     .arg(CalculatorPrograms().join(QStringLiteral("、")));
    return false;
}

bool OpenInBrowser(const QString& url) {
    const QString log = qEnvironmentVariable("SIFMORA_BROWSER_LOG");
    if (!log.isEmpty()) {
        QFile f(log);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
        f.write(url.toUtf8() + '\n');
        return true;
    }
#if defined(Q_OS_WIN)
    return QProcess::startDetached(QStringLiteral("explorer.exe"), {url});
#elif defined(Q_OS_MACOS)
    return QProcess::startDetached(QStringLiteral("open"), {url});
#else
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url});
#endif
}

}  // namespace platform
