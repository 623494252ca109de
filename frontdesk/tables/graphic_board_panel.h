// The graphic view of the board (pnl_TableStateG): the tables as cells, six to a row and seven
// rows to the view in the smallest window (more where a larger window leaves room for cells of
// that size), each with its code, name and state picture on white, the selected one light green;
// more tables than the view holds scroll by rows.
#pragma once

#include "frontdesk/tables/board_tables.h"

#include <QScrollArea>

namespace sorrel::tables {

class GraphicBoard : public QScrollArea {
    Q_OBJECT
  public:
    // The least cells across and down the view.
    static constexpr int kColumns = 6;
    static constexpr int kRows = 7;

    explicit GraphicBoard(QWidget* parent);

    // Keeps the scroll position; `reveal` scrolls the selected cell into view.
    void setTables(const QList<tables::BoardTable>& shown, const QString& selected, bool reveal);
    // Where a table's cell is, in the coordinates of the cells' widget (for tests and for menus).
    QRect cellRect(const QString& code) const;
    QWidget* cells() const { return widget(); }
    // The cells across and down the view as it is now.
    int columns() const;
    int rows() const;

  signals:
    void pressed(const QString& code);
    void activated(const QString& code);
    void menuRequested(const QString& code, const QPoint& globalPos);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    friend class BoardCells;
    QSize cellSize() const;
    QString codeAt(const QPoint& pos) const;
    void layoutCells();

    QList<tables::BoardTable> tables_;
    QString selected_;
};

} // namespace sorrel::tables
