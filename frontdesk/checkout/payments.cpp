#include "frontdesk/checkout/payments.h"

namespace sorrel::checkout {

QList<PaymentRow> loadPaymentMethods(Database& db) {
    const RecordSet rs = db.query(
        QStringLiteral("SELECT pay_type_code, pay_type_name FROM PayTypeList ORDER BY pay_type_code DESC"));
    QList<PaymentRow> rows;
    for (int i = 0; i < rs.rowCount(); ++i)
        rows.append({rs.text(i, "pay_type_code").trimmed(), rs.text(i, "pay_type_name"), 0});
    return rows;
}

std::optional<MemberCard> findMember(Database& db, const QString& cardCode, const QString& password) {
    const RecordSet rs =
        db.query(QStringLiteral(
                     "SELECT m.memb_card_code, m.memb_name, t.memb_Type_name, m.memb_card_type, m.memb_tele, "
                     "m.memb_work, m.memb_add, m.memb_rema, m.memb_use, m.memb_surp, m.memb_disc_perc "
                     "FROM MemberList m LEFT JOIN membType t ON t.memb_type_code = m.memb_type_code "
                     "WHERE m.memb_card_code = ? AND m.memb_pass = ?"),
                 {cardCode, password});
    if (rs.isEmpty()) return std::nullopt;
    const RecordSet::Row r = rs.row(0);
    return MemberCard{r.text("memb_card_code"),
                      r.text("memb_name"),
                      r.text("memb_Type_name"),
                      r.text("memb_card_type"),
                      r.text("memb_tele"),
                      r.text("memb_work"),
                      r.text("memb_add"),
                      r.text("memb_rema"),
                      r.number("memb_use"),
                      r.number("memb_surp"),
                      int(r.integer("memb_disc_perc"))};
}

QList<CreditGuest> loadCreditGuests(Database& db) {
    const RecordSet rs = db.query(QStringLiteral(
        "SELECT hang_gues_code, hang_gues_name, hang_gues_work, hang_gues_add, hang_gues_tele, "
        "hang_gues_rema, hang_gues_limi, hang_gues_use FROM HangGues ORDER BY hang_gues_code"));
    QList<CreditGuest> guests;
    for (int i = 0; i < rs.rowCount(); ++i) {
        const RecordSet::Row r = rs.row(i);
        guests.append({r.text("hang_gues_code"), r.text("hang_gues_name"), r.text("hang_gues_work"),
                       r.text("hang_gues_add"), r.text("hang_gues_tele"), r.text("hang_gues_rema"),
                       r.number("hang_gues_limi"), r.number("hang_gues_use")});
    }
    return guests;
}

QList<DiscountScheme> loadDiscountSchemes(Database& db) {
    const RecordSet rs =
        db.query(QStringLiteral("SELECT disc_code, disc_name FROM discountlist ORDER BY disc_code"));
    QList<DiscountScheme> schemes;
    for (int i = 0; i < rs.rowCount(); ++i)
        schemes.append({rs.text(i, "disc_code"), rs.text(i, "disc_name")});
    return schemes;
}

QList<QStringList> schemeClassRates(Database& db, const QString& scheme) {
    const RecordSet rs = db.query(
        QStringLiteral(
            "SELECT COALESCE(c.clas_name, d.clas_code) AS clas_name, d.disc_clas_perc FROM DiscItem d "
            "LEFT JOIN classlist c ON c.clas_code = d.clas_code WHERE d.disc_code = ? ORDER BY d.disc_ID"),
        {scheme});
    QList<QStringList> rows;
    for (int i = 0; i < rs.rowCount(); ++i)
        rows << QStringList{rs.text(i, "clas_name"), QString::number(rs.integer(i, "disc_clas_perc"))};
    return rows;
}

} // namespace sorrel::checkout
