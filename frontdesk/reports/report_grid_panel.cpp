#include "frontdesk/reports/report_grid_panel.h"

#include "common/ui/grid_style.h"
#include "common/ui/guard.h"

#include <QHeaderView>

namespace sorrel::reports {

using exporting::CellKind;

namespace {

bool isFigure(CellKind kind) {
    return kind == CellKind::Money || kind == CellKind::Quantity || kind == CellKind::Integer ||
           kind == CellKind::Percent;
}

} // namespace

ReportListModel::ReportListModel(Database& db, QObject* parent) : QAbstractTableModel(parent), db_(db) {}

void ReportListModel::setList(const ReportList& list) {
    beginResetModel();
    list_ = list;
    columns_ = list.columns;
    rows_ = list.firstPage(db_);
    complete_ = rows_.rowCount() < ReportList::kPageRows;
    endResetModel();
}

void ReportListModel::setRows(const QList<ReportColumn>& columns, const RecordSet& rows) {
    beginResetModel();
    list_.reset();
    columns_ = columns;
    rows_ = rows;
    complete_ = true;
    endResetModel();
}

void ReportListModel::clear() {
    setRows(columns_, RecordSet());
}

int ReportListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.rowCount();
}

int ReportListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant ReportListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const ReportColumn& column = columns_[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return displayText(rows_.value(index.row(), column.field), column.kind);
    case Qt::TextAlignmentRole:
        return isFigure(column.kind) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                     : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (colours_.contains(column.field)) return colours_.value(column.field);
        return {};
    default:
        return {};
    }
}

QVariant ReportListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < columns_.size())
        return columns_[section].caption;
    if (orientation == Qt::Vertical && role == Qt::DisplayRole) return section + 1;
    return {};
}

bool ReportListModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && list_ && !complete_;
}

void ReportListModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    // The view asks for more while it scrolls, outside any handler: a failed read is answered here.
    ui::runGuarded([&] {
        // The next page begins after the last row shown.
        const RecordSet more = rows_.isEmpty()
                                   ? list_->firstPage(db_)
                                   : list_->pageAfter(db_, list_->keyOf(rows_, rows_.rowCount() - 1));
        complete_ = more.rowCount() < ReportList::kPageRows;
        if (more.isEmpty()) return;
        beginInsertRows({}, rows_.rowCount(), rows_.rowCount() + more.rowCount() - 1);
        for (int i = 0; i < more.rowCount(); ++i) {
            QVariantList row;
            for (int c = 0; c < more.columnCount(); ++c)
                row << more.value(i, c);
            rows_.appendRow(row);
        }
        endInsertRows();
    });
}

ReportGrid::ReportGrid(const QString& objectName, Database& db, QWidget* parent) : QTableView(parent) {
    setObjectName(objectName);
    model_ = new ReportListModel(db, this);
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui::styleMainGrid(this);
    verticalHeader()->setDefaultSectionSize(22);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultSectionSize(84);
}

} // namespace sorrel::reports
