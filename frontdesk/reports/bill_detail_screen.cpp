#include "frontdesk/reports/bill_detail_screen.h"

#include "common/ui/guard.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/reports/report_grid_panel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::reports {

BillDetailScreen::BillDetailScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnl_BillDetail"));
    setAutoFillBackground(true);
    toolbar_ = new ui::ToolStrip(QStringLiteral("pnl_BillDetailTools"),
                                 {{detail_tool::kBack, QStringLiteral("回退"), QStyle::SP_ArrowBack},
                                  {detail_tool::kHelp, QStringLiteral("帮助 /信息"), QStyle::SP_DialogHelpButton}},
                                 this);

    pages_ = new QButtonGroup(this);
    auto* pageButtons = new QHBoxLayout;
    const QStringList captions{QStringLiteral("基本信息"), QStringLiteral("结帐信息"), QStringLiteral("点单明细")};
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QPushButton(captions[i], this);
        button->setObjectName(QStringLiteral("btn_DetailPage%1").arg(i));
        button->setCheckable(true);
        pages_->addButton(button, i);
        pageButtons->addWidget(button);
    }
    pageButtons->addStretch(1);

    payments_ = new ReportGrid(QStringLiteral("grd_DetailPayments"), context.db, this);
    payments_->setMaximumSize(420, 220);
    lines_ = new ReportGrid(QStringLiteral("grd_DetailLines"), context.db, this);
    stack_ = new QStackedWidget(this);
    stack_->addWidget(fieldsPage(basicInfoFields(), nullptr));
    stack_->addWidget(fieldsPage(settlementFields(), payments_));
    stack_->addWidget(lines_);

    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(10, 6, 10, 10);
    inner->addLayout(pageButtons);
    inner->addWidget(stack_, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(toolbar_);
    column->addLayout(inner, 1);

    ui::connectGuarded(pages_, &QButtonGroup::idClicked, this, [this](int id) { showPage(Page(id)); });
    ui::connectGuarded(toolbar_->button(detail_tool::kBack), &QToolButton::clicked, this, &BillDetailScreen::back);
}

QWidget* BillDetailScreen::fieldsPage(const QList<DetailField>& fields, QWidget* above) {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    if (above) layout->addWidget(above);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    // Two captions with their values side by side on each line.
    for (int i = 0; i < fields.size(); ++i) {
        auto* value = new QLabel(page);
        value->setObjectName(QStringLiteral("lbl_Detail_") + fields[i].field);
        value->setMinimumWidth(160);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(new QLabel(fields[i].label, page), i / 2, (i % 2) * 2, Qt::AlignRight);
        grid->addWidget(value, i / 2, (i % 2) * 2 + 1);
        values_.append({fields[i], value});
    }
    grid->setColumnStretch(4, 1);
    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

bool BillDetailScreen::showBill(qint64 billNumber) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::optional<BillDetail> d;
    try {
        d = billDetail(context_.db, billNumber);
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    if (!d) return false;
    for (const auto& [field, label] : values_) label->setText(d->text(field));
    payments_->rows()->setRows(paymentColumns(), d->payments);
    lines_->rows()->setRows(detailLineColumns(), d->lines);
    showPage(BasicInfo);
    return true;
}

void BillDetailScreen::showPage(Page page) {
    pages_->button(page)->setChecked(true);
    stack_->setCurrentIndex(page);
}

BillDetailScreen::Page BillDetailScreen::page() const {
    return Page(stack_->currentIndex());
}

QString BillDetailScreen::shownValue(const QString& label) const {
    for (const auto& [field, value] : values_)
        if (field.label == label) return value->text();
    return {};
}

} // namespace sorrel::reports
