#pragma once
// Helpers shared by the test programs: the shared data folder and temporary program folders.
#include <QString>
#include <QTemporaryDir>
#include <memory>

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
