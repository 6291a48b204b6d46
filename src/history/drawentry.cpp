#include "history/drawentry.h"

#include "common/atomicfile.h"
#include "common/drawtext.h"
#include "common/localfile.h"
#include "common/textcodec.h"
#include "history/drawdownload.h"
#include "history/drawfile.h"
#include "platform/download.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace history {
namespace {

bool AllAsciiDigits(const QString& text, int length) {
    if (text.size() != length) return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

}  // namespace

bool IsIssueText(const QString& text) { return AllAsciiDigits(text, 7); }
bool IsDrawNumberText(const QString& text) { return AllAsciiDigits(text, 3); }

const QString DrawEntryBook::kDeletedText = QStringLiteral("删除");

DrawEntryBook::DrawEntryBook(const QStringList& drawTexts)
    : entries_(drawTexts), deleted_(drawTexts.size(), false), newest_(int(drawTexts.size()) - 1) {}

QString DrawEntryBook::nextIssue() const {
    if (newest_ >= 0) return common::NextIssue(common::IssueOf(entries_.at(newest_)));
    // Every entry deleted: offer the oldest issue again, so the history can be re-entered.
    if (!entries_.isEmpty()) return common::IssueOf(entries_.first());
    // An empty draw file: this year's first draw.
    return QString::number(QDate::currentDate().year()) + QStringLiteral("001");
}

QString DrawEntryBook::itemText(int i) const {
    if (i >= entryCount()) return nextIssue();
    return deleted_.at(i) ? kDeletedText : common::IssueOf(entries_.at(i));
}

QStringList DrawEntryBook::itemTexts() const {
    QStringList items;
    items.reserve(entryCount() + 1);
    for (int i = 0; i <= entryCount(); ++i) items.append(itemText(i));
    return items;
}

QString DrawEntryBook::lastEntryIssue() const {
    return entries_.isEmpty() ? QString() : common::IssueOf(entries_.last());
}

DrawEntryBook::SaveOutcome DrawEntryBook::save(int selected, const QString& issueText, const QString& numberText) {
    const QString issue = issueText.trimmed();
    const QString number = numberText.trimmed();
    if (!IsIssueText(issue) || !IsDrawNumberText(number)) return SaveOutcome::FormatError;
    const QString drawText = common::MakeDrawText(issue, number);
    if (selected >= 0 && selected < entryCount() && !deleted_.at(selected) &&
        common::IssueOf(entries_.at(selected)) == issue) {
        entries_[selected] = drawText;  // a correction keeps the draw's place
        return SaveOutcome::Modified;
    }
    if (newest_ >= 0 && !(issue > common::IssueOf(entries_.at(newest_)))) return SaveOutcome::IssueNotNewer;
    entries_.append(drawText);
    deleted_.append(false);
    newest_ = entryCount() - 1;
    return SaveOutcome::Appended;
}

bool DrawEntryBook::canDelete(int selected) const {
    return selected >= 0 && selected < entryCount() && !deleted_.at(selected);
}

void DrawEntryBook::markDeleted(int i) {
    if (!canDelete(i)) return;
    deleted_[i] = true;
    if (i == newest_) walkBackNewest();
}

void DrawEntryBook::walkBackNewest() {
    int j = newest_;
    while (j >= 0 && deleted_.at(j)) --j;
    newest_ = j;
}

bool DrawEntryBook::restore(int i) {
    if (i < 0 || i >= entryCount() || !deleted_.at(i)) return false;
    const QString issue = common::IssueOf(entries_.at(i));
    // The file must stay in issue order: the kept neighbours decide whether the entry fits back.
    for (int j = i - 1; j >= 0; --j) {
        if (deleted_.at(j)) continue;
        if (!(common::IssueOf(entries_.at(j)) < issue)) return false;
        break;
    }
    for (int k = i + 1; k < entryCount(); ++k) {
        if (deleted_.at(k)) continue;
        if (!(common::IssueOf(entries_.at(k)) > issue)) return false;
        break;
    }
    deleted_[i] = false;
    if (i > newest_) newest_ = i;
    return true;
}

QStringList DrawEntryBook::keptDraws() const {
    QStringList kept;
    kept.reserve(entryCount());
    for (int i = 0; i < entryCount(); ++i)
        if (!deleted_.at(i)) kept.append(entries_.at(i));
    return kept;
}

bool WriteDrawFileViaFlag(const QString& drawFilePath, const QString& flagPath, const QStringList& drawTexts,
                          QString* error) {
    // A folder of that name, or a file the user made read-only, is left alone.
    if (!CheckDrawFileWritable(drawFilePath, error)) return false;
    // A draw file that exists but cannot be read was never loaded: writing the (empty) working
    // copy over it would throw its history away.
    QFile current(drawFilePath);
    if (current.exists() && !common::OpenRegularFile(&current, common::kDrawFileLimit, error)) return false;
    current.close();
    // FLAG.TXT is written anew (never extended) and complete before it takes the file's place; a
    // stale one goes first, so that a link left under its name is never written through.
    QFile::remove(flagPath);
    if (!WriteDrawFile(flagPath, drawTexts, error)) return false;
    if (!common::ReplaceFile(flagPath, drawFilePath, error)) {
        QFile::remove(flagPath);
        return false;
    }
    return true;
}

namespace {

// Why an issue the home copy adds cannot be a draw by today; empty when it can.
QString ImpossibleIssue(QByteArrayView issue, const QDate& today) {
    const int year = issue.first(4).toInt();
    const int serial = issue.sliced(4, 3).toInt();
    const bool nextYearDue = today.month() == 12 && today.day() > 24;
    const QString text = QString::fromLatin1(issue);
    if (year > today.year() + (nextYearDue ? 1 : 0))
        return QStringLiteral("服务器的副本新增的第 %1 期年份晚于今年").arg(text);
    const int days = QDate::isLeapYear(year) ? 366 : 365;
    if (serial < 1 || serial > days)
        return QStringLiteral("服务器的副本新增的第 %1 期期序不在该年的 001～%2 之内").arg(text).arg(days);
    return {};
}

}  // namespace

HomeCopyFetch CheckHomeCopy(const QByteArray& copy, const QByteArray& local, const QDate& today,
                            HomeCopyCheck* check) {
    const qsizetype n = copy.size() / kRecordLength, m = local.size() / kRecordLength;
    auto record = [](const QByteArray& bytes, qsizetype r) {
        return QByteArrayView(bytes).sliced(r * kRecordLength, kRecordLength);
    };
    auto issue = [&](qsizetype r) { return record(copy, r).first(7); };
    if (n < m && local.startsWith(copy)) return HomeCopyFetch::Shorter;

    // The local records, each unchanged and in order; whatever lies between them is added.
    std::vector<bool> added(size_t(n), true);
    qsizetype kept = 0;
    for (qsizetype r = 0; r < n && kept < m; ++r)
        if (record(copy, r) == record(local, kept)) {
            added[size_t(r)] = false;
            ++kept;
        }
    if (kept < m) return HomeCopyFetch::Disagrees;

    int count = 0;
    for (qsizetype r = 0; r < n; ++r) {
        if (!added[size_t(r)]) continue;
        ++count;
        QString why = ImpossibleIssue(issue(r), today);
        if (why.isEmpty() && ((r > 0 && !(issue(r - 1) < issue(r))) || (r + 1 < n && !(issue(r) < issue(r + 1)))))
            why = QStringLiteral("服务器的副本新增的第 %1 期不在前后两期之间（期号须逐期增大）")
                      .arg(QString::fromLatin1(issue(r)));
        if (!why.isEmpty()) {
            if (check) check->reason = why;
            return HomeCopyFetch::BadNewRecord;
        }
    }
    if (check) {
        check->added = count;
        check->serverIssue = n > 0 ? QString::fromLatin1(issue(n - 1)) : QString();
    }
    return HomeCopyFetch::Fetched;
}

HomeCopyFetch FetchHomeCopy(const QString& url, const QString& bakPath, const QString& localPath,
                            HomeCopyCheck* check) {
    QFile::remove(bakPath);  // a stale copy (or a link under its name) is never written through
    const platform::DownloadResult got =
        platform::DownloadToFile(url, bakPath, platform::kDefaultTimeoutMs, {}, platform::kDrawFileLimit);
    if (!got.ok) return got.tooLarge ? HomeCopyFetch::TooLarge : HomeCopyFetch::NotReached;
    QByteArray copy;
    common::ReadRegularFile(bakPath, common::kDrawFileLimit, &copy);  // unreadable: empty, refused below
    auto drop = [&](HomeCopyFetch why) {
        QFile::remove(bakPath);
        return why;
    };
    // An error page or a broken copy must never take the history's place.
    if (LooksLikeWebPage(copy)) return drop(HomeCopyFetch::WebPage);
    if (!IsValidDrawFileContent(copy)) return drop(HomeCopyFetch::Refused);

    // Only parsed records count, never sizes: a file that cannot be read would otherwise look
    // empty or old, and any copy would pass for newer.
    QByteArray local;
    QString why;
    int damaged = 0;
    if (ReadDrawFileBytes(localPath, &local, &why)) ValidDrawTexts(local, &damaged);
    if (!why.isEmpty() || damaged > 0) {
        if (why.isEmpty())
            why = QStringLiteral("%1 中有 %2 条记录已损坏").arg(QDir::toNativeSeparators(localPath)).arg(damaged);
        if (check) check->reason = why;
        return drop(HomeCopyFetch::LocalUnreadable);
    }
    local.truncate(local.size() - local.size() % kRecordLength);  // a trailing partial record is no record
    const HomeCopyFetch verdict = CheckHomeCopy(copy, local, QDate::currentDate(), check);
    return verdict == HomeCopyFetch::Fetched ? verdict : drop(verdict);
}

}  // namespace history
