// Unless TZ names the zone, the C library looks at /etc/localtime again at every conversion of a
// local time, and every bill's times are converted each time they are read. Each program calls
// this first, before any other thread starts: TZ then names the zone the system has, read once.
#pragma once

namespace sorrel {

void nameLocalTimeZone();

} // namespace sorrel
