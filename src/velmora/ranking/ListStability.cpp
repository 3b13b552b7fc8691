#include "velmora/ranking/ListStability.h"

namespace velmora {

double stabilityBonus(ListStability stability)
{
    switch (stability) {
    case ListStability::low:
        return 0.0;
    case ListStability::medium:
        return 0.2;
    case ListStability::high:
        return 0.5;
    }
    return 0.0;
}

double stabilityExponent(ListStability stability)
{
    return stability == ListStability::high ? 2.5 : 1.65;
}

QString toRaw(ListStability stability)
{
    switch (stability) {
    case ListStability::low:
        return QStringLiteral("low");
    case ListStability::medium:
        return QStringLiteral("medium");
    case ListStability::high:
        return QStringLiteral("high");
    }
    return {};
}

std::optional<ListStability> fromRaw(const QString &raw, ListStability *)
{
    if (raw == QLatin1String("low"))
        return ListStability::low;
    if (raw == QLatin1String("medium"))
        return ListStability::medium;
    if (raw == QLatin1String("high"))
        return ListStability::high;
    return std::nullopt;
}

} // namespace velmora
