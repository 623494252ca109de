#include "frontdesk/day/current_statistics.h"

namespace sorrel::day {

const QStringList& statisticsColumns() {
    static const QStringList columns{
        QStringLiteral("部门名称"), QStringLiteral("已清数"),   QStringLiteral("已清金额"),
        QStringLiteral("已结数"),   QStringLiteral("已结金额"), QStringLiteral("待结数"),
        QStringLiteral("待结金额"), QStringLiteral("合计数"),   QStringLiteral("合计金额"),
    };
    return columns;
}

RecordSet loadCurrentStatistics(Database& db) {
    QStringList quoted;
    for (const QString& column : statisticsColumns())
        quoted << QLatin1Char('"') + column + QLatin1Char('"');
    return db.query(QStringLiteral("SELECT %1 FROM ViewTotalDeptEnd").arg(quoted.join(QStringLiteral(", "))));
}

bool isTotalRow(const RecordSet& statistics, int row) {
    return statistics.text(row, statisticsColumns().first()).trimmed() == QStringLiteral("总计");
}

} // namespace sorrel::day
