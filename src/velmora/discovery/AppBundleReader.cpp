#include "velmora/discovery/AppBundleReader.h"

#include "velmora/discovery/DesktopEntryReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <plist/plist.h>

#include <memory>

namespace velmora {

namespace {

struct PlistDeleter {
    void operator()(plist_t p) const { plist_free(p); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

QString stringValue(plist_t dict, const char *key)
{
    plist_t node = plist_dict_get_item(dict, key);
    if (!node || plist_get_node_type(node) != PLIST_STRING)
        return {};
    uint64_t length = 0;
    const char *ptr = plist_get_string_ptr(node, &length);
    if (!ptr)
        return {};
    return QString::fromUtf8(ptr, qsizetype(length));
}

} // namespace

std::optional<MetadataItem> AppBundleReader::read(const QString &bundlePath)
{
    const auto bytes = readSmallFile(QFile::encodeName(bundlePath + QStringLiteral("/Contents/Info.plist")),
                                     kMaxPlistSize);
    if (!bytes)
        return std::nullopt;
    return parse(*bytes, bundlePath);
}

std::optional<MetadataItem> AppBundleReader::parse(const QByteArray &plist,
                                                   const QString &bundlePath)
{
    if (plist.isEmpty() || plist.size() > kMaxPlistSize)
        return std::nullopt;
    plist_t raw = nullptr;
    plist_from_memory(plist.constData(), uint32_t(plist.size()), &raw);
    const PlistPtr root(raw);
    if (!root || plist_get_node_type(root.get()) != PLIST_DICT)
        return std::nullopt;

    MetadataItem item;
    item.kind = MetadataItem::Kind::AppBundle;
    item.path = bundlePath;
    item.bundleID = stringValue(root.get(), "CFBundleIdentifier");
    if (item.bundleID.isEmpty())
        return std::nullopt;
    item.displayName = stringValue(root.get(), "CFBundleDisplayName");
    if (item.displayName.isEmpty())
        item.displayName = stringValue(root.get(), "CFBundleName");
    if (item.displayName.isEmpty()) {
        QString name = QFileInfo(bundlePath).fileName();
        if (name.endsWith(QLatin1String(".app")))
            name.chop(4);
        item.displayName = name;
    }
    // Kept verbatim: MDSearchItem maps it by exact raw value.
    item.categoryRawValue = stringValue(root.get(), "LSApplicationCategoryType");
    item.iconName = stringValue(root.get(), "CFBundleIconFile");
    return item;
}

} // namespace velmora
