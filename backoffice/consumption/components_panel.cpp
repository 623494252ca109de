#include "backoffice/consumption/components_panel.h"

#include "backoffice/consumption/item_components.h"
#include "common/messages.h"
#include "common/ui/guard.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace sorrel::consumption {

namespace {

// A column of the item a component row names, looked up in the catalogue.
ui::GridColumn itemDetail(const QString& caption, const QString& codeColumn, const QString& detail,
                          const std::shared_ptr<RecordSet>& catalogue, int width,
                          std::function<QString(const QVariant&)> format = {}) {
    return {caption, codeColumn,
            [=](const QVariant& code) {
                const int row = catalogue->locate({{QStringLiteral("item_code"), code}});
                const QVariant v = row < 0 ? QVariant() : catalogue->value(row, detail);
                return format ? format(v) : v.toString();
            },
            width};
}

QString priceText(double value) {
    return QString::number(value, 'g', 12);
}

} // namespace

ComponentsPanel::ComponentsPanel(ConsumptionLists& lists, QWidget* parent)
    : ComponentsPanel(lists, parent, std::make_shared<RecordSet>(lists.itemCatalogue())) {}

ComponentsPanel::ComponentsPanel(ConsumptionLists& lists, QWidget* parent,
                                 std::shared_ptr<RecordSet> catalogue)
    : panels::ListPanel(
          QStringLiteral("pnl_ItemGroup"), lists.components(),
          {{QStringLiteral("编码"), "item_code", {}, 50},
           itemDetail(QStringLiteral("项目名称"), "item_code", "item_name", catalogue, 100),
           itemDetail(QStringLiteral("单位"), "item_code", "item_unit", catalogue, 40),
           {QStringLiteral("数量"), "grou_coun", ui::amountText, 40},
           itemDetail(QStringLiteral("单价"), "item_code", "item_unit_pric", catalogue, 50, ui::amountText),
           itemDetail(QStringLiteral("成本"), "item_code", "item_cost_pric", catalogue, 50, ui::amountText),
           itemDetail(QStringLiteral("[组合名称]"), "grou_mix_code", "item_name", catalogue, 0)},
          parent),
      lists_(lists), catalogue_(std::move(catalogue)) {
    heading_ = addHeading(QStringLiteral("lbl_parent"));
    prices_ = new QLabel(this);
    prices_->setObjectName(QStringLiteral("lbl_prices"));
    component_ = new QLabel(this);
    component_->setObjectName(QStringLiteral("lbl_component"));
    form()->addWidget(panels::fieldCaption(QStringLiteral("单价/成本："), this), 1, 0);
    form()->addWidget(prices_, 1, 1);
    form()->addWidget(panels::fieldCaption(QStringLiteral("项目名称："), this), 2, 0);
    form()->addWidget(component_, 2, 1, 1, 3);
    quantity_ = addEdit(QStringLiteral("项目数量："), "grou_coun", 3, 0, panels::FieldKind::Amount);
    auto* price = new QPushButton(QStringLiteral("计算单价"), this);
    price->setObjectName(QStringLiteral("btn_price"));
    form()->addWidget(price, 3, 3);
    ui::connectGuarded(price, &QPushButton::clicked, this, &ComponentsPanel::priceFromComponents);

    candidates_ = new panels::CandidatePicker(
        {{QStringLiteral("编码"), "item_code", {}, 50}, {QStringLiteral("项目名称"), "item_name"}},
        QStringLiteral("编码/快捷"), matchingCandidates, this);
    sideColumn()->addWidget(candidates_, 1);
    ui::connectGuarded(candidates_, &panels::CandidatePicker::picked, this,
                       [this](const RecordSet& shown, int row) {
                           addComponent(lists_, shown.text(row, QStringLiteral("item_code")));
                           quantity_->setFocus();
                           quantity_->selectAll();
                       });
    ui::connectGuarded(quantity_, &QLineEdit::editingFinished, this, [this] {
        // A quantity left blank means one.
        if (quantity_->text().trimmed().isEmpty() && lists_.components().current() >= 0) {
            quantity_->setText(QStringLiteral("1"));
            lists_.components().edit(QStringLiteral("grou_coun"), QStringLiteral("1"));
        }
    });
    ui::connectGuarded(quantity_, &QLineEdit::returnPressed, candidates_, &panels::CandidatePicker::restart);
    ui::connectGuarded(&lists.components(), &lists::MaintenanceList::currentChanged, this,
                       &ComponentsPanel::showHeading);
    ui::connectGuarded(&lists.components(), &lists::MaintenanceList::rowsReset, this,
                       &ComponentsPanel::showHeading);
}

void ComponentsPanel::showEvent(QShowEvent* event) {
    *catalogue_ = lists_.itemCatalogue();
    candidates_->setCandidates(componentCandidates(lists_));
    panels::ListPanel::showEvent(event);
    showHeading();
    candidates_->restart();
}

void ComponentsPanel::showHeading() {
    const lists::MaintenanceList& items = lists_.items();
    const QString type = items.text(QStringLiteral("item_type_code"));
    heading_->setText(items.text(QStringLiteral("item_name")) + QStringLiteral("-[") +
                      lists::nameOf(lists_.allItemTypes(), type) + QStringLiteral("]"));
    prices_->setText(priceText(items.value(QStringLiteral("item_unit_pric")).toDouble()) +
                     QStringLiteral(" / ") +
                     priceText(items.value(QStringLiteral("item_cost_pric")).toDouble()));
    const QString code = lists_.components().text(QStringLiteral("item_code"));
    const int row = catalogue_->locate({{QStringLiteral("item_code"), code}});
    component_->setText(
        row < 0 ? QString()
                : code + QStringLiteral("  ") + catalogue_->text(row, QStringLiteral("item_name")) +
                      QStringLiteral("  ") + catalogue_->text(row, QStringLiteral("item_unit")));
}

void ComponentsPanel::priceFromComponents() {
    const ComponentSums sums = componentSums(lists_);
    prices_->setText(priceText(sums.price) + QStringLiteral(" / ") + priceText(sums.cost));
    if (messages::ask(QStringLiteral("请确定是否修改现在的[单价]和[成本价]!")))
        applyComponentSums(lists_, sums);
    showHeading();
}

} // namespace sorrel::consumption
