// Moving an open bill: transfer ("转台") to a free table, and merge ("并台") of all its lines into
// the open bill of another table. Each checks the target the operator typed, then moves in one
// transaction that re-reads both tables and the bills first.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "frontdesk/billing/bill_settings.h"

#include <optional>

namespace sorrel::table_life {

inline const QString kTransferCode = QStringLiteral("B100004");
inline const QString kMergeCode = QStringLiteral("B100005");

inline const QString kTransferSettledMessage = QStringLiteral("现在台桌不在[使用]状态，所以不能进行[转台]！");
inline const QString kMergeSettledMessage = QStringLiteral("现在台桌不在[使用]状态，所以不能进行[并台]！");
inline const QString kTransferTargetMessage =
    QStringLiteral("此台桌[不存在]或未处于[空闲]状态，所以不能进行[转台]！");
inline const QString kMergeTargetMessage =
    QStringLiteral("要[并入]的台桌不在[使用]状态，所以不能进行[并台]！");

QString transferQuestion(const QString& from, const QString& to);
QString mergeQuestion(const QString& from, const QString& to);
QString transferredMessage(const QString& to);
QString mergedMessage(const QString& to);

// The refusal the operator sees for a typed target, or nothing when it qualifies as the
// database holds it now: a transfer needs a free table; a merge another table in use or
// re-opened.
std::optional<QString> transferTargetRefusal(Database& db, const QString& target);
std::optional<QString> mergeTargetRefusal(Database& db, const QString& from, const QString& target);

// "转台": bill `bill` leaves table `from` (in use or re-opened), which becomes free, for the free
// table `to`, which takes the bill and the state `from` had; the bill takes the target's type and
// department, its lines keep their table code. Refused (StepRefused) when either table or the
// bill changed elsewhere; any other failure is CodedFailure B100004.
void transferTable(Database& db, const QString& from, int bill, const QString& to);

// "并台": every line of bill `bill` on table `from` moves to the open bill of table `to`
// (tabl_code_old keeps `from`), bill `bill` is deleted and `from` becomes free; the target's
// sums are taken from the unrounded line values and its bill recomputed. Refused as above;
// any other failure is CodedFailure B100005. Answers the target's bill number.
int mergeTable(Database& db, const QString& from, int bill, const QString& to,
               const billing::BillSettings& settings, const Clock& clock);

} // namespace sorrel::table_life
