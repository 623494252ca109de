#include "backoffice/consumption/class_rates.h"

#include "common/db/transaction.h"

namespace sorrel::consumption {

bool openRates(ConsumptionLists& lists) {
    lists::MaintenanceList& schemes = lists.schemes();
    if (schemes.current() < 0 || !schemes.save()) return false;
    lists.rates().reload();
    return true;
}

RecordSet rateCandidates(ConsumptionLists& lists) {
    return lists.db().query(
        QStringLiteral("SELECT clas_code, clas_name FROM classlist WHERE kind_code <> ? ORDER BY clas_code"),
        {kIngredientKind});
}

RecordSet matchingClasses(const RecordSet& candidates, const QString& typed) {
    const QString prefix = typed.trimmed();
    if (prefix.isEmpty()) return candidates;
    return candidates.filtered(
        [&](const RecordSet::Row& row) { return row.text(QStringLiteral("clas_code")).startsWith(prefix); });
}

void addRate(ConsumptionLists& lists, const QString& classCode) {
    lists::MaintenanceList& rates = lists.rates();
    if (!rates.saveIfPending()) return;
    const QVariant scheme = lists.schemes().storedValue(QStringLiteral("disc_code"));
    Database& db = lists.db();
    {
        Transaction tx(db);
        if (db.scalar(QStringLiteral("SELECT count(*) FROM DiscItem WHERE disc_code = ? AND clas_code = ?"),
                      {scheme, classCode})
                .toLongLong() == 0)
            db.exec(QStringLiteral(
                        "INSERT INTO DiscItem (disc_code, clas_code, disc_clas_perc) VALUES (?, ?, 90)"),
                    {scheme, classCode});
        tx.commit();
    }
    rates.reload();
    rates.moveTo(rates.rows().locate({{QStringLiteral("clas_code"), classCode}}));
}

} // namespace sorrel::consumption
