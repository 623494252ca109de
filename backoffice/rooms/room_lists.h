// The room setup's lists — departments, table types, tables (of the current department),
// consumption modes and the price bands of the current mode — declared with their defaults,
// checks and messages, and owned together because each narrows or reads another.
#pragma once

#include "backoffice/lists/choices.h"
#include "backoffice/lists/maintenance_list.h"

#include <memory>

namespace sorrel::rooms {

class RoomLists {
  public:
    // Creates the lists and reads them.
    explicit RoomLists(Database& db);
    ~RoomLists();

    Database& db() const { return db_; }
    lists::MaintenanceList& departments() const { return *departments_; }
    lists::MaintenanceList& tableTypes() const { return *types_; }
    lists::MaintenanceList& tables() const { return *tables_; } // of the current department
    lists::MaintenanceList& modes() const { return *modes_; }
    lists::MaintenanceList& bands() const { return *bands_; } // of the current mode

    // The choice lists, read afresh each time.
    lists::Choices modeChoices() const;
    lists::Choices tableTypeChoices() const;
    lists::Choices consumptionTypeChoices() const;

  private:
    Database& db_;
    std::unique_ptr<lists::MaintenanceList> departments_, types_, tables_, modes_, bands_;
};

inline const QString kTimeBandsType = QStringLiteral("9");

} // namespace sorrel::rooms
