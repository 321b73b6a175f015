#pragma once

#include <QString>

namespace zelmora {

// A tooltip that shows its text exactly as written: tags such as "<b>" are
// characters, and each CR LF (or LF) pair breaks the line. Qt would take
// text that looks like markup for rich text, so the text is escaped into a
// paragraph that keeps its spaces.
QString VerbatimToolTip(const QString& text);

}  // namespace zelmora
