// The rows of a shared dataset as a read-only grid sees them: the dataset's view
// (its filter and order) read column by column into the model when asked to
// reload. The dataset's current row is marked in the row header, as a grid's
// indicator column does.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QVector>

namespace store {
class Dataset;
}

namespace practice {

struct GridColumn {
    QString field;
    QString title;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

class DatasetGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    DatasetGridModel(QVector<GridColumn> columns, QObject* parent = nullptr);

    // Reads the dataset's rows again; an inactive dataset leaves the grid empty.
    // The dataset's current row is the same afterwards and nobody is told it moved.
    void reload(store::Dataset& dataset);

    // The row marked as current (0-based), or -1.
    int indicatorRow() const { return indicator_; }
    void setIndicatorRow(int row);

    const QVector<GridColumn>& columns() const { return columns_; }
    QString cellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    QVector<GridColumn> columns_;
    QVector<QStringList> rows_;
    int indicator_ = -1;
};

}  // namespace practice
