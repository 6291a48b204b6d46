#pragma once
// Bringing the draw files up to date from the network: new draws from the results site's XML
// lists, then the home server's whole copy of each draw file when it ends with a later issue.
// Whatever cannot be fetched is skipped without a message; broken data, a web page, an answer
// past its size limit and a copy that would lose local draws are errors.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

namespace history {

// Attribute texts of each child element of the root, in document order (attributes by
// position, never by name). False when the bytes are no well-formed XML document with a root
// element; *error then says why.
bool ParseDrawListXml(const QByteArray& bytes, QList<QStringList>* children, QString* error = nullptr);

// The draws of a list that are newer than lastIssue, in issue order whatever the list's order, as
// DrawTexts ("IIIIIII DDD"); an issue listed twice is taken once. prefix goes before each list
// issue ("" or "20" for 排列三's five-digit issues). False (and nothing taken) when an entry has no
// attribute, or an entry that would be taken has no second attribute, an issue that is not seven
// digits, or a number that is not "d,d,d".
bool NewDrawsFromList(const QList<QStringList>& children, const QString& lastIssue, const QString& prefix,
                      QStringList* newDraws, QString* error = nullptr);

// True when the bytes are a web page (an HTML document) rather than the data that was asked for:
// what a server, a proxy or a login portal sends for a file it does not have.
bool LooksLikeWebPage(const QByteArray& bytes);

// Appends to the draw file at path the draws of the DrawListXml at url that it lacks. An empty
// or missing file takes every draw of the list. An unreachable site or an answer that is no
// XML appends nothing and is no error. False with *error when a web page came instead of the
// list, the list is malformed or the file cannot be written (a folder, a read-only file); the
// file is then unchanged. label names the lottery in messages.
bool MergeDrawListXml(const QString& url, const QString& path, const QString& prefix, const QString& label,
                      QString* error = nullptr, int* appended = nullptr);

enum class HomeCopyFetch { NotReached, TooLarge, WebPage, Refused, LocalUnreadable, Disagrees, Shorter, BadNewRecord, Fetched };
struct HomeCopyCheck {
    QString serverIssue;  // the copy's last issue (Fetched)
    int added = 0;        // records the copy holds beyond the local ones (Fetched)
    QString reason;       // why, in Chinese (LocalUnreadable, BadNewRecord)
};
// Holds a home copy against the local draw file, both whole records: the copy may take the
// file's place only when every local record stands in it unchanged and in order, and each record
// it adds (after the last local one or in a gap between two) is a draw that can exist by today:
// its issue lies strictly between its neighbours', its year is no later than today's (the next
// one only in the last week of December, for a clock a few days slow) and its serial is within
// that year's days.
//   Fetched: that holds (the copy may be equal). Disagrees: a local record is missing or
//   different in the copy. Shorter: the copy is the start of the local file (the local file is
//   ahead). BadNewRecord: an added record is no such draw; check->reason names it.
HomeCopyFetch CheckHomeCopy(const QByteArray& copy, const QByteArray& local, const QDate& today,
                            HomeCopyCheck* check = nullptr);

// Downloads the home server's copy of a draw file to bakPath and holds it against the local
// draw file at localPath with CheckHomeCopy.
//   Fetched: the copy may replace the file; it lies at bakPath.
//   NotReached: nothing came. TooLarge: the answer went past the draw file's size limit.
//     WebPage: a web page came instead of draw data. Refused: the answer is no draw file (a
//     partial record, a malformed one). LocalUnreadable: the local file cannot be read (or holds
//     damaged records), so nothing may replace it. The rest as CheckHomeCopy says.
// Except for Fetched, the copy is deleted and the local file is left as it was.
HomeCopyFetch FetchHomeCopy(const QString& url, const QString& bakPath, const QString& localPath,
                            HomeCopyCheck* check = nullptr);

enum class HomeCopyResult { NotReached, Replaced, Kept, Refused };
// Downloads the home server's copy of a draw file (url) to bakPath and lets it replace the file
// at path when it extends the local history (see FetchHomeCopy) and ends with a later issue;
// otherwise the copy is deleted and the local file stays byte for byte. The replacement is one
// rename (through a symbolic link, to the file it points at). Unreachable, equal or behind:
// true. Refused (a web page, no draw file, a local file that cannot be read, a copy that
// disagrees with the local draws) and a replacement that fails (a read-only file): false with
// *error.
bool ReplaceWithHomeCopy(const QString& url, const QString& path, const QString& bakPath,
                         HomeCopyResult* result = nullptr, QString* error = nullptr);

// Addresses of the sources (results site and home server, see common/paths.h).
QString DrawListUrl(bool lotteryIsP3);
QString HomeDrawFileUrl(bool lotteryIsP3);

// Both lotteries, whatever the current one: the results site's list for HAO.TXT and HAOP3.TXT,
// then the home server's copies (when a home server is configured). Every step runs even when an
// earlier one failed; false with the first error.
bool UpdateDrawFiles(QString* error = nullptr);

}  // namespace history
