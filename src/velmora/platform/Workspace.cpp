#include "velmora/platform/Workspace.h"

#include "kestrelkit/Logger.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

// GIO and Qt both use the word "signals"; keep Qt's macro away from GIO's headers.
#pragma push_macro("signals")
#undef signals
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <plist/plist.h>

namespace velmora {

namespace {

const kestrelkit::Logger &logger() {
    static const kestrelkit::Logger instance(QStringLiteral("Workspace"));
    return instance;
}

QString fromUtf8(const char *text) {
    return text ? QString::fromUtf8(text) : QString();
}

// Icon= of a desktop entry, read directly: GIO refuses entries whose TryExec is
// missing, but their icon is still wanted.
QString desktopIconValue(const QString &path) {
    GKeyFile *keys = g_key_file_new();
    QString value;
    if (g_key_file_load_from_file(keys, QFile::encodeName(path).constData(), G_KEY_FILE_NONE,
                                  nullptr)) {
        gchar *icon = g_key_file_get_string(keys, G_KEY_FILE_DESKTOP_GROUP,
                                            G_KEY_FILE_DESKTOP_KEY_ICON, nullptr);
        value = fromUtf8(icon).trimmed();
        g_free(icon);
    }
    g_key_file_free(keys);
    return value;
}

QString gnomeIconTheme() {
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    // Looking the schema up first: GSettings aborts the process on a missing schema.
    GSettingsSchema *schema =
        source ? g_settings_schema_source_lookup(source, "org.gnome.desktop.interface", TRUE)
               : nullptr;
    if (!schema || !g_settings_schema_has_key(schema, "icon-theme")) {
        if (schema) g_settings_schema_unref(schema);
        return {};
    }
    GSettings *settings = g_settings_new_full(schema, nullptr, nullptr);
    gchar *name = g_settings_get_string(settings, "icon-theme");
    const QString result = fromUtf8(name);
    g_free(name);
    g_object_unref(settings);
    g_settings_schema_unref(schema);
    return result;
}

QString kdeIconTheme() {
    const QString file =
        QStandardPaths::locate(QStandardPaths::GenericConfigLocation, QStringLiteral("kdeglobals"));
    if (file.isEmpty()) return {};
    return QSettings(file, QSettings::IniFormat).value(QStringLiteral("Icons/Theme")).toString();
}

bool themeInstalled(const QString &name) {
    for (const QString &root : QIcon::themeSearchPaths()) {
        if (QFileInfo::exists(root + QLatin1Char('/') + name + QStringLiteral("/index.theme")))
            return true;
    }
    return false;
}

// Qt often finds no icon theme outside KDE: take the desktop's own setting, then hicolor,
// with Adwaita behind it.
void ensureIconTheme() {
    static bool done = false;
    if (done) return;
    done = true;
    QString theme = QIcon::themeName();
    if (theme.isEmpty() || theme == QLatin1String("hicolor") || !themeInstalled(theme)) {
        theme = QStringLiteral("hicolor");
        for (const QString &candidate : {gnomeIconTheme(), kdeIconTheme()}) {
            if (!candidate.isEmpty() && themeInstalled(candidate)) {
                theme = candidate;
                break;
            }
        }
        QIcon::setThemeName(theme);
    }
    if (QIcon::fallbackThemeName().isEmpty() ||
        QIcon::fallbackThemeName() == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    logger().info(QStringLiteral("Icon theme: %1").arg(QIcon::themeName()));
}

bool hasGuiApplication() {
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

QImage themeIcon(QString name, int size) {
    for (const char *suffix : {".png", ".svg", ".xpm"}) {
        if (name.endsWith(QLatin1String(suffix))) name.chop(4);
    }
    if (hasGuiApplication()) {
        ensureIconTheme();
        const QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull()) return icon.pixmap(QSize(size, size)).toImage();
    }
    // The legacy place for icons that are in no theme.
    for (const char *suffix : {".png", ".svg", ".xpm"}) {
        const QString file = QStringLiteral("/usr/share/pixmaps/") + name + QLatin1String(suffix);
        if (QFileInfo::exists(file)) return Workspace::imageFromFile(file, size);
    }
    return {};
}

QImage desktopEntryIcon(const QString &path, int size) {
    const QString icon = desktopIconValue(path);
    if (icon.isEmpty()) return {};
    return QDir::isAbsolutePath(icon) ? Workspace::imageFromFile(icon, size)
                                      : themeIcon(icon, size);
}

QString bundleIconFile(const QString &bundle) {
    QFile info(bundle + QStringLiteral("/Contents/Info.plist"));
    if (!info.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = info.readAll();
    plist_t root = nullptr;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &root);
    QString name;
    if (root && plist_get_node_type(root) == PLIST_DICT) {
        plist_t node = plist_dict_get_item(root, "CFBundleIconFile");
        if (node && plist_get_node_type(node) == PLIST_STRING) {
            char *value = nullptr;
            plist_get_string_val(node, &value);
            name = fromUtf8(value);
            std::free(value);
        }
    }
    if (root) plist_free(root);
    if (name.isEmpty()) return {};
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".icns");
    return bundle + QStringLiteral("/Contents/Resources/") + name;
}

// `open` from macOS, where a system offers one. Debian's `open` is openvt, which would
// start something else entirely.
QString openProgram() {
    const QString found = QStandardPaths::findExecutable(QStringLiteral("open"));
    if (found.isEmpty() || QFileInfo(found).canonicalFilePath().endsWith(QLatin1String("/openvt")))
        return {};
    return found;
}

OperationResult openDesktopEntry(const QString &path) {
    GDesktopAppInfo *info =
        g_desktop_app_info_new_from_filename(QFile::encodeName(path).constData());
    if (!info)
        return OperationResult::failure(
            QStringLiteral(
                "%1 cannot be started: it is no valid desktop entry, or its program is missing.")
                .arg(path));
    GAppLaunchContext *context = g_app_launch_context_new();
    GError *error = nullptr;
    const gboolean launched = g_app_info_launch(G_APP_INFO(info), nullptr, context, &error);
    g_object_unref(context);
    g_object_unref(info);
    if (launched) return OperationResult::success();
    const QString message =
        error ? fromUtf8(error->message) : QStringLiteral("Could not start %1.").arg(path);
    if (error) g_error_free(error);
    return OperationResult::failure(message);
}

} // namespace

std::optional<QString> Workspace::resolveAlias(const QString &path, QString *error) {
    const QFileInfo info(path);
    if (!info.isSymLink()) return path;
    const QString target = info.canonicalFilePath();
    if (target.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1 points to %2, which does not exist.")
                         .arg(path, info.symLinkTarget());
        return std::nullopt;
    }
    return target;
}

QImage Workspace::imageFromFile(const QString &file, int size) {
    QImageReader reader(file);
    // Several sizes in one file: the smallest that is large enough, else the largest.
    int best = -1;
    int bestWidth = 0;
    for (int i = 0; i < reader.imageCount() && reader.imageCount() > 1; ++i) {
        if (!reader.jumpToImage(i)) break;
        const int width = reader.size().width();
        const bool better = best < 0 || (bestWidth < size ? width > bestWidth
                                                          : (width >= size && width < bestWidth));
        if (better) {
            best = i;
            bestWidth = width;
        }
    }
    if (best >= 0) {
        reader.setFileName(file);
        reader.jumpToImage(best);
    } else if (reader.format() == "svg" || reader.format() == "svgz") {
        reader.setScaledSize(QSize(size, size));
    }
    QImage image = reader.read();
    if (image.isNull()) return {};
    if (image.width() > size || image.height() > size)
        image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage Workspace::loadIcon(const QString &path, int size) {
    QString error;
    QString target = path;
    if (const std::optional<QString> resolved = resolveAlias(path, &error)) {
        target = *resolved;
    } else {
        std::fputs(qPrintable(QStringLiteral("Error resolving alias: %1\n").arg(error)), stdout);
        std::fflush(stdout);
    }
    if (target.endsWith(QStringLiteral("/"))) target.chop(1);

    QImage image;
    if (target.endsWith(QLatin1String(".desktop")))
        image = desktopEntryIcon(target, size);
    else if (target.endsWith(QLatin1String(".app")) && QFileInfo(target).isDir())
        image = imageFromFile(bundleIconFile(target), size);
    if (image.isNull()) image = themeIcon(QStringLiteral("application-x-executable"), size);
    return image;
}

OperationResult Workspace::open(const QString &path) {
    QString target = path;
    if (target.endsWith(QLatin1Char('/'))) target.chop(1);
    if (target.endsWith(QLatin1String(".desktop"))) return openDesktopEntry(target);
    if (target.endsWith(QLatin1String(".app"))) {
        const QString program = openProgram();
        if (program.isEmpty())
            return OperationResult::failure(
                QStringLiteral("No program on this system can open the application bundle %1.")
                    .arg(target));
        if (!QProcess::startDetached(program, {QStringLiteral("-a"), target}))
            return OperationResult::failure(
                QStringLiteral("Could not run %1 for %2.").arg(program, target));
        return OperationResult::success();
    }
    const QFileInfo info(target);
    if (info.isFile() && info.isExecutable() && QProcess::startDetached(target, {}))
        return OperationResult::success();
    return OperationResult::failure(
        QStringLiteral("%1 is not an application that can be started.").arg(target));
}

} // namespace velmora
