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

    // Shows the first page of `list` (nothing more is read until the grid scrolls).
    void setList(const ReportList& list);
    // Shows these rows under these columns, all at once.
    void setRows(const QList<ReportColumn>& columns, const RecordSet& rows);
    void clear();
    void setColumnColour(const QString& field, const QColor& colour) { colours_[field] = colour; }

    const QList<ReportColumn>& columns() const { return columns_; }
    const RecordSet& rows() const { return rows_; }
    // The row's value of `field`.
    QVariant value(int row, const QString& field) const { return rows_.value(row, field); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

  private:
    Database& db_;
    std::optional<ReportList> list_;
    QList<ReportColumn> columns_;
    RecordSet rows_;
    bool complete_ = true;
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
