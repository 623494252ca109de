#include "common/db/pg_values.h"

#include "common/db_datetime.h"

#include <libpq-fe.h>
#include <limits>

namespace sorrel::pg {

namespace {

// Type numbers of the server's built-in types (pg_type.oid); fixed since the server's first release.
constexpr Oid kUnknown = 0;
constexpr Oid kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26;
constexpr Oid kFloat4 = 700, kFloat8 = 701, kNumeric = 1700;
constexpr Oid kDate = 1082, kTimestamp = 1114, kTimestampTz = 1184;

Oid typeOfNull(int metaType) {
    switch (metaType) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
        return kInt4;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return kInt8;
    case QMetaType::Double:
    case QMetaType::Float:
        return kFloat8;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QTime:
        return kTimestamp;
    default:
        return kUnknown;
    }
}

} // namespace

// The "?" placeholders as "$1", "$2", …; a "?" inside a quoted literal, a quoted name or a
// comment is text, not a placeholder.
Placeholders numberPlaceholders(const QString& sql) {
    Placeholders out;
    out.sql.reserve(sql.size() + 16);
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            out.sql += c;
            if (c == quote) quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            out.sql += c;
        } else if (c == QLatin1Char('-') && sql.mid(i, 2) == QLatin1String("--")) {
            const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
            const qsizetype stop = end < 0 ? sql.size() : end;
            out.sql += sql.mid(i, stop - i);
            i = stop - 1;
        } else if (c == QLatin1Char('/') && sql.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? sql.size() : end + 2;
            out.sql += sql.mid(i, stop - i);
            i = stop - 1;
        } else if (c == QLatin1Char('?')) {
            qsizetype before = out.sql.size() - 1;
            while (before >= 0 && out.sql[before].isSpace())
                --before;
            const QChar op = before >= 0 ? out.sql[before] : QChar();
            out.compared << (op == QLatin1Char('=') || op == QLatin1Char('<') || op == QLatin1Char('>'));
            out.sql += QLatin1Char('$') + QString::number(out.compared.size());
        } else {
            out.sql += c;
        }
    }
    return out;
}

Bound bindValue(const QVariant& v, bool compared) {
    Bound b;
    if (storedAsNull(v)) {
        b.type = typeOfNull(v.userType());
        b.null = true;
        return b;
    }
    switch (v.userType()) {
    case QMetaType::Bool:
        b.type = compared ? kUnknown : kInt4;
        b.text = v.toBool() ? "1" : "0";
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        const qlonglong n = v.toLongLong();
        const bool small = n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max();
        b.type = !small ? kInt8 : compared ? kUnknown : kInt4;
        b.text = QByteArray::number(n);
        break;
    }
    case QMetaType::Double:
    case QMetaType::Float:
        b.type = kFloat8;
        b.text = QByteArray::number(v.toDouble(), 'g', 17);
        break;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QTime:
        b.type = kTimestamp;
        b.text = toDbText(v).toUtf8();
        break;
    case QMetaType::QByteArray:
        b.type = kBytea;
        b.text = v.toByteArray();
        b.binary = true;
        break;
    default: {
        const QString text = v.toString();
        // A date-time in the canonical form where nothing near it says what it is (a value in the
        // select list of "INSERT … SELECT") goes as a timestamp, or the server would take it for
        // text and refuse it in a date-time column.
        if (!compared && text.size() == 19 && toDbDateTime(fromDbDateTime(text)) == text) b.type = kTimestamp;
        b.text = text.toUtf8();
    }
    }
    return b;
}

QVariant readValue(const PGresult* result, int row, int column) {
    if (PQgetisnull(result, row, column)) return {};
    const char* raw = PQgetvalue(result, row, column);
    const int length = PQgetlength(result, row, column);
    const QByteArray text = QByteArray::fromRawData(raw, length);
    switch (PQftype(result, column)) {
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid:
        return qlonglong(text.toLongLong());
    case kBool:
        return qlonglong(text == "t" ? 1 : 0);
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return text.toDouble();
    case kTimestamp:
    case kTimestampTz:
        // "yyyy-MM-dd HH:mm:ss" under DateStyle ISO; a fraction or zone would break comparisons.
        return QString::fromUtf8(text.left(19));
    case kDate:
        return QString::fromUtf8(text) + QStringLiteral(" 00:00:00");
    case kBytea: {
        size_t size = 0;
        unsigned char* bytes = PQunescapeBytea(reinterpret_cast<const unsigned char*>(raw), &size);
        QByteArray blob(reinterpret_cast<const char*>(bytes), qsizetype(size));
        PQfreemem(bytes);
        return blob;
    }
    default:
        return QString::fromUtf8(raw, length);
    }
}

} // namespace sorrel::pg
