// "数据清理": the five boxes of the clearing panel, done together in one transaction after a
// backup, with the database alone. The basic information (items, classes, groups, tables) is
// refused as a whole while the venue still has business open on it.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/workstations.h"

#include <QDate>
#include <QString>

namespace sorrel::data {

inline const QString kNothingToClearMessage = QStringLiteral("请选择要清除的项目！");
inline const QString kClearingDoneMessage = QStringLiteral("本地数据库清除完成！");
inline const QString kClearingDatesReversedMessage =
    QStringLiteral("开始日期不能晚于结束日期，请重新选择日期！");

struct ClearingChoice {
    bool stock = false;       // "清除消费项目库存"
    bool basic = false;       // "清除基本信息（如酒菜库、房台库）"
    bool allHistory = false;  // "清除所有历史数据"
    bool someHistory = false; // "清除部分历史数据", business dates historyFrom … historyTo
    bool someLog = false;     // "清除部分日志数据", days logFrom … logTo
    QDate historyFrom, historyTo, logFrom, logTo;

    bool any() const { return stock || basic || allHistory || someHistory || someLog; }
};

// What the panel says instead of going on: nothing ticked, or a range whose start lies after its
// end; empty when the choice can be cleared.
QString clearingRefusal(const ClearingChoice& choice);

// The question before clearing, with what goes, counted.
QString clearingQuestion(Database& db, const ClearingChoice& choice);

// Needs the database alone, backs it up ("-before-clear-"), then clears every ticked box in one
// transaction: a failure anywhere clears nothing. StepRefused when another workstation is at
// work, or when the basic information is ticked while a guest record is in use, an order or
// staged line, a booking or an open stock bill is there (read inside the transaction).
void clearData(Database& db, const ClearingChoice& choice, const QString& backFolder, const Clock& clock,
               const WatchWait& wait = {});

} // namespace sorrel::data
