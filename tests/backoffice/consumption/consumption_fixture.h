// A small menu for the consumption-setup tests: one kind with a class priced at a 40 % cost rate
// and one without, the ingredient class of kind "M", a few items and ingredients, and the lists
// read over it the way the back office reads them.
#pragma once

#include "backoffice/consumption/consumption_lists.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

#include <memory>

namespace sorrel::test {

class ConsumptionTest : public EngineTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    consumption::ConsumptionLists& lists() { return *lists_; }
    // The lists read again from the database, as when the panel opens.
    void reopen();

    void addItem(const QString& classCode, const QString& code, const QString& type, double price,
                 double cost = 0, const QString& limit = QStringLiteral("不限"), double stock = 0);
    void addComponentRow(const QString& parent, const QString& item, double quantity,
                         const QString& through = {}, double throughQuantity = 0);
    // Moves kinds, classes and items to the item `code` (and its class and kind).
    void select(const QString& code);
    QVariant itemColumn(const QString& code, const char* column);
    // Direct and derived rows of a parent: "item×quantity" or "item×quantity via composite".
    QStringList componentRows(const QString& parent);
    QStringList shown() const { return sink.texts(); }

    ScriptedSink sink;

  private:
    std::unique_ptr<consumption::ConsumptionLists> lists_;
};

} // namespace sorrel::test
