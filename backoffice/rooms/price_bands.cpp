#include "backoffice/rooms/price_bands.h"

#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "common/time_band_store.h"

namespace sorrel::rooms {

namespace {

TimeBand bandOf(const lists::EditedRecord& r) {
    return {fromDbDateTime(r.value("cons_time_star")).time(), fromDbDateTime(r.value("cons_time_end")).time(),
            r.number("cons_time_mone")};
}

// Another band of the same mode already holds part of this one's time. Bands of other modes
// never matter: each mode prices its own rooms.
lists::Verdict refuseOverlap(Database& db, const lists::EditedRecord& r) {
    const TimeBand band = bandOf(r);
    for (const TimeBand& other : readTimeBands(db, r.text("cons_mode_code"), r.original("cons_time_code")))
        if (overlap(band, other)) return lists::Refusal{kBandOverlapMessage, {}};
    return std::nullopt;
}

QString timeText(int second) {
    return QTime(0, 0).addSecs(second).toString(QStringLiteral("hh:mm:ss"));
}

} // namespace

lists::ListDefinition bandList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("ConsTimeMode");
    d.key = QStringLiteral("cons_time_code");
    d.keyIsAutoNumber = true;
    d.masterColumn = QStringLiteral("cons_mode_code");
    d.orderBy = QStringLiteral("cons_time_code");
    d.edited = {"cons_time_star", "cons_time_end", "cons_time_mone"};
    d.defaults = {{"cons_time_star", toDbTime(QTime(12, 0))}, {"cons_time_end", toDbTime(QTime(12, 0))}};
    d.saveChecks = {refuseOverlap};
    return d;
}

void bandsFollowMode(Database& db, const lists::EditedRecord& mode) {
    if (mode.isNew()) {
        // Bands a mode of this code once left behind are no part of the new one.
        db.exec(QStringLiteral("DELETE FROM ConsTimeMode WHERE cons_mode_code = ?"),
                {mode.value("cons_mode_code")});
        return;
    }
    if (mode.changed("cons_mode_code"))
        db.exec(QStringLiteral("UPDATE ConsTimeMode SET cons_mode_code = ? WHERE cons_mode_code = ?"),
                {mode.value("cons_mode_code"), mode.original("cons_mode_code")});
}

void bandsGoWithMode(Database& db, const lists::EditedRecord& mode) {
    db.exec(QStringLiteral("DELETE FROM ConsTimeMode WHERE cons_mode_code = ?"),
            {mode.original("cons_mode_code")});
}

bool openBands(RoomLists& lists) {
    lists::MaintenanceList& modes = lists.modes();
    if (modes.current() < 0 || !modes.save()) return false;
    const QVariant code = modes.storedValue(QStringLiteral("cons_mode_code"));
    Database& db = lists.db();
    {
        // The check and the copy under one write lock: two back offices never both copy.
        Transaction tx(db);
        if (db.scalar(QStringLiteral("SELECT count(*) FROM ConsTimeMode WHERE cons_mode_code = ?"), {code})
                .toLongLong() == 0)
            db.exec(QStringLiteral("INSERT INTO ConsTimeMode (cons_mode_code, cons_time_star, cons_time_end) "
                                   "SELECT ?, cons_time_star, cons_time_end FROM ConsTimeModeTemp ORDER BY "
                                   "cons_time_star"),
                    {code});
        tx.commit();
    }
    lists.bands().reload();
    return true;
}

QStringList uncoveredText(const RoomLists& lists) {
    const lists::MaintenanceList& bands = lists.bands();
    QList<TimeBand> held;
    for (int i = 0; i < bands.rowCount(); ++i)
        held << TimeBand{fromDbDateTime(bands.rows().value(i, "cons_time_star")).time(),
                         fromDbDateTime(bands.rows().value(i, "cons_time_end")).time(), 0};
    QStringList texts;
    for (const DaySpan& gap : uncoveredSpans(held))
        texts << timeText(gap.from) + QStringLiteral("-") + timeText(gap.to);
    return texts;
}

} // namespace sorrel::rooms
