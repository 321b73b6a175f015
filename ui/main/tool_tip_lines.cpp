#include "ui/main/tool_tip_lines.h"

namespace zelmora {

QString ToolTipLines(const QString& text) {
  // Shown as it is written: its tags are characters of the text.
  QString lines = text.toHtmlEscaped();
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
  lines.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
  // The tooltip window wraps rich text that is wider than a quarter of the
  // screen, anywhere it can; a line that must not break is kept whole.
  return QStringLiteral("<p style='white-space:nowrap'>") + lines + QStringLiteral("</p>");
}

}  // namespace zelmora
