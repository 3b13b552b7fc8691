#pragma once

#include <QString>

class QTextStream;

namespace velmora {

// `velmora calc EXPR`: prints the calculator card's result text and returns 0; prints
// nothing and returns 1 when the calculator does not accept the text.
int runCalcCommand(const QString &expr, QTextStream &out);

} // namespace velmora
