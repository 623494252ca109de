#include "commands.h"

#include "common/clock.h"
#include "common/db/errors.h"
#include "common/installation/database_check.h"
#include "common/installation/engine_copy.h"
#include "common/installation/new_database.h"
#include "common/installation/setup.h"
#include "common/installation/target.h"
#include "common/schema/demo_venue.h"
#include "common/schema/presets.h"
#include "common/schema/schema_version.h"
#include "common/installation/backup.h"
#include "common/installation/upgrade.h"
#include "common/db/transaction.h"
#include "common/line_summary.h"
#include "common/workstations.h"
#include "tools/demo_history/demo_history.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <exception>

namespace sorrel::tool {

namespace {

// A new file is filled under a temporary name that is removed when filling fails, so while it
// is filled a rollback journal does: each page goes into the file once instead of into the -wal
// first and then into the file, and a cache of many pages keeps the journal from being synced
// every few thousand rows. Before the file gets its name it is a venue file like any other
// (write-ahead log, durable commits); the cache lives only on this connection.
class FillingNewFile {
  public:
    explicit FillingNewFile(Database& db) : db_(db), file_(db.engine() == Engine::Embedded) {
        if (!file_) return;
        db_.query(QStringLiteral("PRAGMA journal_mode=DELETE"));
        db_.exec(QStringLiteral("PRAGMA cache_size=-65536")); // KiB
    }
    void done() const {
        if (!file_) return;
        const QString mode = db_.scalar(QStringLiteral("PRAGMA journal_mode=WAL")).toString();
        if (mode.compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
            throw DbError(QStringLiteral("新数据库不能改回预写日志模式（%1）").arg(mode));
    }

  private:
    Database& db_;
    bool file_;
};

// Makes the target and fills it (and `more` after it, in the same transaction); a failed or
// killed run leaves no database under its name.
int createWith(const QString& target, setup::Contents contents, Console& console,
               const std::function<void(Database&, const Clock&)>& more = {}) {
    try {
        const SystemClock clock;
        installation::makeNewDatabase(target, [&](Database& db) {
            const FillingNewFile filling(db);
            setup::createDatabase(db, contents, clock, [&](Database& made) {
                if (more) more(made, clock);
            });
            filling.done();
        });
    } catch (const std::exception& e) {
        console.err << QStringLiteral("sorrel-db: 创建失败：%1\n").arg(QString::fromUtf8(e.what()));
        return kFailed;
    }
    console.out << QStringLiteral("已创建数据库：%1\n").arg(target);
    console.out
        << QStringLiteral("操作员 %1 密码 %2\n").arg(presets::kAdminOperator, presets::kAdminPassword);
    if (contents == setup::Contents::DemoVenue)
        console.out
            << QStringLiteral("操作员 %1 密码 %2\n").arg(demo::kCashierOperator, demo::kCashierPassword);
    return kDone;
}

int create(const QStringList& operands, Console& console) {
    return createWith(operands.at(0), setup::Contents::Presets, console);
}

int demo(const QStringList& operands, Console& console) {
    return createWith(operands.at(0), setup::Contents::DemoVenue, console);
}

// A bar across the terminal, redrawn in place as the percentage grows.
class ProgressBar {
  public:
    explicit ProgressBar(QTextStream& out) : out_(out) {}
    void show(int percent) {
        if (percent == shown_) return;
        shown_ = percent;
        constexpr int kWidth = 40;
        const int filled = percent * kWidth / 100;
        out_ << QStringLiteral("\r[%1%2] %3%")
                    .arg(QString(filled, QLatin1Char('#')), QString(kWidth - filled, QLatin1Char('.')))
                    .arg(percent, 3);
        if (percent >= 100) out_ << QLatin1Char('\n');
        out_.flush();
    }

  private:
    QTextStream& out_;
    int shown_ = -1;
};

// The demo venue with DAYS business days of history ending yesterday, all in one transaction.
int demoWithHistory(const QStringList& operands, const QString& seedText, Console& console) {
    bool daysRead = false, seedRead = true;
    const int days = operands.at(0).toInt(&daysRead);
    const quint32 seed =
        seedText.isEmpty() ? demo_history::HistoryOptions{}.seed : seedText.toUInt(&seedRead);
    constexpr int kMostDays = 3660;
    if (!daysRead || days < 1 || days > kMostDays || !seedRead) {
        console.err
            << QStringLiteral("sorrel-db: 天数应为 1 到 %1 的整数，种子应为非负整数\n").arg(kMostDays);
        return kUsage;
    }
    demo_history::HistoryTally tally;
    QElapsedTimer timer;
    timer.start();
    ProgressBar bar(console.out);
    const int result = createWith(
        operands.last(), setup::Contents::DemoVenue, console, [&](Database& db, const Clock& clock) {
            demo_history::HistoryOptions options;
            options.days = days;
            options.seed = seed;
            options.lastDay = clock.today().addDays(-1);
            bar.show(0);
            tally = demo_history::generate(db, options, [&](int percent) { bar.show(percent); });
        });
    if (result != kDone) return result;
    console.out << QStringLiteral("营业历史：%1 天，%2 张帐单，%3 条消费明细，%4 条付款记录，%5 条交班记录，"
                                  "实收合计 %6，用时 %7 秒\n")
                       .arg(days)
                       .arg(tally.bills)
                       .arg(tally.lines)
                       .arg(tally.payments)
                       .arg(tally.handovers)
                       .arg(tally.received, 0, 'f', 2)
                       .arg(timer.elapsed() / 1000.0, 0, 'f', 1);
    return kDone;
}

int demoHistory(const QStringList& operands, Console& console) {
    return demoWithHistory(operands, QString(), console);
}

int demoHistorySeeded(const QStringList& operands, Console& console) {
    return demoWithHistory({operands.at(0), operands.at(2)}, operands.at(1), console);
}

// Looks without writing: the file is opened read-only, so not even a -wal beside it is moved in,
// and nothing is left beside it.
int check(const QStringList& operands, Console& console) {
    const QString& target = operands.at(0);
    installation::CheckReport report;
    // Per day summary, the days that differ from the rows they sum.
    QList<std::pair<const DaySummary*, QList<QDate>>> summaryOff;
    try {
        std::unique_ptr<Database> db = openTarget(target, TargetUse::ReadOnly);
        report = installation::checkDatabase(*db);
        if (report.complete() && !report.schema.older())
            for (const DaySummary* summary : daySummaries()) {
                const QList<QDate> days = daySummaryMismatches(*db, *summary);
                if (!days.isEmpty()) summaryOff.append({summary, days});
            }
    } catch (const DamagedDatabase& e) {
        console.err << e.text() << QLatin1Char('\n');
        console.err << QStringLiteral("sorrel-db: 数据库已损坏：%1\n").arg(target);
        return kFailed;
    } catch (const std::exception& e) {
        console.err << QStringLiteral("sorrel-db: 检查失败：%1\n").arg(QString::fromUtf8(e.what()));
        return kFailed;
    }
    console.out << QStringLiteral("数据库：%1\n").arg(target);
    for (const auto& [table, rows] : report.rowCounts)
        console.out << QStringLiteral("%1\t%2\n").arg(table, -20).arg(rows);
    for (const QString& table : report.schema.missingTables)
        console.err << QStringLiteral("缺少表：%1\n").arg(table);
    for (const QString& column : report.schema.missingColumns)
        console.err << QStringLiteral("缺少字段：%1\n").arg(column);
    for (const QString& view : report.schema.missingViews)
        console.err << QStringLiteral("缺少视图：%1\n").arg(view);
    for (const QString& index : report.schema.missingIndexes)
        console.err << QStringLiteral("缺少索引：%1\n").arg(index);
    if (report.schema.version > schema::kSchemaVersion) {
        console.err << QStringLiteral("sorrel-db: %1（数据库版本 %2，程序版本 %3）\n")
                           .arg(schema::kNewerDatabaseMessage)
                           .arg(report.schema.version)
                           .arg(schema::kSchemaVersion);
        return kFailed;
    }
    if (report.schema.older())
        console.err << QStringLiteral("数据库版本 %1，程序版本 %2：请运行 sorrel-db upgrade %3\n")
                           .arg(report.schema.version)
                           .arg(schema::kSchemaVersion)
                           .arg(target);
    for (const QString& damage : report.damage)
        console.err << damage << QLatin1Char('\n');
    if (!report.damage.isEmpty()) {
        console.err << QStringLiteral("sorrel-db: 数据库已损坏：%1\n").arg(target);
        return kFailed;
    }
    if (!report.complete()) {
        console.err << QStringLiteral("sorrel-db: 数据库不完整：%1\n").arg(target);
        return kFailed;
    }
    if (!summaryOff.isEmpty()) {
        for (const auto& [summary, off] : summaryOff) {
            QStringList days;
            for (const QDate& day : off)
                days << day.toString(QStringLiteral("yyyy-MM-dd"));
            console.err << QStringLiteral("按营业日的%1（%2）与%3不符：%4\n")
                               .arg(summary->caption, summary->table, summary->rowsCaption,
                                    days.join(QStringLiteral("、")));
        }
        console.err << QStringLiteral("sorrel-db: 请运行 sorrel-db summarize %1 重建汇总\n").arg(target);
        return kFailed;
    }
    for (const QString& leftover : report.leftovers)
        console.out << leftover << QLatin1Char('\n');
    console.out << QStringLiteral("完整：%1 个表全部读完，全部视图齐全\n").arg(report.rowCounts.size());
    return kDone;
}

// Moves a whole installation into a new database (a file that does not exist yet, or a server
// database without our tables): the tables and views are made, every row copied and checked.
int copy(const QStringList& operands, Console& console) {
    const QString& toTarget = operands.at(1);
    QList<TableTally> tallies;
    try {
        std::unique_ptr<Database> from = openTarget(operands.at(0), TargetUse::OpenExisting);
        int shownTenth = -1;
        const CopyProgress progress = [&](qlonglong done, qlonglong total, const QString&) {
            const int tenth = total > 0 ? int(done * 10 / total) : 10;
            if (tenth == shownTenth) return;
            shownTenth = tenth;
            console.out << QStringLiteral("已复制 %1/%2 行\n").arg(done).arg(total);
            console.out.flush();
        };
        installation::makeNewDatabase(toTarget,
                                      [&](Database& to) { tallies = copyInstallation(*from, to, progress); });
    } catch (const std::exception& e) {
        console.err << QStringLiteral("sorrel-db: 复制失败：%1\n").arg(QString::fromUtf8(e.what()));
        return kFailed;
    }
    qlonglong rows = 0;
    for (const TableTally& t : tallies) {
        rows += t.rows;
        console.out << QStringLiteral("%1\t%2\t%3\n").arg(t.table, -20).arg(t.rows).arg(t.money, 0, 'f', 2);
    }
    console.out << QStringLiteral("已复制到 %1：%2 个表 %3 行，行数和金额核对一致\n")
                       .arg(toTarget)
                       .arg(tallies.size())
                       .arg(rows);
    return kDone;
}

// The back/ folder a tool's backups go to: beside the folder of the database file (or of the
// server connection file), as the programs keep theirs; for a server address, in the working folder.
QString backFolderOf(const QString& target) {
    if (isServerTarget(target) && !target.endsWith(QLatin1String(".conf"))) return installation::backFolder(QDir::currentPath());
    return installation::backFolder(QFileInfo(QFileInfo(target).absolutePath()).absolutePath());
}

int upgrade(const QStringList& operands, Console& console) {
    const QString& target = operands.at(0);
    try {
        std::unique_ptr<Database> db = openTarget(target, TargetUse::OpenExisting);
        const SystemClock clock;
        const QStringList made = installation::upgradeDatabase(*db, backFolderOf(target), clock);
        if (made.isEmpty()) {
            console.out << QStringLiteral("数据库已是最新版本（%1）：%2\n").arg(schema::kSchemaVersion).arg(target);
            return kDone;
        }
        for (const QString& line : made)
            console.out << line << QLatin1Char('\n');
    } catch (const std::exception& e) {
        console.err << QStringLiteral("sorrel-db: 升级失败：%1\n").arg(QString::fromUtf8(e.what()));
        return kFailed;
    }
    console.out << QStringLiteral("已升级到版本 %1：%2\n").arg(schema::kSchemaVersion).arg(target);
    return kDone;
}

int summarize(const QStringList& operands, Console& console) {
    const QString& target = operands.at(0);
    try {
        std::unique_ptr<Database> db = openTarget(target, TargetUse::OpenExisting);
        installation::refuseNewerDatabase(*db);
        QElapsedTimer timer;
        timer.start();
        Transaction tx(*db);
        const int days = rebuildDaySummaries(*db);
        tx.commit();
        console.out << QStringLiteral("已按营业日重建点单、帐单和付款汇总：%1 个营业日（用时 %2 秒）\n")
                           .arg(days)
                           .arg(timer.elapsed() / 1000.0, 0, 'f', 2);
    } catch (const std::exception& e) {
        console.err << QStringLiteral("sorrel-db: 重建汇总失败：%1\n").arg(QString::fromUtf8(e.what()));
        return kFailed;
    }
    return kDone;
}

int backup(const QStringList& operands, Console& console) {
    const QString& target = operands.at(0);
    try {
        std::unique_ptr<Database> db = openTarget(target, TargetUse::OpenExisting);
        const SystemClock clock;
        QElapsedTimer timer;
        timer.start();
        const installation::BackupMade made = installation::backupDatabase(*db, backFolderOf(target), clock);
        console.out << QStringLiteral("已备份到 %1（%2 字节，用时 %3 秒）\n")
                           .arg(made.file)
                           .arg(made.bytes)
                           .arg(timer.elapsed() / 1000.0, 0, 'f', 2);
    } catch (const std::exception& e) {
        console.err << QStringLiteral("sorrel-db: 备份失败：%1\n").arg(QString::fromUtf8(e.what()));
        return kFailed;
    }
    return kDone;
}

// Restores `backup` (a file of the target's back/ folder, or any checked backup file).
int restoreFrom(const QString& target, const QString& backup, Console& console) {
    try {
        std::unique_ptr<Database> db = openTarget(target, TargetUse::OpenExisting);
        const SystemClock clock;
        QElapsedTimer timer;
        timer.start();
        installation::restoreDatabaseFrom(*db, backup, backFolderOf(target), clock);
        console.out << QStringLiteral("已从 %1 恢复（用时 %2 秒）\n")
                           .arg(backup)
                           .arg(timer.elapsed() / 1000.0, 0, 'f', 2);
    } catch (const StepRefused& e) {
        console.err << QStringLiteral("sorrel-db: 恢复失败：%1\n").arg(e.text());
        return kFailed;
    } catch (const std::exception& e) {
        console.err << QStringLiteral("sorrel-db: 恢复失败：%1\n").arg(QString::fromUtf8(e.what()));
        return kFailed;
    }
    return kDone;
}

int restore(const QStringList& operands, Console& console) {
    return restoreFrom(operands.at(0), installation::latestBackupFile(backFolderOf(operands.at(0))), console);
}

int restoreChosen(const QStringList& operands, Console& console) {
    return restoreFrom(operands.at(0), operands.at(1), console);
}

// The backups in the target's back/ folder, newest first, as the back office's restore lists them.
int backups(const QStringList& operands, Console& console) {
    const QString folder = backFolderOf(operands.at(0));
    const QList<installation::BackupEntry> entries = installation::listBackups(folder);
    if (entries.isEmpty()) {
        console.err << QStringLiteral("sorrel-db: %1 中没有备份\n").arg(folder);
        return kFailed;
    }
    for (const installation::BackupEntry& entry : entries)
        console.out << QStringLiteral("%1  %2  %3  %4\n")
                           .arg(entry.madeAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                installation::purposeCaption(entry.purpose),
                                installation::sizeCaption(entry.bytes), entry.file);
    return kDone;
}

} // namespace

const QList<Command>& commands() {
    static const QList<Command> all = {
        {QStringLiteral("create"),
         {QStringLiteral("PATH")},
         QStringLiteral("新建数据库：全部表和预置数据"),
         create},
        {QStringLiteral("demo"),
         {QStringLiteral("PATH")},
         QStringLiteral("新建数据库：预置数据和演示门店"),
         demo},
        {QStringLiteral("demo"),
         {QStringLiteral("--history"), QStringLiteral("DAYS"), QStringLiteral("PATH")},
         QStringLiteral(
             "新建数据库：演示门店和截至昨天的 DAYS 个营业日的营业历史（帐单、明细、付款、交班、日结）"),
         demoHistory},
        {QStringLiteral("demo"),
         {QStringLiteral("--history"), QStringLiteral("DAYS"), QStringLiteral("--seed"),
          QStringLiteral("SEED"), QStringLiteral("PATH")},
         QStringLiteral("同上，用另一个随机种子（同一种子总是生成同样的历史）"),
         demoHistorySeeded},
        {QStringLiteral("check"),
         {QStringLiteral("PATH")},
         QStringLiteral("只读检查数据库：文件的完整性、表、字段和视图，读完每个表的每一行并列出行数"),
         check},
        {QStringLiteral("copy"),
         {QStringLiteral("FROM"), QStringLiteral("TO")},
         QStringLiteral("把整个数据库复制到新的数据库（文件与服务器之间），复制后核对行数和金额"),
         copy},
        {QStringLiteral("upgrade"),
         {QStringLiteral("PATH")},
         QStringLiteral(
             "把旧版本的数据库升级到本程序的版本（先备份到 back 文件夹，再在一个事务中补齐表、字段和索引）"),
         upgrade},
        {QStringLiteral("summarize"),
         {QStringLiteral("PATH")},
         QStringLiteral(
             "从历史点单、帐单和付款重建按营业日的汇总（报表读它；当前营业日仍读明细），在一个事务中"),
         summarize},
        {QStringLiteral("backup"),
         {QStringLiteral("PATH")},
         QStringLiteral("备份数据库到数据文件夹旁的 back 文件夹（营业中也可进行），备份后核对"),
         backup},
        {QStringLiteral("restore"),
         {QStringLiteral("PATH")},
         QStringLiteral("用 back/vozezozarev.bak 恢复数据库（须无其它工作站在使用；当前数据库先备份）"),
         restore},
        {QStringLiteral("restore"),
         {QStringLiteral("PATH"), QStringLiteral("BACKUP")},
         QStringLiteral("用所选的备份文件 BACKUP 恢复数据库（同上）"),
         restoreChosen},
        {QStringLiteral("backups"),
         {QStringLiteral("PATH")},
         QStringLiteral("列出 back 文件夹中的备份，最新的在前：时间、类别、大小、文件"),
         backups},
    };
    return all;
}

} // namespace sorrel::tool
