#include "velmora/library/ReservedType.h"

namespace velmora {

QString rawValue(ReservedType type) {
    switch (type) {
    case ReservedType::pinned:
        return QStringLiteral("pinned");
    case ReservedType::hidden:
        return QStringLiteral("hidden");
    case ReservedType::notCategorized:
        return QStringLiteral("notCategorized");
    }
    return {};
}

std::optional<ReservedType> reservedTypeFromRawValue(const QString &raw) {
    for (ReservedType type :
         {ReservedType::pinned, ReservedType::hidden, ReservedType::notCategorized}) {
        if (raw == rawValue(type)) return type;
    }
    return std::nullopt;
}

} // namespace velmora
