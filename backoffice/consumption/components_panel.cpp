#include "backoffice/consumption/components_panel.h"

#include "backoffice/consumption/item_components.h"
#include "common/messages.h"
#include "common/ui/grid_style.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace sorrel::backoffice {

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
    : ListPanel(
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
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("lbl_parent"));
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    prices_ = new QLabel(this);
    prices_->setObjectName(QStringLiteral("lbl_prices"));
    component_ = new QLabel(this);
    component_->setObjectName(QStringLiteral("lbl_component"));
    addToForm(heading_, 0, 0, 2);
    form()->addWidget(fieldCaption(QStringLiteral("单价/成本："), this), 1, 0);
    form()->addWidget(prices_, 1, 1);
    form()->addWidget(fieldCaption(QStringLiteral("项目名称："), this), 2, 0);
    form()->addWidget(component_, 2, 1, 1, 3);
    quantity_ = addEdit(QStringLiteral("项目数量："), "grou_coun", 3, 0, FieldKind::Amount);
    auto* price = new QPushButton(QStringLiteral("计算单价"), this);
    price->setObjectName(QStringLiteral("btn_price"));
    form()->addWidget(price, 3, 3);
    connect(price, &QPushButton::clicked, this, &ComponentsPanel::priceFromComponents);

    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("edt_search"));
    search_->setPlaceholderText(QStringLiteral("编码/快捷"));
    search_->setFixedWidth(150);
    candidateModel_ = new ui::RecordSetModel(
        candidates_,
        {{QStringLiteral("编码"), "item_code", {}, 50}, {QStringLiteral("项目名称"), "item_name"}}, this);
    candidateGrid_ = new QTableView(this);
    candidateGrid_->setObjectName(QStringLiteral("grd_candidates"));
    candidateGrid_->setModel(candidateModel_);
    ui::styleSideGrid(candidateGrid_);
    candidateGrid_->setColumnWidth(0, 50);
    candidateGrid_->setFixedWidth(150);
    sideColumn()->addWidget(search_);
    sideColumn()->addWidget(candidateGrid_, 1);

    connect(search_, &QLineEdit::textChanged, this, [this] { showCandidates(); });
    connect(search_, &QLineEdit::returnPressed, this,
            [this] { addCandidate(candidateGrid_->selectionModel()->currentIndex()); });
    connect(candidateGrid_, &QTableView::doubleClicked, this, &ComponentsPanel::addCandidate);
    connect(quantity_, &QLineEdit::editingFinished, this, [this] {
        // A quantity left blank means one.
        if (quantity_->text().trimmed().isEmpty() && lists_.components().current() >= 0) {
            quantity_->setText(QStringLiteral("1"));
            lists_.components().edit(QStringLiteral("grou_coun"), QStringLiteral("1"));
        }
    });
    connect(quantity_, &QLineEdit::returnPressed, this, [this] {
        search_->clear();
        search_->setFocus();
    });
    connect(&lists.components(), &MaintenanceList::currentChanged, this, &ComponentsPanel::showHeading);
    connect(&lists.components(), &MaintenanceList::rowsReset, this, &ComponentsPanel::showHeading);
}

void ComponentsPanel::showEvent(QShowEvent* event) {
    *catalogue_ = lists_.itemCatalogue();
    allCandidates_ = componentCandidates(lists_);
    search_->clear();
    showCandidates();
    ListPanel::showEvent(event);
    showHeading();
    search_->setFocus();
}

void ComponentsPanel::showHeading() {
    const MaintenanceList& items = lists_.items();
    const QString type = items.text(QStringLiteral("item_type_code"));
    heading_->setText(items.text(QStringLiteral("item_name")) + QStringLiteral("-[") +
                      nameOf(lists_.allItemTypes(), type) + QStringLiteral("]"));
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

void ComponentsPanel::showCandidates() {
    candidates_ = matchingCandidates(allCandidates_, search_->text());
    candidateModel_->refresh();
    if (!candidates_.isEmpty())
        candidateGrid_->selectionModel()->setCurrentIndex(
            candidateModel_->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ComponentsPanel::addCandidate(const QModelIndex& index) {
    if (!index.isValid() || index.row() >= candidates_.rowCount()) return;
    addComponent(lists_, candidates_.text(index.row(), QStringLiteral("item_code")));
    quantity_->setFocus();
    quantity_->selectAll();
}

void ComponentsPanel::priceFromComponents() {
    const ComponentSums sums = componentSums(lists_);
    prices_->setText(priceText(sums.price) + QStringLiteral(" / ") + priceText(sums.cost));
    if (messages::ask(QStringLiteral("请确定是否修改现在的[单价]和[成本价]!")))
        applyComponentSums(lists_, sums);
    showHeading();
}

} // namespace sorrel::backoffice
