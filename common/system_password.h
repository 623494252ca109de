// The passwords that guard the venue's risky steps. The system password (setupprint's
// set_prn_92_fiel), set on the back office's "注册用户", is asked by reverse settlement, the
// credit guests' repayments and every data operation, always through systemPasswordMatches;
// the two fixed management passwords open the back office's data panels.
#pragma once

#include "common/db/database.h"

#include <QString>

namespace sorrel {

inline const QString kWrongSystemPasswordMessage = QStringLiteral("密码不正确，请重新输入后确认！");
inline const QString kSystemPasswordChangedMessage = QStringLiteral("系统密码已更改完毕!");
inline const QString kSystemPasswordsDifferMessage =
    QStringLiteral("两次输入的系统管理密码不一致，请重新输入！");
inline const QString kEmptySystemPasswordQuestion =
    QStringLiteral("系统管理密码为空，任何人都可以进行反结帐、挂帐还款和数据管理操作，是否确定使用空密码？");
inline const QString kNoManagementPasswordMessage = QStringLiteral("请输入管理密码！");
inline const QString kWrongManagementPasswordMessage = QStringLiteral("输入的管理密码错误，请修改！");

// The typed text against the stored system password, both without blanks around them; a quote
// is a character like any other. False when the database holds no bill layout row, or two.
bool systemPasswordMatches(Database& db, const QString& typed);

// Sets the system password to `typed` without blanks around it, in its own transaction (or the
// caller's). Refused (StepRefused) when the confirmation, trimmed alike, differs. An empty
// password is taken: the screen asks kEmptySystemPasswordQuestion first.
void setSystemPassword(Database& db, const QString& typed, const QString& confirmation);

// The fixed passwords of the back office's data panels: backup, restore and clearing ask the
// data password, system initialisation its own.
enum class ManagementPassword { Data, Initialisation };

// The typed text, trimmed, against the fixed password.
bool managementPasswordMatches(const QString& typed, ManagementPassword which = ManagementPassword::Data);
// What the panel says before going on: kNoManagementPasswordMessage for a blank one,
// kWrongManagementPasswordMessage for a wrong one, empty when it matches.
QString managementPasswordRefusal(const QString& typed, ManagementPassword which = ManagementPassword::Data);

} // namespace sorrel
