#include "velmora/discovery/DesktopEntryReader.h"

#include "velmora/discovery/StoreCategory.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

// GIO names a struct member "signals", which Qt defines as a macro.
#pragma push_macro("signals")
#undef signals
#include <gio/gdesktopappinfo.h>
#include <glib.h>
#pragma pop_macro("signals")

#include <memory>

namespace velmora {

namespace {

struct KeyFileDeleter {
    void operator()(GKeyFile *k) const { g_key_file_unref(k); }
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

// The localized Name, read as GIO reads it; a value that is not UTF-8 is read raw and
// decoded leniently instead of dropping the application (GIO would call it "Unnamed").
QString localizedName(GKeyFile *keyFile)
{
    gchar *name = g_key_file_get_locale_string(keyFile, kGroup, G_KEY_FILE_DESKTOP_KEY_NAME,
                                               nullptr, nullptr);
    if (!name)
        name = g_key_file_get_value(keyFile, kGroup, G_KEY_FILE_DESKTOP_KEY_NAME, nullptr);
    const QString out = name ? QString::fromUtf8(name).trimmed() : QString();
    g_free(name);
    return out;
}

QString stringValue(GKeyFile *keyFile, const char *key)
{
    gchar *value = g_key_file_get_string(keyFile, kGroup, key, nullptr);
    const QString out = value ? QString::fromUtf8(value) : QString();
    g_free(value);
    return out;
}

// TryExec, then the program of Exec, must be found (as g_desktop_app_info does).
bool programsPresent(GKeyFile *keyFile, ProgramLookup &programs)
{
    const QString tryExec = stringValue(keyFile, G_KEY_FILE_DESKTOP_KEY_TRY_EXEC);
    if (!tryExec.isEmpty() && !programs.exists(tryExec))
        return false;
    gchar *exec = g_key_file_get_string(keyFile, kGroup, G_KEY_FILE_DESKTOP_KEY_EXEC, nullptr);
    if (!exec || !*exec) {
        g_free(exec);
        return true;
    }
    gchar **argv = nullptr;
    const bool parsed = g_shell_parse_argv(exec, nullptr, &argv, nullptr);
    g_free(exec);
    const bool found = parsed && argv && argv[0] && programs.exists(QString::fromUtf8(argv[0]));
    g_strfreev(argv);
    return found;
}

} // namespace

bool ProgramLookup::exists(const QString &program)
{
    const auto it = m_known.constFind(program);
    if (it != m_known.constEnd())
        return *it;
    gchar *found = g_find_program_in_path(program.toUtf8().constData());
    g_free(found);
    m_known.insert(program, found != nullptr);
    return found != nullptr;
}

std::optional<QByteArray> readSmallFile(const QByteArray &path, qint64 maxSize)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    std::optional<QByteArray> out;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= maxSize) {
        // One read more than the size, to notice a file that grew meanwhile.
        QByteArray bytes(qsizetype(st.st_size) + 1, Qt::Uninitialized);
        qsizetype filled = 0;
        while (filled < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            filled += n;
        }
        if (filled <= maxSize) {
            bytes.truncate(filled);
            out = std::move(bytes);
        }
    }
    ::close(fd);
    return out;
}

std::optional<DesktopEntry> DesktopEntryReader::read(const QString &path, const QString &desktopID,
                                                     const QString &currentDesktop, ProgramLookup *programs)
{
    const auto bytes = readSmallFile(QFile::encodeName(path), kMaxFileSize);
    if (!bytes)
        return std::nullopt;
    return parse(*bytes, path, desktopID, currentDesktop, programs);
}

std::optional<DesktopEntry> DesktopEntryReader::parse(const QByteArray &contents,
                                                      const QString &path,
                                                      const QString &desktopID,
                                                      const QString &currentDesktop,
                                                      ProgramLookup *programs)
{
    ProgramLookup ownLookup;
    ProgramLookup &lookup = programs ? *programs : ownLookup;
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

    // GDesktopAppInfo's rules, with the PATH look-ups memoised: GIO searches PATH for
    // every entry, which was most of a cold scan's system calls. An entry whose TryExec
    // or Exec program is missing is not shown, but still shadows other copies.
    const bool launchable = programsPresent(keyFile.get(), lookup);

    DesktopEntry entry;
    MetadataItem &item = entry.item;
    item.kind = MetadataItem::Kind::DesktopEntry;
    item.path = path;
    item.bundleID = desktopID;
    item.displayName = localizedName(keyFile.get());
    item.desktopCategories = stringList(keyFile.get(), G_KEY_FILE_DESKTOP_KEY_CATEGORIES);
    if (const auto category = storeCategoryFromDesktopCategories(item.desktopCategories))
        item.categoryRawValue = rawValue(*category);
    gchar *icon = g_key_file_get_string(keyFile.get(), kGroup, G_KEY_FILE_DESKTOP_KEY_ICON, nullptr);
    item.iconName = icon ? QString::fromUtf8(icon) : QString();
    g_free(icon);

    entry.shown = launchable
                  && !g_key_file_get_boolean(keyFile.get(), kGroup, G_KEY_FILE_DESKTOP_KEY_NO_DISPLAY, nullptr)
                  && shownInDesktop(keyFile.get(), currentDesktop);
    return entry;
}

} // namespace velmora
