#pragma once
// The draw entry's working copy of the current lottery's history: draws corrected, appended,
// marked deleted and restored in memory, then written back whole (or replaced by the home
// server's copy). Plain routines; the draw entry window only reads its controls and calls these.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace history {

// List items 0..entryCount()-1 stand for the entries (the draws in file order plus those
// appended here); item entryCount() is the next issue after the newest entry not marked deleted.
class DrawEntryBook {
public:
    static const QString kDeletedText;  // "删除", shown instead of a deleted entry's issue

    explicit DrawEntryBook(const QStringList& drawTexts = {});

    int entryCount() const { return int(entries_.size()); }
    int lastItem() const { return entryCount(); }
    const QString& entry(int i) const { return entries_.at(i); }
    bool isDeleted(int i) const { return deleted_.at(i); }
    // Index of the newest entry not marked deleted; -1 when there is none.
    int newest() const { return newest_; }
    // The last item: the issue after the newest entry (same year, serial + 1). With no entry
    // left, the oldest entry's issue; with no entry at all, this year's first issue.
    QString nextIssue() const;
    QString itemText(int i) const;
    QStringList itemTexts() const;
    // Issue of the last entry as it stands in memory, deleted or not ("" when there is none).
    QString lastEntryIssue() const;

    enum class SaveOutcome { FormatError, IssueNotNewer, Modified, Appended };
    // selected: an existing entry (0 <= selected < entryCount()) or -1 / lastItem() for a new
    // draw. An existing entry keeps its issue: a different issue counts as a new draw.
    SaveOutcome save(int selected, const QString& issue, const QString& number);

    // True when selected is an entry that can be marked deleted.
    bool canDelete(int selected) const;
    // Marks an entry deleted; the newest pointer walks back past deleted entries.
    void markDeleted(int i);
    // Unmarks an entry. False (and still deleted) when its issue would no longer be in order with
    // the entries kept around it, e.g. a draw saved again under the same issue after deletion.
    bool restore(int i);

    // What the draw file gets: every entry not marked deleted, in order.
    QStringList keptDraws() const;
    // True when writing would change the draws the book was made from: the edits are not in
    // the file yet. A draw deleted and restored again, or saved with its own digits, is none.
    bool changed() const { return keptDraws() != loaded_; }

private:
    void walkBackNewest();

    QStringList loaded_;  // the draws the book was made from
    QStringList entries_;
    QVector<bool> deleted_;
    int newest_ = -1;
};

// Writes the draw file whole through FLAG.TXT: FLAG.TXT (in flagPath) is written completely,
// then renamed over drawFilePath. Nothing is lost on failure: the draw file keeps its old bytes
// and FLAG.TXT is removed. A draw file that cannot be read, a folder and a read-only file are
// left alone. False with *error, which names the draw file (never FLAG.TXT) and the reason.
bool WriteDrawFileViaFlag(const QString& drawFilePath, const QString& flagPath, const QStringList& drawTexts,
                          QString* error = nullptr);

}  // namespace history
