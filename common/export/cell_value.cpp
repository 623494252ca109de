#include "common/export/cell_value.h"

#include "common/db_datetime.h"
#include "common/document/number_format.h"
#include "common/money.h"

namespace sorrel::exporting {

namespace {

bool isFigure(CellKind kind) {
    return kind == CellKind::Integer || kind == CellKind::Money || kind == CellKind::Quantity ||
           kind == CellKind::Percent;
}

QString plainText(const QVariant& value) {
    const QString stored = toDbText(value);
    return stored.isNull() ? value.toString() : stored;
}

// East Asian wide and full-width characters: Chinese, Japanese, Korean, the full-width forms.
bool isWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

} // namespace

CellValue cellValue(const QVariant& value, CellKind kind) {
    CellValue cell;
    if (storedAsNull(value) || (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty()))
        return cell;
    if (isFigure(kind)) {
        bool ok = false;
        const double figure = value.toDouble(&ok);
        if (ok) {
            cell.type = CellValue::Type::Number;
            // To the cent as the bill rounds, and never a "-0.00".
            const double rounded = kind == CellKind::Integer ? figure : IntWay(figure, kKeepCents);
            cell.number = rounded == 0 ? 0 : rounded;
            return cell;
        }
    } else if (kind == CellKind::Date || kind == CellKind::DateTime) {
        const QDateTime moment = value.typeId() == QMetaType::QDate ? QDateTime(value.toDate(), QTime(0, 0))
                                                                    : fromDbDateTime(value);
        if (moment.isValid()) {
            cell.type = kind == CellKind::Date ? CellValue::Type::Date : CellValue::Type::DateTime;
            cell.moment = moment;
            return cell;
        }
    }
    cell.type = CellValue::Type::Text;
    cell.text = plainText(value);
    return cell;
}

QString CellValue::written(CellKind kind) const {
    switch (type) {
    case Type::Empty:
        break;
    case Type::Number:
        switch (kind) {
        case CellKind::Integer:
            return QString::number(number, 'f', 0);
        case CellKind::Quantity:
            return document::formatNumber(number, document::NumberFormat::Quantity);
        default:
            return document::formatNumber(number, document::NumberFormat::Money);
        }
    case Type::Date:
        return moment.date().toString(Qt::ISODate);
    case Type::DateTime:
        return toDbDateTime(moment);
    case Type::Text:
        return text;
    }
    return {};
}

int displayWidth(const QString& text) {
    int width = 0;
    for (const char32_t c : text.toUcs4())
        width += isWide(c) ? 2 : 1;
    return width;
}

} // namespace sorrel::exporting
