#include "common/document/number_format.h"

#include "common/money.h"

namespace sorrel::document {

namespace {

// To the cent by the bill's own cent rounding, so a printed figure is the one the bill holds
// (2.675 prints 2.68, not the 2.67 of its binary value), and never "-0.00".
double toCents(double value) {
    const double cents = IntWay(value, kKeepCents);
    return cents == 0 ? 0 : cents;
}

} // namespace

QString formatNumber(double value, NumberFormat format) {
    switch (format) {
    case NumberFormat::Money:
        return QString::number(toCents(value), 'f', 2);
    case NumberFormat::Quantity: {
        QString text = QString::number(toCents(value), 'f', 2);
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.'))) text.chop(1);
        return text;
    }
    case NumberFormat::Text:
        break;
    }
    return QString::number(value);
}

} // namespace sorrel::document
