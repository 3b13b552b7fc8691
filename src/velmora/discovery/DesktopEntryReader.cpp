#include "velmora/discovery/DesktopEntryReader.h"

#include "velmora/discovery/StoreCategory.h"

#include <QFile>

// GIO names a struct member "signals", which Qt defines as a macro.
#pragma push_macro("signals")
#undef signals
#include <gio/gdesktopappinfo.h>
#pragma pop_macro("signals")

#include <memory>

namespace velmora {

namespace {

struct KeyFileDeleter {
    void operator()(GKeyFile *k) const { g_key_file_unref(k); }
};
struct ObjectDeleter {
    void operator()(gpointer o) const { g_object_unref(o); }
};
struct StrvDeleter {
    void operator()(gchar **v) const { g_strfreev(v); }
};

constexpr const char *kGroup = G_KEY_FILE_DESKTOP_GROUP;

QStringList stringList(GKeyFile *keyFile, const char *key)
{
    std::unique_ptr<gchar *, StrvDeleter> list(
        g_key_file_get_string_list(keyFile, kGroup, key, nullptr, nullptr));
    QStringList out;
    if (!list)
        return out;
    for (gchar **p = list.get(); *p; ++p) {
        if (**p)
            out.append(QString::fromUtf8(*p));
    }
    return out;
}

// OnlyShowIn/NotShowIn against the current desktops, in their order: the first desktop
// named in either list decides; with an OnlyShowIn list and no match the entry is hidden.
bool shownInDesktop(GKeyFile *keyFile, const QString &currentDesktop)
{
    const QStringList onlyShowIn = stringList(keyFile, G_KEY_FILE_DESKTOP_KEY_ONLY_SHOW_IN);
    const QStringList notShowIn = stringList(keyFile, G_KEY_FILE_DESKTOP_KEY_NOT_SHOW_IN);
    const QStringList desktops = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &desktop : desktops) {
        if (notShowIn.contains(desktop))
            return false;
        if (onlyShowIn.contains(desktop))
            return true;
    }
    return onlyShowIn.isEmpty();
}

// The localized Name; a value that is not UTF-8 is read raw and decoded leniently
// instead of dropping the application.
QString localizedName(GDesktopAppInfo *info, GKeyFile *keyFile)
{
    if (info) {
        const char *name = g_app_info_get_name(G_APP_INFO(info));
        if (name && *name)
            return QString::fromUtf8(name);
    }
    gchar *raw = g_key_file_get_value(keyFile, kGroup, G_KEY_FILE_DESKTOP_KEY_NAME, nullptr);
    const QString name = raw ? QString::fromUtf8(raw).trimmed() : QString();
    g_free(raw);
    return name;
}

} // namespace

std::optional<DesktopEntry> DesktopEntryReader::read(const QString &path,
                                                     const QString &desktopID,
                                                     const QString &currentDesktop)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (file.isSequential() || file.size() > kMaxFileSize)
        return std::nullopt;
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize)
        return std::nullopt;
    return parse(bytes, path, desktopID, currentDesktop);
}

std::optional<DesktopEntry> DesktopEntryReader::parse(const QByteArray &contents,
                                                      const QString &path,
                                                      const QString &desktopID,
                                                      const QString &currentDesktop)
{
    if (contents.size() > kMaxFileSize)
        return std::nullopt;
    std::unique_ptr<GKeyFile, KeyFileDeleter> keyFile(g_key_file_new());
    if (!g_key_file_load_from_data(keyFile.get(), contents.constData(), gsize(contents.size()),
                                   G_KEY_FILE_KEEP_TRANSLATIONS, nullptr))
        return std::nullopt;
    // A Hidden entry counts as deleted; it needs no Type, yet it shadows other copies.
    if (g_key_file_get_boolean(keyFile.get(), kGroup, G_KEY_FILE_DESKTOP_KEY_HIDDEN, nullptr)) {
        DesktopEntry hidden;
        hidden.item.path = path;
        hidden.item.bundleID = desktopID;
        hidden.shown = false;
        return hidden;
    }
    gchar *type = g_key_file_get_string(keyFile.get(), kGroup, G_KEY_FILE_DESKTOP_KEY_TYPE, nullptr);
    const bool isApplication = type && qstrcmp(type, G_KEY_FILE_DESKTOP_TYPE_APPLICATION) == 0;
    g_free(type);
    if (!isApplication)
        return std::nullopt;

    // GIO refuses entries whose TryExec is not found (and ones without Exec); such an
    // entry is not shown, but it still shadows other copies of its desktop file ID.
    std::unique_ptr<GDesktopAppInfo, ObjectDeleter> info(
        g_desktop_app_info_new_from_keyfile(keyFile.get()));

    DesktopEntry entry;
    MetadataItem &item = entry.item;
    item.kind = MetadataItem::Kind::DesktopEntry;
    item.path = path;
    item.bundleID = desktopID;
    item.displayName = localizedName(info.get(), keyFile.get());
    item.desktopCategories = stringList(keyFile.get(), G_KEY_FILE_DESKTOP_KEY_CATEGORIES);
    if (const auto category = storeCategoryFromDesktopCategories(item.desktopCategories))
        item.categoryRawValue = rawValue(*category);
    gchar *icon = g_key_file_get_string(keyFile.get(), kGroup, G_KEY_FILE_DESKTOP_KEY_ICON, nullptr);
    item.iconName = icon ? QString::fromUtf8(icon) : QString();
    g_free(icon);

    entry.shown = info && !g_desktop_app_info_get_nodisplay(info.get())
                  && !g_desktop_app_info_get_is_hidden(info.get())
                  && shownInDesktop(keyFile.get(), currentDesktop);
    return entry;
}

} // namespace velmora
