// The two other views of the board: the list of tables (pnl_TableStateL) and the legend of the
// six states with their counts (pnl_StateCut).
#pragma once

#include "frontdesk/tables/board_tables.h"

#include <QWidget>
#include <array>

class QLabel;

namespace sorrel::ui {
class TextGrid;
}

namespace sorrel::tables {

class ListBoard : public QWidget {
    Q_OBJECT
  public:
    explicit ListBoard(QWidget* parent);
    void setTables(const QList<tables::BoardTable>& shown, const QString& selected, bool reveal);
    ui::TextGrid* grid() const { return grid_; }

  signals:
    void pressed(const QString& code);
    void activated(const QString& code);
    void menuRequested(const QString& code, const QPoint& globalPos);

  private:
    QString codeOfRow(int row) const;

    ui::TextGrid* grid_;
    QList<tables::BoardTable> tables_;
};

class LegendBoard : public QWidget {
    Q_OBJECT
  public:
    explicit LegendBoard(QWidget* parent);
    void setCounts(const QString& departmentName, const QString& typeName, const std::array<int, 6>& counts);

  private:
    QLabel* department_;
    QLabel* type_;
    std::array<QLabel*, 6> counts_{};
};

} // namespace sorrel::tables
