#include "backoffice/members/credit_lists.h"

#include "backoffice/members/balance.h"
#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/document/document_builder.h"

#include "common/money.h"
#include "common/settings_row.h"
#include "common/system_password.h"
#include "common/typed_input.h"

namespace sorrel::members {

namespace {

const QString kOwes = QStringLiteral("因为此单位欠款未清，所以不能被删除！");
const QString kOwesRecode = QStringLiteral("因为此单位欠款未清，所以不能修改编码！");

// The guest still owes, by the database as it is now.
lists::Check refuseWhileOwing(const QString& message, const QString& title = {}) {
    return [=](Database& db, const lists::EditedRecord& r) -> lists::Verdict {
        if (r.isNew()) return std::nullopt;
        const std::optional<double> debt = currentBalance(db, kCreditDebt, r.original("hang_gues_code"));
        if (debt && compareMoney(*debt, 0) != 0) return lists::Refusal{message, title};
        return std::nullopt;
    };
}

} // namespace

CreditLists::CreditLists(Database& db, const Clock& clock, OperatorSource currentOperator)
    : db_(db), clock_(clock), operator_(std::move(currentOperator)) {
    guests_ = std::make_unique<lists::MaintenanceList>(db, guestList());
    repayments_ = std::make_unique<lists::MaintenanceList>(db, repaymentList_());
    repayments_->follow(*guests_);
    guests_->reload();
}

CreditLists::~CreditLists() = default;

lists::ListDefinition CreditLists::guestList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("HangGues");
    d.key = QStringLiteral("hang_gues_code");
    // Never the debt: the front desk raises it and repayments lower it while the manager edits.
    d.edited = {"hang_gues_code", "hang_gues_name", "hang_gues_tele", "hang_gues_work",
                "hang_gues_add",  "hang_gues_rema", "hang_gues_limi", "hang_gues_pass"};
    d.defaults = {{"hang_gues_rema", QStringLiteral(" ")}, {"hang_gues_use", 0.0}, {"hang_gues_limi", 0.0}};
    d.saveChecks = {lists::requireFilled(
        {"hang_gues_code", "hang_gues_name", "hang_gues_tele", "hang_gues_work", "hang_gues_add"},
        QStringLiteral("挂帐客人[编码]、[姓名]、[工作单位]、[地址]、[电话]不能为空！"))};
    // The bills on credit name the guest by code.
    d.guards = {{"hang_gues_code", refuseWhileOwing(kOwesRecode, lists::kSeriesTitle)}};
    d.deleteChecks = {refuseWhileOwing(kOwes)};
    d.alsoSave = [](Database& db, const lists::EditedRecord& r) {
        if (r.changed("hang_gues_code"))
            db.exec(QStringLiteral("UPDATE Hangguesin SET hang_gues_code = ? WHERE hang_gues_code = ?"),
                    {r.value("hang_gues_code"), r.original("hang_gues_code")});
    };
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition CreditLists::repaymentList_() {
    lists::ListDefinition d;
    d.table = QStringLiteral("Hangguesin");
    d.key = QStringLiteral("time_fact"); // only read: repayments are booked by repay()
    d.masterColumn = QStringLiteral("hang_gues_code");
    d.edited = {};
    d.leaveStep = [this] { guests_->reload(); };
    return d;
}

bool CreditLists::openRepayments(const QString& typedPassword) {
    if (guests_->current() < 0) return false;
    if (!systemPasswordMatches(db_, typedPassword)) throw StepRefused(kWrongSystemPasswordMessage);
    if (!guests_->save()) return false;
    repayments_->reload();
    return true;
}

CreditLists::Repayment CreditLists::repay(const QString& typedAmount) {
    if (guests_->current() < 0) return Repayment::NotANumber;
    double typed = 0;
    try {
        typed = parseTypedNumber(typedAmount, kAmountRange);
    } catch (const InvalidInput&) {
        return Repayment::NotANumber;
    }
    const double amount = IntWay(typed, kKeepCents);
    const QVariant code = guests_->storedValue(QStringLiteral("hang_gues_code"));
    const OperatorEntry who = operator_();
    enum { Booked, AboveDebt, Gone } outcome = Booked;
    runCoded(db_, kRepaymentFailureCode, [&] {
        const RecordSet guest = db_.query(
            QStringLiteral("SELECT hang_gues_name, COALESCE(hang_gues_use, 0) AS debt FROM HangGues "
                           "WHERE hang_gues_code = ?") +
                db_.lockRowsClause(),
            {code});
        if (guest.isEmpty()) {
            outcome = Gone;
            return;
        }
        if (compareMoney(amount, guest.number(0, "debt")) > 0) {
            outcome = AboveDebt;
            return;
        }
        const QDateTime businessDate = loadSettingsRow(db_).timeWork;
        db_.exec(
            QStringLiteral(
                "INSERT INTO Hangguesin (hang_gues_code, hang_gues_name, hang_gues_inco, "
                "hang_gues_inco_date, oper_code, oper_name, time_fact) VALUES (?, ?, ?, ?, ?, ?, ?)"),
            {code, guest.value(0, "hang_gues_name"), amount, businessDate, who.code, who.name, clock_.now()});
        moveBalance(db_, kCreditDebt, code, -amount);
    });
    switch (outcome) {
    case Gone:
        guests_->reload();
        throw StepRefused(lists::kRecordGoneMessage);
    case AboveDebt:
        guests_->reload();
        throw StepRefused(kRepaymentAboveDebt);
    case Booked:
        break;
    }
    guests_->reload();
    repayments_->reload();
    return Repayment::Booked;
}

document::Document CreditLists::repaymentList() const {
    return repaymentDocument(guests_->text(QStringLiteral("hang_gues_name")), repayments_->rows(),
                             clock_.now());
}

document::Document repaymentDocument(const QString& guestName, const RecordSet& repayments,
                                     const QDateTime& printedAt) {
    using document::Column;
    document::DocumentBuilder b(
        QStringLiteral("挂帐还款一览表"),
        {Column::text(QStringLiteral("编码"), 1), Column::text(QStringLiteral("单位名称"), 3),
         Column::money(QStringLiteral("还款金额"), 2).summing(), Column::text(QStringLiteral("还款日期"), 2),
         Column::text(QStringLiteral("操作员"), 2)});
    b.title(QStringLiteral("挂帐还款一览表"))
        .fields({QStringLiteral("单位名称：") + guestName,
                 QStringLiteral("打印时间：") + printedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))})
        .columnHeader();
    for (int i = 0; i < repayments.rowCount(); ++i)
        b.row({repayments.text(i, "hang_gues_code"), repayments.text(i, "hang_gues_name"),
               repayments.number(i, "hang_gues_inco"),
               repayments.value(i, "hang_gues_inco_date").toDate().toString(QStringLiteral("yyyy-MM-dd")),
               repayments.text(i, "oper_name")});
    b.rule().totals({QStringLiteral("合计：")});
    return b.document();
}

} // namespace sorrel::members
