#include "common/tables/table_refusals.h"

namespace sorrel::tables {

QString tableChangedElsewhereMessage(const QString& tableCode) {
    return QStringLiteral("[") + tableCode +
           QStringLiteral("]房台的状态已被其他工作站改变，请按房台的当前状态重新操作！");
}

QString bookingGoneMessage() {
    return QStringLiteral("此[预订信息]已被其他工作站转入或删除，请重新选择！");
}

} // namespace sorrel::tables
