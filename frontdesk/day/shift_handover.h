// The shift handover: the sheet of what the shift takes in per payment method (every payment
// cleared and not yet handed over, on any workstation, plus the method's opening float), the
// floats corrected before handing over, and the handover itself, which marks the payments as
// handed over, archives the sheet in Allpaytotal and starts the next shift with zero floats.
//
// Several workstations may build sheets at once. Each builds the shared Paytotaltemp in one
// transaction, so two builds never mix their rows, and keeps the sheet it built to show and
// print. The handover builds the sheet again inside its own transaction and refuses when that
// differs from the sheet the cashier looked at, so what is archived is always what was handed
// over.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/db/recordset.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace sorrel::day {

inline const QString kSubmitFloatCode = QStringLiteral("B100011");
inline const QString kHandOverCode = QStringLiteral("B100010");
// The waiver: its own row on the sheet, outside the totals on screen.
inline const QString kWaiverMethod = QStringLiteral("R");
inline const QString kHandOverQuestion = QStringLiteral("请确认是否进行[交班处理],请慎重确认!");
inline const QString kSheetChangedMessage =
    QStringLiteral("交班数据已经改变（其它工作站清台、交班或修改了初始金额），请核对新的交班表后再交班！");

struct HandoverLine {
    QString code;
    QString name;
    int receipts = 0;    // payments with a positive amount
    double received = 0; // every payment's amount added up
    double openingFloat = 0;
    double toHandOver = 0; // float + received

    bool operator==(const HandoverLine& other) const;
};

struct HandoverTotals {
    double openingFloat = 0;
    int receipts = 0;
    double received = 0;
    double toHandOver = 0;
};

struct HandoverSheet {
    QList<HandoverLine> lines; // by method code, descending
    QDateTime builtAt;

    // The four totals under the sheet on screen: the waiver left out.
    HandoverTotals screenTotals() const;
    // The sums of the printed report: every line, the waiver included.
    HandoverTotals printedTotals() const;
};

// The payment methods with their floats, by code descending: pay_type_code, pay_type_name,
// pay_star_mone.
RecordSet loadFloats(Database& db);

// Rebuilds Paytotaltemp from the payments not yet handed over, in one transaction.
HandoverSheet buildHandoverSheet(Database& db, const Clock& clock);

// "提交": posts one method's float and rebuilds the sheet with it, in one transaction
// (CodedFailure B100011 when that fails).
HandoverSheet submitFloat(Database& db, const Clock& clock, const QString& methodCode, double openingFloat);

struct HandoverBy {
    QString operatorCode;
    QString operatorName;
    QString note; // stored exactly as typed
};

// "交班", after its question, in one transaction (CodedFailure B100010 when that fails):
// StepRefused with kSheetChangedMessage, nothing changed, when the sheet built now differs from
// `seen`. Otherwise the payment rows of cleared tables leave the current-day payments, every
// float becomes 0, every outstanding payment is handed over and the sheet is archived under the
// business date.
void handOver(Database& db, const Clock& clock, const HandoverSheet& seen, const HandoverBy& by);

// The same handover without a transaction of its own or a sheet to compare with, for a caller
// that runs it inside a larger one: the sheet built now is archived. Answers that sheet.
HandoverSheet handOverSteps(Database& db, const Clock& clock, const HandoverBy& by);

} // namespace sorrel::day
