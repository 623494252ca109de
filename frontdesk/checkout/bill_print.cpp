#include "frontdesk/checkout/bill_print.h"

#include "common/document/document_builder.h"
#include "common/money.h"
#include "frontdesk/checkout/settle_step.h"

#include <QMap>

namespace sorrel::checkout {

using namespace document;

namespace {

// The header cell's column for the table's name, which the guest record does not hold itself.
const QString kTableNameColumn = QStringLiteral("tablname");

QString cellValue(const BillPrint& print, const QString& column) {
    if (column.trimmed().compare(kTableNameColumn, Qt::CaseInsensitive) == 0) return print.tableName;
    const QVariant v = print.guest.value(column.trimmed());
    if (v.typeId() == QMetaType::Double) return QString::number(v.toDouble(), 'f', 2);
    return v.toString();
}

QStringList headerRow(const BillPrint& print, int row) {
    QStringList texts;
    for (int cell = 0; cell < 2; ++cell) {
        const BillLayout::HeaderCell& c = print.layout.cells[size_t(row * 2 + cell)];
        texts << c.caption + QStringLiteral("：") + cellValue(print, c.column);
    }
    return texts;
}

void headerRows(DocumentBuilder& b, const BillPrint& print, int from, int to) {
    for (int row = from; row < to; ++row)
        if (print.layout.rows[size_t(row)]) b.fields(headerRow(print, row));
}

TextStyle centredBold() {
    return {.align = Align::Center, .bold = true};
}

} // namespace

QList<BillPrintLine> loadBillPrintLines(Database& db, int bill) {
    const RecordSet rs = db.query(
        QStringLiteral(
            "SELECT COALESCE(k.kind_name, '') AS kind_name, COALESCE(i.item_name, l.item_name) AS item_name, "
            "COALESCE(i.item_unit, l.item_unit) AS item_unit, l.item_unit_pric, "
            "SUM(l.tabl_cons_coun * l.item_coun_flag) AS quantity, SUM(l.tabl_cons_tota) AS amount, "
            "SUM(CASE WHEN l.menu_type_code IN ('3', '4') AND COALESCE(l.grou_code, '') = '' "
            "THEN COALESCE(i.item_unit_pric, 0) * l.tabl_cons_coun * l.item_coun_flag ELSE 0 END) AS gift "
            "FROM TableConsList l LEFT JOIN itemlist i ON i.item_code = l.item_code "
            "LEFT JOIN kindlist k ON k.kind_code = l.kind_code WHERE l.tabl_gues_auto_recn = ? "
            "GROUP BY l.kind_code, k.kind_name, l.item_code, i.item_name, l.item_name, i.item_unit, "
            "l.item_unit, "
            "l.item_unit_pric ORDER BY COALESCE(k.kind_name, ''), l.item_code, l.item_unit_pric"),
        {bill});
    QList<BillPrintLine> lines;
    for (int i = 0; i < rs.rowCount(); ++i) {
        const RecordSet::Row r = rs.row(i);
        if (compareMoney(r.number("quantity"), 0) <= 0) continue;
        lines.append({r.text("kind_name"), r.text("item_name"), r.text("item_unit"),
                      r.number("item_unit_pric"), r.number("quantity"), r.number("amount"),
                      r.number("gift")});
    }
    return lines;
}

BillLayout loadBillLayout(Database& db) {
    const RecordSet rs = db.query(QStringLiteral("SELECT * FROM setupprint"));
    BillLayout layout;
    if (rs.isEmpty()) {
        layout.details = true;
        return layout;
    }
    const RecordSet::Row r = rs.row(0);
    for (int row = 1; row <= 7; ++row) {
        layout.rows[size_t(row - 1)] = r.flag(QStringLiteral("set_prn_%1_allo").arg(row));
        for (int cell = 1; cell <= 2; ++cell)
            layout.cells[size_t((row - 1) * 2 + cell - 1)] = {
                r.text(QStringLiteral("set_prn_%1%2_titl").arg(row).arg(cell)).trimmed(),
                r.text(QStringLiteral("set_prn_%1%2_fiel").arg(row).arg(cell)).trimmed()};
    }
    const auto on = [&](const char* section) {
        return r.flag(QStringLiteral("set_prn_%1_allo").arg(QLatin1String(section)));
    };
    layout.details = on("deta");
    layout.kinds = on("kind");
    layout.discount = on("disc");
    layout.payments = on("pay");
    layout.change = on("zero");
    layout.member = on("memb");
    layout.memberBalance = on("mpay");
    layout.credit = on("hang");
    layout.creditAmount = on("hpay");
    layout.free1 = on("d1");
    layout.free2 = on("d2");
    layout.free1Text = r.text("set_prn_d1_text");
    layout.free2Text = r.text("set_prn_d2_text");
    return layout;
}

Document billDocument(const BillPrint& print, const billing::BillSettings& settings) {
    const BillLayout& layout = print.layout;
    const billing::GuestRecord& g = print.guest;
    DocumentBuilder b(QStringLiteral("帐单"), {Column::text(QStringLiteral("项目名称"), 3, 6),
                                               Column::centred(QStringLiteral("单位"), 1, 2),
                                               Column::money(QStringLiteral("单价"), 1.4, 6),
                                               Column::quantity(QStringLiteral("数量"), 1, 4).summing(),
                                               Column::money(QStringLiteral("金额"), 1.4, 7).summing()});
    b.title(QStringLiteral("帐单"));
    b.line(print.identity.billShortName, {.align = Align::Center, .bold = true, .underline = true});
    b.line(print.identity.billLatinName, centredBold());
    b.line(QStringLiteral("营业日期：") + print.businessDate.toString(QStringLiteral("yyyy-MM-dd")));
    b.line(QStringLiteral("结帐员工：") + print.operatorName);
    headerRows(b, print, 0, 3);
    b.columnHeader();

    // The lines come by kind name; each kind's sums follow its lines.
    QVector<double> total(5, 0.0);
    double gifts = 0;
    for (qsizetype from = 0; from < print.lines.size();) {
        const QString kind = print.lines[from].kindName;
        QVector<double> sums(5, 0.0);
        qsizetype to = from;
        for (; to < print.lines.size() && print.lines[to].kindName == kind; ++to) {
            const BillPrintLine& l = print.lines[to];
            if (layout.details) b.row({l.itemName, l.unit, l.unitPrice, l.quantity, l.amount});
            sums[3] += l.quantity;
            sums[4] += l.amount;
            gifts += l.giftValue;
        }
        if (layout.kinds)
            b.sums(BandKind::GroupFooter,
                   layout.details ? QStringList{kind, QStringLiteral("小计")} : QStringList{kind}, sums,
                   layout.details ? Rule::Dashed : Rule::None);
        total[3] += sums[3];
        total[4] += sums[4];
        from = to;
    }
    b.line(QStringLiteral("赠单合计") + plainAmount(gifts));
    b.sums(BandKind::Summary, {QStringLiteral("合计")}, total,
           layout.details != layout.kinds ? Rule::Thin : Rule::None);
    headerRows(b, print, 3, 7);

    const double discount = settings.intWay(g.tabl_gues_disc + g.tabl_gues_shou - g.tabl_gues_fact);
    if (layout.discount && compareMoney(discount, 0) > 0)
        b.line(QStringLiteral("优惠明细：消费合计-") +
               plainAmount(settings.intWay(g.tabl_gues_shou + g.tabl_gues_disc)) +
               QStringLiteral("  优惠合计-") + plainAmount(discount));
    if (layout.payments) b.line(QStringLiteral("付款明细：") + g.tabl_gues_pay_narr);
    const bool charged = compareMoney(g.memb_mone, 0) > 0;
    if (layout.member && charged)
        b.line(QStringLiteral("会员信息：") + g.memb_card_code + QLatin1Char(' ') + g.memb_name);
    if (layout.memberBalance && charged) {
        const double before = print.member ? print.member->balance : g.memb_mone;
        b.line(QStringLiteral("会员余额： 消费前金额-") + plainAmount(before) +
               QStringLiteral(" 消费后金额-") + plainAmount(before - g.memb_mone));
    }
    const bool credited = compareMoney(g.hang_mone, 0) > 0 && print.credit;
    if (layout.credit && credited)
        b.line(QStringLiteral("挂帐信息：") + print.credit->name + QLatin1Char(' ') + print.credit->company);
    if (layout.creditAmount && credited)
        b.line(QStringLiteral("挂帐金额： 消费前金额-") + plainAmount(print.credit->owed) +
               QStringLiteral(" 消费后金额-") + plainAmount(print.credit->owed + g.hang_mone));
    if (layout.change && !print.changeLine.isEmpty()) b.line(QStringLiteral("找零明细：") + print.changeLine);
    if (layout.free1) b.line(layout.free1Text, centredBold());
    if (layout.free2) b.line(layout.free2Text, centredBold());
    b.rule(Rule::Thin);
    b.line(print.identity.billFooter, centredBold()).rule(Rule::Thin);
    return b.document();
}

PageFormat billSheet() {
    PageFormat sheet = PageFormat::a4();
    sheet.name = QStringLiteral("A4 帐单");
    // As wide as the roll's print, so the bill reads the same on either paper.
    sheet.marginRightMm = sheet.paperWidthMm - sheet.marginLeftMm - 90;
    sheet.basePointSize = 9.5;
    return sheet;
}

} // namespace sorrel::checkout
