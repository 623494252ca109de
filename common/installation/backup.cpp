#include "common/installation/backup.h"

#include "common/db/connection.h"
#include "common/db/database_file.h"
#include "common/db/errors.h"
#include "common/db/sqlite_database.h"
#include "common/db/transaction.h"
#include "common/installation/database_check.h"
#include "common/installation/database_files.h"
#include "common/installation/engine_copy.h"
#include "common/installation/new_database.h"
#include "common/schema/schema_version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace sorrel::installation {

namespace {

const QString kBaseName = QStringLiteral("vozezozarev");
const QString kRunningPrograms = QStringLiteral("workstationlist");

QString purposeTag(BackupPurpose purpose) {
    switch (purpose) {
    case BackupPurpose::Backup:
        return {};
    case BackupPurpose::BeforeRestore:
        return QStringLiteral("before-restore-");
    case BackupPurpose::BeforeClear:
        return QStringLiteral("before-clear-");
    case BackupPurpose::BeforeInit:
        return QStringLiteral("before-init-");
    case BackupPurpose::BeforeReset:
        return QStringLiteral("before-reset-");
    case BackupPurpose::BeforeUpgrade:
        return QStringLiteral("before-upgrade-");
    }
    return {};
}

void report(const ProgressReport& progress, int percent) {
    if (progress) progress(percent);
}

// Flushes a file, or a folder's new names, to the disk.
void syncToDisk(const QString& path, bool folder) {
    const int fd = ::open(QFile::encodeName(path).constData(), folder ? O_RDONLY | O_DIRECTORY : O_RDWR);
    if (fd < 0) throw DbError(QStringLiteral("无法写入：%1（%2）").arg(path, qt_error_string(errno)));
    const int synced = ::fsync(fd);
    ::close(fd);
    if (synced != 0) throw DbError(QStringLiteral("无法写入：%1（%2）").arg(path, qt_error_string(errno)));
}

// An empty file only its owner can read, made afresh.
void makeOwnerOnlyFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) throw DbError(QStringLiteral("无法创建文件：%1（%2）").arg(path, qt_error_string(errno)));
    ::close(fd);
}

// Over an older file of the same name, in one step: a reader finds the old copy or the new one.
void renameOver(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw DbError(QStringLiteral("无法将 %1 改名为 %2（%3）").arg(from, to, qt_error_string(errno)));
}

// The dated names: vozezozarev-[before-…-]yyyyMMdd-HHmmss[-n].bak.
const QRegularExpression& datedPattern() {
    static const QRegularExpression pattern(QStringLiteral(
        "^vozezozarev-(?:before-(restore|clear|init|reset|upgrade)-)?(\\d{8}-\\d{6})(?:-(\\d+))?\\.bak$"));
    return pattern;
}

BackupPurpose purposeNamed(const QString& tag) {
    if (tag == QLatin1String("restore")) return BackupPurpose::BeforeRestore;
    if (tag == QLatin1String("clear")) return BackupPurpose::BeforeClear;
    if (tag == QLatin1String("init")) return BackupPurpose::BeforeInit;
    if (tag == QLatin1String("reset")) return BackupPurpose::BeforeReset;
    if (tag == QLatin1String("upgrade")) return BackupPurpose::BeforeUpgrade;
    return BackupPurpose::Backup;
}

// The moment a backup's name gives; invalid for a name without one.
QDateTime momentInName(const QString& fileName) {
    const QRegularExpressionMatch m = datedPattern().match(fileName);
    if (!m.hasMatch()) return {};
    return QDateTime::fromString(m.captured(2), QStringLiteral("yyyyMMdd-HHmmss"));
}

QString integrity(Database& db) {
    return db.scalar(QStringLiteral("PRAGMA integrity_check(1)")).toString();
}

// The copy opens with the key, the engine finds it whole, it has the tables the source has, and
// every table holds what the source held at the moment of the copy.
void checkCopy(const QString& path, const QList<TableTally>& tallies, const QStringList& missingAtSource) {
    SqliteDatabase copy(path, databasePassword(), SqliteDatabase::Mode::ReadOnly);
    const QString found = integrity(copy);
    if (found != QLatin1String("ok")) throw DbError(QStringLiteral("备份文件检查不通过：%1").arg(found));
    const QStringList missing = checkSchema(copy).missingTables;
    for (const QString& table : missing)
        if (!missingAtSource.contains(table))
            throw DbError(QStringLiteral("备份文件缺少数据表：%1").arg(table));
    const QStringList mismatches = tallyMismatches(tallies, tallyInstallation(copy));
    if (!mismatches.isEmpty())
        throw DbError(QStringLiteral("备份文件与数据库核对不符：\n") + mismatches.join(QLatin1Char('\n')));
}

// The file: a second connection reads one moment of the database and the engine copies its
// pages in one step; the working connection goes on as it was.
void copyFile(Database& db, const QString& copying, const ProgressReport& progress) {
    SqliteDatabase reading(db.location(), databasePassword(), SqliteDatabase::Mode::OpenExisting);
    Transaction moment(reading, Transaction::ReadingOnly{});
    const QList<TableTally> tallies = tallyInstallation(reading);
    const QStringList missing = checkSchema(reading).missingTables;
    report(progress, 20);
    makeOwnerOnlyFile(copying);
    reading.copyTo(copying, databasePassword());
    moment.commit();
    report(progress, 60);
    checkCopy(copying, tallies, missing);
}

// The server: every row read in one snapshot into a new encrypted file, then given a rollback
// journal and compacted like the file's copy.
void copyServer(Database& db, const QString& copying, const ProgressReport& progress) {
    QList<TableTally> tallies;
    QStringList missing;
    makeNewDatabase(copying, [&](Database& to) {
        missing = checkSchema(db).missingTables;
        tallies = copyInstallation(db, to, [&](qlonglong done, qlonglong total, const QString&) {
            report(progress, total > 0 ? int(10 + done * 50 / total) : 60);
        });
    });
    {
        SqliteDatabase copy(copying, databasePassword(), SqliteDatabase::Mode::OpenExisting);
        copy.query(QStringLiteral("PRAGMA journal_mode=DELETE"));
        copy.exec(QStringLiteral("VACUUM"));
    }
    checkCopy(copying, tallies, missing);
}

QString datedName(const QString& folder, const Clock& clock, BackupPurpose purpose) {
    const QString stem = QStringLiteral("%1/%2-%3%4")
                             .arg(folder, kBaseName, purposeTag(purpose),
                                  clock.now().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString name = stem + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(name) || QFileInfo::exists(name + QStringLiteral(".incomplete")); ++n)
        name = QStringLiteral("%1-%2.bak").arg(stem).arg(n);
    return name;
}

int settingsRows(Database& db, const QString& table) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt();
}

qlonglong billCounter(Database& db) {
    return db.scalar(QStringLiteral("SELECT max(auto_recn) FROM SetupPay")).toLongLong();
}

// The file: the backup is prepared beside it (the bill counter and the running programs of the
// live database put in), then its pages replace the live ones in one step.
void restoreFile(Database& db, const QString& backup, const QString& folder) {
    auto* live = dynamic_cast<SqliteDatabase*>(&db);
    if (!live) throw DbError(QStringLiteral("数据恢复：数据库连接不是文件"));
    const QString staging =
        folder + QStringLiteral("/") + kBaseName + QStringLiteral("-restoring.incomplete");
    removeDatabaseFile(staging);
    try {
        makeOwnerOnlyFile(staging);
        QFile::remove(staging);
        if (!QFile::copy(backup, staging))
            throw DbError(QStringLiteral("数据恢复：无法复制备份文件到 %1").arg(staging));
        QFile::setPermissions(staging, QFile::ReadOwner | QFile::WriteOwner);
        const qlonglong counter = billCounter(db);
        const RecordSet running = db.query(QStringLiteral("SELECT * FROM workstationlist"));
        {
            SqliteDatabase prepared(staging, databasePassword(), SqliteDatabase::Mode::OpenExisting);
            Transaction tx(prepared);
            prepared.exec(QStringLiteral("UPDATE SetupPay SET auto_recn = ? WHERE auto_recn < ?"),
                          {counter, counter});
            if (!prepared.columnsOf(kRunningPrograms).isEmpty()) {
                prepared.exec(QStringLiteral("DELETE FROM workstationlist"));
                for (int r = 0; r < running.rowCount(); ++r)
                    prepared.exec(
                        QStringLiteral("INSERT INTO workstationlist (work_id, work_machine, work_program, "
                                       "work_operator, work_beat) VALUES (?, ?, ?, ?, ?)"),
                        {running.value(r, "work_id"), running.value(r, "work_machine"),
                         running.value(r, "work_program"), running.value(r, "work_operator"),
                         running.value(r, "work_beat")});
            }
            tx.commit();
            prepared.query(QStringLiteral("PRAGMA journal_mode=DELETE"));
        }
        live->replaceWith(staging, databasePassword());
    } catch (...) {
        removeDatabaseFile(staging);
        throw;
    }
    removeDatabaseFile(staging);
}

// The server: every row deleted and copied from the backup in one transaction, tallied.
void restoreServer(Database& db, const QString& backup, const ProgressReport& progress) {
    SqliteDatabase from(backup, databasePassword(), SqliteDatabase::Mode::ReadOnly);
    Transaction tx(db);
    const qlonglong counter =
        db.scalar(QStringLiteral("SELECT auto_recn FROM SetupPay") + db.lockRowsClause()).toLongLong();
    replaceInstallationRows(from, db, {kRunningPrograms},
                            [&](qlonglong done, qlonglong total, const QString&) {
                                report(progress, total > 0 ? int(50 + done * 45 / total) : 95);
                            });
    db.exec(QStringLiteral("UPDATE SetupPay SET auto_recn = ? WHERE auto_recn < ?"), {counter, counter});
    report(progress, 99);
    tx.commit();
}

} // namespace

QString backFolder(const QString& programDir) {
    return QDir(programDir).filePath(QStringLiteral("back"));
}

QString latestBackupFile(const QString& folder) {
    return QDir(folder).filePath(kBaseName + QStringLiteral(".bak"));
}

BackupMade backupDatabase(Database& db, const QString& folder, const Clock& clock, BackupPurpose purpose,
                          const ProgressReport& progress) {
    if (!QDir().mkpath(folder))
        throw DbError(QStringLiteral("数据备份失败：无法建立备份文件夹 %1").arg(folder));
    const QString dated = datedName(folder, clock, purpose);
    const QString copying = dated + QStringLiteral(".incomplete");
    const QString latest = latestBackupFile(folder);
    const QString latestCopying = latest + QStringLiteral(".incomplete");
    report(progress, 0);
    try {
        if (db.engine() == Engine::Embedded)
            copyFile(db, copying, progress);
        else
            copyServer(db, copying, progress);
        report(progress, 80);
        syncToDisk(copying, false);
        renameOver(copying, dated);
        if (purpose == BackupPurpose::Backup) {
            QFile::remove(latestCopying);
            if (!QFile::copy(dated, latestCopying))
                throw DbError(QStringLiteral("无法写入 %1").arg(latestCopying));
            QFile::setPermissions(latestCopying, QFile::ReadOwner | QFile::WriteOwner);
            syncToDisk(latestCopying, false);
            renameOver(latestCopying, latest);
        }
        syncToDisk(folder, true);
    } catch (const DbError& e) {
        removeDatabaseFile(copying);
        QFile::remove(latestCopying);
        if (QFileInfo::exists(dated) && !QFileInfo::exists(copying)) QFile::remove(dated);
        throw DbError(QStringLiteral("数据备份失败，数据库未作任何改动：%1").arg(e.reason()));
    }
    report(progress, 100);
    return {dated, QFileInfo(dated).size()};
}

QList<BackupEntry> listBackups(const QString& folder) {
    QList<BackupEntry> entries;
    QDateTime newestBackup;
    const QFileInfoList files =
        QDir(folder).entryInfoList({kBaseName + QStringLiteral("*.bak")}, QDir::Files, QDir::Name);
    struct Sortable {
        BackupEntry entry;
        int n = 1;
    };
    QList<Sortable> found;
    for (const QFileInfo& info : files) {
        const QRegularExpressionMatch m = datedPattern().match(info.fileName());
        if (!m.hasMatch()) continue;
        const QDateTime at = QDateTime::fromString(m.captured(2), QStringLiteral("yyyyMMdd-HHmmss"));
        if (!at.isValid()) continue;
        const BackupPurpose purpose = purposeNamed(m.captured(1));
        found.append({{info.filePath(), at, info.size(), purpose},
                      m.captured(3).isEmpty() ? 1 : m.captured(3).toInt()});
        if (purpose == BackupPurpose::Backup &&
            (!newestBackup.isValid() || info.lastModified() > newestBackup))
            newestBackup = info.lastModified();
    }
    // The copy a backup leaves as vozezozarev.bak is written a moment after its dated file.
    const QFileInfo latest(latestBackupFile(folder));
    if (latest.isFile() && (!newestBackup.isValid() || latest.lastModified() > newestBackup.addSecs(60)))
        found.append({{latest.filePath(), latest.lastModified(), latest.size(), BackupPurpose::Backup}, 0});
    std::stable_sort(found.begin(), found.end(), [](const Sortable& a, const Sortable& b) {
        if (a.entry.madeAt != b.entry.madeAt) return a.entry.madeAt > b.entry.madeAt;
        return a.n > b.n;
    });
    for (const Sortable& s : std::as_const(found))
        entries.append(s.entry);
    return entries;
}

int defaultBackupIndex(const QList<BackupEntry>& entries) {
    for (int i = 0; i < entries.size(); ++i)
        if (entries[i].purpose == BackupPurpose::Backup) return i;
    return entries.isEmpty() ? -1 : 0;
}

QString purposeCaption(BackupPurpose purpose) {
    switch (purpose) {
    case BackupPurpose::Backup:
        return QStringLiteral("数据备份");
    case BackupPurpose::BeforeRestore:
        return QStringLiteral("恢复前");
    case BackupPurpose::BeforeClear:
        return QStringLiteral("清除前");
    case BackupPurpose::BeforeInit:
        return QStringLiteral("初始化前");
    case BackupPurpose::BeforeReset:
        return QStringLiteral("重置前");
    case BackupPurpose::BeforeUpgrade:
        return QStringLiteral("升级前");
    }
    return {};
}

QString sizeCaption(qint64 bytes) {
    if (bytes < 1024 * 1024) return QStringLiteral("%1 KB").arg((bytes + 1023) / 1024);
    return QStringLiteral("%1 MB").arg(double(bytes) / (1024 * 1024), 0, 'f', 1);
}

BackupFound checkRestorable(const QString& folder) {
    return checkBackupFile(latestBackupFile(folder));
}

BackupFound checkBackupFile(const QString& file) {
    if (!QFileInfo(file).isFile())
        throw DbError(QStringLiteral("找不到备份文件：%1").arg(QDir::toNativeSeparators(file)));
    std::unique_ptr<SqliteDatabase> backup;
    try {
        backup = std::make_unique<SqliteDatabase>(file, databasePassword(), SqliteDatabase::Mode::ReadOnly);
    } catch (const DbError& e) {
        throw DbError(QStringLiteral("备份文件无法打开，数据库未作任何改动：%1").arg(e.reason()));
    }
    try {
        const QString found = integrity(*backup);
        if (found != QLatin1String("ok"))
            throw DbError(QStringLiteral("备份文件已损坏，数据库未作任何改动：%1").arg(found));
        if (schema::storedSchemaVersion(*backup) > schema::kSchemaVersion)
            throw DbError(QStringLiteral("备份文件的数据库版本比程序新，请升级程序！"));
        const SchemaReport report = checkSchema(*backup);
        if (!report.complete() && schema::storedSchemaVersion(*backup) == schema::kSchemaVersion)
            throw DbError(
                QStringLiteral("备份文件不完整，数据库未作任何改动：缺少 %1")
                    .arg((report.missingTables + report.missingColumns).join(QStringLiteral("、"))));
        for (const QString& required : {QStringLiteral("SetupPay"), QStringLiteral("TableGuestlist"),
                                        QStringLiteral("TableConsList"), QStringLiteral("setupprint")})
            if (report.missingTables.contains(required))
                throw DbError(QStringLiteral("备份文件不完整，数据库未作任何改动：缺少 %1").arg(required));
        if (settingsRows(*backup, QStringLiteral("SetupPay")) != 1 ||
            settingsRows(*backup, QStringLiteral("setupprint")) != 1)
            throw DbError(QStringLiteral("备份文件中的系统设置不完整，数据库未作任何改动"));
    } catch (const DbError& e) {
        if (e.reason().contains(QStringLiteral("数据库未作任何改动")) ||
            e.reason().contains(QStringLiteral("升级程序")))
            throw;
        throw DbError(QStringLiteral("备份文件无法读取，数据库未作任何改动：%1").arg(e.reason()));
    }
    const QDateTime named = momentInName(QFileInfo(file).fileName());
    return {file, named.isValid() ? named : QFileInfo(file).lastModified()};
}

QString restoreQuestion(const BackupFound& found) {
    return QStringLiteral(
               "将用 %1 的备份（%2）恢复数据库，当前数据库会先备份到 back 文件夹。\n是否确定恢复？")
        .arg(found.madeAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
             QDir::toNativeSeparators(found.file));
}

void restoreDatabase(Database& db, const QString& folder, const Clock& clock,
                     const ProgressReport& progress, const WatchWait& wait) {
    restoreDatabaseFrom(db, latestBackupFile(folder), folder, clock, progress, wait);
}

void restoreDatabaseFrom(Database& db, const QString& backup, const QString& folder, const Clock& clock,
                         const ProgressReport& progress, const WatchWait& wait) {
    const BackupFound found = checkBackupFile(backup);
    requireDatabaseAlone(db, ownWorkstationId(), wait);
    // Alone, no other program is making a backup: a half-written copy left here was cut short
    // (a program killed or the power gone) and goes.
    for (const QString& left :
         QDir(folder).entryList({kBaseName + QStringLiteral("-*.incomplete")}, QDir::Files))
        removeDatabaseFile(QDir(folder).filePath(left));
    report(progress, 0);
    backupDatabase(db, folder, clock, BackupPurpose::BeforeRestore,
                   [&](int percent) { report(progress, percent / 2); });
    try {
        if (db.engine() == Engine::Embedded)
            restoreFile(db, found.file, folder);
        else
            restoreServer(db, found.file, progress);
    } catch (const DatabaseBusy&) {
        throw;
    } catch (const DbError& e) {
        throw DbError(QStringLiteral("数据恢复失败，数据库未作任何改动：%1").arg(e.reason()));
    }
    report(progress, 100);
}

} // namespace sorrel::installation
