#include "ui/transport_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace corvane {

namespace {

QPolygonF triangle(qreal left, qreal right, bool pointingRight) {
    return pointingRight ? QPolygonF({{left, 5}, {right, 12}, {left, 19}})
                         : QPolygonF({{right, 5}, {left, 12}, {right, 19}});
}

void drawSpeaker(QPainter& p) {
    p.drawPolygon(QPolygonF({{3, 9}, {7, 9}, {12, 4}, {12, 20}, {7, 15}, {3, 15}}));
}

// Draws on a 24-unit square.
void drawGlyph(QPainter& p, Glyph glyph, QColor color) {
    p.setBrush(color);
    p.setPen(Qt::NoPen);
    QPen line(color, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (glyph) {
        case Glyph::Play: p.drawPolygon(triangle(7, 19, true)); break;
        case Glyph::Pause:
            p.drawRect(QRectF(6, 5, 4, 14));
            p.drawRect(QRectF(14, 5, 4, 14));
            break;
        case Glyph::JumpBack:
            p.drawPolygon(triangle(2, 12, false));
            p.drawPolygon(triangle(11, 21, false));
            break;
        case Glyph::JumpForward:
            p.drawPolygon(triangle(3, 13, true));
            p.drawPolygon(triangle(12, 22, true));
            break;
        case Glyph::StepBack:
            p.drawRect(QRectF(5, 5, 3, 14));
            p.drawPolygon(triangle(9, 19, false));
            break;
        case Glyph::StepForward:
            p.drawPolygon(triangle(5, 15, true));
            p.drawRect(QRectF(16, 5, 3, 14));
            break;
        case Glyph::SlowMotion: {
            p.drawPolygon(triangle(3, 12, true));
            QFont font = p.font();
            font.setPixelSize(11);
            font.setBold(true);
            p.setFont(font);
            p.setPen(color);
            p.drawText(QRectF(11, 4, 13, 16), Qt::AlignCenter, QStringLiteral("½"));
            break;
        }
        case Glyph::ZoomIn:
        case Glyph::ZoomOut:
            p.setBrush(Qt::NoBrush);
            p.setPen(line);
            p.drawEllipse(QRectF(3, 3, 13, 13));
            p.drawLine(QPointF(14, 14), QPointF(21, 21));
            p.drawLine(QPointF(6.5, 9.5), QPointF(12.5, 9.5));
            if (glyph == Glyph::ZoomIn) p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
            break;
        case Glyph::FullScreen:
            p.setBrush(Qt::NoBrush);
            p.setPen(line);
            for (const auto& corner : {QPolygonF({{3, 9}, {3, 3}, {9, 3}}), QPolygonF({{15, 3}, {21, 3}, {21, 9}}),
                                       QPolygonF({{21, 15}, {21, 21}, {15, 21}}), QPolygonF({{9, 21}, {3, 21}, {3, 15}})})
                p.drawPolyline(corner);
            break;
        case Glyph::SoundOn: {
            drawSpeaker(p);
            p.setBrush(Qt::NoBrush);
            p.setPen(line);
            p.drawArc(QRectF(10, 7, 8, 10), -60 * 16, 120 * 16);
            p.drawArc(QRectF(9, 3, 13, 18), -60 * 16, 120 * 16);
            break;
        }
        case Glyph::SoundOff:
            drawSpeaker(p);
            p.setPen(line);
            p.drawLine(QPointF(15, 8), QPointF(21, 16));
            p.drawLine(QPointF(21, 8), QPointF(15, 16));
            break;
        case Glyph::PreviousFilm:
        case Glyph::NextFilm: {
            p.setBrush(Qt::NoBrush);
            p.setPen(line);
            p.drawRoundedRect(QRectF(3, 6, 18, 12), 2, 2);
            p.setPen(Qt::NoPen);
            p.setBrush(color);
            p.drawPolygon(glyph == Glyph::NextFilm ? QPolygonF({{9, 9}, {15, 12}, {9, 15}})
                                                   : QPolygonF({{15, 9}, {9, 12}, {15, 15}}));
            break;
        }
        // A track's skip: two triangles against a bar, the way the list goes.
        case Glyph::PreviousCode:
            p.drawRect(QRectF(3, 5, 3, 14));
            p.drawPolygon(triangle(6, 13, false));
            p.drawPolygon(triangle(13, 20, false));
            break;
        case Glyph::NextCode:
            p.drawPolygon(triangle(4, 11, true));
            p.drawPolygon(triangle(11, 18, true));
            p.drawRect(QRectF(18, 5, 3, 14));
            break;
        case Glyph::Close:
            p.setPen(line);
            p.drawLine(QPointF(6, 6), QPointF(18, 18));
            p.drawLine(QPointF(18, 6), QPointF(6, 18));
            break;
        case Glyph::Minimise:
            p.setPen(line);
            p.drawLine(QPointF(6, 17), QPointF(18, 17));
            break;
        case Glyph::Information: {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(color, 1.8));
            p.drawEllipse(QRectF(3, 3, 18, 18));
            p.setPen(Qt::NoPen);
            p.setBrush(color);
            p.drawEllipse(QRectF(10.8, 6.5, 2.4, 2.4));
            p.drawRect(QRectF(10.9, 10.5, 2.2, 7));
            break;
        }
    }
}

QPixmap glyphPixmap(Glyph glyph, QColor color, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 24.0, size / 24.0);
    drawGlyph(painter, glyph, color);
    return pixmap;
}

}  // namespace

QIcon glyphIcon(Glyph glyph, QColor color) {
    QIcon icon;
    for (const int size : {16, 24, 32, 48}) {
        icon.addPixmap(glyphPixmap(glyph, color, size), QIcon::Normal);
        icon.addPixmap(glyphPixmap(glyph, QColor(120, 126, 150), size), QIcon::Disabled);
    }
    return icon;
}

QString glyphButtonStyle() {
    return QStringLiteral(
        "QToolButton { border: none; border-radius: 3px; padding: 2px; background: transparent; }"
        "QToolButton:hover { background: rgba(255, 255, 255, 40); }"
        "QToolButton:pressed, QToolButton:checked { background: rgba(0, 0, 0, 90); }");
}

}  // namespace corvane
