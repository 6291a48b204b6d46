#include "updater/upgrade.h"

#include "common/atomicfile.h"
#include "common/paths.h"
#include "common/textcodec.h"
#include "platform/closerequest.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <cstring>
#if defined(Q_OS_LINUX)
#include <elf.h>
#endif

namespace updater {

QString MainProgramFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("Sifmora.exe");
#else
    return QStringLiteral("Sifmora");
#endif
}

QString FolderFile(const QString& dir, const QString& name) { return common::ResolveCaseInsensitive(dir, name); }

bool ParseVersionLog(const QByteArray& bytes, VersionLog* log, QString* error) {
    QStringList lines = common::DecodeAnsi(bytes).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();  // the final line break ends line 2
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (lines.size() < 2) {
        if (error) *error = QStringLiteral("不足两行");
        return false;
    }
    bool ok = false;
    const int version = lines[0].trimmed().toInt(&ok);
    if (!ok || version < -32768 || version > 32767) {
        if (error) *error = QStringLiteral("第一行“%1”不是版本号").arg(common::QuoteStart(lines[0].trimmed()));
        return false;
    }
    log->version = qint16(version);
    log->address = lines[1];
    return true;
}

bool ReadVersionLog(const QString& path, VersionLog* log, QString* error) {
    QByteArray bytes;
    if (!common::ReadRegularFile(path, common::kPageLimit, &bytes, error)) return false;
    return ParseVersionLog(bytes, log, error);
}

Decision Decide(qint16 localVersion, qint16 serverVersion) {
    if (serverVersion == -1) return Decision::DownloadPage;
    return serverVersion > localVersion ? Decision::Upgrade : Decision::UpToDate;
}

bool LooksLikeProgram(const QByteArray& head) {
#ifdef Q_OS_WIN
    return head.startsWith("MZ");
#elif defined(Q_OS_MACOS)
    return head.startsWith("\xcf\xfa\xed\xfe") || head.startsWith("\xca\xfe\xba\xbe") || head.startsWith("#!");
#else
    return head.startsWith("\x7f" "ELF") || head.startsWith("#!");
#endif
}

#if defined(Q_OS_LINUX)
namespace {

template <typename Ehdr, typename Phdr>
bool ElfIsComplete(QFile& f, const QByteArray& head, qint64 size) {
    if (head.size() < qsizetype(sizeof(Ehdr))) return false;
    Ehdr eh;
    std::memcpy(&eh, head.constData(), sizeof eh);
    if (eh.e_type != ET_EXEC && eh.e_type != ET_DYN) return false;
    if (eh.e_version != EV_CURRENT || eh.e_ehsize != sizeof(Ehdr)) return false;
#if defined(__x86_64__)
    if (eh.e_machine != EM_X86_64) return false;
#elif defined(__aarch64__)
    if (eh.e_machine != EM_AARCH64) return false;
#elif defined(__i386__)
    if (eh.e_machine != EM_386) return false;
#elif defined(__arm__)
    if (eh.e_machine != EM_ARM) return false;
#endif
    // Both tables lie wholly inside the file: a body cut short loses its section table first
    // (it sits at the end).
    const auto inside = [size](quint64 offset, quint64 count, quint64 entry) {
        return offset <= quint64(size) && count * entry <= quint64(size) - offset;
    };
    if (eh.e_phnum == 0 || eh.e_phentsize != sizeof(Phdr) || !inside(eh.e_phoff, eh.e_phnum, eh.e_phentsize))
        return false;
    if (eh.e_shoff == 0 || eh.e_shnum == 0 || !inside(eh.e_shoff, eh.e_shnum, eh.e_shentsize)) return false;
    // And so does every part of the program that is loaded.
    if (!f.seek(qint64(eh.e_phoff))) return false;
    const QByteArray table = f.read(qint64(eh.e_phnum) * eh.e_phentsize);
    if (table.size() != qsizetype(eh.e_phnum) * eh.e_phentsize) return false;
    for (int i = 0; i < eh.e_phnum; ++i) {
        Phdr ph;
        std::memcpy(&ph, table.constData() + qsizetype(i) * sizeof ph, sizeof ph);
        if (ph.p_type == PT_LOAD && !inside(ph.p_offset, 1, ph.p_filesz)) return false;
    }
    return true;
}

}  // namespace
#endif

bool FileIsCompleteProgram(const QString& path) {
    QFile f(path);
    if (!common::OpenRegularFile(&f, common::kProgramLimit)) return false;
    const QByteArray head = f.read(64);
#if defined(Q_OS_LINUX)
    const qint64 size = f.size();
    if (!head.startsWith("\x7f" "ELF") || head.size() < EI_NIDENT) return false;
    const bool is64 = sizeof(void*) == 8;
    if (head.at(EI_CLASS) != (is64 ? ELFCLASS64 : ELFCLASS32)) return false;
    if (head.at(EI_DATA) != (Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? ELFDATA2LSB : ELFDATA2MSB)) return false;
    if (head.at(EI_VERSION) != EV_CURRENT) return false;
    return is64 ? ElfIsComplete<Elf64_Ehdr, Elf64_Phdr>(f, head, size)
                : ElfIsComplete<Elf32_Ehdr, Elf32_Phdr>(f, head, size);
#else
    return LooksLikeProgram(head);
#endif
}

void RemoveSwapLeftovers(const QString& dir) {
    // Kept only while a swap may still be undone; a run killed after the swap leaves them.
    QFile::remove(QDir(dir).filePath(QString::fromLatin1(kOldProgramCopy)));
    QFile::remove(QDir(dir).filePath(QString::fromLatin1(kOldLogCopy)));
}

static int EnvMs(const char* name, int fallback) {
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok && v >= 0 ? v : fallback;
}

Timings Timings::FromEnvironment() {
    Timings t;
    t.startDelayMs = EnvMs("SIFMORA_UPDATE_START_DELAY_MS", t.startDelayMs);
    t.swapDelayMs = EnvMs("SIFMORA_UPDATE_SWAP_DELAY_MS", t.swapDelayMs);
    t.closeTimeoutMs = EnvMs("SIFMORA_UPDATE_CLOSE_TIMEOUT_MS", t.closeTimeoutMs);
    t.closePauseMs = EnvMs("SIFMORA_UPDATE_CLOSE_PAUSE_MS", t.closePauseMs);
    return t;
}

CloseResult CloseMainProgram(int timeoutMs, int pauseMs, const std::function<bool(int)>& pause, bool* agreed,
                             QString* why) {
    QDeadlineTimer deadline(timeoutMs);
    if (agreed) *agreed = false;
    if (why) why->clear();
    // The endpoint goes away only when the program has ended, not merely agreed to close.
    while (platform::IsInstanceRunning(QString::fromLatin1(kMainAppName))) {
        if (deadline.hasExpired()) return CloseResult::TimedOut;
        const bool yes = platform::SendCloseRequest(QString::fromLatin1(kMainAppName), 2000, why);
        if (agreed) *agreed = yes;
        if (!pause(pauseMs)) return CloseResult::Cancelled;
    }
    return CloseResult::Closed;
}

bool WaitForMainProgramGone(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (platform::IsInstanceRunning(QString::fromLatin1(kMainAppName))) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(50);
    }
    return true;
}

ProgramSwap::ProgramSwap(const QString& dir)
    : dir_(dir),
      program_(FolderFile(dir, MainProgramFileName())),
      log_(FolderFile(dir, QString::fromLatin1(kVersionLogName))),
      serverLog_(FolderFile(dir, QString::fromLatin1(kServerLogName))),
      newProgram_(FolderFile(dir, QString::fromLatin1(kNewProgramName))),
      programCopy_(QDir(dir).filePath(QString::fromLatin1(kOldProgramCopy))),
      logCopy_(QDir(dir).filePath(QString::fromLatin1(kOldLogCopy))) {}

ProgramSwap::~ProgramSwap() {
    if (!applied_) {
        QFile::remove(programCopy_);
        QFile::remove(logCopy_);
    }
}

// The copy is what a rollback puts back, so every byte of it is checked like any other write.
static bool CopyFile(const QString& from, const QString& to, QString* why) {
    QFile in(from);
    if (!common::OpenRegularFile(&in, common::kProgramLimit, why)) return false;
    common::AtomicFile out(to);
    if (!out.open(why)) return false;
    qint64 copied = 0;
    for (;;) {
        QByteArray piece;
        if (!common::ReadPiece(&in, from, common::kProgramLimit, &copied, &piece, why)) return false;
        if (piece.isEmpty()) break;
        if (!out.write(piece, why)) return false;
    }
    if (!out.commit(why)) return false;
    QFile::setPermissions(to, QFile::permissions(from));
    return true;
}

bool ProgramSwap::apply(QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        QFile::remove(programCopy_);
        QFile::remove(logCopy_);
        return false;
    };
    if (!QFileInfo(newProgram_).isFile()) return fail(QStringLiteral("缺少 %1").arg(kNewProgramName));
    if (!QFileInfo(serverLog_).isFile()) return fail(QStringLiteral("缺少 %1").arg(kServerLogName));
    QFile fresh(newProgram_);
    if (!fresh.setPermissions(fresh.permissions() | QFile::ExeOwner | QFile::ReadOwner | QFile::ExeGroup
                              | QFile::ReadGroup | QFile::ExeOther | QFile::ReadOther))
        return fail(QStringLiteral("无法把 %1 设为可执行").arg(kNewProgramName));
    const bool hadProgram = QFileInfo::exists(program_), hadLog = QFileInfo::exists(log_);
    QString why;
    if (hadProgram && !CopyFile(program_, programCopy_, &why))
        return fail(QStringLiteral("无法保留 %1 的副本：%2").arg(MainProgramFileName(), why));
    if (hadLog && !CopyFile(log_, logCopy_, &why))
        return fail(QStringLiteral("无法保留 %1 的副本：%2").arg(QString::fromLatin1(kVersionLogName), why));
    if (!common::ReplaceFile(newProgram_, program_, &why)) return fail(why);
    if (!common::ReplaceFile(serverLog_, log_, &why)) {
        // The new log must never stand beside the old program, nor the new program be left
        // without its log: put the old program back.
        common::ReplaceFile(program_, newProgram_);
        if (hadProgram) common::ReplaceFile(programCopy_, program_);
        return fail(why);
    }
    applied_ = true;
    return true;
}

bool ProgramSwap::rollback(QString* error) {
    if (!applied_) return true;
    bool ok = common::ReplaceFile(program_, newProgram_, error) && common::ReplaceFile(log_, serverLog_, error);
    if (QFileInfo::exists(programCopy_)) ok = common::ReplaceFile(programCopy_, program_, error) && ok;
    if (QFileInfo::exists(logCopy_)) ok = common::ReplaceFile(logCopy_, log_, error) && ok;
    applied_ = false;
    return ok;
}

void ProgramSwap::commit() {
    applied_ = false;  // the destructor drops the copies
}

}  // namespace updater
