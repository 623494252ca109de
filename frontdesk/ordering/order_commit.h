// The commit of an order (落单): the staged lines of one bill priced, their set meals' components
// multiplied out, copied onto the bill, the stock taken out and the bill's totals recomputed, all
// in one transaction.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/progress.h"
#include "frontdesk/billing/guest_record.h"

namespace sorrel::ordering {

inline const QString kCommitOrderCode = QStringLiteral("B100007");

// Commits the staged lines of bill `billNumber` and answers the bill as saved. Inside the
// transaction the table must still be open with this bill, and no limited item may be ordered
// beyond the stock the database holds now (another workstation may have sold it meanwhile):
// either refusal is a StepRefused with nothing written and the staged lines kept. The staged
// lines go with the commit. Any other failure rolls everything back and throws
// CodedFailure(B100007), the staged lines kept. A refusal names `tableCode`, the table the
// order was typed at, when the bill and its staged lines are gone (merged away meanwhile).
billing::GuestRecord commitOrder(Database& db, int billNumber, const Clock& clock,
                                 const ProgressReport& progress = {}, const QString& tableCode = {});

} // namespace sorrel::ordering
