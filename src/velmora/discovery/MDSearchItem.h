#pragma once

#include "velmora/discovery/MetadataItem.h"
#include "velmora/discovery/StoreCategory.h"

#include <QHashFunctions>
#include <QList>
#include <QString>

#include <optional>

namespace velmora {

// One discovered application. Its identity is its path; two items are equal when all
// fields are equal, the metadata items compared as objects (same parse of the file).
struct MDSearchItem {
    QString displayName;
    QString bundleID;
    QString path;
    std::optional<StoreCategory> storeCategory;
    MetadataItemPtr item;

    [[nodiscard]] const QString &id() const { return path; }

    // Made from an index result; none when it lacks a display name or bundle identifier.
    [[nodiscard]] static std::optional<MDSearchItem> fromMetadataItem(const MetadataItemPtr &item);

    friend bool operator==(const MDSearchItem &, const MDSearchItem &) = default;
};

[[nodiscard]] size_t qHash(const MDSearchItem &item, size_t seed = 0) noexcept;

using MDSearchItemList = QList<MDSearchItem>;

} // namespace velmora

Q_DECLARE_METATYPE(velmora::MDSearchItem)
