// Backing up and restoring a venue's database. A backup is always one moment of the database,
// copied while the front desks go on working, into an encrypted file in back/ that is checked
// (it opens with the key, the engine finds it whole, every table and its tallies agree) before it
// takes its name; the live database is never closed, moved or replaced by a backup. A restore
// checks the backup first, backs up the current database, then copies the backup in as one
// transaction. Both work on the file and on the server; the backup file is the same for both.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/progress.h"
#include "common/workstations.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace sorrel::installation {

inline const QString kBackupDoneMessage = QStringLiteral("本地数据库压缩备份完成！");
inline const QString kRestoreDoneMessage = QStringLiteral("本地数据库恢复完成！");

// Why a backup is taken; all but a plain backup are kept under their own name and never
// become the copy a restore reads.
enum class BackupPurpose { Backup, BeforeRestore, BeforeClear, BeforeInit, BeforeReset, BeforeUpgrade };

// The back/ folder beside the programs in `programDir`.
QString backFolder(const QString& programDir);
// The copy a restore reads: back/vozezozarev.bak.
QString latestBackupFile(const QString& folder);

struct BackupMade {
    QString file; // the dated copy: back/vozezozarev-[before-…-]yyyyMMdd-HHmmss.bak
    qint64 bytes = 0;
};

// Copies `db` into a new dated file in `folder` (made when missing) and, for a plain backup,
// replaces back/vozezozarev.bak with a copy of it. Throws DbError naming the step that failed;
// nothing is left behind then, and the database is untouched.
BackupMade backupDatabase(Database& db, const QString& folder, const Clock& clock,
                          BackupPurpose purpose = BackupPurpose::Backup, const ProgressReport& progress = {});

// One backup in back/, as the restore panel lists it.
struct BackupEntry {
    QString file;
    QDateTime madeAt; // the moment in its name; for a file put there by hand, when it was written
    qint64 bytes = 0;
    BackupPurpose purpose = BackupPurpose::Backup;
};
// Every backup in `folder`, newest first: the dated backups and the copies kept before a restore,
// a clearing, an initialisation, a reset or an upgrade. back/vozezozarev.bak, the copy of the
// newest dated backup, is listed only when it is newer than every dated backup (put there by
// hand, from another machine) or there is none.
QList<BackupEntry> listBackups(const QString& folder);
// The entry a restore offers first: the newest backup made as such, else the newest copy; -1 for
// an empty list.
int defaultBackupIndex(const QList<BackupEntry>& entries);
// What the list says of a backup's kind: "数据备份", "恢复前", "清除前", …
QString purposeCaption(BackupPurpose purpose);
// A file's size for the manager: "850 KB", "12.4 MB".
QString sizeCaption(qint64 bytes);

struct BackupFound {
    QString file;
    QDateTime madeAt; // the moment in its name, else when it was written
};
// The backup a restore would read; throws DbError (the message for the manager) when there is
// none, or it does not open with the key, is damaged, lacks a table, holds no single settings
// row and bill layout, or follows a newer schema.
BackupFound checkRestorable(const QString& folder);
// The same checks of one chosen backup file.
BackupFound checkBackupFile(const QString& file);
// What the manager is asked before a restore, naming the backup's time.
QString restoreQuestion(const BackupFound& found);

// Replaces the venue's data in `db` by the backup in `folder`: checked first, the current
// database backed up ("-before-restore-"), then copied in as one transaction. The bill counter
// SetupPay.auto_recn never goes down (the higher of the two), and the table of running programs
// stays as it is. Throws DbError naming the step; the database is as before then.
// The database must be alone: the other programs are watched first with `wait` (StepRefused while
// one of them works).
void restoreDatabase(Database& db, const QString& folder, const Clock& clock,
                     const ProgressReport& progress = {}, const WatchWait& wait = {});
// The same with the backup the manager chose in `folder` (any of listBackups()).
void restoreDatabaseFrom(Database& db, const QString& backup, const QString& folder, const Clock& clock,
                         const ProgressReport& progress = {}, const WatchWait& wait = {});

} // namespace sorrel::installation
