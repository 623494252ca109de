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
            const int across = board_->columns();
            const QRect r(QPoint((i % across) * cell.width(), (i / across) * cell.height()), cell);
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

namespace {

// A cell as the smallest window shows it; a larger window shows more cells of this size.
constexpr int kCellWidth = 100;
constexpr int kCellHeight = 66;

} // namespace

int GraphicBoard::columns() const {
    const int across = viewport()->width() > 0 ? viewport()->width() : width();
    return std::max(kColumns, across / kCellWidth);
}

int GraphicBoard::rows() const {
    return std::max(kRows, height() / kCellHeight);
}

QSize GraphicBoard::cellSize() const {
    const int across = viewport()->width() > 0 ? viewport()->width() : width();
    return QSize(std::max(1, across / columns()), std::max(1, height() / rows()));
}

void GraphicBoard::layoutCells() {
    const QSize cell = cellSize();
    const int across = columns();
    const int filled = int((tables_.size() + across - 1) / across);
    // The view scrolls by whole rows: below the last row is what the view's rows leave of it.
    const int leftOver = viewport()->height() - rows() * cell.height();
    widget()->resize(cell.width() * across,
                     std::max(filled * cell.height() + leftOver, viewport()->height()));
    verticalScrollBar()->setSingleStep(cell.height());
    verticalScrollBar()->setPageStep(cell.height() * rows());
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
            return QRect(QPoint((i % columns()) * cell.width(), (i / columns()) * cell.height()), cell);
    return {};
}

QString GraphicBoard::codeAt(const QPoint& pos) const {
    const QSize cell = cellSize();
    const int column = pos.x() / cell.width();
    const int index = (pos.y() / cell.height()) * columns() + column;
    if (pos.x() < 0 || pos.y() < 0 || column >= columns() || index >= tables_.size()) return {};
    return tables_[index].code;
}

} // namespace sorrel::tables
