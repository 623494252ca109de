// The components of a set meal or composite: the parent with its price and cost, the items it may
// take (found by code or short code as the manager types), its direct components with their
// quantities, and the price taken from them.
#pragma once

#include "backoffice/consumption/consumption_lists.h"
#include "backoffice/panels/candidate_picker_panel.h"
#include "backoffice/panels/list_panel.h"

class QLabel;

namespace sorrel::consumption {

class ComponentsPanel : public panels::ListPanel {
    Q_OBJECT
  public:
    ComponentsPanel(ConsumptionLists& lists, QWidget* parent);

    QLineEdit* quantityEdit() const { return quantity_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    ComponentsPanel(ConsumptionLists& lists, QWidget* parent, std::shared_ptr<RecordSet> catalogue);
    void showHeading();
    void priceFromComponents();

    ConsumptionLists& lists_;
    std::shared_ptr<RecordSet> catalogue_;
    panels::CandidatePicker* candidates_;
    QLabel* heading_;
    QLabel* prices_;
    QLabel* component_;
    QLineEdit* quantity_;
};

} // namespace sorrel::consumption
