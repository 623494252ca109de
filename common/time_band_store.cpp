#include "common/time_band_store.h"

#include "common/db_datetime.h"

namespace sorrel {

QList<TimeBand> readTimeBands(Database& db, const QString& modeCode, const QVariant& leaveOut) {
    QString sql = QStringLiteral("SELECT cons_time_star, cons_time_end, cons_time_mone FROM ConsTimeMode "
                                 "WHERE cons_mode_code = ?");
    QVariantList params{modeCode};
    if (!leaveOut.isNull()) {
        sql += QStringLiteral(" AND cons_time_code <> ?");
        params << leaveOut;
    }
    const RecordSet rows = db.query(sql + QStringLiteral(" ORDER BY cons_time_code"), params);
    QList<TimeBand> bands;
    for (int i = 0; i < rows.rowCount(); ++i)
        bands << timeBandOf(rows.row(i));
    return bands;
}

TimeBand timeBandOf(const RecordSet::Row& row) {
    return TimeBand{fromDbDateTime(row.value(QStringLiteral("cons_time_star"))).time(),
                    fromDbDateTime(row.value(QStringLiteral("cons_time_end"))).time(),
                    row.number(QStringLiteral("cons_time_mone"))};
}

} // namespace sorrel
