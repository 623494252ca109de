#include "frontdesk/reports/sales_analysis.h"

#include "common/money.h"
#include "frontdesk/reports/line_sums.h"

#include <QMap>

namespace sorrel::reports {

using exporting::CellKind;

namespace {

constexpr int kDaysPerChart = 62;

// The bills (and their payments) of the filter's department or shift.
QList<LineSelection::OfSet> billsOf(const DepartmentOrShift& filter) {
    if (filter.code.isEmpty()) return {};
    return {{filter.by == DepartmentOrShift::By::Department ? SummarySet::Department : SummarySet::Shift,
             filter.code}};
}

// Closed days from the day summary, the open day and late bills from the history's rows.
Condition summed(Database& db, const DateRange& range, const DaySummary& summary,
                 const DepartmentOrShift& filter, const QString& alias) {
    SummedRead read;
    read.summary = &summary;
    read.sets = billsOf(filter);
    read.columns = [&summary](bool fromRows) { return summaryColumns(summary, fromRows); };
    return summedRows(db, range, read, alias);
}

// The lines of the filter's department (their bill's) or shift (the one they were ordered in).
LineSelection linesOf(const DepartmentOrShift& filter) {
    LineSelection selection;
    if (filter.by == DepartmentOrShift::By::Department)
        selection.of(SummarySet::Department, filter.code);
    else if (!filter.code.isEmpty())
        selection.of(SummarySet::Shift, filter.name);
    return selection;
}

std::optional<double> figure(const RecordSet& row, const char* column) {
    const QVariant& v = row.value(0, QString::fromLatin1(column));
    return v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
}

} // namespace

QString DepartmentOrShift::caption() const {
    return filterCaption(QStringLiteral("综合统计"),
                         by == By::Department ? QStringLiteral("部门") : QStringLiteral("班次"),
                         code.isEmpty() ? QString() : name);
}

SalesAnalysis salesAnalysis(Database& db, const DateRange& range, const DepartmentOrShift& filter,
                            const QString& sumRounding) {
    SalesAnalysis out;
    const Condition bills = summed(db, range, billSummary(), filter, QStringLiteral("bills"));
    const RecordSet t = db.query(
        QStringLiteral(
            "SELECT sum(bill_coun) AS cbillcoun, sum(tabl_gues_coun) AS tcoun, sum(tabl_gues_dish) AS tdish, "
            "sum(tabl_gues_spec) AS tspec, sum(tabl_gues_low) AS tlow, sum(tabl_gues_room) AS troom, "
            "sum(tabl_gues_serv) AS tserv, sum(tabl_gues_disc) AS tdisc, sum(tabl_gues_shou) AS tshou, "
            "sum(tabl_gues_tax) AS ttax, sum(tabl_gues_fact) AS tfact, sum(dedu_mone) AS tdedu, "
            "sum(cost_mone) AS tcost FROM ") +
            bills.sql,
        bills.params);
    SalesFigures& f = out.figures;
    f.bills = t.integer(0, QStringLiteral("cbillcoun"));
    f.guests = figure(t, "tcoun");
    f.dish = figure(t, "tdish");
    f.special = figure(t, "tspec");
    f.minimum = figure(t, "tlow");
    f.room = figure(t, "troom");
    f.service = figure(t, "tserv");
    f.discount = figure(t, "tdisc");
    f.due = figure(t, "tshou");
    f.tax = figure(t, "ttax");
    f.received = figure(t, "tfact");
    f.commission = figure(t, "tdedu");
    f.cost = figure(t, "tcost");
    if (f.guests && *f.guests > 0) f.perGuest = IntWay(f.received.value_or(0) / *f.guests, sumRounding);
    if (f.received && *f.received > 0) f.margin = (*f.received - f.cost.value_or(0)) / *f.received * 100;
    if (filter.code.isEmpty()) {
        const Condition days = dateCondition(QStringLiteral("othe_inco_time"), range);
        const QVariant other = db.scalar(
            QStringLiteral("SELECT sum(othe_inco_mone) FROM AllOtherInCome WHERE ") + days.sql, days.params);
        if (!other.isNull()) f.otherIncome = other.toDouble();
    }

    // One grouped pass by the method's code: a method renamed during the range shows once, under
    // its name of today, with every receipt of either name.
    const Condition payments = summed(db, range, paymentSummary(), filter, QStringLiteral("h"));
    out.payments = db.query(
        QStringLiteral("SELECT h.pay_type_code, COALESCE((SELECT p.pay_type_name FROM PayTypeList p "
                       "WHERE p.pay_type_code = h.pay_type_code), max(h.pay_type_name)) AS pay_type_name, "
                       "sum(h.pay_coun) AS paycount, sum(h.pay_type_mone) AS paytotal FROM ") +
            payments.sql + QStringLiteral(" GROUP BY h.pay_type_code ORDER BY h.pay_type_code DESC"),
        payments.params);

    const Condition lines = lineSums(db, range, linesOf(filter));
    out.kinds = db.query(QStringLiteral("SELECT kind_name, sum(constotal) AS constotal, "
                                        "sum(costtotal) AS costtotal FROM ") +
                             lines.sql + QStringLiteral(" GROUP BY kind_name ORDER BY kind_name"),
                         lines.params);
    return out;
}

QList<ReportColumn> salesPaymentColumns() {
    return {{QStringLiteral("付款方式"), QStringLiteral("pay_type_name")},
            {QStringLiteral("收入笔数"), QStringLiteral("paycount"), CellKind::Integer},
            {QStringLiteral("收入金额"), QStringLiteral("paytotal"), CellKind::Money}};
}

QList<ReportColumn> salesKindColumns() {
    return {{QStringLiteral("大类名称"), QStringLiteral("kind_name")},
            {QStringLiteral("合计金额"), QStringLiteral("constotal"), CellKind::Money},
            {QStringLiteral("合计成本"), QStringLiteral("costtotal"), CellKind::Money}};
}

QString figureText(const std::optional<double>& value) {
    return value ? displayText(*value, CellKind::Money) : QString();
}

document::Document salesReport(const SalesAnalysis& analysis, const ReportFrame& frame) {
    const auto asPrinted = [](const QList<ReportColumn>& columns) {
        QList<PrintColumn> out;
        for (const ReportColumn& c : columns)
            out << PrintColumn{c.caption, c.field, c.kind,
                               c.kind == CellKind::Text ? Total::None : Total::Sum,
                               c.kind == CellKind::Text ? 2.0 : 1.0};
        return out;
    };
    PrintedList payments(asPrinted(salesPaymentColumns()));
    PrintedList kinds(asPrinted(salesKindColumns()));
    const SalesFigures& f = analysis.figures;
    const QString margin = f.margin ? displayText(*f.margin, CellKind::Percent) : QString();
    return framedReport(frame, payments.columns(), [&](document::DocumentBuilder& b) {
        b.line(QStringLiteral("[收入状况]"), {.bold = true});
        b.columnHeader();
        for (int i = 0; i < analysis.payments.rowCount(); ++i)
            payments.row(b, analysis.payments, i);
        payments.end(b, QStringLiteral("合计"), false);
        b.sums(document::BandKind::GroupHeader, {QStringLiteral("[消费状况]")}, {});
        b.sums(document::BandKind::GroupHeader, kinds.captions(), {});
        for (int i = 0; i < analysis.kinds.rowCount(); ++i)
            kinds.row(b, analysis.kinds, i);
        kinds.end(b, QStringLiteral("合计"), false);
        b.sums(document::BandKind::GroupHeader, {QStringLiteral("[营业状况]")}, {});
        b.fields(
            {QStringLiteral("帐 单 数：") + QString::number(f.bills),
             QStringLiteral("人    数：") + (f.guests ? QString::number(qlonglong(*f.guests)) : QString()),
             QStringLiteral("酒菜消费：") + figureText(f.dish),
             QStringLiteral("特殊消费：") + figureText(f.special)});
        b.fields({QStringLiteral("最低消费：") + figureText(f.minimum),
                  QStringLiteral("房间消费：") + figureText(f.room),
                  QStringLiteral("服 务 费：") + figureText(f.service),
                  QStringLiteral("折扣金额：") + figureText(f.discount)});
        b.sums(document::BandKind::GroupHeader, {QStringLiteral("[总营业额]")}, {});
        b.fields({QStringLiteral("应收金额：") + figureText(f.due),
                  QStringLiteral("收税金额：") + figureText(f.tax),
                  QStringLiteral("实收金额：") + figureText(f.received),
                  QStringLiteral("提成金额：") + figureText(f.commission)});
        b.fields({QStringLiteral("消费成本：") + figureText(f.cost), QStringLiteral("总毛利率：") + margin,
                  QStringLiteral("其它收入：") + figureText(f.otherIncome), QString()});
    });
}

document::Chart salesChart(Database& db, const DateRange& range, const DepartmentOrShift& filter) {
    const Condition lines = lineSums(db, range, linesOf(filter));
    const RecordSet rows =
        db.query(QStringLiteral("SELECT line_day, kind_name, sum(constotal) AS constotal FROM ") + lines.sql +
                     QStringLiteral(" GROUP BY line_day, kind_name"),
                 lines.params);
    const bool perMonth = range.from.daysTo(range.to) + 1 > kDaysPerChart;
    const auto category = [perMonth](const QDate& day) {
        return day.toString(perMonth ? QStringLiteral("yyyy-MM") : QStringLiteral("MM-dd"));
    };
    document::Chart chart;
    chart.title = QStringLiteral("营业收入（按大类）");
    chart.valueCaption = QStringLiteral("元");
    for (QDate day = range.from; day <= range.to; day = day.addDays(1))
        if (chart.categories.isEmpty() || chart.categories.last() != category(day))
            chart.categories << category(day);
    QMap<QString, QVector<double>> perKind;
    for (int i = 0; i < rows.rowCount(); ++i) {
        const int at =
            int(chart.categories.indexOf(category(rows.dateTime(i, QStringLiteral("line_day")).date())));
        if (at < 0) continue;
        QVector<double>& values = perKind[rows.text(i, QStringLiteral("kind_name"))];
        values.resize(chart.categories.size(), 0.0);
        values[at] += rows.number(i, QStringLiteral("constotal"));
    }
    for (auto it = perKind.cbegin(); it != perKind.cend(); ++it)
        chart.series.append({it.key(), it.value()});
    return chart;
}

} // namespace sorrel::reports
