#include "velmora/discovery/FolderManager.h"

#include "kestrelkit/ObservableUserDefault.h"

#include <QFileInfo>

namespace velmora {

namespace {
kestrelkit::ObservableUserDefault<QStringList> pathsDefault(kestrelkit::DefaultsStore *store)
{
    return {QString::fromLatin1(FolderManager::kPathsKey), QStringList{}, store};
}
} // namespace

FolderManager::FolderManager(kestrelkit::DefaultsStore *store, QObject *parent)
    : QObject(parent)
    , m_store(store)
{
    const QStringList stored = paths();
    QStringList current = stored;
    for (const QString &path : stored) {
        // exists() follows links: a link to a vanished folder counts as vanished.
        if (!QFileInfo::exists(path)) {
            current.removeOne(path);
            pathsDefault(m_store).set(current);
        }
    }
}

FolderManager &FolderManager::shared()
{
    static auto *instance = new FolderManager();
    return *instance;
}

QStringList FolderManager::paths() const
{
    return pathsDefault(m_store).get();
}

void FolderManager::setPaths(const QStringList &paths)
{
    pathsDefault(m_store).set(paths);
    emit pathsChanged();
}

void FolderManager::addFolder(const QUrl &url)
{
    QString path = url.isLocalFile() ? url.toLocalFile() : url.path();
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (path.isEmpty())
        return;
    QStringList list = paths();
    if (list.contains(path))
        return;
    list.append(path);
    setPaths(list);
}

void FolderManager::removeFolder(int index)
{
    QStringList list = paths();
    if (index < 0 || index >= list.size())
        return;
    list.removeAt(index);
    setPaths(list);
}

} // namespace velmora
