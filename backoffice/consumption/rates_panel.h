// The rates of a discount scheme per class: the scheme's name, the classes it may rate (found by
// code as the manager types), its rates and the rate being edited.
#pragma once

#include "backoffice/consumption/consumption_lists.h"
#include "backoffice/shell/list_panel.h"

class QLabel;

namespace sorrel::backoffice {

class RatesPanel : public ListPanel {
    Q_OBJECT
  public:
    RatesPanel(ConsumptionLists& lists, QWidget* parent);

    QLineEdit* searchBox() const { return search_; }
    QLineEdit* rateEdit() const { return rate_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    RatesPanel(ConsumptionLists& lists, QWidget* parent, std::shared_ptr<Choices> classNames);
    void showCandidates();
    void addCandidate(const QModelIndex& index);

    ConsumptionLists& lists_;
    std::shared_ptr<Choices> classNames_;
    RecordSet allCandidates_;
    RecordSet candidates_;
    ui::RecordSetModel* candidateModel_;
    QTableView* candidateGrid_;
    QLabel* heading_;
    QLineEdit* rate_;
    QLineEdit* search_;
};

} // namespace sorrel::backoffice
