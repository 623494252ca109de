// A date picker as the front desk shows dates: yyyy-MM-dd, with the calendar dropping down.
#pragma once

#include <QString>

class QDateEdit;
class QWidget;

namespace sorrel::ui {

QDateEdit* datePicker(const QString& objectName, QWidget* parent);

} // namespace sorrel::ui
