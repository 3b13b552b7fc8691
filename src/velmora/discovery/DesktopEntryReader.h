#pragma once

#include "velmora/discovery/MetadataItem.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

namespace velmora {

// Reads a .desktop file of Type=Application with GLib's key-file parser (the one GIO's
// GDesktopAppInfo uses) and applies GDesktopAppInfo's rules. `shown` is false for entries
// that must not appear (NoDisplay, Hidden, OnlyShowIn/NotShowIn, TryExec or Exec program
// not found) but that still shadow lower-precedence copies of the same desktop file ID.
struct DesktopEntry {
    MetadataItem item;
    bool shown = true;
};

// Remembers which programs are on PATH, so a scan looks each one up once.
class ProgramLookup {
public:
    [[nodiscard]] bool exists(const QString &program);

private:
    QHash<QString, bool> m_known;
};

class DesktopEntryReader {
public:
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

    // `desktopID` becomes the item's bundle identifier. None for unreadable files, files
    // that are not regular, files over kMaxFileSize, malformed files and other types than
    // Application. `programs` may be null (then nothing is remembered).
    [[nodiscard]] static std::optional<DesktopEntry> read(const QString &path, const QString &desktopID,
                                                          const QString &currentDesktop,
                                                          ProgramLookup *programs = nullptr);
    [[nodiscard]] static std::optional<DesktopEntry> parse(const QByteArray &contents, const QString &path,
                                                           const QString &desktopID,
                                                           const QString &currentDesktop,
                                                           ProgramLookup *programs = nullptr);
};

// The whole of a regular file up to `maxSize` bytes, with few system calls (scans read
// thousands of small files). None for other file types, larger files and errors; a FIFO
// is never waited on.
[[nodiscard]] std::optional<QByteArray> readSmallFile(const QByteArray &path, qint64 maxSize);

} // namespace velmora
