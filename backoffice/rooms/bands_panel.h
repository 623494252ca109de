// The price-band sub-panel of a time-priced mode: the mode's name, the current band's start, end
// and hourly price, the mode's bands, and the stretches of the day no band covers yet.
#pragma once

#include "backoffice/panels/list_panel.h"
#include "backoffice/rooms/room_lists.h"

namespace sorrel::rooms {

class BandsPanel : public panels::ListPanel {
    Q_OBJECT
  public:
    BandsPanel(RoomLists& lists, QWidget* parent);

    QLabel* gaps() const { return gaps_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void showGaps();

    RoomLists& lists_;
    QLabel* heading_;
    QLabel* gaps_;
};

} // namespace sorrel::rooms
