#include "backoffice/rooms/bands_panel.h"

#include "backoffice/rooms/price_bands.h"
#include "common/db_datetime.h"
#include "common/ui/guard.h"

#include <QLabel>

namespace sorrel::rooms {

namespace {

QString timeOfDay(const QVariant& value) {
    return fromDbDateTime(value).toString(QStringLiteral("hh:mm:ss"));
}

} // namespace

BandsPanel::BandsPanel(RoomLists& lists, QWidget* parent)
    : panels::ListPanel(QStringLiteral("pnl_ConsTime"), lists.bands(),
                        {{QStringLiteral("开始时间"), "cons_time_star", timeOfDay, 90},
                         {QStringLiteral("结束时间"), "cons_time_end", timeOfDay, 90},
                         {QStringLiteral("价格/小时"), "cons_time_mone", ui::amountText}},
                        parent),
      lists_(lists) {
    heading_ = addHeading(QStringLiteral("lbl_mode"));
    addEdit(QStringLiteral("起始时间："), "cons_time_star", 1, 0, panels::FieldKind::Time);
    addEdit(QStringLiteral("结束时间："), "cons_time_end", 1, 1, panels::FieldKind::Time);
    addEdit(QStringLiteral("每小时价格："), "cons_time_mone", 2, 0, panels::FieldKind::Amount);
    gaps_ = new QLabel(this);
    gaps_->setObjectName(QStringLiteral("lbl_gaps"));
    gaps_->setWordWrap(true);
    gaps_->setStyleSheet(QStringLiteral("color: #b00000"));
    addToForm(gaps_, 3, 0, 2);
    ui::connectGuarded(&lists.bands(), &lists::MaintenanceList::rowsReset, this, &BandsPanel::showGaps);
    ui::connectGuarded(&lists.bands(), &lists::MaintenanceList::recordChanged, this, &BandsPanel::showGaps);
}

void BandsPanel::showGaps() {
    const QStringList gaps = uncoveredText(lists_);
    gaps_->setText(gaps.isEmpty() ? QString()
                                  : QStringLiteral("未设置价格的时间段：") + gaps.join(QStringLiteral("，")));
}

void BandsPanel::showEvent(QShowEvent* event) {
    heading_->setText(QStringLiteral("[") + lists_.modes().text(QStringLiteral("cons_mode_name")) +
                      QStringLiteral("]"));
    showGaps();
    panels::ListPanel::showEvent(event);
}

} // namespace sorrel::rooms
