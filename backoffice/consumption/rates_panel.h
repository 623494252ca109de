// The rates of a discount scheme per class: the scheme's name, the classes it may rate (found by
// code as the manager types), its rates and the rate being edited.
#pragma once

#include "backoffice/consumption/consumption_lists.h"
#include "backoffice/panels/candidate_picker_panel.h"
#include "backoffice/panels/list_panel.h"

class QLabel;

namespace sorrel::consumption {

class RatesPanel : public panels::ListPanel {
    Q_OBJECT
  public:
    RatesPanel(ConsumptionLists& lists, QWidget* parent);

    QLineEdit* rateEdit() const { return rate_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    RatesPanel(ConsumptionLists& lists, QWidget* parent, std::shared_ptr<lists::Choices> classNames);

    ConsumptionLists& lists_;
    std::shared_ptr<lists::Choices> classNames_;
    panels::CandidatePicker* candidates_;
    QLabel* heading_;
    QLineEdit* rate_;
};

} // namespace sorrel::consumption
