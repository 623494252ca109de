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
    const RecordSet first = list.firstPage(db_);
    beginResetModel();
    list_ = list;
    columns_ = list.columns;
    rows_ = RecordSet();
    pages_.clear();
    recent_.clear();
    pageEnds_.clear();
    pagedRows_ = first.rowCount();
    complete_ = first.rowCount() < ReportList::kPageRows;
    if (!first.isEmpty()) {
        pageEnds_.append(list.keyOf(first, first.rowCount() - 1));
        keep(0, first);
    }
    endResetModel();
}

void ReportListModel::setRows(const QList<ReportColumn>& columns, const RecordSet& rows) {
    beginResetModel();
    list_.reset();
    columns_ = columns;
    rows_ = rows;
    complete_ = true;
    pages_.clear();
    recent_.clear();
    pageEnds_.clear();
    pagedRows_ = 0;
    endResetModel();
}

void ReportListModel::keep(int page, const RecordSet& rows) const {
    pages_.insert(page, rows);
    recent_.removeAll(page);
    recent_.append(page);
    while (recent_.size() > kPagesKept)
        pages_.remove(recent_.takeFirst());
}

const RecordSet& ReportListModel::page(int page) const {
    if (const auto kept = pages_.constFind(page); kept != pages_.constEnd()) {
        if (recent_.last() != page) {
            recent_.removeAll(page);
            recent_.append(page);
        }
        return *kept;
    }
    // Read again as it was first read: after the last row of the page before. The grid asks while
    // it paints, where no message can be shown: a page that cannot be read stays blank, and the
    // next page the grid fetches tells why.
    RecordSet rows;
    try {
        rows = page == 0 ? list_->firstPage(db_) : list_->pageAfter(db_, pageEnds_.value(page - 1));
    } catch (const std::exception&) {
        static const RecordSet kBlank;
        return kBlank;
    }
    keep(page, rows);
    return pages_[page];
}

QVariant ReportListModel::value(int row, const QString& field) const {
    if (!list_) return rows_.value(row, field);
    if (row < 0 || row >= pagedRows_) return {};
    const RecordSet& rows = page(row / ReportList::kPageRows);
    const int at = row % ReportList::kPageRows;
    // Another desk may have settled a bill of the list since the page was first read.
    if (at >= rows.rowCount() || !rows.hasColumn(field)) return {};
    return rows.value(at, field);
}

void ReportListModel::clear() {
    setRows(columns_, RecordSet());
}

int ReportListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return list_ ? pagedRows_ : rows_.rowCount();
}

int ReportListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant ReportListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const ReportColumn& column = columns_[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return displayText(value(index.row(), column.field), column.kind);
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
        // The next page begins after the last row read.
        const RecordSet more = pageEnds_.isEmpty() ? list_->firstPage(db_) : list_->pageAfter(db_, pageEnds_.last());
        complete_ = more.rowCount() < ReportList::kPageRows;
        if (more.isEmpty()) return;
        beginInsertRows({}, pagedRows_, pagedRows_ + more.rowCount() - 1);
        keep(int(pageEnds_.size()), more);
        pageEnds_.append(list_->keyOf(more, more.rowCount() - 1));
        pagedRows_ += more.rowCount();
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
