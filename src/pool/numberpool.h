#pragma once
// The workbench's number set and its primitives: compaction, commit with undo snapshot,
// list parsing, de-duplication, and the log frame every filter writes.
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace pool {

// Numbers "000".."999", 0-based. An empty entry marks a number removed by the running
// filter and exists only until CompactSet. May hold repeats.
using NumberPool = QStringList;

// Line break of the workbench log.
inline const QString kNewLine = QStringLiteral("\n");

// Drops the empty entries, keeping the order of the others.
void CompactSet(NumberPool& pool);
// Ascending by character codes (numeric order for three-digit texts).
void SortPool(NumberPool& pool);
// Blanks every later copy of a number, compacts, returns how many were removed.
int RemoveDuplicateNumbers(NumberPool& pool);

// The pieces of a comma list, split at "," and "，" only: every piece as it stands (blanks
// kept), empty pieces included, so "1,，2" gives "1", "", "2" and "" gives one empty piece.
QStringList SplitCommaList(const QString& text);
// Reads a comma list ("," or "，" only; blanks and anything else belong to the token).
// Each token is trimmed of blanks; numeric tokens whose length equals width (or any length
// when width is 0) are kept, their rounded values go to digitList. Returns a blank followed
// by each kept token.
QString ParseNumberList(const QString& text, int width, QList<int>* digitList);
// The numeric test ParseNumberList applies to a token: optional sign, digits with an optional
// decimal point and exponent, a finite value ("nan" and "inf" are not numbers).
bool IsNumericText(const QString& text);

// Ten snapshots of the pool, each with the description of the set it holds; index names the
// slot of the current pool (0 before the first commit). Snapshots keep the whole pool, so undo
// never drops numbers.
class UndoRing {
public:
    static constexpr int kSlots = 10;
    int index() const { return index_; }
    // Advances the index (past 10 to 1) and stores the pool and its description in that slot.
    void store(const NumberPool& pool, const QString& description = QString());
    // Slot s (1..10); a slot never written is empty.
    const NumberPool& slot(int s) const { return slots_[size_t(s - 1)]; }
    // The description stored with slot s; empty for a slot never written.
    const QString& description(int s) const { return descriptions_[size_t(s - 1)]; }
    // Undo: the slot before the index, with the index stepped back so the next store lands
    // on that slot. Redo: the slot after the index, index unchanged (the store advances).
    // description, when given, receives the slot's description.
    NumberPool takeUndo(QString* description = nullptr);
    NumberPool takeRedo(QString* description = nullptr);

private:
    std::array<NumberPool, kSlots> slots_{};
    std::array<QString, kSlots> descriptions_{};
    int index_ = 0;
};

// The workbench's text log. Writers only append; observers see each appended block.
class WorkbenchLog {
public:
    static QString InitialText() { return QStringLiteral("准备就绪,请选择数据...") + kNewLine; }
    WorkbenchLog() : text_(InitialText()) {}
    const QString& text() const { return text_; }
    void append(const QString& block);
    void reset();                         // back to the initial text
    void setText(const QString& text);    // restore a saved copy
    std::function<void(const QString& appended)> onAppend;
    std::function<void()> onReplace;

private:
    QString text_;
};

// Frame of a filter operation in the log.
QString FilterLogHeader(const QString& titleWithStart);  // "\n" + "跨度过滤开始" + "\n"
QString FilterLogFooter(int removed, int remaining);     // "\n过滤n注\n还剩m注\n"

// The workbench's pool with its undo ring, log and description.
class PoolSession {
public:
    NumberPool pool;
    UndoRing ring;
    WorkbenchLog log;
    QString setDescription = QStringLiteral("大底采集");
    // Told after every commit (the window refreshes its list and count).
    std::function<void(const NumberPool&)> onCommit;

    // Sorts, tells the observer, stores a snapshot with the description. Writes nothing to the log.
    void CommitSet();
    // Loads the previous / next snapshot with its description (a slot never written keeps the
    // current one), logs "返回上一步" / "返回下一步" and commits.
    void Undo();
    void Redo();
    // "还剩：" n "注".
    static QString CountLabel(int n);

    // Numbers brought in from outside the pool (collected, computed, previewed, a base set):
    // they replace the pool, logLine goes to the log (none when empty), the set takes the
    // description, duplicates go when asked, then the commit.
    enum class Duplicates { Keep, Remove };
    void TakeNumbers(NumberPool numbers, const QString& logLine, const QString& description,
                     Duplicates duplicates = Duplicates::Keep);

    // Runs a filter routine inside the standard log frame: header, the routine's removed
    // numbers, the counts, the description, commit. Returns the number removed.
    int RunFilter(const QString& titleWithStart, const QString& description,
                  const std::function<void(NumberPool&, QString& log)>& routine);
};

}  // namespace pool
