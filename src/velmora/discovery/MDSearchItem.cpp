#include "velmora/discovery/MDSearchItem.h"

#include <QHash>

namespace velmora {

std::optional<MDSearchItem> MDSearchItem::fromMetadataItem(const MetadataItemPtr &item)
{
    if (!item || item->displayName.isEmpty() || item->bundleID.isEmpty())
        return std::nullopt;
    MDSearchItem out;
    out.displayName = item->displayName;
    out.bundleID = item->bundleID;
    out.path = item->path;
    out.storeCategory = storeCategoryFromRawValue(item->categoryRawValue);
    out.item = item;
    return out;
}

size_t qHash(const MDSearchItem &item, size_t seed) noexcept
{
    QtPrivate::QHashCombine combine;
    seed = combine(seed, item.displayName);
    seed = combine(seed, item.bundleID);
    seed = combine(seed, item.path);
    seed = combine(seed, item.storeCategory.has_value());
    if (item.storeCategory)
        seed = combine(seed, rawValue(*item.storeCategory));
    seed = combine(seed, quintptr(item.item.get()));
    return seed;
}

} // namespace velmora
