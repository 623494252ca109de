#include "common/local_time_zone.h"

#include <cstdlib>
#include <ctime>

namespace sorrel {

void nameLocalTimeZone() {
    // A TZ the system already has, even an empty one, is kept.
    setenv("TZ", ":/etc/localtime", 0);
    tzset();
}

} // namespace sorrel
