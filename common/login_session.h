// One program's login: the operators and shifts read at start, the program's copy of the
// settings row, who is logged in on which shift, password change, re-login and the log rows
// these write. The front desk and the back office log in through it; the back office logs in
// without a shift, rolls the day over in one transaction and writes its own log texts.
#pragma once

#include "common/business_day.h"
#include "common/clock.h"
#include "common/db/database.h"
#include "common/program.h"
#include "common/settings_row.h"

#include <QList>
#include <optional>

namespace sorrel {

struct OperatorEntry {
    QString code;
    QString name;
    QString password;
    QString manaCode;
};

struct ShiftEntry {
    QString code;
    QString name;
};

inline const QString kChooseShiftMessage = QStringLiteral("请选择[班次]！");
inline const QString kUnknownOperatorMessage = QStringLiteral("你输入的员工或密码不存在，请重新输入！");
inline const QString kIdentifyFirstMessage =
    QStringLiteral("请首先输入的员工或密码确认身份，再进行密码修改！");
inline const QString kPasswordChangeRefusedMessage =
    QStringLiteral("你输入的员工或密码不存在或者更新密码为空，请重新输入！");
inline const QString kBackOfficeLoginLog = QStringLiteral("[登录系统（后台）]");
inline const QString kBackOfficeExitLog = QStringLiteral("[退出系统（后台）]");

// The log texts of leaving a shift for the login box: by "重新登录", and by the shift handover.
inline const QString kReloginAction = QStringLiteral("退出系统,重新登录");
inline const QString kHandoverReloginAction = QStringLiteral("系统交班,重新登录");

enum class LoginResult { Accepted, NoShift, UnknownOperator };

class LoginSession {
  public:
    // Reads the operators (by code), the shifts (by name) and the settings row. The program's
    // copy of the shift is emptied, so a shift must be chosen at every start.
    LoginSession(Database& db, const Clock& clock, Program program = Program::FrontDesk);

    Program program() const { return program_; }

    const QList<ShiftEntry>& shifts() const { return shifts_; }
    const SettingsRow& settings() const { return settings_; }
    bool loggedIn() const { return loggedIn_; }
    // The operator of the last successful login; nullptr before it.
    const OperatorEntry* currentOperator() const;
    QString shiftName() const;

    // Operator code and password are trimmed; `shiftCode` empty means none chosen. An accepted
    // login runs the automatic day rollover when it is due (CodedFailure when that fails),
    // records operator, level, shift and moment in SetupPay, writes the log and names the operator
    // on this program's workstation row.
    LoginResult logIn(const QString& shiftCode, const QString& operatorCode, const QString& password,
                      const DayProgress& progress = {});
    // The back office's login: no shift. The operator is looked up afresh (one added by another
    // back office is found), recorded in SetupPay, then the day is rolled over when due, in one
    // transaction (CodedFailure A100011 when that fails), the log written and the operator named
    // on the workstation row.
    LoginResult logInWithoutShift(const QString& operatorCode, const QString& password,
                                  const DayProgress& progress = {});
    // What the last logIn() did to the business day.
    RolloverOutcome lastRollover() const { return lastRollover_; }
    // Where a day end backs the database up when "日结时是否进行自动数据备份！" (work_back) is
    // ticked: the program's back/ folder; none, no backup.
    void setDayEndBackupFolder(const QString& folder) { dayEndBackupFolder_ = folder; }
    // After every day end (by hand, or by a rollover at login): the backup when work_back is
    // ticked. Only a failure is told.
    void backUpAfterDayEnd();

    // The key button of the login box: the operator typed there (exactly as typed) confirms
    // who is changing a password; false when there is no such operator.
    bool identifyForPasswordChange(const QString& operatorCode, const QString& password);
    // The change box: false (nothing changed) unless the operator exists and the new password,
    // trimmed, is not empty and confirmed.
    bool changePassword(const QString& operatorCode, const QString& password, const QString& newPassword,
                        const QString& confirmation);

    // "重新登录" (or the end of a shift handover, logged as `action`): logs the operator out of
    // the shift; the next login must choose one again.
    void relogin(const QString& action = kReloginAction);
    // The business day as the database holds it now, after day start or day end: the day's
    // fields of the program's copy are read again, the operator and shift stay as they are.
    void reloadBusinessDay();
    // The program is closing.
    void logExit();

    // Permission check for the level of this program's operator as the database holds it at
    // the check (never the level another workstation's login has since written to SetupPay);
    // the refusal is shown as this program words it.
    bool limite(const QString& limiCode);

    // The status bar's user, operator and business-date panels.
    QString userCaption() const;
    QString operatorCaption() const;
    QString businessDateCaption() const;

  private:
    const OperatorEntry* find(const QString& code, const QString& password) const;
    void log(const QString& text);
    QString levelNow();

    Database& db_;
    const Clock& clock_;
    Program program_;
    QList<OperatorEntry> operators_;
    QList<ShiftEntry> shifts_;
    SettingsRow settings_;
    std::optional<int> current_;
    bool loggedIn_ = false;
    RolloverOutcome lastRollover_ = RolloverOutcome::NotDue;
    QString dayEndBackupFolder_;
};

} // namespace sorrel
