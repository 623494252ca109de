#include "frontdesk/billing/guest_record.h"

#include "common/db/errors.h"
#include "common/db/insert_statement.h"
#include "common/db_datetime.h"
#include "common/money.h"

#include <variant>

namespace sorrel::billing {

namespace {

using Member = std::variant<QString GuestRecord::*, int GuestRecord::*, double GuestRecord::*,
                            bool GuestRecord::*, QDateTime GuestRecord::*>;

struct Field {
    const char* column;
    Member member;
};

// One entry per column of TableGuestlist, in table order: loading, inserting and updating all
// read this list, so the three can never disagree about a column.
// clang-format off
#define SORREL_FIELD(name) Field{#name, &GuestRecord::name}
// clang-format on
const Field kFields[] = {
    SORREL_FIELD(tabl_gues_auto_recn), SORREL_FIELD(tabl_gues_user_recn), SORREL_FIELD(tabl_code),
    SORREL_FIELD(tabl_type_code),      SORREL_FIELD(dept_code),           SORREL_FIELD(tabl_gues_coun),
    SORREL_FIELD(tabl_gues_name),      SORREL_FIELD(tabl_gues_rema),      SORREL_FIELD(tabl_gues_time),
    SORREL_FIELD(tabl_gues_time_end),  SORREL_FIELD(tabl_gues_time_work), SORREL_FIELD(cons_mode_code),
    SORREL_FIELD(cons_type_code),      SORREL_FIELD(cons_mode_serv),      SORREL_FIELD(tabl_gues_dish),
    SORREL_FIELD(tabl_gues_spec),      SORREL_FIELD(tabl_gues_low),       SORREL_FIELD(tabl_gues_room),
    SORREL_FIELD(tabl_gues_unit),      SORREL_FIELD(tabl_gues_serv_main), SORREL_FIELD(tabl_gues_serv_spec),
    SORREL_FIELD(tabl_gues_serv),      SORREL_FIELD(tabl_gues_disc),      SORREL_FIELD(disc_code),
    SORREL_FIELD(disc_perc),           SORREL_FIELD(tabl_gues_tax),       SORREL_FIELD(tabl_gues_tax_real),
    SORREL_FIELD(tabl_gues_shou),      SORREL_FIELD(tabl_gues_fact),      SORREL_FIELD(tabl_gues_pay_narr),
    SORREL_FIELD(hang_code),           SORREL_FIELD(hang_name),           SORREL_FIELD(hang_mone),
    SORREL_FIELD(memb_card_code),      SORREL_FIELD(memb_name),           SORREL_FIELD(memb_mone),
    SORREL_FIELD(none_mone),           SORREL_FIELD(cost_mone),           SORREL_FIELD(dedu_oper_code),
    SORREL_FIELD(dedu_type),           SORREL_FIELD(dedu_mone),           SORREL_FIELD(grou_code),
    SORREL_FIELD(area_code),           SORREL_FIELD(book_flag),           SORREL_FIELD(book_oper_code),
    SORREL_FIELD(book_oper_name),      SORREL_FIELD(orde_code),           SORREL_FIELD(orde_name),
    SORREL_FIELD(oper_code),           SORREL_FIELD(oper_name),           SORREL_FIELD(dept_name),
    SORREL_FIELD(tabl_gues_stat),      SORREL_FIELD(tabl_gues_use),       SORREL_FIELD(tabl_name),
    SORREL_FIELD(tabl_type_name),      SORREL_FIELD(cons_mode_name),      SORREL_FIELD(cons_type_name),
    SORREL_FIELD(dedu_oper_name),
};
#undef SORREL_FIELD

// The value as it is bound: date-times in the one canonical text (an unset one as NULL), yes/no
// as 0 or 1.
QVariant toValue(const GuestRecord& record, const Member& member) {
    return std::visit(
        [&](auto pointer) -> QVariant {
            const auto& value = record.*pointer;
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, QDateTime>)
                return value.isValid() ? QVariant(toDbDateTime(value)) : QVariant();
            else if constexpr (std::is_same_v<T, bool>)
                return QVariant(value ? 1 : 0); // yes/no columns hold 0 and 1 on every engine
            else
                return QVariant(value);
        },
        member);
}

void fromValue(GuestRecord& record, const Member& member, const QVariant& stored) {
    std::visit(
        [&](auto pointer) {
            auto& value = record.*pointer;
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, QDateTime>)
                value = fromDbDateTime(stored);
            else if constexpr (std::is_same_v<T, QString>)
                value = stored.toString();
            else if constexpr (std::is_same_v<T, bool>)
                value = stored.toLongLong() != 0;
            else if constexpr (std::is_same_v<T, int>)
                value = int(stored.toLongLong());
            else
                value = stored.toDouble();
        },
        member);
}

const QString kTable = QStringLiteral("TableGuestlist");
const QString kKey = QStringLiteral("tabl_gues_auto_recn");

} // namespace

QStringList GuestRecord::columnNames() {
    QStringList names;
    for (const Field& field : kFields)
        names << QString::fromLatin1(field.column);
    return names;
}

QVariantList GuestRecord::values() const {
    QVariantList list;
    for (const Field& field : kFields)
        list << toValue(*this, field.member);
    return list;
}

QVariant GuestRecord::value(const QString& column) const {
    for (const Field& field : kFields)
        if (column.compare(QLatin1String(field.column), Qt::CaseInsensitive) == 0)
            return toValue(*this, field.member);
    return {};
}

void GuestRecord::assign(const QVariantList& stored) {
    int at = 0;
    for (const Field& field : kFields)
        fromValue(*this, field.member, stored.at(at++));
}

std::optional<GuestRecord> GuestRecord::load(Database& db, int number) {
    const QStringList names = columnNames();
    const RecordSet rows = db.query(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(names.join(QStringLiteral(", ")), kTable, kKey),
        {number});
    if (rows.isEmpty()) return std::nullopt;
    return read(rows, 0, 0);
}

GuestRecord GuestRecord::read(const RecordSet& rows, int row, int first) {
    QVariantList stored;
    for (int at = first; at < first + int(std::size(kFields)); ++at)
        stored << rows.value(row, at);
    GuestRecord record;
    record.assign(stored);
    record.posted_ = record.values();
    return record;
}

void GuestRecord::post(Database& db) {
    if (!hasBillNumber()) throw DbError(QStringLiteral("a bill without a number cannot be saved"));
    if (!posted_) {
        // A new bill's row: nothing reads its count, and a failure ends the step all the same.
        db.execLater(insertStatement(kTable, columnNames()), values());
        posted_ = values();
        return;
    }
    if (!postWhile(db, {}, {}))
        throw DbError(QStringLiteral("bill %1 is no longer in the database").arg(posted_->at(0).toInt()));
}

bool GuestRecord::unchangedIn(const GuestRecord& stored) const {
    if (!posted_) return false;
    GuestRecord before;
    before.assign(*posted_);
    for (const Field& field : kFields) {
        const bool same = std::visit(
            [&](auto pointer) {
                const auto& was = before.*pointer;
                const auto& now = stored.*pointer;
                using T = std::decay_t<decltype(was)>;
                if constexpr (std::is_same_v<T, double>)
                    return compareMoney(was, now) == 0;
                else if constexpr (std::is_same_v<T, QString>)
                    return was.trimmed() == now.trimmed();
                else if constexpr (std::is_same_v<T, QDateTime>)
                    return toValue(before, pointer) == toValue(stored, pointer);
                else
                    return was == now;
            },
            field.member);
        if (!same) return false;
    }
    return true;
}

bool GuestRecord::postWhile(Database& db, const QString& condition, const QVariantList& conditionParams) {
    if (!hasBillNumber() || !posted_)
        throw DbError(QStringLiteral("a bill without a number cannot be saved"));
    const QStringList names = columnNames();
    const QVariantList now = values();
    QStringList assignments;
    QVariantList params;
    const int oldNumber = posted_->at(0).toInt();
    for (int i = 0; i < names.size(); ++i) {
        if (now.at(i) == posted_->at(i)) continue;
        assignments << names.at(i) + QStringLiteral(" = ?");
        params << now.at(i);
    }
    if (assignments.isEmpty()) return true;
    params << oldNumber << conditionParams;
    const int changed =
        db.exec(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?%4")
                    .arg(kTable, assignments.join(QStringLiteral(", ")), kKey,
                         condition.isEmpty() ? QString() : QStringLiteral(" AND (") + condition + u')'),
                params);
    if (changed != 1) return false;
    posted_ = now;
    return true;
}

} // namespace sorrel::billing
