#include "velmora/settings/FoldersSettingsModel.h"

#include "velmora/discovery/FolderManager.h"

#include <QFileInfo>

namespace velmora {

FoldersSettingsModel::FoldersSettingsModel(FolderManager &folderManager, QObject *parent)
    : QAbstractListModel(parent)
    , m_folderManager(folderManager)
    , m_paths(folderManager.paths())
{
    connect(&m_folderManager, &FolderManager::pathsChanged, this, &FoldersSettingsModel::sync);
}

int FoldersSettingsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_paths.size());
}

QVariant FoldersSettingsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const QString &path = m_paths.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case PathRole:
        return path;
    case DisplayNameRole:
        return displayName(path);
    default:
        return {};
    }
}

QHash<int, QByteArray> FoldersSettingsModel::roleNames() const
{
    return {{PathRole, "path"}, {DisplayNameRole, "displayName"}};
}

bool FoldersSettingsModel::addFolder(const QUrl &url)
{
    if (!url.isLocalFile()) {
        setMessage(tr("Only folders on this computer can be added."));
        return false;
    }
    const int before = int(m_folderManager.paths().size());
    m_folderManager.addFolder(url);
    if (m_folderManager.paths().size() > before) {
        setMessage({});
        return true;
    }
    setMessage(tr("%1 is already in the list.").arg(url.toLocalFile()));
    return false;
}

void FoldersSettingsModel::removeFolder(int index)
{
    setMessage({});
    m_folderManager.removeFolder(index);
}

void FoldersSettingsModel::setMessage(const QString &message)
{
    if (m_message == message)
        return;
    m_message = message;
    emit messageChanged();
}

QString FoldersSettingsModel::displayName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

// Tells the view exactly what changed: one row appended, one row removed, or else a reset.
void FoldersSettingsModel::sync()
{
    const QStringList now = m_folderManager.paths();
    if (now == m_paths)
        return;
    const int oldCount = int(m_paths.size());
    if (now.size() == oldCount + 1 && now.mid(0, oldCount) == m_paths) {
        beginInsertRows({}, oldCount, oldCount);
        m_paths = now;
        endInsertRows();
    } else if (now.size() + 1 == oldCount) {
        int removed = 0;
        while (removed < now.size() && now.at(removed) == m_paths.at(removed))
            ++removed;
        if (now.mid(removed) == m_paths.mid(removed + 1)) {
            beginRemoveRows({}, removed, removed);
            m_paths = now;
            endRemoveRows();
        } else {
            beginResetModel();
            m_paths = now;
            endResetModel();
        }
    } else {
        beginResetModel();
        m_paths = now;
        endResetModel();
    }
    emit countChanged();
}

} // namespace velmora
