#pragma once
// Files are replaced whole: written to a temporary file beside the target, every byte checked
// and synced to the disk, then renamed over it, so a failure (a full disk, a size limit, no
// permission, a kill) never leaves a half-written file and never loses the old one. A target
// that is a symbolic link stays a link: the file it points at is replaced, in its own folder.
#include "common/fileerror.h"  // FileErrorText, the reasons these writes give

#include <QByteArray>
#include <QString>
#include <QStringList>

class QFileDevice;

namespace common {

// Reasons are Chinese and name the cause (磁盘空间不足, 没有写入权限 ...), never "Unknown error".
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// Renames source over target in one step (target replaced when it exists, its mode kept). A
// symbolic link at target stays: source takes the place of the file it points at (copied there
// through a temporary file when that file lies on another file system).
bool ReplaceFile(const QString& source, const QString& target, QString* error = nullptr);

// A file written piece by piece (a download) that takes the target's place only on commit().
// Every write is checked; commit() syncs the data before the rename and the folder after it.
// Destroyed without commit(), the temporary file is removed and the target stays as it was.
class AtomicFile {
public:
    explicit AtomicFile(const QString& path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool open(QString* error = nullptr);
    bool write(const char* data, qint64 size, QString* error = nullptr);
    bool write(const QByteArray& bytes, QString* error = nullptr) { return write(bytes.constData(), bytes.size(), error); }
    bool commit(QString* error = nullptr);
    void cancel();
    qint64 written() const { return written_; }
    // The system's error number of the last failure (0 when none); ENOSPC, EFBIG, EDQUOT mean
    // the disk is full.
    int lastErrno() const { return errno_; }
    bool diskFull() const;

private:
    bool fail(int errnum, QString* error);

    QString path_, target_, temp_;
    int fd_ = -1;
    qint64 written_ = 0;
    int errno_ = 0;
};

// Temporary files left by writes that were killed (a copy of the whole program among them). A
// write names its temporary "<target>.tmp<pid>-<six digits>" beside its target; older builds
// named it "<target>.tmp<six digits>". In folder (not below it), a regular file of the first form
// whose target matches one of `written`, or of the second form whose target matches one of
// `oldForm` (wildcards, without regard to case), is removed when it was last changed at least
// minAgeMs ago and, for the first form, its writer no longer runs. Nothing else is touched,
// however it is named. Returns how many were removed.
struct TemporaryTargets {
    QStringList written;  // what the program writes in the folder
    QStringList oldForm;  // what older builds wrote there with the pid-less name
};
inline constexpr qint64 kStaleTemporaryAgeMs = 5 * 60 * 1000;
int RemoveStaleTemporaries(const QString& folder, const TemporaryTargets& targets,
                           qint64 minAgeMs = kStaleTemporaryAgeMs);
// The same beside the files that folder's symbolic links named in linkNames (without regard to
// case) point at: a draw file the user keeps elsewhere. That folder is not ours, so there only
// "<the linked file's name>.tmp<pid>-<six digits>" of a writer that is gone goes.
int RemoveStaleLinkedTemporaries(const QString& folder, const QStringList& linkNames,
                                 qint64 minAgeMs = kStaleTemporaryAgeMs);

}  // namespace common
