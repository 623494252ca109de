// The printed handover report "员工交班报表": the sheet the cashier handed over, line by line,
// and its sums over every payment method, the waiver included. A4 in the office, readable on
// the 80 mm roll of the cash desk.
#pragma once

#include "common/document/document.h"
#include "frontdesk/day/shift_handover.h"

namespace sorrel::day {

struct HandoverReportInfo {
    QString venueName;    // SetupPay.user_name
    QString operatorName; // who hands over
    QString note;
    QDateTime printedAt;
};

document::Document handoverReport(const HandoverSheet& sheet, const HandoverReportInfo& info);

} // namespace sorrel::day
