// "库存调整": a manual change of the stock of counted items. The rows are kept here while the
// manager types; "保存" applies them all in one transaction (A100001) — each item's stock moved by
// its change relative to what the database holds, set meals recounted — and empties them, so an
// adjustment is applied once and never meets another workstation's.
#pragma once

#include "common/db/database.h"

#include <QObject>

namespace sorrel::stock {

inline const QString kAdjustmentAdvice = QStringLiteral("建议使用[物流管理]来进行库存调整！");

class StockAdjustment : public QObject {
    Q_OBJECT
  public:
    explicit StockAdjustment(Database& db, QObject* parent = nullptr);

    // A new adjustment: no rows; the candidates (counted items, no set meal or composite) read.
    void start();
    // code, name, unit, stock, shortcut of every candidate.
    const RecordSet& candidates() const { return candidates_; }
    // The rows as ItemListTemp holds them: item_coun is the change.
    const RecordSet& rows() const { return rows_; }
    int current() const { return current_; }
    void setCurrent(int row);

    // Adds the item with a change of 1 and makes it current; an item already there is only made
    // current again (false).
    bool pick(const QString& itemCode);
    // The current row's change, as typed ("-3" takes three off); a text that is no number is
    // refused as mistyped.
    void enterChange(const QString& typed);
    void removeCurrent();

    // Applies every row and empties them. False when there was nothing to apply.
    bool commit();

  signals:
    // Rows were added, removed, applied or emptied (not sent for a change typed).
    void rowsChanged();

  private:
    Database& db_;
    RecordSet candidates_;
    RecordSet rows_;
    int current_ = -1;
};

} // namespace sorrel::stock
