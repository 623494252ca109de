// One table model for every grid over a RecordSet: the columns shown with their captions and how
// each value reads, optionally striped (odd rows white, even rows pale yellow). The owner of
// the rows tells the model when they changed.
#pragma once

#include "common/db/recordset.h"

#include <QAbstractTableModel>
#include <QColor>
#include <functional>

namespace sorrel::ui {

struct GridColumn {
    QString caption;
    QString column;
    // How a value reads; empty: as text.
    std::function<QString(const QVariant&)> format = {};
    int width = 0; // 0: the view decides
};

class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // `rows` must outlive the model; it may be re-assigned, followed by refresh().
    RecordSetModel(const RecordSet& rows, QList<GridColumn> columns, QObject* parent = nullptr);

    void setStriped(bool striped) { striped_ = striped; }
    // The text colour of a row (an invalid colour: the view's own), read from the row's values.
    void setRowColour(std::function<QColor(const RecordSet& rows, int row)> colour) {
        rowColour_ = std::move(colour);
    }
    const QList<GridColumn>& gridColumns() const { return columns_; }

    // The rows were replaced, appended or removed.
    void refresh();
    // One row's values changed.
    void rowChanged(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const RecordSet& rows_;
    QList<GridColumn> columns_;
    bool striped_ = false;
    std::function<QColor(const RecordSet&, int)> rowColour_;
};

// Ways a grid shows a value.
QString yesNoMark(const QVariant& value);   // "√" for yes, nothing for no
QString percentText(const QVariant& value); // "40%"; nothing when blank
QString amountText(const QVariant& value);  // 12.5, 8; nothing when blank

} // namespace sorrel::ui
