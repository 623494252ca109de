// Bringing a settled bill back to life: the reopening steps shared by resume ordering ("续单")
// and reverse settlement, and resume itself.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/tables/table_state_moves.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/billing/guest_record.h"

namespace sorrel::table_life {

inline const QString kResumeCode = QStringLiteral("B100003");
inline const QString kResumePermission = QStringLiteral("GB");
inline const QString kResumeNotSettledMessage =
    QStringLiteral("现在台桌不在[结帐]状态，所以不能进行[续单]！");
inline const QString kResumeQuestion = QStringLiteral("此台已结帐完毕，是否进行[续单]操作!");

// The reopening steps (Goon), inside the caller's transaction, on `guest` as held there: the
// discount, tax, payment and commission figures reset, the member card and credit account
// given back what the bill charged them (relative updates), the bill open again, its payments
// deleted, its lines no longer settled, the bill recomputed and posted, and its table, held in
// state `held`, re-opened ("4") by `move`: resume leaves the table's bill and copies as they
// are, reverse settlement puts the bill and its copies back on it.
void reopenBill(Database& db, billing::GuestRecord& guest, const QString& held, tables::TableMove move,
                const billing::BillSettings& settings, const Clock& clock);

// "续单" on settled table `tableCode` holding bill `bill`, in one transaction. Refused
// (StepRefused) when the table or the bill changed elsewhere (cleared or resumed meanwhile);
// any other failure is CodedFailure B100003. Answers the bill as reopened.
billing::GuestRecord resumeTable(Database& db, const QString& tableCode, int bill,
                                 const billing::BillSettings& settings, const Clock& clock);

} // namespace sorrel::table_life
