#include "ui/meter/grid_paint.h"

#include <QFontMetrics>
#include <QLinearGradient>

#include "ui/skin/skin.h"

namespace zelmora {
namespace {

QColor Blend(const QColor& a, const QColor& b, double share) {
  return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - share) + b.redF() * share),
                          static_cast<float>(a.greenF() * (1 - share) + b.greenF() * share),
                          static_cast<float>(a.blueF() * (1 - share) + b.blueF() * share));
}

QColor CellBase() {
  return QColor(0xFA, 0xFB, 0xFC);
}

// Three-digit beat numbers are narrowed until they fit the column.
QFont FittingFont(const QString& text, int width, bool bold) {
  QFont font = GridFont();
  font.setBold(bold);
  for (int size = font.pixelSize(); size > 7; --size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).horizontalAdvance(text) <= width) {
      break;
    }
  }
  return font;
}

void PaintHeader(QPainter& painter, const TGridCellLook& cell) {
  const TSkin& skin = TSkin::Instance();
  const QColor accent = skin.Color(TSkinRole::Accent);
  QLinearGradient fill(cell.Rect.topLeft(), cell.Rect.bottomLeft());
  const QColor top = cell.Current ? Blend(skin.Color(TSkinRole::Panel), accent, 0.28)
                                  : skin.Color(TSkinRole::Panel);
  fill.setColorAt(0, top.lighter(104));
  fill.setColorAt(1, Blend(top, skin.Color(TSkinRole::WindowShade), 0.45));
  painter.fillRect(cell.Rect, fill);
  painter.setPen(cell.GroupStart || cell.Current ? skin.Color(TSkinRole::Text)
                                                 : skin.Color(TSkinRole::TextMuted));
  painter.setFont(FittingFont(cell.Text, cell.Rect.width() - 1, cell.GroupStart));
  painter.drawText(cell.Rect, Qt::AlignCenter, cell.Text);
}

void PaintMark(QPainter& painter, const TGridCellLook& cell) {
  const TSkin& skin = TSkin::Instance();
  const QColor accent = skin.Color(TSkinRole::Accent);
  painter.fillRect(
      cell.Rect, cell.Current ? Blend(CellBase(), accent, cell.Focused ? 0.16 : 0.08) : CellBase());
  const bool marked = (cell.Row == TGridRow::Acc && cell.Mark == TGridMark::Accent) ||
                      (cell.Row == TGridRow::Ord && cell.Mark == TGridMark::Ordinary);
  if (marked) {
    const QRectF tile = QRectF(cell.Rect).adjusted(1.5, 1.5, -1.5, -1.5);
    const bool accented = cell.Row == TGridRow::Acc;
    const QColor base =
        accented ? skin.Color(TSkinRole::FaderThumb) : Blend(CellBase(), accent, 0.3);
    QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
    fill.setColorAt(0, base.lighter(accented ? 118 : 106));
    fill.setColorAt(1, accented ? base.darker(112) : base);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(accented ? base.darker(135) : Blend(base, accent, 0.5), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(tile, 2.5, 2.5);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(accented ? QColor(Qt::white) : accent.darker(160));
    QFont font = GridFont();
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(cell.Rect, Qt::AlignCenter, cell.Text);
  }
  if (cell.Current) {
    painter.setBrush(Qt::NoBrush);
    if (cell.Focused) {
      painter.setPen(QPen(accent, 2));
      painter.drawRect(QRectF(cell.Rect).adjusted(0, 0, -1, -1).translated(0.5, 0.5));
    } else {
      painter.setPen(QPen(skin.Color(TSkinRole::TextMuted), 1, Qt::DotLine));
      painter.drawRect(cell.Rect.adjusted(0, 0, -1, -1));
    }
  }
}

}  // namespace

QFont GridFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(11);
  return font;
}

void PaintGridCell(QPainter& painter, const TGridCellLook& cell) {
  painter.save();
  if (cell.Row == TGridRow::Number) {
    PaintHeader(painter, cell);
  } else {
    PaintMark(painter, cell);
  }
  painter.restore();
}

void PaintGridLines(QPainter& painter, const TGridCellLook& cell) {
  const TSkin& skin = TSkin::Instance();
  const QColor line = Blend(CellBase(), skin.Color(TSkinRole::PanelBorder), 0.45);
  const QRect r = cell.Rect;
  painter.save();
  painter.setPen(line);
  painter.drawLine(r.right() + 1, r.top(), r.right() + 1, r.bottom() + 1);
  painter.drawLine(r.left(), r.bottom() + 1, r.right() + 1, r.bottom() + 1);
  if (cell.GroupStart && r.left() > 0) {
    // A group begins here: a firmer line on its left edge.
    painter.setPen(skin.Color(TSkinRole::PanelBorder).darker(115));
    painter.drawLine(r.left() - 1, r.top(), r.left() - 1, r.bottom() + 1);
  }
  painter.restore();
}

}  // namespace zelmora
