// How each consumption type charges a bill, one rule per type: what the bill starts with when
// its mode is chosen, and how its room charge follows the party's stay.
#pragma once

#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/billing/bill_snapshot.h"

#include <QDateTime>
#include <optional>

namespace sorrel::billing {

// The consumption types of ConsModeList.cons_type_code; any other code charges like kFree.
namespace ConsType {
inline const QString kFree = QStringLiteral("1");
inline const QString kMinimum = QStringLiteral("2");
inline const QString kStartedHours = QStringLiteral("3");
inline const QString kRoomFee = QStringLiteral("4");
inline const QString kMinimumPerGuest = QStringLiteral("5");
inline const QString kExactHours = QStringLiteral("6");
inline const QString kTeaPerGuest = QStringLiteral("7");
inline const QString kDaily = QStringLiteral("8");
inline const QString kTimeBands = QStringLiteral("9");
inline const QString kDailyHalfDay = QStringLiteral("A");
} // namespace ConsType

// The minimum, room charge and unit price a mode starts a bill with.
struct ModeStart {
    double low = 0;
    double room = 0;
    double unit = 0;
};

// The party's stay as the room charge sees it: the bill's unit price, its mode's bands, the
// opening and the present moment.
struct Stay {
    double unit = 0;
    const QList<TimeBand>& bands;
    QDateTime opened;
    QDateTime now;
};

struct ConsTypeRule {
    // What the mode starts the bill with for `guests` (the party as typed) at `now`.
    ModeStart (*start)(const ConsMode& mode, int guests, const QTime& now, const BillSettings& settings);
    // The room charge after the stay; nothing for a type whose charge stays as the mode set it.
    std::optional<double> (*afterStay)(const Stay& stay, const BillSettings& settings);
    // The room charge is read from the mode's price bands.
    bool pricedByBands = false;
};

// The rule of a type code (trimmed); any other code charges like ConsType::kFree.
const ConsTypeRule& consTypeRule(const QString& typeCode);

} // namespace sorrel::billing
