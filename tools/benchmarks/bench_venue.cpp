#include "tools/benchmarks/bench_venue.h"

#include "common/business_day.h"
#include "common/db/transaction.h"
#include "common/installation/engine_copy.h"
#include "frontdesk/checkout/payments.h"
#include "frontdesk/day/shift_handover.h"
#include "frontdesk/ordering/order_commit.h"
#include "frontdesk/ordering/order_staging.h"
#include "frontdesk/table_life/clearing.h"
#include "frontdesk/tables/opening.h"
#include "frontdesk/tables/table_state.h"

namespace sorrel::bench {

namespace {

// The year of history ends yesterday; the business day measured is today.
const QDateTime kToday(QDate(2025, 5, 1), QTime(18, 0));

// An order as a table of four might give it: starters, a composite dish, a set meal, drinks, tea.
const char* const kOrder[kOrderLines] = {"101001", "101002", "102001", "102004", "103001",
                                         "104003", "201001", "202001", "203001", "401001"};

// The parts of every settlement paid by the member card and the credit guest; cash pays the rest.
constexpr double kMemberPart = 20;
constexpr double kCreditPart = 30;
const QString kMemberCard = QStringLiteral("880001");
const QString kMemberPassword = QStringLiteral("123456");
const QString kCreditGuest = QStringLiteral("002");

} // namespace

QuickCommits::QuickCommits(Database& db) : db_(db) {
    durable(false);
}

QuickCommits::~QuickCommits() {
    durable(true);
}

void QuickCommits::durable(bool on) {
    if (db_.engine() == Engine::Embedded)
        db_.exec(on ? QStringLiteral("PRAGMA synchronous=FULL") : QStringLiteral("PRAGMA synchronous=OFF"));
    else
        db_.exec(on ? QStringLiteral("SET synchronous_commit=on")
                    : QStringLiteral("SET synchronous_commit=off"));
}

Venue::Venue(Engine engine, test::ScratchDatabase::Contents contents)
    : scratch_(engine, contents, test::Durability::Durable),
      clock_(kToday), cashier_{QStringLiteral("01"), QStringLiteral("管理员"), QStringLiteral("1"),
                               QStringLiteral("早班")} {}

std::unique_ptr<Venue> Venue::yearOld(const VenueSize& size, const Progress& progress) {
    std::unique_ptr<Venue> venue(new Venue(Engine::Embedded, test::ScratchDatabase::Contents::DemoVenue));
    const QuickCommits quick(venue->db());
    venue->growTables();
    if (size.historyDays > 0) {
        demo_history::HistoryOptions options;
        options.days = size.historyDays;
        options.billsPerDay = size.billsPerDay;
        options.lastDay = kToday.date().addDays(-1);
        int shown = -1;
        venue->history_ = demo_history::generate(venue->db(), options, [&](int percent) {
            if (percent / 10 == shown) return;
            shown = percent / 10;
            progress(QStringLiteral("history %1%").arg(percent));
        });
    }
    return venue;
}

std::unique_ptr<Venue> Venue::onServer(Venue& file, const Progress& progress) {
    std::unique_ptr<Venue> venue(new Venue(Engine::Server, test::ScratchDatabase::Contents::Empty));
    int shown = -1;
    copyInstallation(file.db(), venue->db(), [&](qlonglong done, qlonglong total, const QString&) {
        const int percent = total ? int(100 * done / total) : 100;
        if (percent / 10 == shown) return;
        shown = percent / 10;
        progress(QStringLiteral("copy %1%").arg(percent));
    });
    venue->history_ = file.history_;
    return venue;
}

void Venue::open() {
    const QuickCommits quick(db());
    // A year of business has used up the stock and the balances; the venue has restocked, the
    // member topped up and the credit guest's limit was raised, so no step is refused for them.
    db().exec(QStringLiteral("UPDATE itemlist SET item_coun = item_coun + 1000000 WHERE item_limi = ?"),
              {ordering::kLimited});
    db().exec(
        QStringLiteral("UPDATE MemberList SET memb_surp = memb_surp + 1000000 WHERE memb_card_code = ?"),
        {kMemberCard});
    db().exec(QStringLiteral("UPDATE HangGues SET hang_gues_limi = hang_gues_limi + 100000000 WHERE "
                             "hang_gues_code = ?"),
              {kCreditGuest});
    startDay(db(), clock_);
    settings_ = billing::BillSettings::load(db());
    openStanding();
    board_.load(db());
}

void Venue::growTables() {
    const int demoTables = db().scalar(QStringLiteral("SELECT count(*) FROM TableList")).toInt();
    Transaction tx(db());
    for (int n = demoTables; n < kTables; ++n)
        db().exec(QStringLiteral("INSERT INTO TableList (tabl_code, tabl_name, tabl_type_code, dept_code, "
                                 "tabl_stat_code) VALUES (?, ?, ?, ?, ?)"),
                  {QStringLiteral("Z%1").arg(n, 2, 36, QLatin1Char('0')).toUpper(),
                   QStringLiteral("宴会桌%1").arg(n), n % 2 ? QStringLiteral("01") : QStringLiteral("04"),
                   n % 2 ? QStringLiteral("01") : QStringLiteral("02"), tables::TableState::kFree});
    tx.commit();
}

// Every other table in use with an order; the others are the spare half the steps open and
// settle.
void Venue::openStanding() {
    const QList<tables::BoardTable> all = tables::loadBoardTables(db(), tables::BoardSort::ByCode);
    for (int i = 0; i < all.size(); ++i) {
        if (all[i].state != tables::TableState::kFree) continue;
        if (i % 2) {
            openWithOrder(all[i].code);
            standing_ << all[i].code;
        } else {
            spare_ << all[i].code;
        }
    }
}

QString Venue::standingTable() {
    return standing_[nextStanding_++ % standing_.size()];
}

QStringList Venue::spareTables(int count) {
    QStringList free;
    for (int round = 0; round < 2 && free.size() < count; ++round) {
        if (round) freeSpareTables();
        free.clear();
        for (const QString& code : spare_)
            if (tables::loadBoardTable(db(), code)->state == tables::TableState::kFree) free << code;
    }
    if (free.size() < count) throw std::runtime_error("not enough spare tables could be freed");
    // Round the half, as a busy evening seats its guests all over the room.
    QStringList chosen;
    for (int n = 0; n < count; ++n)
        chosen << free[(nextSpare_ + n) % free.size()];
    ++nextSpare_;
    return chosen;
}

// The bills the steps left open or settled on the spare tables are settled and cleared, as the
// cashier would before the tables are needed again.
void Venue::freeSpareTables() {
    for (const QString& code : spare_) {
        const tables::BoardTable table = *tables::loadBoardTable(db(), code);
        if (table.state == tables::TableState::kInUse || table.state == tables::TableState::kReopened) {
            std::unique_ptr<checkout::CheckoutSession> session = typedCheckout(code);
            session->settle(session->prepare(), cashier_);
        }
        if (table.state != tables::TableState::kFree && table.state != tables::TableState::kDisabled)
            table_life::clearTable(db(), code, tables::loadBoardTable(db(), code)->guestNumber);
    }
}

void Venue::stageOrder(const QString& tableCode, int bill) {
    ordering::OrderStaging staging(db(), bill, tableCode, cashier_.operCode,
                                   [](const QString&) { return true; });
    staging.begin();
    for (const char* code : kOrder)
        staging.choose(*ordering::loadOrderItem(db(), QString::fromLatin1(code)));
}

int Venue::openWithOrder(const QString& tableCode) {
    billing::GuestRecord guest =
        tables::newGuestRecord(db(), *tables::loadBoardTable(db(), tableCode), cashier_.shiftCode, clock_);
    guest.tabl_gues_coun = 4;
    guest.tabl_gues_name = QStringLiteral("宾客");
    const int bill = tables::openTable(db(), guest, settings_, clock_, {}).tabl_gues_auto_recn;
    stageOrder(tableCode, bill);
    ordering::commitOrder(db(), bill, clock_);
    return bill;
}

std::unique_ptr<checkout::CheckoutSession> Venue::typedCheckout(const QString& tableCode) {
    auto session = std::make_unique<checkout::CheckoutSession>(db(), clock_);
    session->enter(tableCode);
    const double receivable = session->guest().tabl_gues_shou;
    // A bill too small to share is paid in cash alone.
    const bool shared = receivable > kMemberPart + kCreditPart;
    if (shared) {
        session->chooseMember(kMemberCard, kMemberPassword);
        for (const checkout::CreditGuest& guest : session->choices().creditGuests)
            if (guest.code == kCreditGuest) session->chooseCredit(guest);
    }
    const QList<checkout::PaymentRow>& rows = session->tender().payments;
    for (int row = 0; row < rows.size(); ++row) {
        const QString& code = rows[row].code;
        if (code == checkout::PayCode::kCash)
            session->setAmount(row, shared ? receivable - kMemberPart - kCreditPart : receivable);
        else if (shared && code == checkout::PayCode::kMember)
            session->setAmount(row, kMemberPart);
        else if (shared && code == checkout::PayCode::kCredit)
            session->setAmount(row, kCreditPart);
    }
    return session;
}

int Venue::settledSpare(const QString& tableCode) {
    const int bill = openWithOrder(tableCode);
    std::unique_ptr<checkout::CheckoutSession> session = typedCheckout(tableCode);
    const checkout::Settlement plan = session->prepare();
    if (!plan.ok()) throw std::runtime_error(plan.refusal.toStdString());
    session->settle(plan, cashier_);
    return bill;
}

void Venue::startShift(int bills) {
    day::handOver(db(), clock_, day::buildHandoverSheet(db(), clock_),
                  {cashier_.operCode, cashier_.operName, {}});
    for (int n = 0; n < bills; ++n)
        clearedSpare(spareTable());
}

int Venue::clearedSpare(const QString& tableCode) {
    const int bill = settledSpare(tableCode);
    table_life::clearTable(db(), tableCode, bill);
    return bill;
}

} // namespace sorrel::bench
