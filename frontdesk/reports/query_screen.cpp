#include "frontdesk/reports/query_screen.h"

#include "common/ui/guard.h"
#include "frontdesk/reports/report_grid_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::reports {

namespace {

ReportScreen::Setup billListSetup(BillListKind kind) {
    static const struct {
        BillListKind kind;
        const char* objectName;
        const char* heading;
    } screens[] = {
        {BillListKind::Bills, "pnl_BillQuery", "帐单查询报表"},
        {BillListKind::Members, "pnl_MemberQuery", "会员查询报表"},
        {BillListKind::Credit, "pnl_CreditQuery", "挂帐查询报表"},
    };
    for (const auto& s : screens)
        if (s.kind == kind)
            return {QString::fromLatin1(s.objectName), QString::fromUtf8(s.heading), kRecountCaption,
                    {{query_tool::kDetail, QStringLiteral("明细查询"), QStyle::SP_FileDialogInfoView}}};
    return {};
}

} // namespace

BillListScreen::BillListScreen(const frontdesk::FrontDeskContext& context, BillListKind kind, QWidget* parent)
    : ReportScreen(context, billListSetup(kind), parent), kind_(kind) {
    switch (kind) {
    case BillListKind::Bills:
        filterOn_ = new QCheckBox(QStringLiteral("条件："), this);
        filterOn_->setObjectName(QStringLiteral("chk_BillFilter"));
        filterBy_ = new QComboBox(this);
        filterBy_->setObjectName(QStringLiteral("cmb_BillFilterBy"));
        filterBy_->addItems({billFilterCaption(BillFilterBy::Department), billFilterCaption(BillFilterBy::Shift)});
        filterRow()->addWidget(filterOn_);
        filterRow()->addWidget(filterBy_);
        filterValues_ = addFilterList(QStringLiteral("cmb_BillFilterValue"));
        ui::connectGuarded(filterOn_, &QCheckBox::toggled, this, [this](bool on) {
            filterBy_->setCurrentIndex(0);
            filterBy_->setVisible(on);
            filterValues_->setVisible(on);
            if (on) fillFilterValues();
        });
        ui::connectGuarded(filterBy_, &QComboBox::activated, this, &BillListScreen::fillFilterValues);
        break;
    case BillListKind::Members:
        card_ = new QLineEdit(this);
        card_->setObjectName(QStringLiteral("edt_MemberCard"));
        card_->setMaxLength(12);
        filterRow()->addWidget(new QLabel(QStringLiteral("查询会员卡号："), this));
        filterRow()->addWidget(card_);
        break;
    case BillListKind::Credit:
        guests_ = addFilterList(QStringLiteral("cmb_CreditGuest"), new QLabel(QStringLiteral("查询挂帐人员："), this));
        break;
    }
    filterRow()->addStretch(1);

    grid_ = new ReportGrid(QStringLiteral("grd_BillList"), context.db, this);
    body()->addWidget(grid_);
    ui::connectGuarded(toolbar()->button(query_tool::kDetail), &QToolButton::clicked, this,
                       &BillListScreen::openDetail);
    ui::connectGuarded(grid_, &QAbstractItemView::doubleClicked, this, &BillListScreen::openDetail);
}

void BillListScreen::resetFilters() {
    if (filterOn_) {
        filterOn_->setChecked(false);
        filterBy_->setCurrentIndex(0);
        filterBy_->hide();
        filterValues_->hide();
    }
    if (card_) card_->clear();
    if (guests_) fillChoices(guests_, {});
}

void BillListScreen::fillFilterValues() {
    fillChoices(filterValues_, choices(context_.db, filterBy_->currentIndex() == 0 ? ChoiceList::Departments
                                                                                    : ChoiceList::Shifts));
}

BillSelection BillListScreen::selection() const {
    switch (kind_) {
    case BillListKind::Members:
        return memberBillsOf(range(), card_->text());
    case BillListKind::Credit:
        return creditBillsOf(range(), {chosenCode(guests_), chosenName(guests_)});
    case BillListKind::Bills:
        break;
    }
    const bool on = filterOn_->isChecked();
    return billsOf(range(), filterBy_->currentIndex() == 0 ? BillFilterBy::Department : BillFilterBy::Shift,
                   on ? Choice{chosenCode(filterValues_), chosenName(filterValues_)} : Choice{});
}

void BillListScreen::refresh() {
    if (guests_) {
        // The guests of the dates as they stand now; the one chosen stays chosen while offered.
        const QString chosen = chosenCode(guests_);
        fillChoices(guests_, creditGuestsIn(context_.db, range()));
        guests_->setCurrentIndex(guests_->findData(chosen));
    }
    grid_->rows()->setList(billList(selection()));
    grid_->resizeColumnsToContents();
}

void BillListScreen::openDetail() {
    const ReportListModel* rows = grid_->rows();
    if (rows->rowCount() == 0) return;
    const int row = grid_->currentIndex().isValid() ? grid_->currentIndex().row() : 0;
    emit detailRequested(rows->value(row, QStringLiteral("tabl_gues_auto_recn")).toLongLong());
}

document::DocumentStream BillListScreen::printedReport() {
    const BillSelection s = selection();
    return billListDocument(context_.db, s, frame(billListTitle(kind_), s.caption));
}

QVector<exporting::Sheet> BillListScreen::exportSheets() {
    return {billListSheet(context_.db, selection(), heading())};
}

LineQueryScreen::LineQueryScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : ReportScreen(context, {QStringLiteral("pnl_LineQuery"), QStringLiteral("点单查询报表"), kRequeryCaption},
                   parent) {
    billNumber_ = new QLineEdit(this);
    billNumber_->setObjectName(QStringLiteral("edt_LineQueryBill"));
    billNumber_->setMaxLength(10);
    billNumber_->setMinimumWidth(billNumber_->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 24);
    filterRow()->addWidget(new QLabel(QStringLiteral("查询帐单号："), this));
    filterRow()->addWidget(billNumber_);
    filterRow()->addStretch(1);
    grid_ = new ReportGrid(QStringLiteral("grd_LineList"), context.db, this);
    body()->addWidget(grid_);
    // The lines have no printed layout: "预览/打印" stays without an action here.
    disconnect(toolbar()->button(report_tool::kPrint), nullptr, this, nullptr);
}

void LineQueryScreen::resetFilters() {
    billNumber_->clear();
}

void LineQueryScreen::refresh() {
    grid_->rows()->setList(orderLineList(range(), billNumber_->text()));
    grid_->resizeColumnsToContents();
}

document::DocumentStream LineQueryScreen::printedReport() {
    return orderLineDocument(context_.db, range(), billNumber_->text(),
                             frame(heading(), filterCaption(QStringLiteral("综合统计"), QStringLiteral("帐单"),
                                                            billNumber_->text().trimmed())));
}

QVector<exporting::Sheet> LineQueryScreen::exportSheets() {
    return {orderLineSheet(context_.db, range(), billNumber_->text(), heading())};
}

} // namespace sorrel::reports
