// What a table step answers when the database no longer holds what the operator saw: another
// workstation opened, changed or removed the table (or took over the booking) meanwhile.
#pragma once

#include <QString>

namespace sorrel::tables {

QString tableChangedElsewhereMessage(const QString& tableCode);
QString bookingGoneMessage();

} // namespace sorrel::tables
