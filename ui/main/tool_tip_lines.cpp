#include "ui/main/tool_tip_lines.h"

#include <QRegularExpression>

namespace zelmora {

QString ToolTipLines(const QString& text) {
  static const QRegularExpression breakTag(QStringLiteral(R"(<br\s*/?>)"),
                                           QRegularExpression::CaseInsensitiveOption);
  QString lines = text;
  lines.remove(breakTag);
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  // A final line break ends the last line; it starts no empty one.
  if (lines.endsWith(QLatin1Char('\n'))) {
    lines.chop(1);
  }
  lines.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
  // The tooltip window wraps rich text that is wider than a quarter of the
  // screen, anywhere it can; a line that must not break is kept whole.
  return QStringLiteral("<p style='white-space:nowrap'>") + lines + QStringLiteral("</p>");
}

}  // namespace zelmora
