// The board's state as the operator sees it: the tables of the selected department and type,
// the selected table, the view and the order, the type summary, the legend's counts and the
// search by table code. It works on a snapshot of every table, which the board replaces when it
// re-reads them; a new snapshot keeps the department, the type and the selected table.
#pragma once

#include "frontdesk/tables/board_tables.h"

#include <array>

namespace sorrel::tables {

enum class BoardView { Graphic, List, Legend };
// The caption of the first toolbar button: the name of the view shown.
QString viewCaption(BoardView view);
BoardView nextView(BoardView view);

struct TypeCount {
    TableType type;
    int count = 0;
};

// What a change of the search box asks of the screen.
struct SearchOutcome {
    bool clearBox = false;
    QString message; // shown to the operator when not empty
};

QString tableNotFoundMessage(const QString& code);

class TableBoard {
  public:
    // Departments, types and every table, in the order in force. At the first load the first
    // department and the first type of its summary are selected.
    void load(Database& db);
    // Every table again, in the order in force (one statement).
    void requery(Database& db);

    // The same without a database, for a snapshot read elsewhere.
    void setMasterData(QList<Department> departments, QList<TableType> types);
    void setTables(QList<BoardTable> tables);

    const QList<Department>& departments() const { return departments_; }
    const QList<TableType>& types() const { return types_; }
    const QList<BoardTable>& allTables() const { return tables_; }
    QString department() const { return department_; }
    QString departmentName() const;
    QString type() const { return type_; }
    QString typeName() const;

    // Selecting a department also selects the first type of its summary.
    void selectDepartment(const QString& code);
    void selectType(const QString& code);
    // The types occurring in the selected department, by code, with their number of tables.
    QList<TypeCount> typeSummary() const;

    // The tables of the selected department and type, in the order in force.
    QList<BoardTable> shown() const;
    // The selected table, always one of shown(); nothing when the board is empty.
    std::optional<BoardTable> selected() const;
    QString selectedCode() const { return selected_; }
    // Selects a table shown on the board; any other code leaves the selection as it is.
    void select(const QString& code);
    // Switches to the department and type of table `code` and selects it; false (nothing
    // changed) when there is no such table.
    bool reveal(const QString& code);

    // Tables of the selected department and type in each of the six states.
    std::array<int, 6> stateCounts() const;

    BoardView view() const { return view_; }
    void cycleView() { view_ = nextView(view_); }
    BoardSort sort() const { return sort_; }
    // The next order; the caller re-reads the tables in it (requery).
    void cycleSort() { sort_ = nextSort(sort_); }

    // The search box changed to `typed`: moves the selection to the first shown table whose code
    // begins with it; three characters that name a table of another department or type switch
    // the board to it.
    SearchOutcome search(const QString& typed);

  private:
    bool isShown(const BoardTable& t) const { return t.deptCode == department_ && t.typeCode == type_; }
    void keepSelection();

    QList<Department> departments_;
    QList<TableType> types_;
    QList<BoardTable> tables_;
    QString department_;
    QString type_;
    QString selected_;
    BoardView view_ = BoardView::Graphic;
    BoardSort sort_ = BoardSort::ByCode;
};

} // namespace sorrel::tables
