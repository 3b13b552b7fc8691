#include "velmora/launcher/Decimal.h"

#include <limits>
#include <stdexcept>

namespace velmora {

std::optional<Decimal> decimalFromText(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;
    for (QChar c : text) {
        // Keep the parser to plain number characters; it throws on anything else.
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || u == '.' || u == '-' || u == '+' || u == 'e' || u == 'E'))
            return std::nullopt;
    }
    try {
        return Decimal(text.toLatin1().toStdString());
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

QString decimalText(const Decimal &value)
{
    if (boost::multiprecision::isnan(value))
        return QStringLiteral("NaN");
    if (value.is_zero())
        return QStringLiteral("0"); // never "-0"
    // Flags 0: neither fixed nor scientific, so 5.0 prints as "5" and 1e40 as "1e+40".
    return QString::fromStdString(value.str(std::numeric_limits<Decimal>::digits10,
                                            std::ios_base::fmtflags(0)));
}

Decimal decimalNaN()
{
    return std::numeric_limits<Decimal>::quiet_NaN();
}

} // namespace velmora
