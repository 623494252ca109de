// The right-hand column of the board (Panel3): the selected table's type description, the
// shift and business date, the department list, the type summary of the department, the
// information box of the selected table and the table-code search box.
#pragma once

#include "frontdesk/tables/table_board.h"

#include <QWidget>

class QLabel;
class QLineEdit;

namespace sorrel::ui {
class TextGrid;
}

namespace sorrel::tables {

class BoardColumn : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 190;

    explicit BoardColumn(QWidget* parent);

    void setShift(const QString& shiftName, const QDate& businessDate);
    void setBusinessDate(const QString& caption);
    // Shows the board's departments, types and selected table.
    void showBoard(const tables::TableBoard& board);
    QLineEdit* searchBox() const { return search_; }
    ui::TextGrid* departmentList() const { return departments_; }
    ui::TextGrid* typeSummary() const { return types_; }

  signals:
    void departmentChosen(const QString& code);
    void typeChosen(const QString& code);

  private:
    QLabel* typeNote_;
    QLabel* shift_;
    QLabel* workDate_;
    ui::TextGrid* departments_;
    ui::TextGrid* types_;
    QList<QLabel*> info_;
    QLineEdit* search_;
    QStringList departmentCodes_;
    QStringList typeCodes_;
};

} // namespace sorrel::tables
