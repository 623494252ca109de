// "日志查询": the system log of whole business days, newest first.
#pragma once

#include "common/db/database.h"

#include <QDate>
#include <QDateTime>
#include <QList>

namespace sorrel::data {

inline const QString kLogDatesReversedMessage = QStringLiteral("开始日期不能晚于结束日期，请重新选择日期！");

struct LogEntry {
    QString operatorName; // log_oper_name
    QDateTime time;       // log_time
    QString action;       // log_oper
};

// The rows logged from the first moment of `from` to the last of `to`, both days included,
// newest first. StepRefused (kLogDatesReversedMessage) when `from` lies after `to`.
QList<LogEntry> loadSystemLog(Database& db, const QDate& from, const QDate& to);

} // namespace sorrel::data
