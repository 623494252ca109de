// How the consumption-mode panel shows the mode's amount for each consumption type: the amount
// field's caption, or no field at all, and whether the price-band button is offered.
#pragma once

#include <QString>
#include <optional>

namespace sorrel::rooms {

inline const QString kAmountCaption = QStringLiteral("消费金额：");

struct AmountField {
    QString caption; // empty: the amount field is hidden
    bool bands = false;
};

// Nothing for a code no consumption type has: the panel stays as it is.
std::optional<AmountField> amountFieldFor(const QString& typeCode);

} // namespace sorrel::rooms
