// How figures are written on printed documents: money to the cent, quantities without
// trailing zeros.
#pragma once

#include "common/document/document.h"

namespace sorrel::document {

// The text of a figure; Text writes the figure as it is.
QString formatNumber(double value, NumberFormat format);

} // namespace sorrel::document
