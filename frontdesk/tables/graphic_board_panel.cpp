#include "frontdesk/tables/graphic_board_panel.h"

#include "common/ui/guard.h"
#include "frontdesk/tables/state_icons.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace sorrel::tables {

namespace {

const QColor kSelected(197, 226, 156);

} // namespace

// The cells themselves, as tall as their rows need; the scroll area shows seven rows of them.
class BoardCells : public QWidget {
  public:
    explicit BoardCells(GraphicBoard* board) : QWidget(board), board_(board) {
        setObjectName(QStringLiteral("BoardCells"));
        setAutoFillBackground(true);
        QPalette white = palette();
        white.setColor(QPalette::Window, Qt::white);
        setPalette(white);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        const QSize cell = board_->cellSize();
        for (int i = 0; i < board_->tables_.size(); ++i) {
            const tables::BoardTable& t = board_->tables_[i];
            const QRect r(QPoint((i % GraphicBoard::kColumns) * cell.width(),
                                 (i / GraphicBoard::kColumns) * cell.height()),
                          cell);
            if (!r.intersects(event->rect())) continue;
            const QRect inner = r.adjusted(2, 2, -2, -2);
            if (t.code == board_->selected_) p.fillRect(inner, kSelected);
            p.setPen(QColor(220, 220, 220));
            p.drawRect(inner.adjusted(0, 0, -1, -1));
            const QPixmap icon = stateIcon(t.state);
            const int textTop = inner.top() + 3 + kStateIconSize + 1;
            if (!icon.isNull()) p.drawPixmap(inner.center().x() - kStateIconSize / 2, inner.top() + 3, icon);
            p.setPen(Qt::black);
            const int line = fontMetrics().height();
            p.drawText(QRect(inner.left(), textTop, inner.width(), line), Qt::AlignCenter, t.code);
            p.drawText(QRect(inner.left() + 2, textTop + line, inner.width() - 4, line), Qt::AlignCenter,
                       fontMetrics().elidedText(t.name, Qt::ElideRight, inner.width() - 4));
        }
    }

    void mousePressEvent(QMouseEvent* event) override {
        const QString code = board_->codeAt(event->position().toPoint());
        if (code.isEmpty()) return;
        if (event->button() == Qt::RightButton)
            emit board_->menuRequested(code, event->globalPosition().toPoint());
        else if (event->button() == Qt::LeftButton)
            emit board_->pressed(code);
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        const QString code = board_->codeAt(event->position().toPoint());
        if (!code.isEmpty() && event->button() == Qt::LeftButton) emit board_->activated(code);
    }

  private:
    GraphicBoard* board_;
};

GraphicBoard::GraphicBoard(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("pnl_TableStateG"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    setWidget(new BoardCells(this));
    ui::connectGuarded(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        const int row = cellSize().height();
        if (const int off = value % row)
            verticalScrollBar()->setValue(value - off + (2 * off >= row ? row : 0));
    });
}

QSize GraphicBoard::cellSize() const {
    // Six cells across what the view shows, seven rows down its height.
    const int across = viewport()->width() > 0 ? viewport()->width() : width();
    return QSize(std::max(1, across / kColumns), std::max(1, height() / kRows));
}

void GraphicBoard::layoutCells() {
    const QSize cell = cellSize();
    const int rows = int((tables_.size() + kColumns - 1) / kColumns);
    // The view scrolls by whole rows: below the last row is what the seven rows leave of the view.
    const int leftOver = viewport()->height() - kRows * cell.height();
    widget()->resize(cell.width() * kColumns,
                     std::max(rows * cell.height() + leftOver, viewport()->height()));
    verticalScrollBar()->setSingleStep(cell.height());
    verticalScrollBar()->setPageStep(cell.height() * kRows);
    widget()->update();
}

void GraphicBoard::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    layoutCells();
}

void GraphicBoard::setTables(const QList<tables::BoardTable>& shown, const QString& selected, bool reveal) {
    const int scrolled = verticalScrollBar()->value();
    const bool same = shown == tables_ && selected == selected_;
    tables_ = shown;
    selected_ = selected;
    if (!same) layoutCells();
    verticalScrollBar()->setValue(scrolled);
    if (reveal && !selected.isEmpty()) {
        const QRect r = cellRect(selected);
        ensureVisible(r.center().x(), r.center().y(), 0, r.height() / 2);
    }
}

QRect GraphicBoard::cellRect(const QString& code) const {
    const QSize cell = cellSize();
    for (int i = 0; i < tables_.size(); ++i)
        if (tables_[i].code == code)
            return QRect(QPoint((i % kColumns) * cell.width(), (i / kColumns) * cell.height()), cell);
    return {};
}

QString GraphicBoard::codeAt(const QPoint& pos) const {
    const QSize cell = cellSize();
    const int column = pos.x() / cell.width();
    const int index = (pos.y() / cell.height()) * kColumns + column;
    if (pos.x() < 0 || pos.y() < 0 || column >= kColumns || index >= tables_.size()) return {};
    return tables_[index].code;
}

} // namespace sorrel::tables
