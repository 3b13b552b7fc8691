#include "velmora/app/PlaceholderLauncherModel.h"

#include <QDir>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace velmora {

PlaceholderLauncherModel::PlaceholderLauncherModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

QStringList PlaceholderLauncherModel::installedApplicationNames()
{
    QSet<QString> names;
    const auto dirs = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    for (const QString &dir : dirs) {
        const auto files = QDir(dir).entryInfoList({QStringLiteral("*.desktop")}, QDir::Files);
        for (const QFileInfo &file : files) {
            QSettings entry(file.filePath(), QSettings::IniFormat);
            entry.beginGroup(QStringLiteral("Desktop Entry"));
            if (entry.value(QStringLiteral("NoDisplay")).toString() == QLatin1String("true"))
                continue;
            const QString name = entry.value(QStringLiteral("Name")).toString();
            names.insert(name.isEmpty() ? file.completeBaseName() : name);
        }
    }
    QStringList sorted(names.begin(), names.end());
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        return a.localeAwareCompare(b) < 0;
    });
    return sorted;
}

void PlaceholderLauncherModel::setItems(QStringList names)
{
    m_all = std::move(names);
    refilter();
}

void PlaceholderLauncherModel::setSearchText(const QString &text)
{
    if (text == m_searchText)
        return;
    m_searchText = text;
    emit searchTextChanged();
    refilter();
}

void PlaceholderLauncherModel::refilter()
{
    beginResetModel();
    const QString needle = m_searchText.trimmed();
    m_shown.clear();
    for (const QString &name : std::as_const(m_all)) {
        if (needle.isEmpty() || name.contains(needle, Qt::CaseInsensitive))
            m_shown.append(name);
    }
    endResetModel();
}

int PlaceholderLauncherModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant PlaceholderLauncherModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != NameRole)
        return {};
    return m_shown.at(index.row());
}

QHash<int, QByteArray> PlaceholderLauncherModel::roleNames() const
{
    return {{NameRole, "name"}};
}

} // namespace velmora
