#include "common/login_session.h"

#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "common/installation/backup.h"
#include "common/messages.h"
#include "common/operators.h"
#include "common/permissions.h"
#include "common/system_log.h"
#include "common/workstations.h"

namespace sorrel {

LoginSession::LoginSession(Database& db, const Clock& clock, Program program)
    : db_(db), clock_(clock), program_(program) {
    const RecordSet ops = db_.query(QStringLiteral(
        "SELECT oper_code, oper_name, oper_pass, mana_code FROM operatorlist ORDER BY oper_code"));
    for (int i = 0; i < ops.rowCount(); ++i)
        operators_.append({ops.text(i, "oper_code"), ops.text(i, "oper_name"), ops.text(i, "oper_pass"),
                           ops.text(i, "mana_code")});
    const RecordSet shifts =
        db_.query(QStringLiteral("SELECT orde_code, orde_name FROM OrderList ORDER BY orde_name, orde_code"));
    for (int i = 0; i < shifts.rowCount(); ++i)
        shifts_.append({shifts.text(i, "orde_code"), shifts.text(i, "orde_name")});
    settings_ = loadSettingsRow(db_);
    settings_.ordeCode.clear();
}

const OperatorEntry* LoginSession::currentOperator() const {
    return current_ ? &operators_[*current_] : nullptr;
}

QString LoginSession::shiftName() const {
    for (const ShiftEntry& s : shifts_)
        if (!settings_.ordeCode.isEmpty() && s.code == settings_.ordeCode) return s.name;
    return {};
}

const OperatorEntry* LoginSession::find(const QString& code, const QString& password) const {
    for (const OperatorEntry& op : operators_)
        if (op.code == code && op.password == password) return &op;
    return nullptr;
}

void LoginSession::backUpAfterDayEnd() {
    if (dayEndBackupFolder_.isEmpty() || !loadSettingsRow(db_).workBack) return;
    try {
        installation::backupDatabase(db_, dayEndBackupFolder_, clock_);
    } catch (const DbError& e) {
        messages::error(QStringLiteral("日结后的自动数据备份未能完成：%1").arg(e.reason()));
    }
}

void LoginSession::log(const QString& text) {
    logSet(db_, clock_, settings_.operCode, text);
}

LoginResult LoginSession::logIn(const QString& shiftCode, const QString& operatorCode,
                                const QString& password, const DayProgress& progress) {
    lastRollover_ = RolloverOutcome::NotDue;
    if (shiftCode.isEmpty()) return LoginResult::NoShift;
    const OperatorEntry* op = find(operatorCode.trimmed(), password.trimmed());
    if (!op) return LoginResult::UnknownOperator;

    if (rolloverDue(loadSettingsRow(db_), clock_.today()))
        lastRollover_ = runAutomaticRollover(db_, clock_, progress);
    if (lastRollover_ == RolloverOutcome::DayEndedAndStarted) backUpAfterDayEnd();

    const QDateTime now = clock_.now();
    Transaction tx(db_);
    db_.exec(QStringLiteral("UPDATE SetupPay SET oper_code = ?, mana_code = ?, time_star = ?, orde_code = ?"),
             {op->code, op->manaCode, toDbDateTime(now), shiftCode});
    settings_ = loadSettingsRow(db_);
    current_ = int(op - operators_.constData());
    loggedIn_ = true;
    log(QStringLiteral("[") + shiftName() + QStringLiteral("][登录系统]"));
    tx.commit();
    setOwnWorkstationOperator(op->name);
    return LoginResult::Accepted;
}

LoginResult LoginSession::logInWithoutShift(const QString& operatorCode, const QString& password,
                                            const DayProgress& progress) {
    lastRollover_ = RolloverOutcome::NotDue;
    const std::optional<OperatorEntry> found = findOperator(db_, operatorCode, password);
    if (!found) return LoginResult::UnknownOperator;
    const OperatorEntry op = *found;
    {
        Transaction tx(db_);
        db_.exec(QStringLiteral("UPDATE SetupPay SET oper_code = ?, mana_code = ?"), {op.code, op.manaCode});
        tx.commit();
    }
    operators_ = {op};
    current_ = 0;
    lastRollover_ = runRolloverInOneTransaction(db_, clock_, progress);
    if (lastRollover_ == RolloverOutcome::DayEndedAndStarted) backUpAfterDayEnd();
    settings_ = loadSettingsRow(db_);
    // Our operator, whoever another workstation has logged in since.
    settings_.operCode = op.code;
    settings_.manaCode = op.manaCode;
    loggedIn_ = true;
    log(kBackOfficeLoginLog);
    setOwnWorkstationOperator(op.name);
    return LoginResult::Accepted;
}

bool LoginSession::identifyForPasswordChange(const QString& operatorCode, const QString& password) {
    const OperatorEntry* op = find(operatorCode, password);
    if (!op) return false;
    db_.exec(QStringLiteral("UPDATE SetupPay SET oper_code = ?"), {op->code});
    settings_.operCode = op->code;
    return true;
}

bool LoginSession::changePassword(const QString& operatorCode, const QString& password,
                                  const QString& newPassword, const QString& confirmation) {
    const OperatorEntry* found = find(operatorCode.trimmed(), password.trimmed());
    const QString fresh = newPassword.trimmed();
    const QString confirmed = confirmation.trimmed();
    if (!found || fresh.isEmpty() || confirmed.isEmpty() || fresh != confirmed) return false;
    OperatorEntry& op = operators_[int(found - operators_.constData())];
    Transaction tx(db_);
    db_.exec(QStringLiteral("UPDATE operatorlist SET oper_pass = ? WHERE oper_code = ?"), {fresh, op.code});
    log(QStringLiteral("[") + op.name + QStringLiteral("][密码修改]"));
    tx.commit();
    op.password = fresh;
    return true;
}

void LoginSession::relogin(const QString& action) {
    log(QStringLiteral("[") + shiftName() + QStringLiteral("][") + action + QStringLiteral("]"));
    settings_.ordeCode.clear();
}

void LoginSession::reloadBusinessDay() {
    const SettingsRow now = loadSettingsRow(db_);
    settings_.timeWork = now.timeWork;
    settings_.timeStar = now.timeStar;
    settings_.timeEnd = now.timeEnd;
    settings_.payStar = now.payStar;
    settings_.workAuto = now.workAuto;
    settings_.workBack = now.workBack;
}

void LoginSession::logExit() {
    if (program_ == Program::BackOffice) {
        if (loggedIn_) log(kBackOfficeExitLog);
        return;
    }
    log(QStringLiteral("[") + shiftName() + QStringLiteral("][退出系统]"));
}

QString LoginSession::levelNow() {
    const OperatorEntry* op = currentOperator();
    if (!op) return settings_.manaCode;
    return operatorLevel(db_, op->code);
}

bool LoginSession::limite(const QString& limiCode) {
    const QString level = levelNow();
    if (program_ == Program::FrontDesk) return sorrel::limite(db_, level, limiCode);
    if (levelMayUse(db_, level, limiCode)) return true;
    messages::information(kPermissionRefusalText);
    return false;
}

QString LoginSession::userCaption() const {
    return QStringLiteral("【用户：") + settings_.userName + QStringLiteral("】");
}

QString LoginSession::businessDateCaption() const {
    return QStringLiteral("【营业日期：") + settings_.timeWork.date().toString(QStringLiteral("yyyy-MM-dd")) +
           QStringLiteral("】");
}

QString LoginSession::operatorCaption() const {
    const OperatorEntry* op = currentOperator();
    return QStringLiteral("【操作员：") + (op ? op->name : QString()) + QStringLiteral("】");
}

} // namespace sorrel
