#pragma once
// The valid draws of the current lottery, oldest first, indexed 1..count(); index 0 is the
// empty text and never a draw.
#include <QString>
#include <QStringList>

namespace common {

class DrawHistory {
public:
    DrawHistory() = default;
    explicit DrawHistory(QStringList drawTexts) : draws_(std::move(drawTexts)) {}

    int count() const { return int(draws_.size()); }
    bool isEmpty() const { return draws_.isEmpty(); }
    // 1-based; 0 or out of range gives the empty text.
    const QString& at(int i) const;
    const QString& operator[](int i) const { return at(i); }
    QString issue(int i) const { return at(i).left(7); }
    QString number(int i) const { return at(i).right(3); }
    // The newest draw (empty when there is none).
    const QString& newest() const { return at(count()); }

    // 0-based view of the draws.
    const QStringList& draws() const { return draws_; }
    QStringList& draws() { return draws_; }
    void clear() { draws_.clear(); }
    void append(const QString& drawText) { draws_.append(drawText); }
    void set(int i, const QString& drawText) { draws_[i - 1] = drawText; }

private:
    QStringList draws_;
};

}  // namespace common
