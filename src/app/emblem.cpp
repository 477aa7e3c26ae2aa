// Drawing the emblem.
#include "app/emblem.h"

#include <QPainterPath>
#include <QRadialGradient>
#include <array>

namespace orvix {

namespace {

// Cell edges in units of the picture's side, seen slightly from above and the right: a runs
// to the right, b into the picture, c upwards and a little forwards, as in a monoclinic cell.
constexpr QPointF edge_a{0.50, 0.04};
constexpr QPointF edge_b{0.22, -0.16};
constexpr QPointF edge_c{-0.05, -0.50};
constexpr QPointF cell_origin{0.15, 0.80};

QPointF corner(int i, int j, int k, const QRectF& box) {
    const QPointF unit = cell_origin + i * edge_a + j * edge_b + k * edge_c;
    return box.topLeft() + QPointF(unit.x() * box.width(), unit.y() * box.height());
}

void paint_atom(QPainter& painter, QPointF centre, double radius, QColor colour) {
    QRadialGradient shade(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.3);
    shade.setColorAt(0.0, colour.lighter(190));
    shade.setColorAt(0.6, colour);
    shade.setColorAt(1.0, colour.darker(170));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawEllipse(centre, radius, radius);
}

}  // namespace

void paint_emblem(QPainter& painter, const QRectF& area) {
    const double side = std::min(area.width(), area.height());
    const QRectF box(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    const bool small = side < 40;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);

    const QColor edge_colour(28, 58, 110);
    const QColor back_colour(120, 140, 175);
    const double front_width = std::max(1.0, side * (small ? 0.06 : 0.035));
    const double back_width = std::max(1.0, side * (small ? 0.035 : 0.018));

    // The back faces first (edges that touch the far corner j = 1), dashed where large.
    QPen back_pen(back_colour, back_width);
    back_pen.setCapStyle(Qt::RoundCap);
    if (!small) back_pen.setStyle(Qt::DashLine);
    painter.setPen(back_pen);
    painter.drawLine(corner(0, 0, 0, box), corner(0, 1, 0, box));
    painter.drawLine(corner(0, 1, 0, box), corner(1, 1, 0, box));
    painter.drawLine(corner(0, 1, 0, box), corner(0, 1, 1, box));

    const double radius = side * (small ? 0.075 : 0.055);
    if (!small) paint_atom(painter, corner(0, 1, 0, box), radius * 0.8, QColor(120, 150, 200));

    // The tensor ellipsoid at the cell's centre, tilted against the cell edges.
    const QPointF centre = (corner(0, 0, 0, box) + corner(1, 1, 1, box)) / 2;
    painter.save();
    painter.translate(centre);
    painter.rotate(-32);
    const double major = side * 0.27;
    const double minor = side * 0.13;
    QRadialGradient glow(QPointF(-major * 0.3, -minor * 0.4), major * 1.1);
    glow.setColorAt(0.0, QColor(255, 236, 170));
    glow.setColorAt(0.55, QColor(240, 150, 40));
    glow.setColorAt(1.0, QColor(170, 70, 10));
    painter.setPen(QPen(QColor(130, 60, 10), std::max(0.8, side * 0.012)));
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(0, 0), major, minor);
    if (!small) {
        // Principal axes: the largest along the long diameter, the others across it.
        QPen axis_pen(QColor(110, 30, 0), std::max(1.0, side * 0.012));
        axis_pen.setCapStyle(Qt::RoundCap);
        painter.setPen(axis_pen);
        painter.drawLine(QPointF(-major * 1.25, 0), QPointF(major * 1.25, 0));
        painter.drawLine(QPointF(0, -minor * 1.5), QPointF(0, minor * 1.5));
        // The middle ellipse of the three, seen edge-on as a ring.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(130, 60, 10, 160), std::max(0.8, side * 0.008)));
        painter.drawEllipse(QPointF(0, 0), major * 0.98, minor * 0.35);
    }
    painter.restore();

    // The front edges over the ellipsoid.
    QPen front_pen(edge_colour, front_width);
    front_pen.setCapStyle(Qt::RoundCap);
    front_pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(front_pen);
    painter.setBrush(Qt::NoBrush);
    const std::array<std::array<int, 6>, 9> front_edges{{
        {0, 0, 0, 1, 0, 0},
        {0, 0, 0, 0, 0, 1},
        {1, 0, 0, 1, 0, 1},
        {0, 0, 1, 1, 0, 1},
        {1, 0, 0, 1, 1, 0},
        {1, 1, 0, 1, 1, 1},
        {1, 0, 1, 1, 1, 1},
        {0, 0, 1, 0, 1, 1},
        {0, 1, 1, 1, 1, 1},
    }};
    for (const auto& e : front_edges)
        painter.drawLine(corner(e[0], e[1], e[2], box), corner(e[3], e[4], e[5], box));

    // Atoms at the other corners (the far one is drawn behind the ellipsoid above).
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            for (int k = 0; k < 2; ++k) {
                if (j == 1 && (small || (i == 0 && k == 0))) continue;
                paint_atom(painter, corner(i, j, k, box), radius, QColor(40, 100, 200));
            }
    painter.restore();
}

QPixmap emblem_pixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint_emblem(painter, QRectF(0, 0, size, size));
    return pixmap;
}

QIcon application_icon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(emblem_pixmap(size));
    return icon;
}

}  // namespace orvix
