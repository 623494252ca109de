#include "tools/demo_history/demo_history.h"

#include <stdexcept>

namespace sorrel::demo_history {

HistoryTally generate(Database&, const HistoryOptions&, const ProgressReport&) {
    throw std::logic_error("demo history: not built yet");
}

} // namespace sorrel::demo_history
