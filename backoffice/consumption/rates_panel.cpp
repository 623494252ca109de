#include "backoffice/consumption/rates_panel.h"
#include "common/ui/guard.h"

#include "backoffice/consumption/class_rates.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace sorrel::consumption {

RatesPanel::RatesPanel(ConsumptionLists& lists, QWidget* parent)
    : RatesPanel(lists, parent, std::make_shared<lists::Choices>()) {}

RatesPanel::RatesPanel(ConsumptionLists& lists, QWidget* parent, std::shared_ptr<lists::Choices> classNames)
    : panels::ListPanel(
          QStringLiteral("pnl_DiscItem"), lists.rates(),
          {{QStringLiteral("编码"), "clas_code", {}, 60},
           {QStringLiteral("分类名称"), "clas_code",
            [classNames](const QVariant& v) { return lists::nameOf(*classNames, v.toString()); }, 160},
           {QStringLiteral("折扣率"), "disc_clas_perc", ui::percentText}},
          parent),
      lists_(lists), classNames_(std::move(classNames)) {
    heading_ = addHeading(QStringLiteral("lbl_scheme"));
    rate_ = addEdit(QStringLiteral("折扣率　："), "disc_clas_perc", 1, 0, panels::FieldKind::Digits);
    rate_->setPlaceholderText(QStringLiteral("%"));

    candidates_ = new panels::CandidatePicker(
        {{QStringLiteral("编码"), "clas_code", {}, 50}, {QStringLiteral("分类名称"), "clas_name"}},
        QStringLiteral("分类编码"), matchingClasses, this);
    sideColumn()->addWidget(candidates_, 1);
    ui::connectGuarded(candidates_, &panels::CandidatePicker::picked, this,
                       [this](const RecordSet& shown, int row) {
                           addRate(lists_, shown.text(row, QStringLiteral("clas_code")));
                           rate_->setFocus();
                           rate_->selectAll();
                       });
    ui::connectGuarded(rate_, &QLineEdit::returnPressed, candidates_, &panels::CandidatePicker::restart);
}

void RatesPanel::showEvent(QShowEvent* event) {
    *classNames_ = lists_.classChoices();
    candidates_->setCandidates(rateCandidates(lists_));
    heading_->setText(QStringLiteral("[") + lists_.schemes().text(QStringLiteral("disc_name")) +
                      QStringLiteral("]"));
    panels::ListPanel::showEvent(event);
    candidates_->restart();
}

} // namespace sorrel::consumption
