#include "common/typed_input.h"

#include <QRegularExpression>
#include <cmath>

namespace sorrel {

double parseTypedNumber(const QString& text) {
    static const QRegularExpression plainNumber(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    constexpr int kMostDigits = 15;
    const QString t = text.trimmed();
    bool ok = false;
    double value = 0;
    if (plainNumber.match(t).hasMatch() &&
        t.count(QRegularExpression(QStringLiteral("[0-9]"))) <= kMostDigits)
        value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value)) refuseTypedNumber(text);
    return value;
}

double parseTypedNumber(const QString& text, NumberRange range) {
    const double value = parseTypedNumber(text);
    if (value < range.lowest || value > range.highest) refuseTypedNumber(text);
    return value;
}

double parseTypedNumberOrZero(const QString& text, NumberRange range) {
    const QString typed = text.trimmed();
    if (typed.isEmpty() || typed == QStringLiteral(".")) return checkedNumber(0, range);
    return parseTypedNumber(typed, range);
}

double checkedNumber(double value, NumberRange range) {
    if (!std::isfinite(value) || value < range.lowest || value > range.highest)
        refuseTypedNumber(QString::number(value));
    return value;
}

double largestDecimal(int precision) {
    return std::pow(10.0, precision - 2) - 0.01;
}

QString plainNumberText(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    }
    if (text == QLatin1String("-0")) text = QStringLiteral("0");
    return text;
}

// The message carries the text as typed, without what would cut it short or split it.
void refuseTypedNumber(const QString& text) {
    throw InvalidInput(
        ("'" + plainTypedText(text) + "' is not a valid floating point value").toUtf8().toStdString());
}

QDateTime parseTypedDateTime(const QString& text) {
    const QString t = text.trimmed();
    for (const char* format : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        const QDateTime parsed = QDateTime::fromString(t, QLatin1String(format));
        if (parsed.isValid()) return parsed;
    }
    throw InvalidInput(
        ("'" + plainTypedText(text) + "' is not a valid date and time").toUtf8().toStdString());
}

namespace {

// The embeddings, overrides and isolates that turn a text's direction around ("\u202e" shows a
// name backwards); no keyboard of the venue types them.
bool isDirectionOverride(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x202a && u <= 0x202e) || (u >= 0x2066 && u <= 0x2069);
}

} // namespace

QString plainTypedText(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            plain += QLatin1Char(' ');
        } else if (c.isHighSurrogate()) {
            // Half a character (a field's length can cut one) is left out; a whole one stays.
            if (i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                plain += c;
                plain += text[++i];
            }
        } else if (c.category() != QChar::Other_Control && !c.isLowSurrogate() && !isDirectionOverride(c)) {
            plain += c;
        }
    }
    return plain;
}

InputErrorKind classifyErrorText(const QString& text) {
    if (text.contains(QLatin1String("not a valid floating point value"), Qt::CaseInsensitive))
        return InputErrorKind::InvalidNumber;
    if (text.contains(QLatin1String("not a valid date and time"), Qt::CaseInsensitive))
        return InputErrorKind::InvalidDateTime;
    return InputErrorKind::Other;
}

} // namespace sorrel
