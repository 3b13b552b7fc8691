#include "velmora/launcher/LauncherViewType.h"

namespace velmora {

QString toRaw(LauncherViewType type)
{
    return type == LauncherViewType::list ? QStringLiteral("list") : QStringLiteral("grid");
}

std::optional<LauncherViewType> fromRaw(const QString &raw, LauncherViewType *)
{
    if (raw == QLatin1String("grid"))
        return LauncherViewType::grid;
    if (raw == QLatin1String("list"))
        return LauncherViewType::list;
    return std::nullopt;
}

} // namespace velmora
