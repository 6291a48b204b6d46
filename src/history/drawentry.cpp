#include "history/drawentry.h"

#include "common/atomicfile.h"
#include "common/drawtext.h"
#include "common/localfile.h"
#include "common/textcodec.h"
#include "history/drawfile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace history {

const QString DrawEntryBook::kDeletedText = QStringLiteral("删除");

DrawEntryBook::DrawEntryBook(const QStringList& drawTexts)
    : loaded_(drawTexts), entries_(drawTexts), deleted_(drawTexts.size(), false), newest_(int(drawTexts.size()) - 1) {}

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
    // The draw entry keeps only an issue of seven ASCII digits and a number of three.
    if (!common::IsIssueText(issue) || !common::IsNumberText(number)) return SaveOutcome::FormatError;
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
    QString why;
    if (WriteDrawFile(flagPath, drawTexts, &why) && common::ReplaceFile(flagPath, drawFilePath, &why)) return true;
    QFile::remove(flagPath);
    // FLAG.TXT is a name the player never sees: the reason names the draw file instead, and a
    // folder that takes no new file (read-only, full of entries) is said to be the cause.
    if (error) {
        *error = why.replace(QDir::toNativeSeparators(flagPath), QDir::toNativeSeparators(drawFilePath));
        const QString folder = QFileInfo(flagPath).absolutePath();
        if (::access(QFile::encodeName(folder).constData(), W_OK) != 0)
            *error += QStringLiteral("（程序文件夹 %1 不能写入）").arg(QDir::toNativeSeparators(folder));
    }
    return false;
}

}  // namespace history
