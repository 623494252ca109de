// Money rounding, the one place an amount is rounded: the bill rounding IntWay (pay_set_sum_int)
// and the order-line rounding (pay_set_item_int), shared by the front desk and the back office.
#pragma once

#include <QString>

namespace sorrel {

// The rounding schemes as the settings store them.
inline const QString kRoundHalfEven = QStringLiteral("四舍五入");
inline const QString kDropFraction = QStringLiteral("舍去小数");
inline const QString kKeepCents = QStringLiteral("保留小数");
inline const QString kRaiseFraction = QStringLiteral("小数进一");

// N(v): the nearest whole number, an exact half going to the even neighbour (2.5 -> 2,
// 3.5 -> 4, -2.5 -> -2).
double roundHalfEven(double value);

// The bill rounding of every money figure, by the scheme text of pay_set_sum_int:
// 四舍五入 N(x); 舍去小数 toward zero; 保留小数 to the cent, halves to even; 小数进一 the
// smallest whole number not below x; any other text (or none) leaves x unchanged.
double IntWay(double amount, const QString& sumScheme);

// q x p x f of an order line: quantity, unit price and the line's money sign (1 ordered,
// -1 returned, 0 free). Every sum over lines multiplies in this one order.
double lineValue(double quantity, double unitPrice, int typeFlag);

// The committed amount of an order line (tabl_cons_tota), by pay_set_item_int:
// 小数进一 N(v + 0.49) for v >= 0 and N(v - 0.49) below; 四舍五入 N(v); 保留小数 v as it is.
// Any other text keeps v as it is too: an amount is never raised by a scheme nobody chose.
double orderLineAmount(double quantity, double unitPrice, int typeFlag, const QString& lineScheme);

// The amount the staging list shows for a line being ordered (itemtota), from q x p:
// 四舍五入 N(qp); 保留小数 IntWay(qp) by the bill scheme; 小数进一, empty or any other text
// N(qp + 0.49).
double stagingLineAmount(double quantityTimesPrice, const QString& lineScheme, const QString& sumScheme);

// Compares two amounts to the millionth, the same resolution the rounding reads them at:
// negative, 0 or positive as a is below, equal to or above b.
int compareMoney(double a, double b);

} // namespace sorrel
