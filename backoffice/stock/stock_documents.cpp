#include "backoffice/stock/stock_documents.h"

#include "backoffice/stock/stock_queries.h"
#include "common/document/document_builder.h"
#include "common/document/number_format.h"
#include "common/money.h"
#include "common/settings_row.h"

namespace sorrel::stock {

namespace {

using document::Column;

QString moneyText(double value) {
    return document::formatNumber(IntWay(value, kKeepCents), document::NumberFormat::Money);
}

QString moment(const QDateTime& at) {
    return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString day(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

// The sums of one class, one kind or the whole sheet: amount at the selling price and at cost.
struct Worth {
    double amount = 0;
    double cost = 0;
    void add(const Worth& w) {
        amount += w.amount;
        cost += w.cost;
    }
};

// The labels of a sums row across the sheet's eight columns, the figures under 库存…成本.
QStringList worthLabels(const char* amountCaption, const char* costCaption, const Worth& w) {
    return {QString(),
            QString(),
            QString(),
            QString::fromUtf8(amountCaption),
            moneyText(w.amount),
            QString(),
            QString::fromUtf8(costCaption),
            moneyText(w.cost)};
}

document::Document itemSheet(const RecordSet& rows, const PrintedBy& by, bool withStock) {
    const QString title = withStock ? kStockTakeTitle : kMenuTitle;
    QVector<Column> columns{Column::text(QStringLiteral("编码"), 1),
                            Column::text(QStringLiteral("项目名称"), 3),
                            Column::text(QStringLiteral("单位"), 1)};
    if (withStock) columns << Column::quantity(QStringLiteral("库存"), 1);
    columns << Column::text(QStringLiteral("限量"), 1) << Column::money(QStringLiteral("单价"), 1);
    if (withStock) columns << Column::money(QStringLiteral("成本"), 1);
    columns << Column::text(QStringLiteral("类型"), 1);
    document::DocumentBuilder b(title, columns);
    b.title(title).fields({QStringLiteral("单位名称：") + by.venue});

    // The menu is a list of what the venue sells: its classes follow each other without sums
    // (its groups are never closed, having nothing to add up).
    Worth total, kind, klass;
    QString kindCode, classCode;
    bool kindOpen = false, classOpen = false;
    const auto closeClass = [&] {
        if (!classOpen) return;
        if (withStock) b.endGroup(worthLabels("小计金额：", "小计成本：", klass));
        kind.add(klass);
        klass = {};
        classOpen = false;
    };
    const auto closeKind = [&] {
        closeClass();
        if (!kindOpen) return;
        if (withStock) b.endGroup(worthLabels("合计金额：", "合计成本：", kind));
        total.add(kind);
        kind = {};
        kindOpen = false;
    };
    for (int i = 0; i < rows.rowCount(); ++i) {
        if (!kindOpen || rows.text(i, "kind_code") != kindCode) {
            closeKind();
            kindCode = rows.text(i, "kind_code");
            kindOpen = true;
            b.beginGroup(QStringLiteral("大类：") + rows.text(i, "kind_name"));
        }
        if (!classOpen || rows.text(i, "clas_code") != classCode) {
            closeClass();
            classCode = rows.text(i, "clas_code");
            classOpen = true;
            // Each class under its captions, which a page break within the class repeats.
            b.beginGroup(QStringLiteral("分类->") + rows.text(i, "clas_name")).columnHeader();
        }
        const double stock = rows.number(i, "item_coun");
        klass.add({stock * rows.number(i, "item_unit_pric"), stock * rows.number(i, "item_cost_pric")});
        QVector<document::Cell> cells{rows.text(i, "item_code"), rows.text(i, "item_name"),
                                      rows.text(i, "item_unit")};
        if (withStock) cells << stock;
        cells << rows.text(i, "item_limi") << rows.number(i, "item_unit_pric");
        if (withStock) cells << rows.number(i, "item_cost_pric");
        cells << rows.text(i, "item_type_name");
        b.row(cells);
    }
    closeKind();
    if (withStock)
        b.sums(document::BandKind::Summary, worthLabels("总计金额：", "总计成本：", total), {},
               document::Rule::Thin);
    b.fields({QStringLiteral("制表时间：") + moment(by.at), QStringLiteral("制表人：") + by.operName});
    b.line(kMakerLine, {.align = document::Align::Center, .size = document::TextSize::Small});
    return b.document();
}

} // namespace

PrintedBy printedBy(Database& db, const QString& operName, const QDateTime& at) {
    return {readSettingsRow(db, QStringLiteral("user_name")).text(0, QStringLiteral("user_name")), operName,
            at};
}

document::Document stockTakeSheet(const RecordSet& rows, const PrintedBy& by) {
    return itemSheet(rows, by, true);
}

document::Document menuSheet(const RecordSet& rows, const PrintedBy& by) {
    return itemSheet(rows, by, false);
}

document::Document postedBillDocument(const RecordSet& bill, const RecordSet& lines, const QString& staffName,
                                      const PrintedBy& by) {
    const QString title = bill.text(0, "stor_bill_type");
    document::DocumentBuilder b(
        title,
        {Column::text(QStringLiteral("编码"), 1), Column::text(QStringLiteral("项目名称"), 3),
         Column::text(QStringLiteral("单位"), 1), Column::money(QStringLiteral("单价"), 1),
         Column::quantity(QStringLiteral("数量"), 1), Column::money(QStringLiteral("总金额"), 2).summing(),
         Column::text(QStringLiteral("备注"), 2)});
    b.title(title)
        .fields({QStringLiteral("单位名称：") + by.venue,
                 QStringLiteral("日期：") + day(bill.dateTime(0, "stor_bill_date_work").date()),
                 QStringLiteral("往来单位：") + bill.text(0, "work_name_s")})
        .line(QStringLiteral("单据编号：") + bill.text(0, "stor_bill_code"))
        .columnHeader();
    for (int i = 0; i < lines.rowCount(); ++i)
        b.row({lines.text(i, "item_code"), lines.text(i, "item_name"), lines.text(i, "item_unit"),
               lines.number(i, "item_cost_pric"), lines.number(i, "item_coun"), lines.number(i, "item_mone"),
               lines.text(i, "item_rema")});
    b.totals({QStringLiteral("合计：")});
    b.fields({QStringLiteral("操作员工：") + staffName,
              QStringLiteral("录入时间：") + moment(bill.dateTime(0, "stor_bill_date"))});
    return b.document();
}

document::Document postedBillDocument(Database& db, const QVariant& billId, const PrintedBy& by) {
    const RecordSet bill =
        db.query(QStringLiteral("SELECT * FROM AllStoreBill WHERE stor_bill_ID = ?"), {billId});
    if (bill.isEmpty()) return {};
    const QString staff = db.scalar(QStringLiteral("SELECT oper_name FROM operatorlist WHERE oper_code = ?"),
                                    {bill.value(0, "oper_code")})
                              .toString();
    return postedBillDocument(bill, postedLines(db, billId), staff, by);
}

document::Document ingredientUseDocument(const RecordSet& rows, const QDate& from, const QDate& to,
                                         const PrintedBy& by) {
    document::DocumentBuilder b(kIngredientUseTitle, {Column::text(QStringLiteral("项目名称"), 3),
                                                      Column::text(QStringLiteral("单位"), 1),
                                                      Column::quantity(QStringLiteral("使用量"), 1).summing(),
                                                      Column::text(QStringLiteral("备注"), 2)});
    b.title(kIngredientUseTitle)
        .fields({QStringLiteral("单位名称：") + by.venue,
                 QStringLiteral("统计时间：") + day(from) + QStringLiteral(" 至 ") + day(to)})
        .columnHeader();
    for (int i = 0; i < rows.rowCount(); ++i)
        b.row({rows.text(i, "item_name"), rows.text(i, "item_unit"), rows.number(i, "mixt"), QString()});
    b.totals({QStringLiteral("合计：")});
    b.fields({QStringLiteral("操作员工：") + by.operName, QStringLiteral("录入时间：") + moment(by.at)});
    return b.document();
}

} // namespace sorrel::stock
