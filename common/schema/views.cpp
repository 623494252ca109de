// The two stored queries the programs read: the stock a set meal or composite can still be
// made from, and the current day's bills per department.
#include "common/db/dialect.h"
#include "common/schema/table_groups.h"

namespace sorrel::schema {

namespace {

// viewReTotal: one row per parent (every grou_code of ItemGroup) with `retotal`, the whole
// units its components' stock allows. The programs copy it into the parent's item_coun.
//
// - A component whose stock rule is "禁用" makes the parent unorderable: retotal 0.
// - Otherwise each "有限" component allows trunc(stock / quantity per unit) units (never fewer
//   than 0, a stock at or below 0 allows none); the parent gets the smallest of these.
// - "不限" components never limit. A parent with no limited component is itself unlimited; its
//   stock is never compared when ordering, so it gets 0, as StoreChange leaves it.
// - Components that are themselves set meals or composites are skipped: their stock is derived
//   too and may be stale within the statement; the ingredients they bring enter through the
//   derived rows (grou_mix_code) instead, which carry the multiplied quantities.
// - A row with no positive quantity limits nothing (no division by zero); a row whose item no
//   longer exists limits nothing either.
// The tiny allowance before truncation keeps 0.3 / 0.1 at 3 rather than 2.
QString reTotalSelect(Engine engine) {
    const QString limited =
        QStringLiteral("i.item_limi = '有限' AND i.item_type_code NOT IN ('2', '3') AND g.grou_coun > 0");
    const QString units =
        QStringLiteral("CASE WHEN i.item_coun <= 0 THEN 0 ELSE %1 END")
            .arg(dialect::truncToInteger(engine, QStringLiteral("i.item_coun / g.grou_coun + 0.000001")));
    return QStringLiteral(
               "SELECT g.grou_code AS grou_code,\n"
               "  CASE WHEN sum(CASE WHEN i.item_limi = '禁用' AND i.item_type_code NOT IN ('2', '3')"
               " THEN 1 ELSE 0 END) > 0 THEN 0\n"
               "       WHEN sum(CASE WHEN %1 THEN 1 ELSE 0 END) = 0 THEN 0\n"
               "       ELSE min(CASE WHEN %1 THEN %2 END) END AS retotal\n"
               "FROM ItemGroup g LEFT JOIN itemlist i ON i.item_code = g.item_code\n"
               "GROUP BY g.grou_code")
        .arg(limited, units);
}

// The nine statistics columns over the guest records joined as `g`. A record is cleared
// (state "1"), settled ("3") or still open ("2"); cleared and settled bills count with what
// was received, open ones with what they would receive now.
QString deptStatistics() {
    const QString count = QStringLiteral("sum(CASE WHEN g.tabl_gues_stat %1 THEN 1 ELSE 0 END)");
    const QString amount =
        QStringLiteral("COALESCE(sum(CASE WHEN g.tabl_gues_stat %1 THEN %2 ELSE 0 END), 0)");
    const QString total =
        QStringLiteral("CASE g.tabl_gues_stat WHEN '2' THEN g.tabl_gues_shou "
                       "WHEN '1' THEN g.tabl_gues_fact WHEN '3' THEN g.tabl_gues_fact ELSE 0 END");
    const QString cleared = QStringLiteral("= '1'");
    const QString settled = QStringLiteral("= '3'");
    const QString open = QStringLiteral("= '2'");
    const QString any = QStringLiteral("IN ('1', '2', '3')");
    return QStringList{
        QStringLiteral("COALESCE(%1, 0) AS \"已清数\"").arg(count.arg(cleared)),
        amount.arg(cleared, QStringLiteral("g.tabl_gues_fact")) + QStringLiteral(" AS \"已清金额\""),
        QStringLiteral("COALESCE(%1, 0) AS \"已结数\"").arg(count.arg(settled)),
        amount.arg(settled, QStringLiteral("g.tabl_gues_fact")) + QStringLiteral(" AS \"已结金额\""),
        QStringLiteral("COALESCE(%1, 0) AS \"待结数\"").arg(count.arg(open)),
        amount.arg(open, QStringLiteral("g.tabl_gues_shou")) + QStringLiteral(" AS \"待结金额\""),
        QStringLiteral("COALESCE(%1, 0) AS \"合计数\"").arg(count.arg(any)),
        amount.arg(any, total) + QStringLiteral(" AS \"合计金额\""),
    }
        .join(QStringLiteral(",\n    "));
}

// ViewTotalDeptEnd: one row per department (every department of the venue, and any code a
// current guest record still carries, so the rows always add up to the total), then the
// "总计" row over all current guest records.
QString deptEndSelect(Engine) {
    return QStringLiteral("SELECT \"部门名称\", \"已清数\", \"已清金额\", \"已结数\", \"已结金额\", "
                          "\"待结数\", \"待结金额\", "
                          "\"合计数\", \"合计金额\"\n"
                          "FROM (\n"
                          "  SELECT 0 AS row_order, d.dept_code AS dept_key, COALESCE(n.dept_name, "
                          "d.dept_code) AS \"部门名称\",\n"
                          "    %1\n"
                          "  FROM (SELECT COALESCE(dept_code, '') AS dept_code FROM DepartmentList\n"
                          "        UNION SELECT COALESCE(dept_code, '') FROM TableGuestlist) d\n"
                          "  LEFT JOIN DepartmentList n ON n.dept_code = d.dept_code\n"
                          "  LEFT JOIN TableGuestlist g ON COALESCE(g.dept_code, '') = d.dept_code\n"
                          "  GROUP BY d.dept_code, n.dept_name\n"
                          "  UNION ALL\n"
                          "  SELECT 1, '', '总计',\n"
                          "    %1\n"
                          "  FROM TableGuestlist g\n"
                          ") t\n"
                          "ORDER BY row_order, dept_key")
        .arg(deptStatistics());
}

} // namespace

QList<View> storedQueries() {
    return {
        {QStringLiteral("viewReTotal"), reTotalSelect, {"grou_code", "retotal"}},
        {QStringLiteral("ViewTotalDeptEnd"),
         deptEndSelect,
         {"部门名称", "已清数", "已清金额", "已结数", "已结金额", "待结数", "待结金额", "合计数",
          "合计金额"}},
    };
}

} // namespace sorrel::schema
