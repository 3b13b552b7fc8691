#include "velmora/discovery/DiscoveryEnvironment.h"

#include <QDir>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

namespace velmora {

namespace {

// The user database's home folder for the real user, else what Qt reports.
QString userHome()
{
    if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir)
        return QString::fromLocal8Bit(pw->pw_dir);
    return QDir::homePath();
}

// XDG base-directory values must be absolute; relative ones are ignored.
QString absoluteOrEmpty(const QString &path)
{
    return QDir::isAbsolutePath(path) ? QDir::cleanPath(path) : QString();
}

void appendUnique(QStringList &list, const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    if (!clean.isEmpty() && !list.contains(clean))
        list.append(clean);
}

} // namespace

DiscoveryEnvironment DiscoveryEnvironment::fromProcess()
{
    DiscoveryEnvironment env;
    env.homePath = userHome();
    env.xdgDataHome = absoluteOrEmpty(qEnvironmentVariable("XDG_DATA_HOME"));
    for (const QString &dir :
         qEnvironmentVariable("XDG_DATA_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString clean = absoluteOrEmpty(dir);
        if (!clean.isEmpty())
            env.xdgDataDirs.append(clean);
    }
    const QString dataHome = env.xdgDataHome.isEmpty()
                                 ? env.homePath + QStringLiteral("/.local/share")
                                 : env.xdgDataHome;
    env.exportFolders = {QStringLiteral("/var/lib/flatpak/exports/share/applications"),
                         dataHome + QStringLiteral("/flatpak/exports/share/applications"),
                         QStringLiteral("/var/lib/snapd/desktop/applications")};
    env.currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    return env;
}

QStringList DiscoveryEnvironment::xdgApplicationFolders() const
{
    QStringList folders;
    const QString dataHome =
        xdgDataHome.isEmpty() ? homePath + QStringLiteral("/.local/share") : xdgDataHome;
    appendUnique(folders, dataHome + QStringLiteral("/applications"));
    const QStringList dataDirs = xdgDataDirs.isEmpty()
                                     ? QStringList{QStringLiteral("/usr/local/share"),
                                                   QStringLiteral("/usr/share")}
                                     : xdgDataDirs;
    for (const QString &dir : dataDirs)
        appendUnique(folders, dir + QStringLiteral("/applications"));
    for (const QString &exported : exportFolders) {
        if (QFileInfo(exported).isDir())
            appendUnique(folders, exported);
    }
    return folders;
}

QStringList DiscoveryEnvironment::searchScopes(const QStringList &userFolders) const
{
    QStringList scopes;
    for (const QString &scope : fixedScopes)
        appendUnique(scopes, scope);
    appendUnique(scopes, homePath + QStringLiteral("/Applications"));
    for (const QString &folder : xdgApplicationFolders())
        appendUnique(scopes, folder);
    for (const QString &folder : userFolders)
        appendUnique(scopes, folder);
    return scopes;
}

} // namespace velmora
