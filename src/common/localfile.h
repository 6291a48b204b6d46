#pragma once
// Every local read of a page, draw file, scheme list, version log, formula or collection opens
// its file here: only a regular file is opened, so a FIFO, a device or a socket put in a file's
// place never blocks the window in open() or read(); it is "not a file" with a Chinese reason.
// Every read has a limit and stops one byte past it: a file that reports no size (those of
// /proc) or grows while it is read cannot fill the memory. The limits are those of the
// downloads: a local file read as a page is held to a page's.
#include <QByteArray>
#include <QString>

class QFile;

namespace common {

// Size limits fit for what is read or fetched; past the limit a read fails.
inline constexpr qint64 kPageLimit = 4 * 1024 * 1024;          // lists, version logs, pages, texts
inline constexpr qint64 kDrawFileLimit = 2 * 1024 * 1024;      // a draw file (about 170,000 draws)
inline constexpr qint64 kProgramLimit = 200 * 1024 * 1024;     // a new main program

// Opens file (its fileName() set) read-only when it names a regular file (a link to one
// counts) whose size is at most maxBytes (> 0). The type is checked before the open, the open
// does not block and the opened file is checked again, so a file swapped for a FIFO in
// between is refused too. The file stays non-blocking: a read that would wait (a kernel log
// posing as a file) fails at once. False with "无法读取 <file>：<reason>" otherwise. The file
// is opened by its handle, so its fileName() is empty afterwards: messages name the path.
// Whoever reads the opened file stops once it has read past maxBytes (see ReadOpenedFile).
bool OpenRegularFile(QFile* file, qint64 maxBytes, QString* error = nullptr);
// Reads an opened file from where it stands to its end, at most maxBytes: it reads in pieces
// and stops at the first piece past the limit (at most 64 KB more). False with the same
// message past the limit or on a failed read. path names the file in the message.
bool ReadOpenedFile(QFile* file, const QString& path, qint64 maxBytes, QByteArray* bytes, QString* error = nullptr);
// Reads the next piece (at most 64 KB) of an opened file, for copies that stream: empty at the
// end. *total counts what was read so far; false past maxBytes in all or on a failed read.
bool ReadPiece(QFile* file, const QString& path, qint64 maxBytes, qint64* total, QByteArray* piece,
               QString* error = nullptr);
// Reads a regular file whole (see OpenRegularFile); bytes untouched on failure.
bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray* bytes, QString* error = nullptr);
// The reason for the message of a file past maxBytes.
QString TooLargeText(qint64 size, qint64 maxBytes);

}  // namespace common
