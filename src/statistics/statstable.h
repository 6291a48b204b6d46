#pragma once
// The rows behind one table of the statistics window: either plain texts or OmissionStats
// rows (kept compact and formatted when shown, since the compound table can hold very many).
#include "statistics/omissionrow.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <vector>

namespace statistics {

class StatsTable : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StatsTable(QStringList titles, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void clear();
    // Appended after the rows already shown, in the order given.
    void appendTexts(const QList<QStringList>& rows);
    void appendOmission(std::vector<OmissionRow> rows);

    // The texts of row r as shown.
    QString text(int row, int column) const;
    QStringList rowTexts(int row) const;
    QList<QStringList> allTexts() const;

    // Orders the rows by the text of one column (compared as text), keeping the order of equal
    // texts. Later appends come after the sorted rows.
    void sortByText(int column, Qt::SortOrder order);

private:
    struct Row {
        int omission = -1;  // index into omission_, or -1 for a text row
        int texts = -1;     // index into texts_
    };

    QStringList titles_;
    std::vector<Row> rows_;
    QList<QStringList> texts_;
    std::vector<OmissionRow> omission_;
};

}  // namespace statistics
