// The consumption setup's lists — kinds, classes, items, output points, discount schemes, and the
// components and class rates edited from the item and scheme panels — declared with their
// defaults, checks and messages, and owned together because each narrows or reads another.
#pragma once

#include "backoffice/lists/choices.h"
#include "backoffice/lists/maintenance_list.h"

#include <memory>

namespace sorrel::consumption {

class ConsumptionLists {
  public:
    // Creates the lists and reads them, kinds first.
    explicit ConsumptionLists(Database& db);
    ~ConsumptionLists();

    Database& db() const { return db_; }
    lists::MaintenanceList& kinds() const { return *kinds_; }
    lists::MaintenanceList& classes() const { return *classes_; } // of the current kind
    lists::MaintenanceList& items() const { return *items_; }     // of the current class
    lists::MaintenanceList& outputPoints() const { return *outputs_; }
    lists::MaintenanceList& schemes() const { return *schemes_; }
    lists::MaintenanceList& rates() const { return *rates_; }           // of the current scheme
    lists::MaintenanceList& components() const { return *components_; } // direct rows of the current item

    // The choice lists, read afresh each time.
    lists::Choices outputPointChoices() const;
    lists::Choices unitChoices() const;
    // The item types offered for an item of the current kind: only ingredients in kind "M".
    lists::Choices itemTypeChoices() const;
    lists::Choices allItemTypes() const;
    lists::Choices classChoices() const;
    // Every item's code, name, unit, price, cost and type: what the component grids show by code.
    RecordSet itemCatalogue() const;
    // The kind of the current class ("M" holds the ingredients).
    QString currentKind() const;

  private:
    lists::ListDefinition kindList();
    lists::ListDefinition classList();
    lists::ListDefinition itemList();
    lists::ListDefinition outputPointList();
    lists::ListDefinition schemeList();
    lists::ListDefinition rateList();
    lists::ListDefinition componentList();
    void costFromClassRate(lists::MaintenanceList& items, const QString& column);

    Database& db_;
    std::unique_ptr<lists::MaintenanceList> kinds_, classes_, items_, outputs_, schemes_, rates_, components_;
};

// The preset codes: the ingredient kind and the bar.
inline const QString kIngredientKind = QStringLiteral("M");
inline const QString kPresetOutputPoint = QStringLiteral("1");

// Item types.
inline const QString kSingleItem = QStringLiteral("1");
inline const QString kSetMeal = QStringLiteral("2");
inline const QString kComposite = QStringLiteral("3");
inline const QString kIngredient = QStringLiteral("4");

} // namespace sorrel::consumption
