// A read-only grid of texts under column captions, chosen by whole rows: the lists of the
// board, the register screen and the work screen. Replacing its rows keeps the scroll position,
// and rows that did not change are not rebuilt, so a list refreshed in the background neither
// flickers nor jumps.
#pragma once

#include <QTableWidget>

namespace sorrel::ui {

class TextGrid : public QTableWidget {
  public:
    TextGrid(const QString& objectName, const QStringList& captions, QWidget* parent);

    // `selected` is the row to select, -1 for none. Changing the selection this way sends no
    // signals: only the operator's own choices do.
    void setRows(const QList<QStringList>& rows, int selected = -1);
    void selectRowQuietly(int row);
    const QList<QStringList>& rows() const { return rows_; }

    // The colours of the selected row, whether or not the grid has the focus.
    void setSelectionColours(const QColor& background, const QColor& text);

  private:
    QList<QStringList> rows_;
};

} // namespace sorrel::ui
