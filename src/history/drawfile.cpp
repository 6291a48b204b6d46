#include "history/drawfile.h"

#include "common/appstate.h"
#include "common/atomicfile.h"
#include "common/localfile.h"
#include "common/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace history {

QByteArray EncodeDrawRecord(const QString& drawText) {
    QByteArray text = common::EncodeAnsi(drawText);
    if (text.size() > 11) {
        // Cut after the last whole character that fits: half of a double-byte character
        // would make the record's text garbage when read back.
        text.clear();
        for (qsizetype i = 0; i < drawText.size();) {
            const qsizetype len = drawText.at(i).isHighSurrogate() && i + 1 < drawText.size() ? 2 : 1;
            const QByteArray bytes = common::EncodeAnsi(drawText.mid(i, len));
            if (text.size() + bytes.size() > 11) break;
            text += bytes;
            i += len;
        }
    }
    text = text.leftJustified(11, ' ');
    text.append('1');
    return text;
}

// The 11 text bytes of a record, read as code page 936 like every other text of the program;
// plain ASCII (every record the program writes) takes the quick road.
static QString DecodeDrawText(const char* p) {
    for (int i = 0; i < 11; ++i)
        if (static_cast<unsigned char>(p[i]) >= 0x80) return common::DecodeAnsi(QByteArray(p, 11));
    return QString::fromLatin1(p, 11);
}

QList<DrawRecord> DecodeDrawRecords(const QByteArray& bytes) {
    QList<DrawRecord> out;
    const qsizetype n = bytes.size() / kRecordLength;
    out.reserve(n);
    for (qsizetype r = 0; r < n; ++r) {
        const char* p = bytes.constData() + r * kRecordLength;
        out.append({DecodeDrawText(p), QLatin1Char(p[11])});
    }
    return out;
}

QStringList AllDrawTexts(const QByteArray& bytes) {
    QStringList out;
    const qsizetype n = bytes.size() / kRecordLength;
    out.reserve(n);
    for (qsizetype r = 0; r < n; ++r) out.append(DecodeDrawText(bytes.constData() + r * kRecordLength));
    return out;
}

static bool IsDigitByte(char c) { return c >= '0' && c <= '9'; }

// Issue and number are digits: anything else is a damaged record (random bytes, a line break
// or a NUL moved into the record) that no analysis may read as a draw.
static bool HasDrawDigits(const char* p) {
    for (int i = 0; i < 7; ++i)
        if (!IsDigitByte(p[i])) return false;
    return IsDigitByte(p[8]) && IsDigitByte(p[9]) && IsDigitByte(p[10]);
}

QStringList ValidDrawTexts(const QByteArray& bytes, int* damaged) {
    QStringList out;
    int bad = 0;
    const qsizetype n = bytes.size() / kRecordLength;
    out.reserve(n);
    for (qsizetype r = 0; r < n; ++r) {
        const char* p = bytes.constData() + r * kRecordLength;
        if (p[11] != '1') continue;
        if (!HasDrawDigits(p)) {
            ++bad;
            continue;
        }
        // Only the separator can still be something else; it is never read, so a blank stands in
        // for a byte that would not decode on its own.
        if (p[7] >= 0x20 && p[7] < 0x7f) {
            out.append(QString::fromLatin1(p, 11));
        } else {
            QString text = QString::fromLatin1(p, 11);
            text[7] = QLatin1Char(' ');
            out.append(text);
        }
    }
    if (damaged) *damaged = bad;
    return out;
}

// verb: 读取 or 写入.
static QString FolderText(const QString& verb, const QString& path) {
    return QStringLiteral("无法%1 %2：它是一个文件夹，不是开奖数据文件").arg(verb, QDir::toNativeSeparators(path));
}

bool ReadDrawFileBytes(const QString& path, QByteArray* bytes, QString* error) {
    bytes->clear();
    const QFileInfo info(path);
    if (!info.exists()) return true;
    if (info.isDir()) {
        // Opening a folder fails without a cause of its own; the stale one would mislead.
        if (error) *error = FolderText(QStringLiteral("读取"), path);
        return false;
    }
    // A short read fails too: it would load part of the history as if it were all of it.
    return common::ReadRegularFile(path, common::kDrawFileLimit, bytes, error);
}

static bool ReadAll(const QString& path, QByteArray* bytes, QString* error) {
    if (!QFileInfo::exists(path)) {
        // Opening a missing draw file creates it empty.
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.close();
        bytes->clear();
        return true;
    }
    return ReadDrawFileBytes(path, bytes, error);
}

bool CheckDrawFileWritable(const QString& path, QString* error) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return true;  // missing: it will be created
    if (S_ISDIR(st.st_mode)) {
        if (error) *error = FolderText(QStringLiteral("写入"), path);
        return false;
    }
    // A file without write bits is the user's wish to keep it, whoever runs the program.
    if ((st.st_mode & 0222) == 0) {
        if (error)
            *error = QStringLiteral("%1 是只读文件，新的开奖数据没有写入").arg(QDir::toNativeSeparators(path));
        return false;
    }
    // Otherwise the reason is the system's (a read-only disk, another user's file).
    if (::access(QFile::encodeName(path).constData(), W_OK) != 0) {
        if (error)
            *error = QStringLiteral("无法写入 %1：%2，新的开奖数据没有写入")
                         .arg(QDir::toNativeSeparators(path), common::FileErrorText(errno));
        return false;
    }
    return true;
}

bool ReadDrawFile(const QString& path, QStringList* validDraws, QString* error, int* damaged) {
    QByteArray bytes;
    if (!ReadAll(path, &bytes, error)) return false;
    *validDraws = ValidDrawTexts(bytes, damaged);
    return true;
}

int CountDamagedRecords(const QString& path) {
    QByteArray bytes;
    if (!common::ReadRegularFile(path, common::kDrawFileLimit, &bytes)) return 0;
    int damaged = 0;
    ValidDrawTexts(bytes, &damaged);
    return damaged;
}

QString DamagedRecordsNotice(const QStringList& paths) {
    QStringList parts;
    for (const QString& path : paths) {
        const int n = CountDamagedRecords(path);
        if (n > 0)
            parts << QStringLiteral("%1 中有 %2 条记录已损坏（期号或号码不是数字）").arg(QFileInfo(path).fileName()).arg(n);
    }
    if (parts.isEmpty()) return {};
    return parts.join(QStringLiteral("；")) + QStringLiteral("，这些记录没有计入开奖历史。文件本身没有改动。");
}

bool WriteDrawFile(const QString& path, const QStringList& drawTexts, QString* error) {
    QByteArray bytes;
    bytes.reserve(drawTexts.size() * kRecordLength);
    for (const QString& t : drawTexts) bytes += EncodeDrawRecord(t);
    return common::WriteFileAtomically(path, bytes, error);
}

bool AppendDrawRecords(const QString& path, const QStringList& drawTexts, QString* error) {
    if (!CheckDrawFileWritable(path, error)) return false;
    QByteArray bytes;
    if (!ReadAll(path, &bytes, error)) return false;
    // The next record goes right after the last whole one: a trailing partial record is
    // overwritten, never left in front of the new records to shift them off the 12-byte grid.
    bytes.truncate(bytes.size() - bytes.size() % kRecordLength);
    for (const QString& t : drawTexts) bytes += EncodeDrawRecord(t);
    return common::WriteFileAtomically(path, bytes, error);
}

QString LastDrawText(const QString& path) {
    QFile f(path);
    if (!common::OpenRegularFile(&f, common::kDrawFileLimit)) return {};
    const qint64 n = f.size() / kRecordLength;
    if (n <= 0) return {};
    f.seek((n - 1) * kRecordLength);
    return common::DecodeAnsi(f.read(11));
}

QString LastIssue(const QString& path) {
    QByteArray bytes;
    if (!common::ReadRegularFile(path, common::kDrawFileLimit, &bytes)) return {};
    // Whatever the flag, but a damaged record is no draw: the one before it counts, so that a
    // garbage issue never makes every listed draw look new (or none).
    for (qsizetype r = bytes.size() / kRecordLength - 1; r >= 0; --r) {
        const char* p = bytes.constData() + r * kRecordLength;
        if (HasDrawDigits(p)) return QString::fromLatin1(p, 7);
    }
    return {};
}

bool IsValidDrawFileContent(const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes.size() % kRecordLength != 0) return false;
    for (qsizetype r = 0; r < bytes.size(); r += kRecordLength) {
        const char* p = bytes.constData() + r;
        if (!HasDrawDigits(p) || p[7] != ' ') return false;
        // Any flag byte: a withdrawn draw keeps its record with another flag.
    }
    return true;
}

bool LoadDrawHistory(common::AppState& app, QString* error) {
    QStringList draws;
    const bool read = ReadDrawFile(app.drawFilePath(), &draws, error);
    app.setHistory(read ? common::DrawHistory(std::move(draws)) : common::DrawHistory());
    return read;
}

}  // namespace history
