// The hourly price bands of a time-priced consumption mode (type "9"): the band list, the bands
// that follow their mode's code, opening a mode's bands (a first copy of the standard bands), the
// check that keeps one mode's bands from overlapping, and the stretches of the day they leave
// uncovered.
#pragma once

#include "backoffice/rooms/room_lists.h"
#include "common/time_band.h"

namespace sorrel::rooms {

inline const QString kBandOverlapMessage = QStringLiteral("[时间段]已经设置，请重新设置！");

lists::ListDefinition bandList();
// A mode's new code takes its bands along; a new mode starts without any band left under its
// code. In the mode's own transaction.
void bandsFollowMode(Database& db, const lists::EditedRecord& mode);
void bandsGoWithMode(Database& db, const lists::EditedRecord& mode);

// The price-band button: saves the mode (a refusal stops: false), gives a mode without bands a
// copy of the standard bands, and reads the mode's bands as the current list.
bool openBands(RoomLists& lists);

// The stretches of the day the current mode's bands (with the pending edit) leave uncovered, as
// "hh:mm:ss-hh:mm:ss".
QStringList uncoveredText(const RoomLists& lists);

} // namespace sorrel::rooms
