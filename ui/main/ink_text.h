#pragma once

#include <QRectF>
#include <QString>

class QFont;
class QPainter;

namespace zelmora {

// Draws `text` so that its ink (not its font box) is centred vertically in
// `box`, at the left, centre or right as `horizontal` says. The music face
// places its digits far from the middle of its tall font box, so ordinary
// text alignment would push them out of small places.
void DrawInkCentred(QPainter& painter, const QRectF& box, const QString& text,
                    Qt::Alignment horizontal);

// The baseline that centres the ink of digits vertically in a box of
// `height` pixels, measured from the box's top.
qreal InkCentredBaseline(const QFont& font, qreal height);

}  // namespace zelmora
