#include "common/ui/text_grid.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>

namespace sorrel::ui {

TextGrid::TextGrid(const QString& objectName, const QStringList& captions, QWidget* parent)
    : QTableWidget(0, int(captions.size()), parent) {
    setObjectName(objectName);
    setHorizontalHeaderLabels(captions);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(18);
    horizontalHeader()->setHighlightSections(false);
    setWordWrap(false);
}

void TextGrid::setRows(const QList<QStringList>& rows, int selected) {
    if (rows != rows_) {
        const QSignalBlocker quiet(this);
        const int scrolled = verticalScrollBar()->value();
        setRowCount(int(rows.size()));
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < columnCount(); ++c) {
                const QString text = rows[r].value(c);
                if (QTableWidgetItem* it = item(r, c)) {
                    if (it->text() != text) it->setText(text);
                } else {
                    setItem(r, c, new QTableWidgetItem(text));
                }
            }
        rows_ = rows;
        verticalScrollBar()->setValue(scrolled);
    }
    selectRowQuietly(selected);
}

void TextGrid::selectRowQuietly(int row) {
    const QSignalBlocker quiet(this);
    const int scrolled = verticalScrollBar()->value();
    if (row < 0 || row >= rowCount()) {
        clearSelection();
        setCurrentItem(nullptr);
        return;
    }
    if (currentRow() != row) setCurrentCell(row, 0);
    selectRow(row);
    verticalScrollBar()->setValue(scrolled);
}

void TextGrid::setSelectionColours(const QColor& background, const QColor& text) {
    QPalette p = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Highlight, background);
        p.setColor(group, QPalette::HighlightedText, text);
    }
    setPalette(p);
}

} // namespace sorrel::ui
