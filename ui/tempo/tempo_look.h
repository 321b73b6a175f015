#pragma once

#include <QFont>
#include <QString>

namespace zelmora {

// Fonts and style sheets of the tempo dialog and its calculator, from the
// shared skin. Rebuilt by the widgets whenever the skin changes.
QFont TahomaFont(int pixelSize, bool bold = false);
QString DialogButtonStyle();
QString CalcFieldStyle();
QString CalculatorStyle();

}  // namespace zelmora
