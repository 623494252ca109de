// StoreChange: the stock rule and the stock of every set meal and composite follow from their
// components — disabled if any component is, else limited if any is, else unlimited — and the
// stock is what viewReTotal allows. It joins the caller's transaction, so no front desk ever sees
// a parent between its reset and its new figures.
#pragma once

#include "common/db/database.h"

namespace sorrel::consumption {

void storeChangeSteps(Database& db);

} // namespace sorrel::consumption
