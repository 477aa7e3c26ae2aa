// The program's own picture: an oblique unit cell with atoms at its corners and a tensor
// ellipsoid with its principal axes at its centre. Drawn with QPainter at any size, it is
// the application icon and the About box's picture.
#pragma once

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QRectF>

namespace orvix {

// Draws the emblem into `area` (kept square, centred); small sizes leave out fine detail.
void paint_emblem(QPainter& painter, const QRectF& area);

// The emblem on a transparent square of `size` pixels.
QPixmap emblem_pixmap(int size);

// The application icon at the usual sizes.
QIcon application_icon();

}  // namespace orvix
