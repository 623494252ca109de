// The grid of a report: a list read page by page as the operator scrolls (a year's bills are
// never held whole), or a small set of rows shown at once. Figures are right-aligned and written
// as the report writes them; a column may carry its own colour (销售额 in green).
#pragma once

#include "frontdesk/reports/report_frame.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QTableView>
#include <optional>

namespace sorrel::reports {

class ReportListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    ReportListModel(Database& db, QObject* parent);

    // Shows the first page of `list`; the grid reads more as it scrolls and keeps only the few
    // pages last looked at, so a year's list scrolled to its end is not held whole.
    void setList(const ReportList& list);
    // Shows these rows under these columns, all at once.
    void setRows(const QList<ReportColumn>& columns, const RecordSet& rows);
    void clear();
    void setColumnColour(const QString& field, const QColor& colour) { colours_[field] = colour; }

    const QList<ReportColumn>& columns() const { return columns_; }
    // The rows given by setRows (a paged list's rows are read a page at a time: see value()).
    const RecordSet& rows() const { return rows_; }
    // The row's value of `field`, in a list given whole or read page by page.
    QVariant value(int row, const QString& field) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // How many pages of a paged list are kept at once, and how many are kept now.
    static constexpr int kPagesKept = 6;
    int pagesKept() const { return int(pages_.size()); }

  private:
    // Page `page` of the paged list: kept, or read again after the last row of the page before.
    const RecordSet& page(int page) const;
    void keep(int page, const RecordSet& rows) const;

    Database& db_;
    std::optional<ReportList> list_;
    QList<ReportColumn> columns_;
    RecordSet rows_;
    bool complete_ = true;
    // A paged list: the rows read so far, the key of each page's last row, and the pages kept,
    // the one looked at last at the end.
    int pagedRows_ = 0;
    QList<QVariantList> pageEnds_;
    mutable QHash<int, RecordSet> pages_;
    mutable QList<int> recent_;
    QHash<QString, QColor> colours_;
};

class ReportGrid : public QTableView {
    Q_OBJECT
  public:
    ReportGrid(const QString& objectName, Database& db, QWidget* parent);
    ReportListModel* rows() const { return model_; }

  private:
    ReportListModel* model_;
};

} // namespace sorrel::reports
