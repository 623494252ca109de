// The rates of a discount scheme per class, edited from the scheme panel: which classes may get
// a rate (never the ingredients'), and adding one at 90 %.
#pragma once

#include "backoffice/consumption/consumption_lists.h"

namespace sorrel::consumption {

// Saves the current scheme and reads its rates afresh; false when there is no scheme or its
// save is refused.
bool openRates(ConsumptionLists& lists);
// Columns clas_code, clas_name, by code.
RecordSet rateCandidates(ConsumptionLists& lists);
RecordSet matchingClasses(const RecordSet& candidates, const QString& typed);
// A class that has no rate in the scheme yet gets one of 90; either way its rate becomes current.
void addRate(ConsumptionLists& lists, const QString& classCode);

} // namespace sorrel::consumption
