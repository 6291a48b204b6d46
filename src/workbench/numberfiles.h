#pragma once
// Number files written by the workbench: collections (HAO\大底采集<date><time>.h) and exports.
// Both hold each number followed by CR LF and one more CR LF at the end, code page 936.
#include "pool/numberpool.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace workbench {

// The file text: every entry and CR LF, then one more CR LF.
QString NumberListText(const pool::NumberPool& pool);

// "大底采集" + year, month, day, hour, minute, second without leading zeros + ".h".
QString CollectionFileName(const QDateTime& when);
// The collection path in folder: the plain name when free, otherwise "-2", "-3"… before ".h",
// so an earlier collection of the same second is never replaced.
QString FreeCollectionPath(const QString& folder, const QDateTime& when);
// Writes the pool as a collection in the program folder's HAO folder (created when missing).
// False with a message in error; path receives the file written.
bool SaveCollection(const pool::NumberPool& pool, const QDateTime& when, QString* path, QString* error);

// Default export name: yyyyMMdd.txt in the program folder's HAO folder.
QString ExportDefaultName(const QDate& day);
// The chosen name with ".txt" added when its file name has no extension.
QString WithDefaultExtension(const QString& path);
// Writes the pool to path (replacing it). False with a message in error.
bool ExportNumbers(const pool::NumberPool& pool, const QString& path, QString* error);
// The folder of a path with a trailing "/" (what the setting path holds).
QString FolderOf(const QString& path);

}  // namespace workbench
