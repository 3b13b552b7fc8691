#include "velmora/discovery/GnomeAppFolders.h"

#include <QFile>
#include <QFileInfo>

// GIO names a struct member "signals", which Qt defines as a macro.
#pragma push_macro("signals")
#undef signals
#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>
#pragma pop_macro("signals")

#include <memory>

namespace velmora {

namespace {

struct ObjectDeleter {
    void operator()(gpointer o) const
    {
        if (o)
            g_object_unref(o);
    }
};
struct SchemaDeleter {
    void operator()(GSettingsSchema *s) const { g_settings_schema_unref(s); }
};
struct SourceDeleter {
    void operator()(GSettingsSchemaSource *s) const { g_settings_schema_source_unref(s); }
};
using SchemaPtr = std::unique_ptr<GSettingsSchema, SchemaDeleter>;

QStringList strv(GSettings *settings, GSettingsSchema *schema, const char *key)
{
    QStringList out;
    if (!g_settings_schema_has_key(schema, key))
        return out;
    gchar **values = g_settings_get_strv(settings, key);
    for (gchar **p = values; p && *p; ++p)
        out.append(QString::fromUtf8(*p));
    g_strfreev(values);
    return out;
}

// GSettings aborts on a malformed path, so a child name from the settings is checked
// before it becomes one: non-empty, no slash.
bool validChildName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/'));
}

} // namespace

std::optional<QList<GnomeAppFolder>> GnomeAppFolders::read(const Source &source)
{
    std::unique_ptr<GSettingsSchemaSource, SourceDeleter> ownSource;
    GSettingsSchemaSource *schemas = nullptr;
    if (!source.schemaDirectory.isEmpty()) {
        ownSource.reset(g_settings_schema_source_new_from_directory(
            QFile::encodeName(source.schemaDirectory).constData(), nullptr, FALSE, nullptr));
        schemas = ownSource.get();
    } else {
        schemas = g_settings_schema_source_get_default();
    }
    if (!schemas)
        return std::nullopt;
    // Looked up first: g_settings_new() on a missing schema aborts the process.
    SchemaPtr rootSchema(g_settings_schema_source_lookup(schemas, kSchema, TRUE));
    SchemaPtr folderSchema(g_settings_schema_source_lookup(schemas, kFolderSchema, TRUE));
    if (!rootSchema || !folderSchema || !g_settings_schema_has_key(rootSchema.get(), "folder-children"))
        return std::nullopt;

    std::unique_ptr<GSettingsBackend, ObjectDeleter> backend;
    if (!source.keyfilePath.isEmpty())
        backend.reset(g_keyfile_settings_backend_new(QFile::encodeName(source.keyfilePath).constData(),
                                                     "/", nullptr));

    std::unique_ptr<GSettings, ObjectDeleter> root(
        g_settings_new_full(rootSchema.get(), backend.get(), nullptr));
    QList<GnomeAppFolder> folders;
    const QByteArray basePath = "/org/gnome/desktop/app-folders/folders/";
    for (const QString &child : strv(root.get(), rootSchema.get(), "folder-children")) {
        if (!validChildName(child))
            continue;
        const QByteArray path = basePath + child.toUtf8() + '/';
        std::unique_ptr<GSettings, ObjectDeleter> settings(
            g_settings_new_full(folderSchema.get(), backend.get(), path.constData()));
        GnomeAppFolder folder;
        folder.id = child;
        if (g_settings_schema_has_key(folderSchema.get(), "name")) {
            gchar *name = g_settings_get_string(settings.get(), "name");
            folder.name = QString::fromUtf8(name);
            g_free(name);
        }
        if (g_settings_schema_has_key(folderSchema.get(), "translate"))
            folder.translate = g_settings_get_boolean(settings.get(), "translate");
        folder.apps = strv(settings.get(), folderSchema.get(), "apps");
        folder.categories = strv(settings.get(), folderSchema.get(), "categories");
        folder.excludedApps = strv(settings.get(), folderSchema.get(), "excluded-apps");
        folders.append(folder);
    }
    return folders;
}

QString GnomeAppFolders::displayName(const GnomeAppFolder &folder, const QStringList &dataDirs)
{
    if (!folder.translate || !folder.name.endsWith(QLatin1String(".directory")))
        return folder.name;
    for (const QString &dir : dataDirs) {
        const QString file = dir + QStringLiteral("/desktop-directories/") + folder.name;
        if (!QFileInfo(file).isFile())
            continue;
        GKeyFile *keyFile = g_key_file_new();
        QString name;
        if (g_key_file_load_from_file(keyFile, QFile::encodeName(file).constData(), G_KEY_FILE_NONE,
                                      nullptr)) {
            gchar *value = g_key_file_get_locale_string(keyFile, G_KEY_FILE_DESKTOP_GROUP,
                                                        G_KEY_FILE_DESKTOP_KEY_NAME, nullptr, nullptr);
            name = QString::fromUtf8(value);
            g_free(value);
        }
        g_key_file_free(keyFile);
        if (!name.isEmpty())
            return name;
    }
    return folder.name;
}

} // namespace velmora
