// A small stocked venue for the inventory tests: beer and cola counted, towels not, an old wine
// disabled, a set meal of beer and cola, a cocktail made with 0.2 of a base spirit, two
// suppliers of one short name and a customer; the stock lists read over it.
#pragma once

#include "backoffice/stock/stock_lists.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

#include <memory>

namespace sorrel::test {

class StockTest : public EngineTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    stock::StockLists& lists() { return *lists_; }
    struct Line {
        QString item;
        double quantity;
        double price;
    };
    // An open bill entered through the lists the way the bill panel does, its lines left with
    // "回退" (amounts totalled). Answers its id.
    QVariant enterBill(const QString& type, const QString& partner, const QList<Line>& lines,
                       double settled = 0);
    double stockOf(const QString& item);
    double costOf(const QString& item);
    double payable(const QString& partner);
    double receivable(const QString& partner);
    int count(const QString& sql, const QVariantList& params = {});
    void setStock(const QString& item, double stock, double cost = -1);

    ScriptedSink sink;
    FixedClock clock{QDateTime(QDate(2026, 3, 4), QTime(10, 0))};

  private:
    std::unique_ptr<stock::StockLists> lists_;
};

} // namespace sorrel::test
