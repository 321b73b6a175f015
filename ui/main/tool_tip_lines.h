#pragma once

#include <QString>

namespace zelmora {

// A tooltip whose lines are the CR LF (or LF) pairs of its text, and only
// those: the tooltip window wraps no line, and a "<br>" tag adds no break
// of its own. The text's other tags take effect ("<b>" is bold).
QString ToolTipLines(const QString& text);

}  // namespace zelmora
