#pragma once

#include "velmora/discovery/LaunchpadDatabase.h"

#include <QList>
#include <QString>

#include <optional>

namespace velmora {

// Reads the user's GNOME app folders through GSettings, read-only. None when the
// org.gnome.desktop.app-folders schema is not installed.
class GnomeAppFolders {
public:
    static constexpr const char *kSchema = "org.gnome.desktop.app-folders";
    static constexpr const char *kFolderSchema = "org.gnome.desktop.app-folders.folder";

    // Where to read from; empty fields mean the system's schemas and settings backend.
    struct Source {
        QString schemaDirectory; // a folder with a compiled gschemas.compiled
        QString keyfilePath;     // a GSettings keyfile backend file, read only
    };

    [[nodiscard]] static std::optional<QList<GnomeAppFolder>> read(const Source &source = {});

    // A folder's display name: `name`, or when `translate` is set and `name` names a
    // .directory file, that file's Name from the desktop-directories folders.
    [[nodiscard]] static QString displayName(const GnomeAppFolder &folder,
                                             const QStringList &dataDirs);
};

} // namespace velmora
