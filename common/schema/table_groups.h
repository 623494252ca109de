// The tables of the system by subject; schema.cpp joins them in creation order.
#pragma once

#include "common/schema/schema.h"

namespace sorrel::schema {

QList<Table> settingsTables();  // SetupPay, setupprint
QList<Table> staffTables();     // operators, levels, permissions, shifts, log, commission staff
QList<Table> venueTables();     // departments, tables, menu, consumption modes, payment types, …
QList<Table> guestTables();     // guest records, order lines, payments, bookings, members, history
QList<Table> inventoryTables(); // partners, stock bills, adjustments
QList<Table> houseTables();     // schemaversion, workstationlist, the day summaries
QList<View> storedQueries();    // viewReTotal, ViewTotalDeptEnd

} // namespace sorrel::schema
