#include "frontdesk/checkout/payments.h"

namespace sorrel::checkout {

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

CheckoutChoices loadCheckoutChoices(Database& db) {
    // Five lists in one statement. Each list's own order: payment methods by code downwards,
    // the others by code upwards.
    enum Kind { Method, Credit, Staff, Scheme, Mode };
    const RecordSet rs = db.query(QStringLiteral(
        "SELECT 0 AS kind, pay_type_code AS code, pay_type_name AS name, '' AS company, '' AS address, "
        "'' AS phone, '' AS remark, 0 AS credit_limit, 0 AS owed, '' AS up, pay_type_code AS down "
        "FROM PayTypeList "
        "UNION ALL SELECT 1, hang_gues_code, hang_gues_name, hang_gues_work, hang_gues_add, hang_gues_tele, "
        "hang_gues_rema, hang_gues_limi, hang_gues_use, hang_gues_code, '' FROM HangGues "
        "UNION ALL SELECT 2, dedu_oper_code, dedu_oper_name, '', '', '', '', 0, 0, dedu_oper_code, '' "
        "FROM deduoperatorlist "
        "UNION ALL SELECT 3, disc_code, disc_name, '', '', '', '', 0, 0, disc_code, '' FROM discountlist "
        "UNION ALL SELECT 4, cons_mode_code, cons_mode_name, '', '', '', '', 0, 0, cons_mode_code, '' "
        "FROM ConsModeList "
        "ORDER BY kind, up, down DESC"));
    CheckoutChoices choices;
    for (int i = 0; i < rs.rowCount(); ++i) {
        const RecordSet::Row r = rs.row(i);
        const QString code = r.text("code");
        const QString name = r.text("name");
        switch (Kind(r.integer("kind"))) {
        case Method:
            choices.methods.append({code.trimmed(), name, 0});
            break;
        case Credit:
            choices.creditGuests.append({code, name, r.text("company"), r.text("address"), r.text("phone"),
                                         r.text("remark"), r.number("credit_limit"), r.number("owed")});
            break;
        case Staff:
            choices.staff.append({code, name});
            break;
        case Scheme:
            choices.schemes.append({code, name});
            break;
        case Mode:
            choices.modes.append({code, name});
            break;
        }
    }
    return choices;
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
