// The item panel: kinds and classes on the left, the item's fields, the items of the current
// class, the components button for a set meal or composite, and "+" for a new item anywhere on it.
#pragma once

#include "backoffice/consumption/consumption_lists.h"
#include "backoffice/panels/back_office_context.h"
#include "backoffice/panels/list_panel.h"

namespace sorrel::ui {
class KeyboardMap;
}

namespace sorrel::consumption {

class ItemPanel : public panels::ListPanel {
    Q_OBJECT
  public:
    ItemPanel(const panels::BackOfficeContext& context, ConsumptionLists& lists);

    QLineEdit* codeEdit() const { return code_; }

  private:
    ItemPanel(const panels::BackOfficeContext& context, ConsumptionLists& lists,
              std::shared_ptr<lists::Choices> typeNames);
    void appendItem();

    ConsumptionLists& lists_;
    panels::Workspace& workspace_;
    QLineEdit* code_;
};

} // namespace sorrel::consumption
