#pragma once
// Every local read of a page, draw file, scheme list, version log, formula or collection opens
// its file here: only a regular file is opened, so a FIFO, a device or a socket put in a file's
// place never blocks the window in open() or read(); it is "not a file" with a Chinese reason.
// The size limits are those of the downloads: a local file read as a page is held to a page's.
#include <QByteArray>
#include <QString>

class QFile;

namespace common {

// Size limits fit for what is read or fetched; past the limit a read fails.
inline constexpr qint64 kPageLimit = 4 * 1024 * 1024;          // lists, version logs, pages, texts
inline constexpr qint64 kDrawFileLimit = 2 * 1024 * 1024;      // a draw file (about 170,000 draws)
inline constexpr qint64 kProgramLimit = 200 * 1024 * 1024;     // a new main program

// Opens file (its fileName() set) read-only when it names a regular file (a link to one
// counts) of at most maxBytes (0: no limit). The type is checked before the open, the open
// does not block and the opened file is checked again, so a file swapped for a FIFO in
// between is refused too. False with "无法读取 <file>：<reason>" otherwise. The file is opened
// by its handle, so its fileName() is empty afterwards: messages name the path.
bool OpenRegularFile(QFile* file, qint64 maxBytes, QString* error = nullptr);
// Reads a regular file whole (see OpenRegularFile); bytes untouched on failure.
bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray* bytes, QString* error = nullptr);

}  // namespace common
