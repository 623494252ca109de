// The stock of the set meals and composites: as many as their components allow now (the stored
// query viewReTotal). Every step that moves a component's stock runs this statement inside its
// own transaction, so no workstation ever sees a set meal counted from stock that has gone.
#pragma once

#include <QString>

namespace sorrel {

inline const QString kRefreshMadeItemsStock = QStringLiteral(
    "UPDATE itemlist SET item_coun = (SELECT v.retotal FROM viewReTotal v WHERE v.grou_code = "
    "itemlist.item_code) WHERE item_type_code IN ('2', '3') AND EXISTS (SELECT 1 FROM viewReTotal v "
    "WHERE v.grou_code = itemlist.item_code)");

} // namespace sorrel
