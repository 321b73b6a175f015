#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

namespace zelmora {

// The program's own pictures and signs, drawn to any size so that they stay
// sharp on every screen. Each fills (or centres itself in) `box`.

// The logo: a small pyramid metronome with its pendulum swung out.
void PaintLogo(QPainter& painter, const QRectF& box);
// The volume scale: a wedge, wide at the top (full level) and narrow at the
// bottom.
void PaintVolumeWedge(QPainter& painter, const QRectF& box, const QColor& color);
// Button signs: play (a triangle pointing right), pause (two bars), a dot.
void PaintPlaySign(QPainter& painter, const QRectF& box, const QColor& color);
void PaintPauseSign(QPainter& painter, const QRectF& box, const QColor& color);
void PaintDot(QPainter& painter, const QRectF& box, const QColor& color);
// The always-on-top sign: an upward arrow above a small window.
void PaintTopmostSign(QPainter& painter, const QRectF& box, const QColor& color);
// A quarter note, the note value under the beat count.
void PaintQuarterNote(QPainter& painter, const QRectF& box, const QColor& color);

}  // namespace zelmora
