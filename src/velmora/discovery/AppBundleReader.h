#pragma once

#include "velmora/discovery/MetadataItem.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmora {

// Reads an .app bundle's Contents/Info.plist (XML or binary) through libplist.
class AppBundleReader {
public:
    static constexpr qint64 kMaxPlistSize = 4 * 1024 * 1024;

    // None when the bundle has no readable Info.plist dictionary or no CFBundleIdentifier.
    [[nodiscard]] static std::optional<MetadataItem> read(const QString &bundlePath);
    [[nodiscard]] static std::optional<MetadataItem> parse(const QByteArray &plist,
                                                           const QString &bundlePath);
};

} // namespace velmora
