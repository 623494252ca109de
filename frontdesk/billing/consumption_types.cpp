#include "frontdesk/billing/consumption_types.h"

#include "frontdesk/billing/room_charge.h"

#include <algorithm>

namespace sorrel::billing {

namespace {

using Start = ModeStart;

std::optional<double> noGrowth(const Stay&, const BillSettings&) {
    return std::nullopt;
}

// The unit is both the price and the room charge the bill starts with.
Start roomAtUnit(const ConsMode& mode, int, const QTime&, const BillSettings&) {
    return {.room = mode.amount, .unit = mode.amount};
}

std::optional<double> daily(const Stay& stay, const BillSettings& settings, bool halfDay) {
    return settings.intWay(stay.unit * stayDays(stay.opened, stay.now, halfDay));
}

struct Entry {
    const QString& code;
    ConsTypeRule rule;
};

const Entry kRules[] = {
    {ConsType::kFree,
     {.start = [](const ConsMode&, int, const QTime&, const BillSettings&) { return Start{}; },
      .afterStay = noGrowth}},
    {ConsType::kMinimum,
     {.start = [](const ConsMode& mode, int, const QTime&,
                  const BillSettings&) { return Start{.low = mode.amount, .unit = mode.amount}; },
      .afterStay = noGrowth}},
    // Every hour begun counts in full.
    {ConsType::kStartedHours,
     {.start = roomAtUnit,
      .afterStay = [](const Stay& stay, const BillSettings& settings) -> std::optional<double> {
          return settings.intWay(stay.unit *
                                 startedHours(stayHours(stay.opened, stay.now), settings.sumRounding));
      }}},
    {ConsType::kRoomFee, {.start = roomAtUnit, .afterStay = noGrowth}},
    {ConsType::kMinimumPerGuest,
     {.start =
          [](const ConsMode& mode, int guests, const QTime&, const BillSettings& settings) {
              return Start{.low = settings.intWay(guests * mode.amount), .unit = mode.amount};
          },
      .afterStay = noGrowth}},
    // The room starts at nothing and grows with the exact time spent.
    {ConsType::kExactHours,
     {.start = [](const ConsMode& mode, int, const QTime&,
                  const BillSettings&) { return Start{.unit = mode.amount}; },
      .afterStay = [](const Stay& stay, const BillSettings& settings) -> std::optional<double> {
          return settings.intWay(stay.unit * stayHours(stay.opened, stay.now));
      }}},
    {ConsType::kTeaPerGuest,
     {.start =
          [](const ConsMode& mode, int guests, const QTime&, const BillSettings& settings) {
              return Start{.room = settings.intWay(guests * mode.amount), .unit = mode.amount};
          },
      .afterStay = noGrowth}},
    {ConsType::kDaily,
     {.start = roomAtUnit,
      .afterStay = [](const Stay& stay,
                      const BillSettings& settings) { return daily(stay, settings, false); }}},
    // The room starts at the hourly price of the band the party comes in, and is then charged band
    // by band over the times of day of the stay.
    {ConsType::kTimeBands,
     {.start =
          [](const ConsMode& mode, int, const QTime& now, const BillSettings&) {
              const std::optional<TimeBand> band = bandAt(mode.bands, now);
              return Start{.room = band ? std::max(0.0, band->pricePerHour) : 0};
          },
      .afterStay = [](const Stay& stay, const BillSettings& settings) -> std::optional<double> {
          if (!stay.opened.isValid()) return 0;
          return settings.intWay(timeBandCharge(stay.bands, stay.opened.time(), stay.now.time()));
      },
      .pricedByBands = true}},
    // A party coming in the afternoon starts with half a day.
    {ConsType::kDailyHalfDay,
     {.start =
          [](const ConsMode& mode, int, const QTime& now, const BillSettings& settings) {
              return Start{.room = isHalfDayAfternoon(now) ? settings.intWay(mode.amount * 0.5) : mode.amount,
                           .unit = mode.amount};
          },
      .afterStay = [](const Stay& stay,
                      const BillSettings& settings) { return daily(stay, settings, true); }}},
};

} // namespace

const ConsTypeRule& consTypeRule(const QString& typeCode) {
    const QString code = typeCode.trimmed();
    for (const Entry& entry : kRules)
        if (entry.code == code) return entry.rule;
    return kRules[0].rule;
}

} // namespace sorrel::billing
