#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

namespace velmora {

// One entry of the prediction list: an item identifier and its score.
struct ScoredItem {
    QString id;
    double score = 0.0;

    bool operator==(const ScoredItem &) const = default;

    // Coding keys "id" and "score".
    [[nodiscard]] QJsonObject toJsonObject() const;
    [[nodiscard]] static std::optional<ScoredItem> fromJsonObject(const QJsonObject &object);
};

using PredictionList = std::vector<ScoredItem>;

} // namespace velmora
