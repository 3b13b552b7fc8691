#include "velmora/ranking/ScoredItem.h"

#include <QJsonValue>

namespace velmora {

QJsonObject ScoredItem::toJsonObject() const
{
    return QJsonObject{{QStringLiteral("id"), id}, {QStringLiteral("score"), score}};
}

std::optional<ScoredItem> ScoredItem::fromJsonObject(const QJsonObject &object)
{
    const QJsonValue id = object.value(QStringLiteral("id"));
    const QJsonValue score = object.value(QStringLiteral("score"));
    if (!id.isString() || !score.isDouble())
        return std::nullopt;
    return ScoredItem{id.toString(), score.toDouble()};
}

} // namespace velmora
