#include "frontdesk/tables/table_board.h"

#include "frontdesk/tables/table_state.h"

#include <algorithm>

namespace sorrel::tables {

QString viewCaption(BoardView view) {
    switch (view) {
    case BoardView::Graphic:
        return QStringLiteral("图形房台");
    case BoardView::List:
        return QStringLiteral("列表房台");
    case BoardView::Legend:
        return QStringLiteral("房态图例");
    }
    return {};
}

BoardView nextView(BoardView view) {
    switch (view) {
    case BoardView::Graphic:
        return BoardView::List;
    case BoardView::List:
        return BoardView::Legend;
    case BoardView::Legend:
        return BoardView::Graphic;
    }
    return BoardView::Graphic;
}

QString tableNotFoundMessage(const QString& code) {
    return QStringLiteral("[") + code + QStringLiteral("]查无此房台号,请重新查找!");
}

void TableBoard::load(Database& db) {
    BoardMasterData data = loadBoardMasterData(db);
    setMasterData(std::move(data.departments), std::move(data.types));
    requery(db);
}

void TableBoard::requery(Database& db) {
    setTables(loadBoardTables(db, sort_));
}

void TableBoard::setMasterData(QList<Department> departments, QList<TableType> types) {
    departments_ = std::move(departments);
    types_ = std::move(types);
}

void TableBoard::setTables(QList<BoardTable> tables) {
    tables_ = std::move(tables);
    const bool departmentKnown = std::any_of(departments_.begin(), departments_.end(),
                                             [&](const Department& d) { return d.code == department_; });
    if (!departmentKnown) {
        selectDepartment(departments_.isEmpty() ? QString() : departments_.first().code);
        return;
    }
    const QList<TypeCount> summary = typeSummary();
    const bool typeKnown =
        std::any_of(summary.begin(), summary.end(), [&](const TypeCount& t) { return t.type.code == type_; });
    if (!typeKnown) {
        selectType(summary.isEmpty() ? QString() : summary.first().type.code);
        return;
    }
    keepSelection();
}

QString TableBoard::departmentName() const {
    for (const Department& d : departments_)
        if (d.code == department_) return d.name;
    return {};
}

QString TableBoard::typeName() const {
    for (const TableType& t : types_)
        if (t.code == type_) return t.name;
    return {};
}

void TableBoard::selectDepartment(const QString& code) {
    department_ = code;
    const QList<TypeCount> summary = typeSummary();
    selectType(summary.isEmpty() ? QString() : summary.first().type.code);
}

void TableBoard::selectType(const QString& code) {
    type_ = code;
    keepSelection();
}

void TableBoard::keepSelection() {
    for (const BoardTable& t : tables_)
        if (t.code == selected_ && isShown(t)) return;
    selected_.clear();
    for (const BoardTable& t : tables_)
        if (isShown(t)) {
            selected_ = t.code;
            return;
        }
}

QList<TypeCount> TableBoard::typeSummary() const {
    QList<TypeCount> summary;
    for (const TableType& type : types_) {
        int count = 0;
        for (const BoardTable& t : tables_)
            if (t.deptCode == department_ && t.typeCode == type.code) ++count;
        if (count > 0) summary.append({type, count});
    }
    return summary;
}

QList<BoardTable> TableBoard::shown() const {
    QList<BoardTable> list;
    for (const BoardTable& t : tables_)
        if (isShown(t)) list.append(t);
    return list;
}

std::optional<BoardTable> TableBoard::selected() const {
    for (const BoardTable& t : tables_)
        if (t.code == selected_ && isShown(t)) return t;
    return std::nullopt;
}

void TableBoard::select(const QString& code) {
    for (const BoardTable& t : tables_)
        if (t.code == code && isShown(t)) selected_ = code;
}

bool TableBoard::reveal(const QString& code) {
    for (const BoardTable& t : tables_)
        if (t.code == code) {
            selectDepartment(t.deptCode);
            selectType(t.typeCode);
            select(code);
            return true;
        }
    return false;
}

std::array<int, 6> TableBoard::stateCounts() const {
    std::array<int, 6> counts{};
    for (const BoardTable& t : tables_)
        if (const int at = stateIndex(t.state); at >= 0 && isShown(t)) ++counts[at];
    return counts;
}

SearchOutcome TableBoard::search(const QString& typed) {
    SearchOutcome outcome;
    if (typed.isEmpty()) return outcome;
    for (const BoardTable& t : tables_)
        if (isShown(t) && t.code.startsWith(typed)) {
            selected_ = t.code;
            break;
        }
    const QString code = typed.trimmed();
    if (code.size() != 3) return outcome;
    outcome.clearBox = true;
    if (selected_ == code) return outcome;
    if (reveal(code)) return outcome;
    outcome.message = tableNotFoundMessage(code);
    selectDepartment(departments_.isEmpty() ? QString() : departments_.first().code);
    return outcome;
}

} // namespace sorrel::tables
