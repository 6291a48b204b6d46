#pragma once
// Helpers shared by the test programs: the shared data folder and temporary program folders.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <atomic>
#include <memory>
#include <thread>

namespace testsupport {

// Folder of the shared test data (draw histories, script cases); empty when it is absent.
QString SharedDir();
// Path of a file below the shared folder, or empty when the folder or file is absent.
QString SharedFile(const QString& relative);

// A temporary program folder: SIFMORA_DIR points at it while the object lives.
class ProgramDir {
public:
    ProgramDir();
    ~ProgramDir();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    // Copies a file of the shared data folder into the program folder; false when absent.
    bool copyShared(const QString& relative, const QString& asName = QString()) const;
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir dir_;
    QByteArray oldDir_;
    bool hadOld_ = false;
};

// The process works in a folder of its own (holding a CMakeLists.txt, as the project folder
// ./run.sh starts in) for the life of the object, not in the program folder.
class CurrentFolderElsewhere {
public:
    CurrentFolderElsewhere();
    ~CurrentFolderElsewhere();
    CurrentFolderElsewhere(const CurrentFolderElsewhere&) = delete;
    CurrentFolderElsewhere& operator=(const CurrentFolderElsewhere&) = delete;
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString before_;
};

// Sets an environment variable (a null value unsets it) for the life of the object.
class EnvVar {
public:
    EnvVar(const char* name, const QString& value);
    ~EnvVar();
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

// The file names of a folder, hidden ones too, sorted: to see that nothing was left behind.
QStringList FilesIn(const QString& dir);

// The pid of a process that has ended (a writer that is gone), not yet taken by another.
long GonePid();

// A full disk for this process while the object lives: files may not grow past maxBytes
// (RLIMIT_FSIZE, with SIGXFSZ ignored), so a write past it fails with EFBIG as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 maxBytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long long oldSoft_ = 0;
    bool set_ = false;
};

// A small tmpfs mounted in a temporary folder for the life of the object (ENOSPC when full), with
// room for at most `inodes` files and folders when given. isMounted() is false where mounting is
// not allowed (not root); callers skip then.
class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes, int inodes = 0);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool isMounted() const { return mounted_; }
    QString file(const QString& name) const { return dir_.filePath(name); }
    QString path() const { return dir_.path(); }
    // Fills the disk with one file so that at most about spare bytes stay free.
    void fill(qint64 spare) const;
    // Takes every file entry left with empty files ".entry<n>"; removeEntries() gives them back.
    void fillEntries() const;
    void removeEntries() const;

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

// A folder nothing can be written into while the object lives, root included: bound read-only
// onto itself where mounting is allowed (root, whom the modes do not stop), otherwise its mode
// made 0555. isReadOnly() is true only once a file could not be made there; callers skip else.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    bool isReadOnly() const { return readOnly_; }

private:
    QString path_;
    bool mounted_ = false;
    bool chmodded_ = false;
    bool readOnly_ = false;
};

// A FIFO made with mkfifo at path for the life of the object (removed after). A reader that
// must not block on it is checked with readerWaited(): from releaseAfterMs on, a helper thread
// opens the FIFO for writing whenever a reader has it open, which lets a blocked open() or read()
// return and marks that a reader waited. A reader that only looks at the FIFO (a non-blocking
// open, a check, a close) holds it for an instant, long before then, however busy the machine.
class Fifo {
public:
    explicit Fifo(const QString& path, int releaseAfterMs = 10000);
    ~Fifo();
    Fifo(const Fifo&) = delete;
    Fifo& operator=(const Fifo&) = delete;
    bool isMade() const { return made_; }
    // True once an open() or read() was found waiting on the FIFO and had to be let go.
    bool readerWaited() const { return readerWaited_; }

private:
    QString path_;
    bool made_ = false;
    std::atomic<bool> readerWaited_{false};
    std::atomic<bool> stop_{false};
    std::thread releaser_;
};

}  // namespace testsupport

// Skips the current test when the shared data folder is missing.
#define SKIP_WITHOUT_SHARED(relative)                                                   \
    do {                                                                                \
        if (testsupport::SharedFile(relative).isEmpty())                                \
            GTEST_SKIP() << "shared test data not found: " << (relative)                \
                         << " (expected beside the project in ../shared)";               \
    } while (0)

#include <ostream>
// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '[' << l.join(QStringLiteral(", ")).toStdString() << ']';
}
