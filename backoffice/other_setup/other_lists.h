// The other setup's five code lists — shifts, payment methods, other income, item notes and
// units — declared with their defaults, checks and messages.
#pragma once

#include "backoffice/lists/maintenance_list.h"

#include <memory>

namespace sorrel::other_setup {

class OtherLists {
  public:
    // Creates the lists and reads them.
    explicit OtherLists(Database& db);
    ~OtherLists();

    lists::MaintenanceList& shifts() const { return *shifts_; }
    lists::MaintenanceList& paymentMethods() const { return *payments_; }
    lists::MaintenanceList& otherIncome() const { return *income_; }
    lists::MaintenanceList& itemNotes() const { return *notes_; }
    lists::MaintenanceList& units() const { return *units_; }

  private:
    std::unique_ptr<lists::MaintenanceList> shifts_, payments_, income_, notes_, units_;
};

// The payment methods the front desk's checkout relies on: cash, waiver, credit, member card.
inline const QStringList kPresetPaymentMethods = {"Z", "R", "H", "M"};

} // namespace sorrel::other_setup
