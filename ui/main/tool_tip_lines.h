#pragma once

#include <QString>

namespace zelmora {

// A tooltip that shows its text verbatim ("<b>" and "<br>" are characters
// of it, no markup is read) in the lines its CR LF (or LF) pairs make, and
// only those: the tooltip window wraps no line.
QString ToolTipLines(const QString& text);

}  // namespace zelmora
