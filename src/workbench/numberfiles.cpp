#include "workbench/numberfiles.h"

#include "common/paths.h"
#include "common/textcodec.h"

#include <QDir>
#include <QFileInfo>

namespace workbench {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QString kCollectionPrefix = QStringLiteral("大底采集");
}  // namespace

QString NumberListText(const pool::NumberPool& pool) {
    QString text;
    text.reserve(pool.size() * 5 + 2);
    for (const QString& n : pool) text += n + kCrLf;
    return text + kCrLf;
}

static QString Stamp(const QDateTime& when) {
    const QDate d = when.date();
    const QTime t = when.time();
    return QString::number(d.year()) + QString::number(d.month()) + QString::number(d.day()) +
           QString::number(t.hour()) + QString::number(t.minute()) + QString::number(t.second());
}

QString CollectionFileName(const QDateTime& when) { return kCollectionPrefix + Stamp(when) + QStringLiteral(".h"); }

QString FreeCollectionPath(const QString& folder, const QDateTime& when) {
    const QDir dir(folder);
    const QString base = kCollectionPrefix + Stamp(when);
    QString name = base + QStringLiteral(".h");
    for (int k = 2; QFileInfo::exists(dir.filePath(name)); ++k)
        name = base + QLatin1Char('-') + QString::number(k) + QStringLiteral(".h");
    return dir.filePath(name);
}

bool SaveCollection(const pool::NumberPool& pool, const QDateTime& when, QString* path, QString* error) {
    const QString folder = common::NumberFolder();
    if (!QDir().mkpath(folder)) {
        if (error) *error = QStringLiteral("无法创建文件夹：") + QDir::toNativeSeparators(folder);
        return false;
    }
    const QString target = FreeCollectionPath(folder, when);
    QString why;
    if (!common::WriteAnsiFile(target, NumberListText(pool), &why)) {
        if (error) *error = QStringLiteral("无法保存大底：") + QDir::toNativeSeparators(target) + QLatin1Char('\n') + why;
        return false;
    }
    if (path) *path = target;
    return true;
}

QString ExportDefaultName(const QDate& day) {
    return common::NumberFolder() + QLatin1Char('/') + day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".txt");
}

QString WithDefaultExtension(const QString& path) {
    const QFileInfo info(path);
    if (info.fileName().contains(QLatin1Char('.'))) return path;
    return path + QStringLiteral(".txt");
}

bool ExportNumbers(const pool::NumberPool& pool, const QString& path, QString* error) {
    QString why;
    if (!common::WriteAnsiFile(path, NumberListText(pool), &why)) {
        if (error) *error = QStringLiteral("无法导出奖号：") + QDir::toNativeSeparators(path) + QLatin1Char('\n') + why;
        return false;
    }
    return true;
}

QString FolderOf(const QString& path) {
    const int slash = int(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))));
    return path.left(slash + 1);
}

}  // namespace workbench
