#include "velmora/ranking/RankState.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace velmora {

namespace {

// Qt writes doubles as their shortest round-trip text. JSON has no form for non-finite
// values and Qt drops the sign of -0, so those few are kept as strings.
QJsonValue encodeDouble(double v)
{
    if (v == 0.0 && std::signbit(v))
        return QJsonValue(QStringLiteral("-0"));
    if (std::isfinite(v))
        return QJsonValue(v);
    return QJsonValue(QString::number(v));
}

std::optional<double> decodeDouble(const QJsonValue &v)
{
    if (v.isDouble())
        return v.toDouble();
    if (v.isString()) {
        bool ok = false;
        const double d = v.toString().toDouble(&ok);
        if (ok)
            return d;
        const QString s = v.toString();
        if (s == QLatin1String("nan"))
            return std::nan("");
        if (s == QLatin1String("inf"))
            return INFINITY;
        if (s == QLatin1String("-inf"))
            return -INFINITY;
    }
    return std::nullopt;
}

std::optional<std::int64_t> decodeInt(const QJsonValue &v)
{
    if (!v.isDouble())
        return std::nullopt;
    const QVariant variant = v.toVariant();
    if (variant.typeId() == QMetaType::LongLong)
        return variant.toLongLong();
    const double d = v.toDouble();
    if (d != std::floor(d) || std::abs(d) > 9.007199254740992e15)
        return std::nullopt;
    return static_cast<std::int64_t>(d);
}

} // namespace

QByteArray RankState::toJson() const
{
    QJsonObject visits;
    for (const auto &[key, list] : nextVisits) {
        QJsonArray array;
        for (const ItemVisit &visit : list)
            array.append(QJsonObject{{QStringLiteral("id"), visit.id},
                                     {QStringLiteral("hour"), visit.hour},
                                     {QStringLiteral("weekday"), visit.weekday}});
        visits.insert(key, array);
    }
    QJsonObject root{{QStringLiteral("nextVisits"), visits},
                     {QStringLiteral("visitNumber"), qint64(visitNumber)},
                     {QStringLiteral("numberOfVisits"), qint64(numberOfVisits)},
                     {QStringLiteral("timeOfLastVisit"), encodeDouble(timeOfLastVisit)},
                     {QStringLiteral("crfWeight"), encodeDouble(crfWeight)},
                     {QStringLiteral("rank"), qint64(rank)}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

std::optional<RankState> RankState::fromJson(const QByteArray &json)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject root = doc.object();
    RankState state;
    const QJsonValue visits = root.value(QStringLiteral("nextVisits"));
    if (!visits.isObject())
        return std::nullopt;
    const QJsonObject visitsObject = visits.toObject();
    for (auto it = visitsObject.begin(); it != visitsObject.end(); ++it) {
        if (!it->isArray())
            return std::nullopt;
        std::vector<ItemVisit> list;
        for (const QJsonValue &entry : it->toArray()) {
            const QJsonObject o = entry.toObject();
            const auto hour = decodeInt(o.value(QStringLiteral("hour")));
            const auto weekday = decodeInt(o.value(QStringLiteral("weekday")));
            if (!entry.isObject() || !o.value(QStringLiteral("id")).isString() || !hour || !weekday)
                return std::nullopt;
            list.push_back({o.value(QStringLiteral("id")).toString(), int(*hour), int(*weekday)});
        }
        state.nextVisits.emplace(it.key(), std::move(list));
    }
    const auto visitNumber = decodeInt(root.value(QStringLiteral("visitNumber")));
    const auto numberOfVisits = decodeInt(root.value(QStringLiteral("numberOfVisits")));
    const auto time = decodeDouble(root.value(QStringLiteral("timeOfLastVisit")));
    const auto crf = decodeDouble(root.value(QStringLiteral("crfWeight")));
    const auto rank = decodeInt(root.value(QStringLiteral("rank")));
    if (!visitNumber || !numberOfVisits || !time || !crf || !rank)
        return std::nullopt;
    state.visitNumber = *visitNumber;
    state.numberOfVisits = *numberOfVisits;
    state.timeOfLastVisit = *time;
    state.crfWeight = *crf;
    state.rank = *rank;
    return state;
}

} // namespace velmora
