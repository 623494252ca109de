#include "frontdesk/tables/board_tables.h"

#include "common/db/errors.h"
#include "common/db_datetime.h"
#include "common/tables/table_state_moves.h"

#include <algorithm>

namespace sorrel::tables {

namespace {

const QString kSelect = QStringLiteral(
    "SELECT t.tabl_code, t.tabl_name, t.tabl_narr, t.tabl_type_code, y.tabl_type_name, t.dept_code, "
    "d.dept_name, t.tabl_stat_code, s.tabl_stat_name, t.tabl_gues_auto_recn, t.tabl_gues_name, "
    "t.tabl_gues_coun, t.tabl_gues_time, t.tabl_gues_shou FROM TableList t "
    "LEFT JOIN TableStateList s ON s.tabl_stat_code = t.tabl_stat_code "
    "LEFT JOIN TableTypeList y ON y.tabl_type_code = t.tabl_type_code "
    "LEFT JOIN DepartmentList d ON d.dept_code = t.dept_code");

QList<BoardTable> readTables(const RecordSet& rs) {
    // The columns are found once, not for every table: the live board reads them all every few
    // seconds.
    enum {
        Code,
        Name,
        Narr,
        Type,
        TypeName,
        Dept,
        DeptName,
        State,
        StateName,
        Bill,
        Guest,
        Count,
        Time,
        Amount
    };
    QList<int> at;
    for (const char* column :
         {"tabl_code", "tabl_name", "tabl_narr", "tabl_type_code", "tabl_type_name", "dept_code", "dept_name",
          "tabl_stat_code", "tabl_stat_name", "tabl_gues_auto_recn", "tabl_gues_name", "tabl_gues_coun",
          "tabl_gues_time", "tabl_gues_shou"})
        at << rs.columnIndex(QString::fromLatin1(column));
    QList<BoardTable> tables;
    tables.reserve(rs.rowCount());
    for (int i = 0; i < rs.rowCount(); ++i) {
        const auto v = [&](int column) -> const QVariant& { return rs.value(i, at[column]); };
        tables.append({v(Code).toString(), v(Name).toString(), v(Narr).toString(), v(Type).toString(),
                       v(TypeName).toString(), v(Dept).toString(), v(DeptName).toString(),
                       v(State).toString(), v(StateName).toString(), int(v(Bill).toLongLong()),
                       v(Guest).toString(), int(v(Count).toLongLong()), fromDbDateTime(v(Time)),
                       v(Amount).toDouble()});
    }
    return tables;
}

} // namespace

QString sortCaption(BoardSort sort) {
    switch (sort) {
    case BoardSort::ByCode:
        return QStringLiteral("台号排序");
    case BoardSort::ByName:
        return QStringLiteral("台名排序");
    case BoardSort::ByState:
        return QStringLiteral("状态排序");
    case BoardSort::ByOpening:
        return QStringLiteral("开台排序");
    }
    return {};
}

BoardSort nextSort(BoardSort sort) {
    switch (sort) {
    case BoardSort::ByCode:
        return BoardSort::ByName;
    case BoardSort::ByName:
        return BoardSort::ByState;
    case BoardSort::ByState:
        return BoardSort::ByOpening;
    case BoardSort::ByOpening:
        return BoardSort::ByCode;
    }
    return BoardSort::ByCode;
}

void sortTables(QList<BoardTable>& tables, BoardSort sort) {
    const auto byCode = [](const BoardTable& a, const BoardTable& b) { return a.code < b.code; };
    if (!std::is_sorted(tables.begin(), tables.end(), byCode))
        std::sort(tables.begin(), tables.end(), byCode);
    switch (sort) {
    case BoardSort::ByCode:
        break;
    case BoardSort::ByName:
        std::stable_sort(tables.begin(), tables.end(),
                         [](const BoardTable& a, const BoardTable& b) { return a.name < b.name; });
        break;
    case BoardSort::ByState:
        std::stable_sort(tables.begin(), tables.end(),
                         [](const BoardTable& a, const BoardTable& b) { return a.state < b.state; });
        break;
    case BoardSort::ByOpening:
        // Latest opening first; a table without an opening time after every opened one.
        std::stable_sort(tables.begin(), tables.end(), [](const BoardTable& a, const BoardTable& b) {
            if (a.guestTime.isValid() != b.guestTime.isValid()) return a.guestTime.isValid();
            return a.guestTime > b.guestTime;
        });
        break;
    }
}

QList<BoardTable> loadBoardTables(Database& db, BoardSort sort) {
    // Read in the order of their codes, which the sorting below then only checks.
    static const QString byCode = kSelect + QStringLiteral(" ORDER BY t.tabl_code");
    QList<BoardTable> tables = readTables(db.query(byCode));
    sortTables(tables, sort);
    return tables;
}

std::optional<BoardTable> loadBoardTable(Database& db, const QString& code) {
    const auto found = loadBoardTableWith(db, code, {}, {});
    if (!found) return std::nullopt;
    return found->first;
}

std::optional<std::pair<BoardTable, RecordSet>> loadBoardTableWith(Database& db, const QString& code,
                                                                   const QStringList& extra,
                                                                   const QVariantList& extraParams) {
    QString sql = kSelect + QStringLiteral(" WHERE t.tabl_code = ?");
    if (!extra.isEmpty())
        sql.replace(QStringLiteral(" FROM TableList t "), QStringLiteral(", ") +
                                                              extra.join(QStringLiteral(", ")) +
                                                              QStringLiteral(" FROM TableList t "));
    const RecordSet rs = db.query(sql, QVariantList(extraParams) << code);
    const QList<BoardTable> found = readTables(rs);
    if (found.isEmpty()) return std::nullopt;
    return std::pair{found.first(), rs};
}

void disableTable(Database& db, const QString& code) {
    moveTable(db, code, TableMove::Disable);
}

void enableTable(Database& db, const QString& code) {
    moveTable(db, code, TableMove::Enable);
}

BoardMasterData loadBoardMasterData(Database& db) {
    // Both lists in one statement: the board reads them every time it is shown again.
    const RecordSet rs = db.query(QStringLiteral(
        "SELECT 0 AS kind, dept_code AS code, dept_name AS name, '' AS narr FROM DepartmentList "
        "UNION ALL SELECT 1, tabl_type_code, tabl_type_name, tabl_type_narr FROM TableTypeList "
        "ORDER BY kind, code"));
    BoardMasterData data;
    for (int i = 0; i < rs.rowCount(); ++i) {
        if (rs.integer(i, "kind") == 0)
            data.departments.append({rs.text(i, "code"), rs.text(i, "name")});
        else
            data.types.append({rs.text(i, "code"), rs.text(i, "name"), rs.text(i, "narr")});
    }
    return data;
}

QString boardTime(const QDateTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("MM-dd HH:mm")) : QString();
}

} // namespace sorrel::tables
