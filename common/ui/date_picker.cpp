#include "common/ui/date_picker.h"

#include <QDateEdit>

namespace sorrel::ui {

QDateEdit* datePicker(const QString& objectName, QWidget* parent) {
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(objectName);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return picker;
}

} // namespace sorrel::ui
