#include "startup/versioncheck.h"

#include "common/paths.h"
#include "common/textcodec.h"
#include "platform/download.h"

#include <QFile>
#include <cmath>

namespace startup {
namespace {

void SetError(StartError* error, int code, const QString& description) {
    if (error) *error = {code, description};
}

}  // namespace

bool ParseVersionLine(const QString& line, int* version, StartError* error) {
    const QString text = line.trimmed();
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        SetError(error, kErrTypeMismatch, QStringLiteral("版本号“%1”不是数字").arg(common::QuoteStart(text)));
        return false;
    }
    const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
    if (rounded < -32768 || rounded > 32767) {
        SetError(error, kErrOverflow, QStringLiteral("版本号“%1”超出范围").arg(common::QuoteStart(text)));
        return false;
    }
    *version = int(rounded);
    return true;
}

bool ReadVersionLog(const QString& path, int* version, StartError* error) {
    if (!QFile::exists(path)) {
        SetError(error, kErrFileNotFound, QStringLiteral("没有找到版本文件 %1").arg(path));
        return false;
    }
    QString text;
    QString why;
    if (!common::ReadAnsiFile(path, &text, &why)) {
        SetError(error, kErrPathFileAccess, why);
        return false;
    }
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n'))) lines.removeLast();  // a final line break ends a line
    if (text.isEmpty() || lines.size() < 2) {
        SetError(error, kErrPastEndOfFile, QStringLiteral("版本文件 %1 不完整").arg(path));
        return false;
    }
    QString first = lines.first();
    if (first.endsWith(QLatin1Char('\r'))) first.chop(1);
    return ParseVersionLine(first, version, error);
}

bool ServerHasNewerVersion(StartError* error) {
    if (error) *error = {};
    if (!common::HasHomeServer()) return false;
    const QString bak = common::ProgramFile(QStringLiteral("updatebak.txt"));
    if (!platform::DownloadToFile(common::HomeUrl() + QStringLiteral("/3d/updatelog.txt"), bak).ok)
        return false;  // not reachable: no newer version, no message
    int local = 0, server = 0;
    StartError localError, serverError;
    const bool localOk = ReadVersionLog(common::ProgramFile(QStringLiteral("updatelog.txt")), &local, &localError);
    const bool serverOk = ReadVersionLog(bak, &server, &serverError);
    QFile::remove(bak);
    if (!localOk) {
        if (error) *error = localError;
        return false;
    }
    if (!serverOk) {
        if (error) *error = serverError;
        return false;
    }
    return server > local;
}

QString StartErrorText(const StartError& error) {
    return QStringLiteral("错误描述：") + error.description + QLatin1Char('\n') + QStringLiteral("错误代码：") +
           QString::number(error.code);
}

QString UpdaterMissingText() {
    return QStringLiteral("没找到自动升级程序，请检查安装目录是否完整或重新安装软件。");
}

QString WebPageText() {
    const QString board = common::HomeUrl() + QStringLiteral("/3d/3dindex.htm");
    return QStringLiteral(
               "<html>\r\n<head>\r\n"
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n"
               "<meta http-equiv=\"refresh\" content=\"1;URL=%1\">\r\n"
               "<title>WEB</title>\r\n</head>\r\n"
               "<body bgcolor=\"#FFF2e5\">\r\n<p>&nbsp;</p>\r\n"
               "<p align=\"center\"><font size=\"2\" color=\"#008080\">网络连接失败,正在重试...</font></p>\r\n"
               "<p>&nbsp;</p>\r\n</body>\r\n</html>")
        .arg(board);
}

bool WriteWebPage(QString* error) {
    return common::WriteAnsiFile(common::ProgramFile(QStringLiteral("Web.htm")), WebPageText() + QStringLiteral("\r\n"),
                                 error);
}

}  // namespace startup
