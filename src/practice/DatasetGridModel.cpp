#include "DatasetGridModel.h"

#include "Dataset.h"

#include <QSignalBlocker>

namespace practice {

DatasetGridModel::DatasetGridModel(QVector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {}

void DatasetGridModel::reload(store::Dataset& dataset) {
    beginResetModel();
    rows_.clear();
    indicator_ = -1;
    if (dataset.isActive() && dataset.recordCount() > 0) {
        // Walking the rows moves the shared cursor; those who follow it must not
        // see the walk, only where it ends, which is where it began.
        const QSignalBlocker quiet(&dataset);
        const int keep = dataset.recNo();
        QVector<bool> present;
        for (const GridColumn& c : columns_)
            present << dataset.hasField(c.field);
        rows_.reserve(dataset.recordCount());
        for (dataset.first(); !dataset.eof(); dataset.next()) {
            QStringList row;
            for (int c = 0; c < columns_.size(); ++c) {
                row << (present[c] ? dataset.text(columns_[c].field) : QString());
            }
            rows_ << row;
        }
        dataset.setRecNo(keep);
        indicator_ = keep - 1;
    }
    endResetModel();
}

void DatasetGridModel::setIndicatorRow(int row) {
    if (row < 0 || row >= rows_.size()) row = -1;
    if (row == indicator_) return;
    const int old = indicator_;
    indicator_ = row;
    if (old >= 0) emit headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0) emit headerDataChanged(Qt::Vertical, row, row);
}

QString DatasetGridModel::cellText(int row, int column) const {
    if (row < 0 || row >= rows_.size() || column < 0 || column >= columns_.size()) return {};
    return rows_[row][column];
}

int DatasetGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DatasetGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DatasetGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return cellText(index.row(), index.column());
        case Qt::TextAlignmentRole:
            return static_cast<int>(columns_[index.column()].alignment);
        default:
            return {};
    }
}

QVariant DatasetGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
        return section >= 0 && section < columns_.size() ? columns_[section].title : QString();
    }
    return section == indicator_ ? QStringLiteral("▶") : QString();
}

Qt::ItemFlags DatasetGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace practice
