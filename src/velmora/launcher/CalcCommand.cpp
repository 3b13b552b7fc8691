#include "velmora/launcher/CalcCommand.h"

#include "velmora/launcher/Calculator.h"
#include "velmora/launcher/SearchCards.h"

#include <QTextStream>

namespace velmora {

int runCalcCommand(const QString &expr, QTextStream &out)
{
    const std::optional<Decimal> value = Calculator().evaluate(searchCardInput(expr));
    if (!value)
        return 1;
    // A plain number has no card, but a script asking for its value still gets it.
    out << decimalText(*value) << Qt::endl;
    return 0;
}

} // namespace velmora
