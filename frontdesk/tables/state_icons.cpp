#include "frontdesk/tables/state_icons.h"

#include "frontdesk/tables/table_state.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

namespace sorrel::tables {

namespace {

const QColor kOutline(60, 60, 60);

// Two people side by side, the one behind a little smaller; `top` is where their heads begin.
void paintPeople(QPainter& p, qreal top) {
    const struct {
        qreal x;
        qreal scale;
        QColor colour;
    } people[] = {{19, 0.85, QColor(70, 120, 200)}, {11, 1.0, QColor(40, 90, 170)}};
    for (const auto& who : people) {
        const qreal head = 4.2 * who.scale;
        const qreal y = top + (1 - who.scale) * 6;
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(250, 215, 180));
        p.drawEllipse(QPointF(who.x, y + head), head, head);
        QPainterPath body;
        const qreal shoulders = y + 2 * head + 1.5;
        body.moveTo(who.x - 7 * who.scale, 31);
        body.cubicTo(who.x - 7 * who.scale, shoulders, who.x + 7 * who.scale, shoulders,
                     who.x + 7 * who.scale, 31);
        body.closeSubpath();
        p.setBrush(who.colour);
        p.drawPath(body);
    }
}

void paintCup(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(235, 235, 240));
    p.drawEllipse(QRectF(3, 23, 26, 7)); // the saucer
    QPainterPath cup;
    cup.moveTo(7, 12);
    cup.lineTo(23, 12);
    cup.cubicTo(23, 22, 19, 26, 15, 26);
    cup.cubicTo(11, 26, 7, 22, 7, 12);
    p.setBrush(Qt::white);
    p.drawPath(cup);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOutline, 1.6));
    p.drawArc(QRectF(20, 14, 7, 7), -90 * 16, 180 * 16); // the handle
    p.setBrush(QColor(120, 70, 30));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(8, 11, 14, 3)); // coffee
    p.setPen(QPen(QColor(150, 150, 150), 1.2));
    for (qreal x : {12.0, 17.0}) { // steam
        QPainterPath steam;
        steam.moveTo(x, 9);
        steam.cubicTo(x - 2, 7, x + 2, 5, x, 2);
        p.setBrush(Qt::NoBrush);
        p.drawPath(steam);
    }
}

void paintNote(QPainter& p) {
    p.setPen(QPen(QColor(170, 140, 20), 1));
    p.setBrush(QColor(255, 221, 60));
    p.drawRect(QRectF(15, 1, 15, 12));
    p.setPen(QPen(QColor(140, 110, 20), 1));
    for (qreal y : {4.5, 7.5, 10.5})
        p.drawLine(QPointF(17.5, y), QPointF(27.5, y));
}

void paintPlus(QPainter& p) {
    p.setPen(QPen(QColor(170, 80, 0), 1));
    p.setBrush(QColor(255, 140, 0));
    QPainterPath plus;
    plus.addRect(QRectF(20, 1, 5, 15));
    plus.addRect(QRectF(15, 6, 15, 5));
    p.drawPath(plus.simplified());
}

void paintClock(QPainter& p) {
    p.setPen(QPen(QColor(40, 90, 60), 2));
    p.setBrush(QColor(230, 245, 235));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(QPen(kOutline, 1));
    for (int hour = 0; hour < 12; ++hour) {
        p.save();
        p.translate(16, 16);
        p.rotate(hour * 30);
        p.drawLine(QPointF(0, -11), QPointF(0, hour % 3 == 0 ? -8.5 : -10));
        p.restore();
    }
    p.setPen(QPen(QColor(20, 20, 20), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 16), QPointF(16, 8));  // minutes
    p.drawLine(QPointF(16, 16), QPointF(22, 18)); // hours
}

void paintNoEntry(QPainter& p) {
    p.setPen(QPen(QColor(140, 0, 0), 1));
    p.setBrush(QColor(215, 25, 25));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(22, 22));
    p.drawLine(QPointF(22, 10), QPointF(10, 22));
}

QPixmap paintState(int index) {
    QPixmap picture(kStateIconSize, kStateIconSize);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0:
        paintCup(p);
        break;
    case 1:
        paintPeople(p, 3);
        break;
    case 2:
        paintPeople(p, 10);
        paintNote(p);
        break;
    case 3:
        paintPeople(p, 10);
        paintPlus(p);
        break;
    case 4:
        paintClock(p);
        break;
    case 5:
        paintNoEntry(p);
        break;
    }
    return picture;
}

} // namespace

QPixmap stateIcon(const QString& state) {
    const int index = tables::stateIndex(state);
    if (index < 0) return {};
    static std::array<QPixmap, 6> pictures;
    if (pictures[index].isNull()) pictures[index] = paintState(index);
    return pictures[index];
}

} // namespace sorrel::tables
