// The price bands of a consumption mode as the database holds them (ConsTimeMode), read the
// same way by the front desk that prices a stay and the back office that checks a band.
#pragma once

#include "common/db/database.h"
#include "common/time_band.h"

namespace sorrel {

// The mode's bands in stored order (ascending cons_time_code); with `leaveOut`, without the band
// of that number.
QList<TimeBand> readTimeBands(Database& db, const QString& modeCode, const QVariant& leaveOut = {});

// One band from a row holding cons_time_star, cons_time_end and cons_time_mone, for a read that
// takes the bands together with something else.
TimeBand timeBandOf(const RecordSet::Row& row);

} // namespace sorrel
