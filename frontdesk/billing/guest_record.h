// GuestRecord: one bill (a row of TableGuestlist) as a value its caller owns. The bill
// operations change it in memory; the caller posts it inside its own transaction.
#pragma once

#include "common/db/database.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

namespace sorrel::billing {

struct GuestRecord {
    int tabl_gues_auto_recn = 0; // the bill number; 0 while the bill has none
    QString tabl_gues_user_recn;
    QString tabl_code;
    QString tabl_type_code;
    QString dept_code;
    int tabl_gues_coun = 0;
    QString tabl_gues_name;
    QString tabl_gues_rema;
    QDateTime tabl_gues_time;
    QDateTime tabl_gues_time_end;
    QDateTime tabl_gues_time_work;
    QString cons_mode_code;
    QString cons_type_code;
    int cons_mode_serv = 0;
    double tabl_gues_dish = 0;
    double tabl_gues_spec = 0;
    double tabl_gues_low = 0;
    double tabl_gues_room = 0;
    double tabl_gues_unit = 0;
    double tabl_gues_serv_main = 0;
    double tabl_gues_serv_spec = 0;
    double tabl_gues_serv = 0;
    double tabl_gues_disc = 0;
    QString disc_code = QStringLiteral("N");
    int disc_perc = 0;
    double tabl_gues_tax = 0;
    bool tabl_gues_tax_real = false;
    double tabl_gues_shou = 0;
    double tabl_gues_fact = 0;
    QString tabl_gues_pay_narr;
    QString hang_code;
    QString hang_name;
    double hang_mone = 0;
    QString memb_card_code;
    QString memb_name;
    double memb_mone = 0;
    double none_mone = 0;
    double cost_mone = 0;
    QString dedu_oper_code;
    QString dedu_type;
    double dedu_mone = 0;
    QString grou_code;
    QString area_code;
    bool book_flag = false;
    QString book_oper_code;
    QString book_oper_name;
    QString orde_code;
    QString orde_name;
    QString oper_code;
    QString oper_name;
    QString dept_name;
    QString tabl_gues_stat = QStringLiteral("2");
    bool tabl_gues_use = false;
    QString tabl_name;
    QString tabl_type_name;
    QString cons_mode_name;
    QString cons_type_name;
    QString dedu_oper_name;

    bool hasBillNumber() const { return tabl_gues_auto_recn != 0; }

    // The record of bill `number`; nothing when no such bill exists.
    static std::optional<GuestRecord> load(Database& db, int number);
    // The record as row `row` of `rows` holds it: the columns of columnNames(), in that order,
    // from column `first` on. For a step that reads the bill together with what it locks.
    static GuestRecord read(const RecordSet& rows, int row, int first);

    // Writes the record: a loaded record updates, by its bill number, only the columns that
    // changed since it was loaded or last posted, so a column another workstation changed in
    // the meantime is not overwritten with a stale copy; a new record is inserted whole. A bill
    // without a number, or one that is no longer in the database, is refused with DbError.
    void post(Database& db);
    // The same for a loaded record, but written only while `condition` (over the bill's row of
    // TableGuestlist, its "?" bound to `params`) holds: false, and nothing written, when no row
    // matched it. True without a statement when nothing changed.
    bool postWhile(Database& db, const QString& condition, const QVariantList& params);
    // Whether `stored`, the bill's row as read now, still holds what this record was loaded or
    // last posted as (amounts to the cent, texts without trailing blanks): false when another
    // workstation changed the bill since, so that a step holding this record across
    // transactions refuses rather than posting a mix of its copy and the other desk's changes.
    bool unchangedIn(const GuestRecord& stored) const;

    // The value of `column` (any case) as it is bound: date-times as canonical text, yes/no as
    // 0 or 1; an invalid value for a name that is no column of the record.
    QVariant value(const QString& column) const;

    // Every column, in table order, as the database names them.
    static QStringList columnNames();
    // The value of every column, as value() binds it, in the order of columnNames().
    QVariantList values() const;

  private:
    void assign(const QVariantList& values);

    std::optional<QVariantList> posted_; // the values as the database holds them
};

} // namespace sorrel::billing
