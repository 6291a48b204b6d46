#pragma once
// The updater's routines: version logs, the decision, closing the running main program and
// putting the new main program and version log in place without ever leaving a broken folder.
#include <QByteArray>
#include <QString>

#include <functional>

namespace updater {

// The main program's application name (its single-instance endpoint) and its executable.
inline constexpr char kMainAppName[] = "Sifmora";
// The updater's own single-instance endpoint.
inline constexpr char kUpdaterAppName[] = "update";
QString MainProgramFileName();  // "Sifmora" ("Sifmora.exe" on Windows)
inline constexpr char kVersionLogName[] = "updatelog.txt";
inline constexpr char kServerLogName[] = "updatebak.txt";
inline constexpr char kNewProgramName[] = "3Dbak.exe";

// A file of the program folder, matched without regard to case.
QString FolderFile(const QString& dir, const QString& name);

struct VersionLog {
    qint16 version = 0;
    QString address;  // line 2: the new main program's address, or with version -1 a notice
};

// Line 1, blanks around it ignored, must be a signed 16-bit integer; a line 2 must exist.
bool ParseVersionLog(const QByteArray& bytes, VersionLog* log, QString* error = nullptr);
bool ReadVersionLog(const QString& path, VersionLog* log, QString* error = nullptr);

enum class Decision { DownloadPage, Upgrade, UpToDate };
Decision Decide(qint16 localVersion, qint16 serverVersion);

// True when the bytes start like a program of this platform, so that an HTML page served with
// status 200 never becomes the main program.
bool LooksLikeProgram(const QByteArray& head);
// True when the file is a whole program of this platform, checked before anything is swapped:
// for ELF the header fits this machine and the program and section tables and every loaded
// segment lie inside the file, so a body that ended early is never installed.
bool FileIsCompleteProgram(const QString& path);

// The copies of the old program and log that a swap keeps until it is committed.
inline constexpr char kOldProgramCopy[] = ".update-old-program";
inline constexpr char kOldLogCopy[] = ".update-old-log";
// Removes copies left by a run killed after its swap (at the start of the updater and of the
// main program).
void RemoveSwapLeftovers(const QString& dir);

// Waits, as configured for tests; the defaults are the normal timings.
struct Timings {
    int startDelayMs = 200;       // after the window shows, the upgrade starts
    int swapDelayMs = 5000;       // after the main program has gone, the files are swapped
    int closeTimeoutMs = 60000;   // longest wait for the main program to close
    int closePauseMs = 500;       // between two close requests
    int programTimeoutMs = 600000;  // limit for the new main program's download
    // Defaults overridden by SIFMORA_UPDATE_START_DELAY_MS, SIFMORA_UPDATE_SWAP_DELAY_MS,
    // SIFMORA_UPDATE_CLOSE_TIMEOUT_MS, SIFMORA_UPDATE_CLOSE_PAUSE_MS.
    static Timings FromEnvironment();
};

enum class CloseResult { Closed, TimedOut, Cancelled };
// Sends the close request to the running main program until it is gone, pausing between tries,
// for at most timeoutMs. pause(ms) waits and returns false when the wait is to be given up.
// agreed (optional) tells whether the running copy agreed to the last request, so a caller that
// gives up can still tell a program on its way out from one that refused. why (optional) says
// in Chinese why the running copy did not answer (it is not this user's), empty otherwise.
CloseResult CloseMainProgram(int timeoutMs, int pauseMs, const std::function<bool(int)>& pause,
                             bool* agreed = nullptr, QString* why = nullptr);
// Waits up to timeoutMs for the main program to be gone; true when it is.
bool WaitForMainProgramGone(int timeoutMs);

// Puts 3Dbak.exe (made executable) in place of the main program in one rename, and then
// updatebak.txt in place of updatelog.txt. On any failure everything is put back as it was
// (old program, old log, the downloaded files) and false is returned with the reason.
// Copies of the old program and log are kept until commit(), so that rollback() can still
// undo a swap whose new program would not start.
class ProgramSwap {
public:
    explicit ProgramSwap(const QString& dir);
    ~ProgramSwap();
    bool apply(QString* error = nullptr);
    bool rollback(QString* error = nullptr);
    void commit();
    QString programPath() const { return program_; }

private:
    QString dir_, program_, log_, serverLog_, newProgram_, programCopy_, logCopy_;
    bool applied_ = false;
};

}  // namespace updater
