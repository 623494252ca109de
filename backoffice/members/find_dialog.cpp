#include "backoffice/members/find_dialog.h"

#include "backoffice/members/find_record.h"
#include "common/db/errors.h"
#include "common/messages.h"

#include <QInputDialog>

namespace sorrel::members {

void askAndFind(QWidget* parent, lists::MaintenanceList& list, const QString& numberColumn,
                const QString& nameColumn) {
    bool ok = false;
    const QString typed = QInputDialog::getText(
        parent, messages::title(), QStringLiteral("请输入编号或名称："), QLineEdit::Normal, QString(), &ok);
    if (!ok) return;
    try {
        findInList(list, numberColumn, nameColumn, typed);
    } catch (const StepRefused& refused) {
        messages::information(refused.text());
    }
}

} // namespace sorrel::members
