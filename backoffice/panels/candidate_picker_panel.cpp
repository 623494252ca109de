#include "backoffice/panels/candidate_picker_panel.h"

#include "common/ui/grid_style.h"
#include "common/ui/guard.h"

#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

namespace sorrel::panels {

CandidatePicker::CandidatePicker(QList<ui::GridColumn> columns, const QString& placeholder, Match match,
                                 QWidget* parent)
    : QWidget(parent), match_(std::move(match)) {
    setFixedWidth(150);
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("edt_search"));
    search_->setPlaceholderText(placeholder);
    model_ = new ui::RecordSetModel(shown_, columns, this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("grd_candidates"));
    grid_->setModel(model_);
    ui::styleSideGrid(grid_);
    ui::applyColumnWidths(grid_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addWidget(search_);
    column->addWidget(grid_, 1);

    ui::connectGuarded(search_, &QLineEdit::textChanged, this, &CandidatePicker::narrow);
    ui::connectGuarded(search_, &QLineEdit::returnPressed, this,
                       [this] { pick(grid_->selectionModel()->currentIndex()); });
    ui::connectGuarded(grid_, &QTableView::doubleClicked, this, &CandidatePicker::pick);
}

void CandidatePicker::setCandidates(RecordSet all) {
    all_ = std::move(all);
    search_->clear();
    narrow();
}

void CandidatePicker::restart() {
    search_->clear();
    search_->setFocus();
}

void CandidatePicker::narrow() {
    shown_ = match_(all_, search_->text());
    model_->refresh();
    if (!shown_.isEmpty())
        grid_->selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::ClearAndSelect |
                                                                          QItemSelectionModel::Rows);
}

void CandidatePicker::pick(const QModelIndex& index) {
    if (index.isValid() && index.row() < shown_.rowCount()) emit picked(shown_, index.row());
}

} // namespace sorrel::panels
