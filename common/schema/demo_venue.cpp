#include "common/schema/demo_venue.h"

namespace sorrel::demo {

void write(Database&, const Clock&) {}

} // namespace sorrel::demo
