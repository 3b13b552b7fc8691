#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

namespace velmora {

// One result of the live index, as parsed from disk. Shared and immutable: the index
// hands out the same object until the file changes, so identity means "same parse".
struct MetadataItem {
    enum class Kind { AppBundle, DesktopEntry };

    Kind kind = Kind::DesktopEntry;
    QString path;        // the bundle folder or the .desktop file
    QString displayName; // CFBundleDisplayName/CFBundleName/folder name, or localized Name
    QString bundleID;    // CFBundleIdentifier, or the desktop file ID ("org.gnome.Foo.desktop")
    QString categoryRawValue; // LSApplicationCategoryType, or the mapped Categories; may be empty
    QStringList desktopCategories; // freedesktop Categories (desktop entries only)
    QString iconName;    // Icon= or CFBundleIconFile; may be empty
};

using MetadataItemPtr = std::shared_ptr<const MetadataItem>;

} // namespace velmora
