#include "ui/main/verbatim_tooltip.h"

#include <QTextDocument>

namespace zelmora {

QString VerbatimToolTip(const QString& text) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return Qt::convertFromPlainText(lines, Qt::WhiteSpacePre);
}

}  // namespace zelmora
