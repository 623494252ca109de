// What the ordering adds to the table's work screen: "点单 +" (and keypad "+") opens the
// ordering screen, which returns to the work screen; "后厨" prints the kitchen tickets, its menu
// names this workstation's printer per output point; a double-click on "传单" turns a line's
// sent mark over.
#pragma once

#include "frontdesk/context/front_desk_context.h"

#include <QObject>

namespace sorrel::tables {
class WorkScreen;
}
namespace sorrel::ordering {
class OrderingScreen;
}

namespace sorrel::frontdesk {

using ordering::OrderingScreen;
using tables::WorkScreen;

class OrderingDesk : public QObject {
    Q_OBJECT
  public:
    OrderingDesk(const FrontDeskContext& context, WorkScreen* work, QObject* parent);

    OrderingScreen* screen() const { return screen_; }
    // The kitchen tickets of the work screen's bill, to their printers or the preview.
    void printKitchenTickets();
    void choosePrinters();
    QString printersFile() const;

  private:
    const FrontDeskContext& context_;
    WorkScreen* work_;
    OrderingScreen* screen_;
};

} // namespace sorrel::frontdesk
