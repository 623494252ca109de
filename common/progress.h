// How a long step tells the operator how far it has come: a percentage from 0 to 100, reported
// after each of its parts; 100 means done.
#pragma once

#include <functional>

namespace sorrel {

using ProgressReport = std::function<void(int percent)>;

} // namespace sorrel
