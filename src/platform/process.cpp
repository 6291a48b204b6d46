#include "platform/process.h"

#include "common/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QUrl>
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

QString ChineseLocaleName() {
#ifdef Q_OS_UNIX
    QString program = QStandardPaths::findExecutable(QStringLiteral("locale"));
    if (program.isEmpty())  // a narrowed PATH: the C library's own tool is in the system folders
        program = QStandardPaths::findExecutable(QStringLiteral("locale"), {QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
    if (program.isEmpty()) return QString();
    QProcess list;
    list.start(program, {QStringLiteral("-a")});
    if (!list.waitForFinished(3000)) {
        list.kill();
        list.waitForFinished(1000);
        return QString();
    }
    const QStringList names = QString::fromLocal8Bit(list.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // UTF-8 first: the calculator's texts are UTF-8.
    for (const char* wanted : {"zh_CN.utf8", "zh_CN.UTF-8", "zh_SG.utf8", "zh_CN.gb18030", "zh_CN.gbk", "zh_CN"})
        for (const QString& name : names)
            if (name.trimmed().compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0) return name.trimmed();
#endif
    return QString();
}

bool StartCalculator(QString* error) {
    for (const QString& name : CalculatorPrograms()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (path.isEmpty()) continue;
        QProcess calculator;
        calculator.setProgram(path);
        calculator.setWorkingDirectory(QDir::homePath());
        if (const QString locale = ChineseLocaleName(); !locale.isEmpty()) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("LC_ALL"), locale);
            env.insert(QStringLiteral("LANG"), locale);
            env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("zh_CN:zh"));
            calculator.setProcessEnvironment(env);
        }
        if (calculator.startDetached()) return true;
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

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
// The desktop's default program for a kind of file, as xdg-mime knows it; empty when there is
// none. Unknown (true) when xdg-mime itself is missing or does not answer: xdg-open decides.
static bool HasDefaultProgram(const QString& mimeType) {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty()) return true;
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return true;
    }
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

// What xdg-open falls back on for pages when the kind of file has no default program.
static bool HasBrowser() {
    if (!qEnvironmentVariable("BROWSER").isEmpty()) return true;
    for (const char* name : {"x-www-browser", "www-browser", "firefox", "firefox-esr", "chromium", "chromium-browser",
                             "google-chrome", "epiphany", "konqueror", "falkon", "links2", "elinks", "links", "lynx", "w3m"})
        if (!QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty()) return true;
    return false;
}
#endif

// A local page by its file name: the whole path of the program folder says nothing to a player.
static QString ShownPageName(const QUrl& address) {
    return address.isLocalFile() ? QFileInfo(address.toLocalFile()).fileName() : address.toString();
}

bool PageFileExists(const QString& url, QString* error) {
    const QUrl address(url);
    if (!address.isLocalFile() || QFileInfo(address.toLocalFile()).isFile()) return true;
    if (error) *error = QStringLiteral("找不到页面文件 %1，无法打开。").arg(ShownPageName(address));
    return false;
}

bool OpenPage(const QString& url, QString* error) {
    const QUrl address(url);
    const bool local = address.isLocalFile();
    const QString shown = ShownPageName(address);
    if (!PageFileExists(url, error)) return false;
    if (!qEnvironmentVariable("SIFMORA_BROWSER_LOG").isEmpty()) {
        if (OpenInBrowser(url)) return true;
        if (error) *error = QStringLiteral("无法打开页面 %1。").arg(shown);
        return false;
    }
    const QString noProgram = QStringLiteral("没有可以打开页面 %1 的程序，请先安装一个浏览器。").arg(shown);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) {
        if (error) *error = noProgram;
        return false;
    }
    const QString mimeType = local ? QMimeDatabase().mimeTypeForFile(address.toLocalFile()).name()
                                   : QStringLiteral("x-scheme-handler/") + address.scheme();
    if (!HasDefaultProgram(mimeType) && !HasBrowser()) {
        if (error) *error = noProgram;
        return false;
    }
#endif
    if (!OpenInBrowser(url)) {
        if (error) *error = QStringLiteral("无法打开页面 %1。").arg(shown);
        return false;
    }
    return true;
}

}  // namespace platform
