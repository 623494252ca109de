#include "backoffice/consumption/rates_panel.h"

#include "backoffice/consumption/class_rates.h"
#include "common/ui/grid_style.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace sorrel::backoffice {

RatesPanel::RatesPanel(ConsumptionLists& lists, QWidget* parent)
    : RatesPanel(lists, parent, std::make_shared<Choices>()) {}

RatesPanel::RatesPanel(ConsumptionLists& lists, QWidget* parent, std::shared_ptr<Choices> classNames)
    : ListPanel(QStringLiteral("pnl_DiscItem"), lists.rates(),
                {{QStringLiteral("编码"), "clas_code", {}, 60},
                 {QStringLiteral("分类名称"), "clas_code",
                  [classNames](const QVariant& v) { return nameOf(*classNames, v.toString()); }, 160},
                 {QStringLiteral("折扣率"), "disc_clas_perc", ui::percentText}},
                parent),
      lists_(lists), classNames_(std::move(classNames)) {
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("lbl_scheme"));
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    addToForm(heading_, 0, 0, 2);
    rate_ = addEdit(QStringLiteral("折扣率　："), "disc_clas_perc", 1, 0, FieldKind::Digits);
    rate_->setPlaceholderText(QStringLiteral("%"));

    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("edt_search"));
    search_->setPlaceholderText(QStringLiteral("分类编码"));
    search_->setFixedWidth(150);
    candidateModel_ = new ui::RecordSetModel(
        candidates_,
        {{QStringLiteral("编码"), "clas_code", {}, 50}, {QStringLiteral("分类名称"), "clas_name"}}, this);
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
    connect(candidateGrid_, &QTableView::doubleClicked, this, &RatesPanel::addCandidate);
    connect(rate_, &QLineEdit::returnPressed, this, [this] {
        search_->clear();
        search_->setFocus();
    });
}

void RatesPanel::showEvent(QShowEvent* event) {
    *classNames_ = lists_.classChoices();
    allCandidates_ = rateCandidates(lists_);
    search_->clear();
    showCandidates();
    heading_->setText(QStringLiteral("[") + lists_.schemes().text(QStringLiteral("disc_name")) +
                      QStringLiteral("]"));
    ListPanel::showEvent(event);
    search_->setFocus();
}

void RatesPanel::showCandidates() {
    candidates_ = matchingClasses(allCandidates_, search_->text());
    candidateModel_->refresh();
    if (!candidates_.isEmpty())
        candidateGrid_->selectionModel()->setCurrentIndex(
            candidateModel_->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void RatesPanel::addCandidate(const QModelIndex& index) {
    if (!index.isValid() || index.row() >= candidates_.rowCount()) return;
    addRate(lists_, candidates_.text(index.row(), QStringLiteral("clas_code")));
    rate_->setFocus();
    rate_->selectAll();
}

} // namespace sorrel::backoffice
