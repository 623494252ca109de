// The consumption-mode panel: the mode's fields, its amount captioned by its consumption type
// (or hidden), and the price-band button offered for time-priced modes.
#pragma once

#include "backoffice/panels/back_office_context.h"
#include "backoffice/panels/list_panel.h"
#include "backoffice/rooms/room_lists.h"

class QPushButton;

namespace sorrel::rooms {

class ModePanel : public panels::ListPanel {
    Q_OBJECT
  public:
    ModePanel(const panels::BackOfficeContext& context, RoomLists& lists);

    QLabel* amountCaption() const { return amountCaption_; }
    QLineEdit* amountEdit() const { return amount_; }
    QPushButton* bandsButton() const { return bands_; }

  private:
    ModePanel(const panels::BackOfficeContext& context, RoomLists& lists,
              std::shared_ptr<lists::Choices> typeNames);
    // Caption, field and button by the current mode's consumption type.
    void showType();

    RoomLists& lists_;
    QLabel* amountCaption_;
    QLineEdit* amount_;
    QPushButton* bands_;
};

} // namespace sorrel::rooms
