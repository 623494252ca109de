#include "common/ui/record_set_model.h"

#include <QColor>

namespace sorrel::ui {

RecordSetModel::RecordSetModel(const RecordSet& rows, QList<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows), columns_(std::move(columns)) {}

void RecordSetModel::refresh() {
    beginResetModel();
    endResetModel();
}

void RecordSetModel::rowChanged(int row) {
    if (row < 0 || row >= rowCount()) return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int RecordSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.rowCount();
}

int RecordSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.rowCount()) return {};
    if (role == Qt::BackgroundRole && striped_)
        return index.row() % 2 == 0 ? QColor(Qt::white) : QColor(253, 254, 207);
    if (role == Qt::ForegroundRole && rowColour_) {
        const QColor colour = rowColour_(rows_, index.row());
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    if (role != Qt::DisplayRole) return {};
    const GridColumn& c = columns_[index.column()];
    if (!rows_.hasColumn(c.column)) return {};
    const QVariant value = rows_.value(index.row(), c.column);
    return c.format ? c.format(value) : value.toString();
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal)
        return section < columns_.size() ? columns_[section].caption : QString();
    return section + 1;
}

QString yesNoMark(const QVariant& value) {
    return value.toLongLong() != 0 ? QStringLiteral("√") : QString();
}

QString percentText(const QVariant& value) {
    return value.isNull() || value.toString().isEmpty() ? QString() : value.toString() + QStringLiteral("%");
}

QString amountText(const QVariant& value) {
    return value.isNull() || value.toString().isEmpty() ? QString()
                                                        : QString::number(value.toDouble(), 'g', 12);
}

} // namespace sorrel::ui
