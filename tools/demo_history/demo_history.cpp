#include "tools/demo_history/demo_history.h"

#include "common/business_day.h"
#include "common/clock.h"
#include "common/db/code_names.h"
#include "common/db/dialect.h"
#include "common/db/errors.h"
#include "common/db/row_batch.h"
#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "common/money.h"
#include "common/schema/row_insert.h"
#include "common/schema/schema.h"
#include "common/settings_row.h"
#include "frontdesk/billing/bill_core.h"
#include "frontdesk/billing/bill_store.h"
#include "frontdesk/checkout/column_fit.h"
#include "frontdesk/checkout/payments.h"
#include "frontdesk/checkout/settle_step.h"
#include "frontdesk/day/shift_handover.h"
#include "frontdesk/ordering/order_menu.h"
#include "frontdesk/ordering/order_staging.h"

#include <QHash>
#include <algorithm>
#include <optional>
#include <random>
#include <stdexcept>

namespace sorrel::demo_history {

namespace {

using billing::BillLine;
using billing::BillSnapshot;
using billing::GuestRecord;
namespace PayCode = checkout::PayCode;
using checkout::fitted;

// The same numbers from a seed on every machine: the generator's output is fixed by the
// standard, and every draw below is made from it by hand (the library's distributions differ
// between implementations).
class Dice {
  public:
    explicit Dice(quint32 seed) : engine_(seed) {}
    // lo..hi, both included.
    int between(int lo, int hi) {
        const quint64 span = quint64(hi - lo) + 1;
        return lo + int((quint64(engine_()) * span) >> 32);
    }
    bool chance(int perMille) { return between(0, 999) < perMille; }
    template <typename T> const T& pick(const QList<T>& from) {
        return from.at(between(0, int(from.size()) - 1));
    }

  private:
    std::mt19937 engine_;
};

struct ClassRule {
    QString kindCode, name, kindName, outputName;
    bool special = false, service = false, discount = false;
};

struct MenuItem {
    QString code, name, unit, classCode, typeCode;
    double price = 0, cost = 0, commission = 0;
    QList<std::pair<const MenuItem*, double>> parts; // a set meal's direct components, per set
};

struct Room {
    QString code, name, typeCode, typeName, deptCode, deptName, modeCode;
    int weight = 1; // how often parties sit here
    int guestsFrom = 1, guestsTo = 4;
    bool private_ = false; // a room: commission staff, set meals, the odd credit guest
};

struct Mode {
    billing::ConsMode rule;
    QString name, typeName;
    checkout::CommissionRates rates;
};

struct Staff {
    QString code, name, groupCode, groupName, areaCode, areaName;
    double standard = 0;
};

struct Member {
    QString code, name, cardType;
    double balance = 0, used = 0;
    double toppedUp = 0, charged = 0; // moved by this history
};

struct Credit {
    QString code, name;
    double limit = 0, owed = 0;
    double charged = 0, repaid = 0;
};

struct Operator {
    QString code, name;
};

// Everything the front desk reads about the venue, read once.
struct Venue {
    billing::BillSettings settings;
    QHash<QString, ClassRule> classes;
    QList<MenuItem> items; // single items and set meals that can be ordered
    QList<Room> rooms;
    QHash<QString, Mode> modes;
    QHash<QString, billing::SchemeRates> schemes;
    QStringList schemeCodes;
    QList<checkout::PaymentRow> methods;
    QList<Staff> staff;
    QList<Member> members;
    QList<Credit> credits;
    QHash<QString, QString> shiftNames, lineTypeNames, noteNames;
    QStringList noteCodes;
    QList<std::pair<QString, QString>> otherIncome; // code, name
    QList<Operator> cashiers;                       // by shift: early, late
};

// How a party sits at a table type: a hall table seats few and often, a room more and longer.
void seatRules(Room& room) {
    const int type = room.typeCode.toInt();
    struct Rule {
        int weight, from, to;
        bool privateRoom;
    };
    static const Rule rules[] = {{5, 2, 6, false}, {4, 1, 4, false}, {3, 4, 8, true},  {2, 6, 12, true},
                                 {1, 8, 16, true}, {3, 3, 6, true},  {2, 8, 20, true}, {3, 2, 6, false},
                                 {2, 4, 4, true},  {2, 4, 4, true}};
    const Rule& r = rules[qBound(1, type, 10) - 1];
    room.weight = r.weight;
    room.guestsFrom = r.from;
    room.guestsTo = r.to;
    room.private_ = r.privateRoom;
}

Venue readVenue(Database& db) {
    Venue v;
    v.settings = billing::BillSettings::load(db);
    const QHash<QString, QString> kinds =
        namesByCode(db, QStringLiteral("SELECT kind_code, kind_name FROM kindlist"));
    const QHash<QString, QString> outputs =
        namesByCode(db, QStringLiteral("SELECT manu_code, manu_name FROM ManuFacturelist"));
    const RecordSet classes = db.query(QStringLiteral(
        "SELECT clas_code, kind_code, clas_name, clas_allo_disc, clas_allo_serv, clas_allo_spec, manu_code "
        "FROM classlist"));
    for (int i = 0; i < classes.rowCount(); ++i) {
        const RecordSet::Row r = classes.row(i);
        v.classes.insert(r.text("clas_code"),
                         {r.text("kind_code"), r.text("clas_name"), kinds.value(r.text("kind_code")),
                          outputs.value(r.text("manu_code")), r.integer("clas_allo_spec") != 0,
                          r.integer("clas_allo_serv") != 0, r.integer("clas_allo_disc") != 0});
    }
    const RecordSet items = db.query(
        QStringLiteral("SELECT item_code, item_name, item_unit, clas_code, item_type_code, item_unit_pric, "
                       "item_cost_pric, item_dedu_pric FROM itemlist WHERE item_type_code IN ('1', '2', '3') "
                       "AND item_limi <> ? AND COALESCE(item_real, 0) = 0 ORDER BY item_code"),
        {ordering::kDisabled});
    for (int i = 0; i < items.rowCount(); ++i) {
        const RecordSet::Row r = items.row(i);
        if (!v.classes.contains(r.text("clas_code"))) continue;
        v.items.append({r.text("item_code"),
                        r.text("item_name"),
                        r.text("item_unit"),
                        r.text("clas_code"),
                        r.text("item_type_code"),
                        r.number("item_unit_pric"),
                        r.number("item_cost_pric"),
                        r.number("item_dedu_pric"),
                        {}});
    }
    for (MenuItem& item : v.items) {
        if (item.typeCode != ordering::kSetMeal) continue;
        const RecordSet parts = db.query(QStringLiteral("SELECT item_code, grou_coun FROM ItemGroup WHERE "
                                                        "grou_code = ? AND COALESCE(grou_mix_code, '') = '' "
                                                        "ORDER BY grou_ID"),
                                         {item.code});
        for (int i = 0; i < parts.rowCount(); ++i) {
            const QString code = parts.text(i, "item_code");
            // The list is complete and not changed after this, so a component stays where it is.
            const auto at = std::find_if(v.items.cbegin(), v.items.cend(),
                                         [&](const MenuItem& m) { return m.code == code; });
            if (at != v.items.cend()) item.parts.append({&*at, parts.number(i, "grou_coun")});
        }
    }

    const QHash<QString, QString> depts =
        namesByCode(db, QStringLiteral("SELECT dept_code, dept_name FROM DepartmentList"));
    const RecordSet rooms = db.query(QStringLiteral(
        "SELECT t.tabl_code, t.tabl_name, t.tabl_type_code, y.tabl_type_name, t.dept_code, y.cons_mode_code "
        "FROM TableList t JOIN TableTypeList y ON y.tabl_type_code = t.tabl_type_code "
        "WHERE t.tabl_stat_code <> '6' ORDER BY t.tabl_code"));
    for (int i = 0; i < rooms.rowCount(); ++i) {
        const RecordSet::Row r = rooms.row(i);
        Room room{r.text("tabl_code"),      r.text("tabl_name"), r.text("tabl_type_code"),
                  r.text("tabl_type_name"), r.text("dept_code"), depts.value(r.text("dept_code")),
                  r.text("cons_mode_code")};
        seatRules(room);
        v.rooms.append(room);
    }
    const QHash<QString, QString> typeNames =
        namesByCode(db, QStringLiteral("SELECT cons_type_code, cons_type_name FROM ConsTypeList"));
    const RecordSet modes =
        db.query(QStringLiteral("SELECT cons_mode_code, cons_mode_name FROM ConsModeList"));
    for (int i = 0; i < modes.rowCount(); ++i) {
        const QString code = modes.text(i, "cons_mode_code");
        Mode mode{billing::readConsMode(db, code), modes.text(i, "cons_mode_name"), {}, {}};
        mode.typeName = typeNames.value(mode.rule.typeCode.trimmed());
        const RecordSet r = db.query(
            QStringLiteral(
                "SELECT cons_mode_achi, cons_mode_pred_stan, cons_mode_pred_abov, cons_mode_spec_stan, "
                "cons_mode_spec_abov, cons_mode_lead_stan, cons_mode_lead_abov FROM ConsModeList "
                "WHERE cons_mode_code = ?"),
            {code});
        mode.rates = {r.number(0, "cons_mode_achi"),
                      int(r.integer(0, "cons_mode_pred_stan")),
                      int(r.integer(0, "cons_mode_pred_abov")),
                      int(r.integer(0, "cons_mode_spec_stan")),
                      int(r.integer(0, "cons_mode_spec_abov")),
                      int(r.integer(0, "cons_mode_lead_stan")),
                      int(r.integer(0, "cons_mode_lead_abov"))};
        v.modes.insert(code, mode);
    }
    const checkout::CheckoutChoices choices = checkout::loadCheckoutChoices(db);
    for (const checkout::DiscountScheme& scheme : choices.schemes) {
        v.schemeCodes << scheme.code;
        v.schemes.insert(scheme.code, billing::readSchemeRates(db, scheme.code));
    }
    v.methods = choices.methods;

    const QHash<QString, QString> areas =
        namesByCode(db, QStringLiteral("SELECT area_code, area_name FROM AreaList"));
    const RecordSet groups =
        db.query(QStringLiteral("SELECT grou_code, grou_name, area_code FROM Grouplist"));
    QHash<QString, std::pair<QString, QString>> groupOf;
    for (int i = 0; i < groups.rowCount(); ++i)
        groupOf.insert(groups.text(i, "grou_code"),
                       {groups.text(i, "grou_name"), groups.text(i, "area_code")});
    const RecordSet staff = db.query(QStringLiteral(
        "SELECT dedu_oper_code, dedu_oper_name, dedu_oper_stan, grou_code FROM deduoperatorlist "
        "ORDER BY dedu_oper_code"));
    for (int i = 0; i < staff.rowCount(); ++i) {
        const RecordSet::Row r = staff.row(i);
        const auto [groupName, area] = groupOf.value(r.text("grou_code"));
        v.staff.append({r.text("dedu_oper_code"), r.text("dedu_oper_name"), r.text("grou_code"), groupName,
                        area, areas.value(area), r.number("dedu_oper_stan")});
    }
    const RecordSet members =
        db.query(QStringLiteral(
                     "SELECT memb_card_code, memb_name, memb_card_type, memb_surp, memb_use FROM MemberList "
                     "WHERE memb_card_type <> ? ORDER BY memb_card_code"),
                 {checkout::kPointsCard});
    for (int i = 0; i < members.rowCount(); ++i) {
        const RecordSet::Row r = members.row(i);
        v.members.append({r.text("memb_card_code"), r.text("memb_name"), r.text("memb_card_type"),
                          r.number("memb_surp"), r.number("memb_use")});
    }
    const RecordSet credits =
        db.query(QStringLiteral("SELECT hang_gues_code, hang_gues_name, hang_gues_limi, hang_gues_use FROM "
                                "HangGues ORDER BY hang_gues_code"));
    for (int i = 0; i < credits.rowCount(); ++i) {
        const RecordSet::Row r = credits.row(i);
        v.credits.append({r.text("hang_gues_code"), r.text("hang_gues_name"), r.number("hang_gues_limi"),
                          r.number("hang_gues_use")});
    }
    v.shiftNames = namesByCode(db, QStringLiteral("SELECT orde_code, orde_name FROM OrderList"));
    v.lineTypeNames =
        namesByCode(db, QStringLiteral("SELECT menu_type_code, menu_type_name FROM OrderMenuType"));
    v.noteNames = namesByCode(db, QStringLiteral("SELECT cons_narr_code, cons_narr_name FROM ConsNarrList"));
    v.noteCodes = v.noteNames.keys();
    std::sort(v.noteCodes.begin(), v.noteCodes.end());
    const RecordSet income = db.query(
        QStringLiteral("SELECT othe_inco_code, othe_inco_name FROM OtherIncomeList ORDER BY othe_inco_code"));
    for (int i = 0; i < income.rowCount(); ++i)
        v.otherIncome.append({income.text(i, "othe_inco_code"), income.text(i, "othe_inco_name")});
    const RecordSet operators =
        db.query(QStringLiteral("SELECT oper_code, oper_name FROM operatorlist ORDER BY oper_code"));
    for (int i = 0; i < operators.rowCount(); ++i)
        v.cashiers.append({operators.text(i, "oper_code"), operators.text(i, "oper_name")});
    if (v.items.isEmpty() || v.rooms.isEmpty() || v.cashiers.isEmpty() || v.methods.isEmpty() ||
        v.shiftNames.size() < 2)
        throw DbError(
            QStringLiteral("数据库里没有演示门店（台桌、菜品、班次、操作员、付款方式），不能生成营业历史"));
    // The early shift's cashier is the last operator (the demo cashier), the late one the first.
    if (v.cashiers.size() > 1) std::swap(v.cashiers.first(), v.cashiers.last());
    return v;
}

// One party's visit: where, when, and its bill number (drawn in the order the tables were opened).
struct Visit {
    const Room* room = nullptr;
    QDateTime opened, settled;
    int number = 0;
};

// The rows of the history tables.
struct Writers {
    RowBatch bills, lines, payments, topUps, repayments;
    QStringList lineColumns;

    explicit Writers(Database& db)
        : bills(db, QStringLiteral("AllGues"), schema::findTable(QStringLiteral("AllGues"))->columnNames()),
          lines(db, QStringLiteral("AllCons"), schema::findTable(QStringLiteral("AllCons"))->columnNames()),
          payments(db, QStringLiteral("AllGuesPay"),
                   {QStringLiteral("tabl_gues_auto_recn"), QStringLiteral("pay_type_code"),
                    QStringLiteral("pay_type_name"), QStringLiteral("pay_type_mone"),
                    QStringLiteral("pay_time"), QStringLiteral("dept_name"), QStringLiteral("orde_name"),
                    QStringLiteral("oper_name"), QStringLiteral("pay_flag")}),
          topUps(db, QStringLiteral("membManage"),
                 {QStringLiteral("memb_card_code"), QStringLiteral("memb_card_type"),
                  QStringLiteral("memb_mana_save"), QStringLiteral("memb_mana_inte"),
                  QStringLiteral("memb_mana_rema"), QStringLiteral("memb_mana_time"),
                  QStringLiteral("oper_code"), QStringLiteral("oper_name")}),
          repayments(db, QStringLiteral("Hangguesin"),
                     {QStringLiteral("hang_gues_code"), QStringLiteral("hang_gues_name"),
                      QStringLiteral("hang_gues_inco"), QStringLiteral("hang_gues_inco_date"),
                      QStringLiteral("oper_code"), QStringLiteral("oper_name"), QStringLiteral("time_fact")}),
          lineColumns(schema::findTable(QStringLiteral("AllCons"))->columnNames()) {}

    void flush() {
        bills.flush();
        lines.flush();
        payments.flush();
        topUps.flush();
        repayments.flush();
    }
};

// An order line as the ordering screen stages it and the commit prices it.
struct Line {
    BillLine bill;
    const MenuItem* item = nullptr;
    QString lineType = ordering::kOrdered;
    int stockSign = 1;
    QString setMeal, note, narrative;
    int enteredAt = 0; // seconds after midnight of the business day
};

class HistoryWriter {
  public:
    HistoryWriter(Database& db, const HistoryOptions& options)
        : db_(db), options_(options), dice_(options.seed), venue_(readVenue(db)), out_(db),
          clock_(QDateTime()) {
        firstBill_ = nextBill_ = int(readSettingsRow(db, QStringLiteral("auto_recn"), SettingsLock::ForUpdate)
                                         .integer(0, "auto_recn"));
        const qlonglong lastLine = qMax(
            db.scalar(QStringLiteral("SELECT COALESCE(max(tabl_cons_ID), 0) FROM TableConsList"))
                .toLongLong(),
            db.scalar(QStringLiteral("SELECT COALESCE(max(tabl_cons_ID), 0) FROM AllCons")).toLongLong());
        nextLine_ = int(lastLine) + 1;
        for (const Room& room : venue_.rooms)
            for (int w = 0; w < room.weight; ++w)
                seats_.append(&room);
    }

    HistoryTally run(const QDate& firstDay, const QDate& lastDay, const ProgressReport& progress) {
        enrolMembers(firstDay, lastDay);
        for (int day = 0; day < options_.days; ++day) {
            oneDay(firstDay.addDays(day));
            if (progress) progress((day + 1) * 100 / options_.days);
        }
        out_.flush();
        finishBalances();
        return tally_;
    }

  private:
    // The regulars who take a stored-value card over the year: each card starts empty and is
    // topped up at the desk the first time it pays.
    void enrolMembers(const QDate& firstDay, const QDate& lastDay) {
        const RecordSet type =
            db_.query(QStringLiteral("SELECT memb_type_code, memb_type_disc_perc FROM membType WHERE "
                                     "memb_type_pric > 0 ORDER BY memb_type_code"));
        if (type.isEmpty()) return;
        static const QStringList surnames = {QStringLiteral("王"), QStringLiteral("李"), QStringLiteral("张"),
                                             QStringLiteral("刘"), QStringLiteral("陈"), QStringLiteral("杨"),
                                             QStringLiteral("黄"), QStringLiteral("吴"), QStringLiteral("徐"),
                                             QStringLiteral("孙")};
        static const QStringList given = {QStringLiteral("伟"), QStringLiteral("静"), QStringLiteral("磊"),
                                          QStringLiteral("敏"), QStringLiteral("强"), QStringLiteral("丽"),
                                          QStringLiteral("洋"), QStringLiteral("艳"), QStringLiteral("军"),
                                          QStringLiteral("娜"), QStringLiteral("杰"), QStringLiteral("芳")};
        constexpr int kRegulars = 60;
        QList<QVariantList> rows;
        for (int n = 1; n <= kRegulars; ++n) {
            const QString code = QStringLiteral("88%1").arg(1000 + n, 4, 10, QLatin1Char('0'));
            const QString name = dice_.pick(surnames) + dice_.pick(given) + dice_.pick(given);
            rows << QVariantList{code,
                                 type.value(0, "memb_type_code"),
                                 code.right(6),
                                 name,
                                 QStringLiteral("储值卡"),
                                 1,
                                 toDbDate(lastDay.addYears(1)),
                                 type.value(0, "memb_type_disc_perc"),
                                 0.0,
                                 0.0,
                                 QStringLiteral("%1年入会").arg(firstDay.year())};
            venue_.members.append({code, name, QStringLiteral("储值卡")});
        }
        schema::insertRows(
            db_, QStringLiteral("MemberList"),
            {QStringLiteral("memb_card_code"), QStringLiteral("memb_type_code"), QStringLiteral("memb_pass"),
             QStringLiteral("memb_name"), QStringLiteral("memb_card_type"), QStringLiteral("memb_time_allo"),
             QStringLiteral("memb_time_end"), QStringLiteral("memb_disc_perc"), QStringLiteral("memb_surp"),
             QStringLiteral("memb_use"), QStringLiteral("memb_rema")},
            rows);
    }

    void oneDay(const QDate& date) {
        clock_.set(QDateTime(date, QTime(9, 0)));
        dayStartSteps(db_, clock_);
        QList<Visit> visits = seatParties(date);
        // The early shift hands over at half past four; a bill settled later is the late shift's.
        const QDateTime earlyHandover(date, QTime(16, 30));
        int shift = 0;
        std::sort(visits.begin(), visits.end(),
                  [](const Visit& a, const Visit& b) { return a.settled < b.settled; });
        for (const Visit& visit : visits) {
            if (shift == 0 && visit.settled >= earlyHandover) {
                handOver(earlyHandover, 0);
                shift = 1;
            }
            settle(visit, shift, date);
        }
        if (shift == 0) handOver(earlyHandover, 0);
        handOver(QDateTime(date, QTime(23, 50)), 1);
        clock_.set(QDateTime(date, QTime(23, 55)));
        for (const auto& [code, name] : venue_.otherIncome)
            if (dice_.chance(600)) postOtherIncome(db_, {code, double(dice_.between(1, 40) * 5)});
        dayEndSteps(db_, clock_);
    }

    // The day's parties at their tables, one after another at each table; numbered in the order
    // the tables were opened, as the front desk draws the numbers.
    QList<Visit> seatParties(const QDate& date) {
        const int spread = qMax(1, options_.billsPerDay / 6);
        const int weekend = date.dayOfWeek() >= 5 ? spread : 0;
        const int parties =
            qMax(1, options_.billsPerDay - spread / 7 + weekend / 2 + dice_.between(-spread / 2, spread / 2));
        QHash<const Room*, int> perRoom;
        for (int i = 0; i < parties; ++i)
            ++perRoom[dice_.pick(seats_)];
        QList<Visit> visits;
        const int dayFrom = 10 * 60 + 30, dayTo = 23 * 60 + 30; // minutes: the venue's hours
        for (const Room& room : venue_.rooms) {
            const int count = perRoom.value(&room);
            if (count == 0) continue;
            const int slot = (dayTo - dayFrom) / count;
            for (int n = 0; n < count; ++n) {
                // Each party within its slot of the day, so none outstays the venue's hours.
                const int start = dayFrom + n * slot + dice_.between(0, slot / 10);
                const int stay = qMax(1, dice_.between(slot / 2, slot * 8 / 10));
                const QDateTime opened(date, QTime(0, 0).addSecs(start * 60 + dice_.between(0, 59)));
                visits.append({&room, opened, opened.addSecs(stay * 60), 0});
            }
        }
        std::sort(visits.begin(), visits.end(), [](const Visit& a, const Visit& b) {
            return a.opened != b.opened ? a.opened < b.opened : a.room->code < b.room->code;
        });
        for (Visit& v : visits)
            v.number = nextBill_++;
        return visits;
    }

    // Every item read has a class (readVenue leaves out the others).
    const ClassRule& classOf(const MenuItem& item) const { return *venue_.classes.constFind(item.classCode); }

    Line orderLine(const MenuItem& item, double quantity, const QString& lineType, int at,
                   const QString& setMeal = {}) {
        const ClassRule& rule = classOf(item);
        Line l;
        l.item = &item;
        l.lineType = lineType;
        l.bill.id = nextLine_++;
        l.bill.quantity = quantity;
        l.bill.unitPrice = item.price;
        l.bill.typeFlag = lineType == ordering::kOrdered ? 1 : lineType == ordering::kReturned ? -1 : 0;
        l.stockSign = lineType == ordering::kReturned || lineType == ordering::kGiftReturned ? -1 : 1;
        l.bill.setMealPart = !setMeal.isEmpty();
        l.bill.classCode = item.classCode;
        l.bill.classKnown = true;
        l.bill.special = rule.special;
        l.bill.service = rule.service;
        l.bill.discount = rule.discount;
        l.bill.amount = orderLineAmount(quantity, item.price, l.bill.typeFlag, venue_.settings.lineRounding);
        l.setMeal = setMeal;
        l.enteredAt = at;
        return l;
    }

    // What the party orders over its stay: dishes and drinks for its size, a set meal now and then
    // (with its components), a gift from the house, a dish sent back.
    QList<Line> order(const Visit& visit, int guests, int serviceRate) {
        QList<Line> lines;
        const qint64 stay = visit.opened.secsTo(visit.settled);
        const int openedAt = QTime(0, 0).secsTo(visit.opened.time());
        const int dishes = qBound(3, guests + dice_.between(2, 5), 12);
        for (int i = 0; i < dishes; ++i) {
            const MenuItem& item = dice_.pick(venue_.items);
            const int at = openedAt + int(stay * i / (dishes + 1));
            const int quantity = item.typeCode == ordering::kSetMeal ? 1 : dice_.between(1, 3);
            lines << orderLine(item, quantity, ordering::kOrdered, at);
            if (dice_.chance(60)) lines.last().note = dice_.pick(venue_.noteCodes);
            if (item.typeCode == ordering::kSetMeal) {
                const QString narrative = QStringLiteral("套餐-") + item.name;
                for (const auto& [part, perSet] : item.parts) {
                    lines << orderLine(*part, perSet * quantity, ordering::kGift, at, item.code);
                    lines.last().narrative = narrative;
                }
            }
        }
        if (dice_.chance(50)) {
            const MenuItem& gift = dice_.pick(venue_.items);
            if (gift.typeCode != ordering::kSetMeal)
                lines << orderLine(gift, 1, ordering::kGift, openedAt + int(stay / 2));
        }
        if (dice_.chance(60)) {
            const Line& back = lines.at(dice_.between(0, int(lines.size()) - 1));
            if (back.setMeal.isEmpty() && back.item->typeCode != ordering::kSetMeal)
                lines << orderLine(*back.item, 1,
                                   back.lineType == ordering::kGift ? ordering::kGiftReturned
                                                                    : ordering::kReturned,
                                   back.enteredAt + 600);
        }
        for (Line& l : lines) {
            // Service falls on the ordinary lines of classes that bear it (as the commit marks them).
            const bool served = serviceRate > 0 && l.setMeal.isEmpty() && l.bill.service;
            l.bill.serviceRate = served ? serviceRate : 100;
        }
        return lines;
    }

    Member* memberFor(double amount, const QDate& date) {
        if (venue_.members.isEmpty()) return nullptr;
        Member& m = venue_.members[dice_.between(0, int(venue_.members.size()) - 1)];
        if (compareMoney(m.balance, amount) < 0) {
            // The guest tops the card up at the desk first (续钱), as the back office books it.
            const double save = std::ceil((amount - m.balance) / 1000.0) * 1000.0 + 1000.0;
            const Operator& by = venue_.cashiers.last();
            out_.topUps.add({m.code, m.cardType, save, 0.0, QStringLiteral("续钱"),
                             toDbDateTime(QDateTime(date, QTime(10, 0))), by.code, by.name});
            m.balance += save;
            m.toppedUp += save;
        }
        return &m;
    }

    Credit* creditFor(double amount, const QDate& date) {
        if (venue_.credits.isEmpty()) return nullptr;
        Credit& c = venue_.credits[dice_.between(0, int(venue_.credits.size()) - 1)];
        if (compareMoney(c.limit - c.owed - amount, 0) < 0 && compareMoney(c.owed, 0) > 0) {
            // The guest's company settles its account before running up more.
            const Operator& by = venue_.cashiers.last();
            out_.repayments.add({c.code, c.name, c.owed, toDbDate(date), by.code, by.name,
                                 toDbDateTime(QDateTime(date, QTime(10, 30)))});
            c.repaid += c.owed;
            c.owed = 0;
        }
        if (compareMoney(c.limit - c.owed - amount, 0) < 0) return nullptr;
        return &c;
    }

    // Opening, ordering, checkout, settling and clearing one party's bill, by the front desk's
    // rules, written straight into the history as clearing leaves it.
    void settle(const Visit& visit, int shift, const QDate& date) {
        const Room& room = *visit.room;
        const auto found = venue_.modes.constFind(room.modeCode);
        const Mode mode = found == venue_.modes.cend() ? Mode{} : *found;
        const billing::BillSettings& settings = venue_.settings;
        const Operator& cashier = venue_.cashiers.at(qMin(shift, int(venue_.cashiers.size()) - 1));
        const QString shiftCode = QString::number(shift + 1);
        const QString openShift =
            visit.opened.time() < QTime(16, 30) ? QStringLiteral("1") : QStringLiteral("2");
        const int guests = dice_.between(room.guestsFrom, room.guestsTo);

        // Opening (开台): the table's mode applied for the party at the opening time.
        BillSnapshot bill;
        GuestRecord& g = bill.bill;
        g.tabl_gues_auto_recn = visit.number;
        g.tabl_code = room.code;
        g.tabl_type_code = room.typeCode;
        g.dept_code = room.deptCode;
        g.tabl_gues_coun = guests;
        g.tabl_gues_time = visit.opened;
        g.cons_mode_code = room.modeCode;
        g.orde_code = openShift;
        g.tabl_gues_use = true;
        if (room.private_ && dice_.chance(250)) {
            g.book_flag = true;
            g.book_oper_code = cashier.code;
            g.book_oper_name =
                fitted(QStringLiteral("TableGuestlist"), QStringLiteral("book_oper_name"), cashier.name);
        }
        bill.mode = mode.rule;
        bill = billing::withMode(bill, guests, visit.opened, settings);

        // Ordering (落单), then checkout (结帐) recomputes by the time it is entered.
        QList<Line> lines = order(visit, guests, g.cons_mode_serv);
        for (const Line& l : lines)
            bill.lines << l.bill;
        bill = billing::withLineSums(bill, settings);
        bill = billing::withStay(bill, visit.settled, settings);
        g.tabl_gues_fact = g.tabl_gues_shou;
        if (!venue_.schemeCodes.isEmpty() && dice_.chance(120)) {
            g.disc_code = dice_.pick(venue_.schemeCodes);
            bill.schemeRates = venue_.schemes.value(g.disc_code);
            bill = billing::withDiscount(bill, 0, settings);
        }
        if (room.private_ && !venue_.staff.isEmpty() && dice_.chance(300)) {
            g.dedu_oper_code = dice_.pick(venue_.staff).code;
            static const QStringList kinds = {checkout::kBookingCommission, checkout::kDesignatedCommission,
                                              checkout::kSeatingCommission};
            g.dedu_type = dice_.pick(kinds);
        }

        // The payments typed: cash handed over, and now and then a card, a credit guest or a waiver.
        checkout::Tender tender{venue_.methods, std::nullopt, std::nullopt, g.tabl_gues_fact};
        const double receivable = g.tabl_gues_fact;
        const auto amountOf = [&](const QString& code) -> double& {
            for (checkout::PaymentRow& row : tender.payments)
                if (row.code == code) return row.amount;
            return tender.payments.first().amount;
        };
        double paidOther = 0;
        Member* member = nullptr;
        Credit* credit = nullptr;
        const int way = dice_.between(0, 999);
        if (way < 90 && compareMoney(receivable, 0) > 0) {
            member = memberFor(receivable, date);
            if (member) {
                const double part = way < 45 ? receivable : std::floor(receivable / 2);
                tender.member = checkout::MemberCard{member->code, member->name, {}, member->cardType};
                tender.member->balance = member->balance;
                amountOf(PayCode::kMember) = part;
                paidOther = part;
            }
        } else if (way < 120 && room.private_ && compareMoney(receivable, 0) > 0) {
            credit = creditFor(receivable, date);
            if (credit) {
                tender.credit = checkout::CreditGuest{credit->code, credit->name};
                tender.credit->limit = credit->limit;
                tender.credit->owed = credit->owed;
                amountOf(PayCode::kCredit) = receivable;
                paidOther = receivable;
            }
        } else if (way < 150 && compareMoney(receivable, 10) > 0) {
            // The odd yuan waived: the collected amount lowered to the ten below.
            g.tabl_gues_fact = std::floor(receivable / 10) * 10;
            if (compareMoney(g.tabl_gues_fact, receivable) == 0) g.tabl_gues_fact -= 10;
        }
        const double cashDue = std::max(0.0, g.tabl_gues_fact - paidOther);
        const int note = dice_.pick(QList<int>{1, 10, 50, 100});
        amountOf(PayCode::kCash) = std::ceil(cashDue / note) * note;

        checkout::Settlement s = checkout::prepareSettlement(g, tender, settings, visit.settled);
        if (!s.ok())
            throw DbError(
                QStringLiteral("生成营业历史时帐单 %1 不能结帐：%2").arg(visit.number).arg(s.refusal));
        GuestRecord& done = s.guest;
        if (member) {
            member->balance -= done.memb_mone;
            member->charged += done.memb_mone;
        }
        if (credit) {
            credit->owed += done.hang_mone;
            credit->charged += done.hang_mone;
        }

        // The settle step's figures: commission, dates, cost, names.
        const Staff* staff = nullptr;
        for (const Staff& st : venue_.staff)
            if (!done.dedu_oper_code.isEmpty() && st.code == done.dedu_oper_code) staff = &st;
        const QDateTime businessDay(date, QTime(0, 0));
        checkout::SettleFacts facts;
        facts.tableName = room.name;
        facts.tableTypeName = room.typeName;
        facts.modeName = mode.name;
        facts.consTypeName = mode.typeName;
        facts.staffName = staff ? staff->name : QString();
        facts.deptName = room.deptName;
        facts.shiftName = venue_.shiftNames.value(shiftCode);
        facts.staffGroup = staff ? staff->groupCode : QString();
        facts.staffArea = staff ? staff->areaCode : QString();
        facts.rates = mode.rates;
        for (const Line& l : lines)
            facts.cost += l.bill.quantity * l.item->cost * l.bill.typeFlag;
        checkout::applySettlement(done, facts, {cashier.code, cashier.name, shiftCode, facts.shiftName}, date,
                                  visit.settled, settings);
        // Clearing (清台): the record leaves the table and goes into the history.
        done.tabl_gues_use = false;
        done.tabl_gues_stat = QStringLiteral("1");

        writeBill(done, staff);
        writeLines(done, bill, lines, cashier);
        for (const checkout::PaymentRow& row : s.payments)
            out_.payments.add(
                {done.tabl_gues_auto_recn, row.code,
                 fitted(QStringLiteral("tableguespay"), QStringLiteral("pay_type_name"), row.name),
                 row.amount, toDbDateTime(businessDay), done.dept_name, done.orde_name, done.oper_name, 0});
        tally_.bills += 1;
        tally_.lines += lines.size();
        tally_.payments += s.payments.size();
        tally_.received += done.tabl_gues_fact;
    }

    // Received less tax less commission, credited to the bill's commission kind only.
    static double commissionBase(const GuestRecord& g, const QString& kind) {
        if (g.dedu_type != kind) return 0;
        return IntWay(g.tabl_gues_fact - g.tabl_gues_tax - g.dedu_mone, kKeepCents);
    }

    void writeBill(const GuestRecord& g, const Staff* staff) {
        QVariantList row = g.values();
        const bool grouped = !g.grou_code.isEmpty() && staff;
        row << (grouped ? QVariant(staff->groupName) : QVariant())
            << (grouped ? QVariant(staff->areaName) : QVariant())
            << commissionBase(g, checkout::kBookingCommission)
            << commissionBase(g, checkout::kDesignatedCommission)
            << commissionBase(g, checkout::kSeatingCommission) << (staff ? staff->standard : 0.0);
        out_.bills.add(row);
    }

    void writeLines(const GuestRecord& g, const BillSnapshot& bill, const QList<Line>& lines,
                    const Operator& by) {
        const QString businessDay = toDbDateTime(g.tabl_gues_time_work);
        for (int i = 0; i < lines.size(); ++i) {
            const Line& l = lines.at(i);
            const BillLine& rated = bill.lines.at(i);
            const ClassRule& rule = classOf(*l.item);
            const double q = l.bill.quantity;
            const auto split = [&](const QString& type) { return l.lineType == type ? q : 0.0; };
            QVariantList row;
            row.reserve(out_.lineColumns.size());
            row << l.bill.id << g.tabl_gues_auto_recn << g.tabl_code << QString() << rule.kindCode
                << l.item->classCode << l.item->code << l.item->typeCode << l.lineType << l.bill.typeFlag
                << l.stockSign << q << l.item->price << l.bill.amount << l.item->cost
                << q * l.item->cost * l.bill.typeFlag << l.item->commission
                << q * l.item->commission * l.bill.typeFlag << QString() << QString() << by.code << by.name
                << l.note << l.narrative << l.setMeal << rated.discountRate << rated.serviceRate
                << momentOfDay(g.tabl_gues_time_work.date(), l.enteredAt) << businessDay << 1 << 1 << 0 << 0
                << g.tabl_name << rule.name << l.item->name << l.item->unit << rule.kindName
                << rule.outputName << venue_.lineTypeNames.value(l.lineType)
                << (l.note.isEmpty() ? QVariant() : QVariant(venue_.noteNames.value(l.note))) << g.dept_name
                << g.orde_name << 0.0 << 0.0 << split(ordering::kOrdered) << split(ordering::kReturned)
                << split(ordering::kGift) << split(ordering::kGiftReturned);
            out_.lines.add(row);
        }
    }

    // A moment of the business day as the database writes it, from its seconds after midnight:
    // the day's text made once a day and the clock put after it by hand, since formatting each
    // line's time as a date and time cost more than writing the line.
    QString momentOfDay(const QDate& day, int seconds) {
        if (seconds < 0 || seconds >= 24 * 3600)
            return toDbDateTime(QDateTime(day, QTime(0, 0)).addSecs(seconds));
        if (day != textDay_) {
            textDay_ = day;
            dayText_ = toDbDateTime(QDateTime(day, QTime(0, 0)));
            dayText_.chop(8); // "HH:mm:ss"
        }
        QString text = dayText_;
        const auto two = [&](int n) {
            text += QLatin1Char(char('0' + n / 10));
            text += QLatin1Char(char('0' + n % 10));
        };
        two(seconds / 3600);
        text += QLatin1Char(':');
        two(seconds / 60 % 60);
        text += QLatin1Char(':');
        two(seconds % 60);
        return text;
    }

    void handOver(const QDateTime& at, int shift) {
        out_.flush();
        clock_.set(at);
        const Operator& by = venue_.cashiers.at(qMin(shift, int(venue_.cashiers.size()) - 1));
        const day::HandoverSheet sheet = day::handOverSteps(db_, clock_, {by.code, by.name, QString()});
        tally_.handovers += sheet.lines.size();
    }

    // The cards and credit accounts moved by what the history charged, topped up and repaid,
    // relative to what the database holds; the bill and line counters continue after the history.
    void finishBalances() {
        for (const Member& m : venue_.members)
            if (compareMoney(m.toppedUp, 0) != 0 || compareMoney(m.charged, 0) != 0)
                db_.exec(
                    QStringLiteral("UPDATE MemberList SET memb_surp = memb_surp + ?, memb_use = memb_use + ? "
                                   "WHERE memb_card_code = ?"),
                    {m.toppedUp - m.charged, m.charged, m.code});
        for (const Credit& c : venue_.credits)
            if (compareMoney(c.charged, 0) != 0 || compareMoney(c.repaid, 0) != 0)
                db_.exec(
                    QStringLiteral(
                        "UPDATE HangGues SET hang_gues_use = hang_gues_use + ? WHERE hang_gues_code = ?"),
                    {c.charged - c.repaid, c.code});
        db_.exec(QStringLiteral("UPDATE SetupPay SET auto_recn = auto_recn + ?"), {nextBill_ - firstBill_});
        dialect::continueAutoNumberAfter(db_, QStringLiteral("TableConsList"), QStringLiteral("tabl_cons_ID"),
                                         nextLine_ - 1);
    }

    Database& db_;
    HistoryOptions options_;
    Dice dice_;
    Venue venue_;
    Writers out_;
    FixedClock clock_;
    QList<const Room*> seats_; // each room as often as its weight
    int firstBill_ = 1;
    int nextBill_ = 1;
    int nextLine_ = 1;
    HistoryTally tally_;
    QDate textDay_;
    QString dayText_;
};

} // namespace

HistoryTally generate(Database& db, const HistoryOptions& options, const ProgressReport& progress) {
    if (options.days < 1) throw std::invalid_argument("a history needs at least one day");
    if (options.billsPerDay < 1) throw std::invalid_argument("a history needs at least one bill a day");
    if (!options.lastDay.isValid()) throw std::invalid_argument("a history needs its last day");
    const QDate firstDay = options.lastDay.addDays(1 - options.days);
    const auto write = [&] {
        if (businessDayOpen(db) ||
            db.scalar(QStringLiteral("SELECT count(*) FROM AllGues")).toLongLong() > 0 ||
            db.scalar(QStringLiteral("SELECT count(*) FROM TableGuestlist")).toLongLong() > 0)
            throw DbError(QStringLiteral("数据库里已有营业数据或营业日未结束，不能生成营业历史"));
        HistoryWriter writer(db, options);
        return writer.run(firstDay, options.lastDay, progress);
    };
    if (db.inTransaction()) return write();
    Transaction tx(db);
    const HistoryTally tally = write();
    tx.commit();
    return tally;
}

} // namespace sorrel::demo_history
