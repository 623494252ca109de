// The staff panels as the work area shows them: levels, the permission matrix of a level,
// operators, areas, groups and commission staff.
#pragma once

#include "backoffice/staff/staff_lists.h"

#include <QHash>

class QWidget;

namespace sorrel::backoffice {

// Every panel by the leaf caption the workspace shows it under.
QHash<QString, QWidget*> makeStaffPanels(StaffLists& lists, QWidget* parent);

// What a password column or field shows: never the password itself.
QString maskedPassword(const QVariant& value);

} // namespace sorrel::backoffice
