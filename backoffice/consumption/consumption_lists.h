// The consumption setup's lists — kinds, classes, items, output points, discount schemes, and the
// components and class rates edited from the item and scheme panels — declared with their
// defaults, checks and messages, and owned together because each narrows or reads another.
#pragma once

#include "backoffice/lists/choices.h"
#include "backoffice/lists/maintenance_list.h"

#include <memory>

namespace sorrel::backoffice {

class ConsumptionLists {
  public:
    // Creates the lists and reads them, kinds first.
    explicit ConsumptionLists(Database& db);
    ~ConsumptionLists();

    Database& db() const { return db_; }
    MaintenanceList& kinds() const { return *kinds_; }
    MaintenanceList& classes() const { return *classes_; } // of the current kind
    MaintenanceList& items() const { return *items_; }     // of the current class
    MaintenanceList& outputPoints() const { return *outputs_; }
    MaintenanceList& schemes() const { return *schemes_; }
    MaintenanceList& rates() const { return *rates_; }           // of the current scheme
    MaintenanceList& components() const { return *components_; } // direct rows of the current item

    // The choice lists, read afresh each time.
    Choices outputPointChoices() const;
    Choices unitChoices() const;
    // The item types offered for an item of the current kind: only ingredients in kind "M".
    Choices itemTypeChoices() const;
    Choices allItemTypes() const;
    Choices classChoices() const;
    // Every item's code, name, unit, price, cost and type: what the component grids show by code.
    RecordSet itemCatalogue() const;
    // The kind of the current class ("M" holds the ingredients).
    QString currentKind() const;

  private:
    ListDefinition kindList();
    ListDefinition classList();
    ListDefinition itemList();
    ListDefinition outputPointList();
    ListDefinition schemeList();
    ListDefinition rateList();
    ListDefinition componentList();
    void costFromClassRate(MaintenanceList& items, const QString& column);

    Database& db_;
    std::unique_ptr<MaintenanceList> kinds_, classes_, items_, outputs_, schemes_, rates_, components_;
};

// The preset codes: the ingredient kind and the bar.
inline const QString kIngredientKind = QStringLiteral("M");
inline const QString kPresetOutputPoint = QStringLiteral("1");

// Item types.
inline const QString kSingleItem = QStringLiteral("1");
inline const QString kSetMeal = QStringLiteral("2");
inline const QString kComposite = QStringLiteral("3");
inline const QString kIngredient = QStringLiteral("4");

} // namespace sorrel::backoffice
