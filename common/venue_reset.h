// Emptying the venue of its business: every bill, booking, stock bill, history row and member
// top-up goes and every table is set free, while the master data, the members' balances, the
// stock counts, the settings with their counters and the log stay. The front desk's
// "初始化数据库" and the back office's "系统初始化" are this one step; it needs the database
// alone and takes a backup first.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/installation/backup.h"
#include "common/workstations.h"

#include <QString>

namespace sorrel {

inline const QString kResetQuestion = QStringLiteral("请确认是否进行清除数据库操作（测试用）,请慎重确认!");
inline const QString kInitialisationDoneMessage = QStringLiteral("系统初始化工作已完成，现在可以工作！");
inline const QString kInitialisationCode = QStringLiteral("A100008");

// The question with what goes, counted, and what stays.
QString resetQuestion(Database& db);

// Needs the database alone (watching the others with `wait`), backs it up into `backFolder`
// (`purpose`: BeforeReset or BeforeInit), then deletes and frees in one transaction. A refusal
// (another workstation at work) is StepRefused; a failed backup is DbError and nothing changed;
// a failure of the transaction rolls it back and is thrown as it came.
void resetVenue(Database& db, const QString& backFolder, const Clock& clock,
                installation::BackupPurpose purpose, const WatchWait& wait = {});
// Its two halves, for a screen that answers a failure of each differently: the watch and the
// backup; then the deletes, inside the caller's transaction.
void prepareReset(Database& db, const QString& backFolder, const Clock& clock,
                  installation::BackupPurpose purpose, const WatchWait& wait = {});
void resetVenueData(Database& db);

} // namespace sorrel
