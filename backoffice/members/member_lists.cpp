#include "backoffice/members/member_lists.h"

#include "backoffice/members/balance.h"
#include "common/money.h"
#include "common/typed_input.h"

namespace sorrel::members {

namespace {

const QString kMemberRequired =
    QStringLiteral("会员[卡号]、[会员类型]、[卡类型]、[姓名]、[工作单位]、[地址]、[电话]不能为空！");

lists::Check refuseAlways(const QString& message, const QString& title) {
    return [=](Database&, const lists::EditedRecord&) -> lists::Verdict {
        return lists::Refusal{message, title};
    };
}

// A card's discount: the share of the price the member pays, in percent.
constexpr NumberRange kDiscountRange{0, 100};

} // namespace

double enteredAmount(const QString& typed) {
    try {
        return parseTypedNumber(typed, kAmountRange);
    } catch (const InvalidInput&) {
        return 0.0;
    }
}

MemberLists::MemberLists(Database& db, const Clock& clock, OperatorSource currentOperator)
    : db_(db), clock_(clock), operator_(std::move(currentOperator)) {
    types_ = std::make_unique<lists::MaintenanceList>(db, typeList());
    members_ = std::make_unique<lists::MaintenanceList>(db, memberList());
    topUps_ = std::make_unique<lists::MaintenanceList>(db, topUpList());
    topUps_->follow(*members_);
    types_->reload();
    members_->reload();
}

MemberLists::~MemberLists() = default;

lists::ListDefinition MemberLists::typeList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("membType");
    d.key = QStringLiteral("memb_type_code");
    d.edited = {"memb_type_code", "memb_Type_name",      "memb_type_pric", "memb_type_allo_time",
                "memb_type_time", "memb_type_disc_perc", "memb_type_fact"};
    d.defaults = {{"memb_type_allo_time", 0}};
    d.ranges = {{"memb_type_disc_perc", kDiscountRange}};
    d.computedDefaults = [this](QVariantMap& defaults) { defaults.insert("memb_type_now", clock_.now()); };
    d.saveChecks = {lists::requireFilled({"memb_type_code", "memb_Type_name"},
                                         QStringLiteral("会员卡类型[编码]、[名称]不能为空！"))};
    // Members name their type by code.
    const lists::Reference inUse = lists::referencedIn("MemberList", "memb_type_code");
    lists::refuseWhileReferenced(d, "memb_type_code", inUse, QStringLiteral("[会员类别]正在被会员使用"), lists::kSeriesTitle);
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition MemberLists::memberList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("MemberList");
    d.key = QStringLiteral("memb_card_code");
    // Never the balance, the money spent or the points: entries and the front desk move them
    // while the manager edits.
    d.edited = {"memb_card_code", "memb_type_code", "memb_pass", "memb_name",      "memb_ID",
                "memb_work",      "memb_add",       "memb_tele", "memb_card_type", "memb_time_allo",
                "memb_time_end",  "memb_disc_perc", "memb_rema"};
    d.defaults = {{"memb_time_allo", 0},   {"memb_card_type", kStoredValueCard},
                  {"memb_disc_perc", 100}, {"memb_surp", 0.0},
                  {"memb_use", 0.0},       {"memb_stor", 0.0},
                  {"memb_stor_temp", 0.0}};
    d.computedDefaults = [this](QVariantMap& defaults) { defaults.insert("memb_time_end", clock_.now()); };
    d.ranges = {{"memb_disc_perc", kDiscountRange}};
    d.saveChecks = {lists::requireFilled({"memb_tele", "memb_type_code", "memb_card_code", "memb_card_type",
                                          "memb_name", "memb_pass", "memb_work", "memb_add"},
                                         kMemberRequired)};
    d.deleteChecks = {[](Database& db, const lists::EditedRecord& r) -> lists::Verdict {
        const std::optional<double> left = currentBalance(db, kCardBalance, r.original("memb_card_code"));
        if (left && compareMoney(*left, 0) != 0)
            return lists::Refusal{QStringLiteral("此会员卡还有剩余金额，所以不能被删除！"), {}};
        return std::nullopt;
    }};
    // A card's entries go with it: re-numbered, they follow; deleted, a card given the same
    // number later does not inherit its points.
    d.alsoSave = [](Database& db, const lists::EditedRecord& r) {
        if (r.changed("memb_card_code"))
            db.exec(QStringLiteral("UPDATE membManage SET memb_card_code = ? WHERE memb_card_code = ?"),
                    {r.value("memb_card_code"), r.original("memb_card_code")});
    };
    d.alsoDelete = [](Database& db, const lists::EditedRecord& r) {
        db.exec(QStringLiteral("DELETE FROM membManage WHERE memb_card_code = ?"),
                {r.original("memb_card_code")});
    };
    d.afterEdit = [this](lists::MaintenanceList& members, const QString& column) {
        typeChosen(members, column);
    };
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition MemberLists::topUpList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("membManage");
    d.key = QStringLiteral("memb_mana_ID");
    d.keyIsAutoNumber = true;
    d.masterColumn = QStringLiteral("memb_card_code");
    d.edited = {}; // append only
    d.defaults = {{"memb_mana_save", 0.0}, {"memb_mana_inte", 0.0}};
    d.computedDefaults = [this](QVariantMap& defaults) {
        const OperatorEntry who = operator_();
        defaults.insert("memb_card_type", members_->storedValue(QStringLiteral("memb_card_type")));
        defaults.insert("memb_mana_time", clock_.now());
        defaults.insert("oper_code", who.code);
        defaults.insert("oper_name", who.name);
    };
    d.saveChecks = {
        [](Database&, const lists::EditedRecord& r) -> lists::Verdict {
            if (compareMoney(r.number("memb_mana_save"), 0) == 0 &&
                compareMoney(r.number("memb_mana_inte"), 0) == 0)
                return lists::Refusal{QStringLiteral("续钱金额或积分增减不能为零！"), lists::kSeriesTitle};
            return std::nullopt;
        },
        // Against the card as it is now: another workstation may have charged it since.
        [](Database& db, const lists::EditedRecord& r) -> lists::Verdict {
            if (!r.isNew()) return std::nullopt; // a stored entry has had its effect
            const std::optional<double> balance = currentBalance(db, kCardBalance, r.value("memb_card_code"));
            if (!balance) return lists::Refusal{lists::kRecordGoneMessage, {}};
            if (compareMoney(*balance + r.number("memb_mana_save"), 0) < 0)
                return lists::Refusal{QStringLiteral("扣减后剩余金额不能小于零，请重新输入！"), {}};
            return std::nullopt;
        },
    };
    const lists::Check stored = refuseAlways(QStringLiteral("只能增加，不能被修改！"), lists::kSeriesTitle);
    for (const char* column : {"memb_mana_save", "memb_mana_inte", "memb_mana_rema"})
        d.guards << lists::CodeGuard{QLatin1String(column), stored};
    d.alsoSave = [](Database& db, const lists::EditedRecord& r) {
        if (!r.isNew()) return;
        const QVariant card = r.value("memb_card_code");
        moveBalance(db, kCardBalance, card, r.number("memb_mana_save"));
        db.exec(QStringLiteral("UPDATE MemberList SET memb_stor = COALESCE((SELECT sum(memb_mana_inte) FROM "
                               "membManage WHERE memb_card_code = ?), 0) + COALESCE(memb_stor_temp, 0) "
                               "WHERE memb_card_code = ?"),
                {card, card});
    };
    d.failureCode = kTopUpFailureCode;
    // "回退" only returns: an entry not saved is dropped, the card is shown as it now stands.
    d.leaveStep = [this] {
        topUps_->cancel();
        members_->reload();
    };
    return d;
}

lists::Choices MemberLists::typeChoices() const {
    return lists::readChoices(db_,
                              QStringLiteral("SELECT memb_type_code, memb_Type_name FROM membType ORDER BY "
                                             "memb_type_code"));
}

void MemberLists::typeChosen(lists::MaintenanceList& members, const QString& column) {
    if (column.compare(QStringLiteral("memb_type_code"), Qt::CaseInsensitive) != 0) return;
    const RecordSet type = db_.query(QStringLiteral("SELECT memb_type_disc_perc, memb_type_allo_time, "
                                                    "memb_type_time FROM membType WHERE memb_type_code = ?"),
                                     {members.value(column)});
    if (type.isEmpty()) return;
    // A card of the type starts with its discount and, for a type that expires, its validity.
    members.assign(QStringLiteral("memb_disc_perc"), type.value(0, "memb_type_disc_perc"));
    const bool expires = type.value(0, "memb_type_allo_time").toLongLong() != 0;
    members.assign(QStringLiteral("memb_time_allo"), expires ? 1 : 0);
    if (expires)
        members.assign(
            QStringLiteral("memb_time_end"),
            QDateTime(clock_.today().addDays(type.value(0, "memb_type_time").toInt()), QTime(0, 0)));
}

bool MemberLists::openTopUps(TopUpKind kind) {
    if (members_->current() < 0 || !members_->save()) return false;
    kind_ = kind;
    db_.exec(QStringLiteral(
        "DELETE FROM membManage WHERE COALESCE(memb_mana_save, 0) = 0 AND COALESCE(memb_mana_inte, 0) = 0"));
    topUps_->reload();
    return true;
}

void MemberLists::enterTopUp(const QString& column, const QString& typed) {
    topUps_->edit(column, enteredAmount(typed));
}

} // namespace sorrel::members
