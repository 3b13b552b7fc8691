#pragma once

#include "velmora/discovery/MetadataItem.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmora {

// Reads a .desktop file of Type=Application through GIO. `shown` is false for entries
// that must not appear (NoDisplay, Hidden, OnlyShowIn/NotShowIn, TryExec not found) but
// still shadow lower-precedence copies of the same desktop file ID.
struct DesktopEntry {
    MetadataItem item;
    bool shown = true;
};

class DesktopEntryReader {
public:
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

    // `desktopID` becomes the item's bundle identifier. None for unreadable files, files
    // over kMaxFileSize, malformed files and other types than Application.
    [[nodiscard]] static std::optional<DesktopEntry>
    read(const QString &path, const QString &desktopID, const QString &currentDesktop);
    [[nodiscard]] static std::optional<DesktopEntry>
    parse(const QByteArray &contents, const QString &path, const QString &desktopID,
          const QString &currentDesktop);
};

} // namespace velmora
