#include "velmora/launcher/LauncherGridModel.h"

#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"

#include <algorithm>

namespace velmora {

LauncherGridModel::Entry LauncherGridModel::entryFor(const GridRow &row)
{
    Entry entry;
    const Category *header =
        row.size() == 1 && row.first().isCategoryHeader() ? row.first().category() : nullptr;
    if (header) {
        entry.header = true;
        entry.categoryUUID = header->categoryUUID();
        entry.title = header->title();
        entry.displayTitle = header->displayTitle();
        entry.systemIconName = header->systemIconName();
        entry.reservedType = header->reservedType() ? rawValue(*header->reservedType()) : QString();
        return entry;
    }
    entry.cells.reserve(row.size());
    for (const GridElement &element : row)
        entry.cells.append(cellData(element));
    return entry;
}

QList<int> LauncherGridModel::changedRoles(const Entry &current, const Entry &next)
{
    QList<int> roles;
    if (current.header != next.header)
        roles.append(KindRole);
    if (current.categoryUUID != next.categoryUUID)
        roles.append(CategoryUUIDRole);
    if (current.title != next.title)
        roles.append(TitleRole);
    if (current.displayTitle != next.displayTitle)
        roles.append(DisplayTitleRole);
    if (current.systemIconName != next.systemIconName)
        roles.append(SystemIconNameRole);
    if (current.reservedType != next.reservedType)
        roles.append(ReservedTypeRole);
    if (current.cells != next.cells)
        roles.append(CellsRole);
    if (current.rowIndex != next.rowIndex)
        roles.append(RowIndexRole);
    if (current.top != next.top)
        roles.append(RowTopRole);
    if (current.height != next.height)
        roles.append(RowHeightRole);
    return roles;
}

void LauncherGridModel::update(const VirtualGrid &grid, const QList<double> &tops,
                               const QList<double> &heights, int first, int last, bool gridChanged)
{
    const int rows = int(std::min({grid.size(), tops.size(), heights.size()}));
    first = std::clamp(first, 0, rows);
    last = std::clamp(last, first, rows);

    // Rows are matched by their index in the grid: when the grid changes under a row its
    // delegate stays and only the changed roles are announced.
    const int oldFirst = m_first;
    const int oldLast = m_first + int(m_entries.size());
    const int keepFirst = std::max(first, oldFirst);
    const int keepLast = std::min(last, oldLast);
    if (keepFirst >= keepLast) {
        if (!m_entries.isEmpty()) {
            beginRemoveRows({}, 0, int(m_entries.size()) - 1);
            m_entries.clear();
            endRemoveRows();
        }
        m_first = first;
    } else {
        if (keepLast < oldLast) {
            beginRemoveRows({}, keepLast - oldFirst, oldLast - oldFirst - 1);
            m_entries.erase(m_entries.begin() + (keepLast - oldFirst), m_entries.end());
            endRemoveRows();
        }
        if (oldFirst < keepFirst) {
            beginRemoveRows({}, 0, keepFirst - oldFirst - 1);
            m_entries.erase(m_entries.begin(), m_entries.begin() + (keepFirst - oldFirst));
            endRemoveRows();
        }
        m_first = keepFirst;
    }

    const auto make = [&](int row) {
        Entry entry = entryFor(grid.at(row));
        entry.rowIndex = row;
        entry.top = tops.at(row);
        entry.height = heights.at(row);
        return entry;
    };
    for (int i = 0; gridChanged && i < int(m_entries.size()); ++i) {
        Entry next = make(m_first + i);
        const QList<int> roles = changedRoles(m_entries[i], next);
        if (roles.isEmpty())
            continue;
        m_entries[i] = std::move(next);
        emit dataChanged(index(i), index(i), roles);
    }
    if (m_entries.isEmpty())
        m_first = first;
    if (first < m_first) {
        beginInsertRows({}, 0, m_first - first - 1);
        QList<Entry> before;
        before.reserve(m_first - first);
        for (int row = first; row < m_first; ++row)
            before.append(make(row));
        m_entries = before + m_entries;
        m_first = first;
        endInsertRows();
    }
    const int end = m_first + int(m_entries.size());
    if (end < last) {
        beginInsertRows({}, int(m_entries.size()), int(m_entries.size()) + last - end - 1);
        for (int row = end; row < last; ++row)
            m_entries.append(make(row));
        endInsertRows();
    }
}

int LauncherGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariantMap LauncherGridModel::cellData(const GridElement &element)
{
    QVariantMap cell;
    if (const AppRecord *app = element.appRecord()) {
        cell.insert(QStringLiteral("kind"), QStringLiteral("app"));
        cell.insert(QStringLiteral("path"), app->path());
        cell.insert(QStringLiteral("bundleID"), app->bundleID());
        cell.insert(QStringLiteral("displayName"), app->displayName());
    } else if (const Category *category = element.category()) {
        cell.insert(QStringLiteral("kind"), QStringLiteral("categoryHeader"));
        cell.insert(QStringLiteral("categoryUUID"), category->categoryUUID());
        cell.insert(QStringLiteral("title"), category->title());
        cell.insert(QStringLiteral("displayTitle"), category->displayTitle());
    } else {
        cell.insert(QStringLiteral("kind"), QStringLiteral("spacer"));
    }
    return cell;
}

QVariant LauncherGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    const Entry &entry = m_entries.at(index.row());
    switch (role) {
    case KindRole:
        return entry.header ? QStringLiteral("header") : QStringLiteral("apps");
    case CategoryUUIDRole:
        return entry.categoryUUID;
    case TitleRole:
        return entry.title;
    case DisplayTitleRole:
        return entry.displayTitle;
    case SystemIconNameRole:
        return entry.systemIconName;
    case ReservedTypeRole:
        return entry.reservedType;
    case CellsRole:
        return entry.cells;
    case RowIndexRole:
        return entry.rowIndex;
    case RowTopRole:
        return entry.top;
    case RowHeightRole:
        return entry.height;
    default:
        return {};
    }
}

QHash<int, QByteArray> LauncherGridModel::roleNames() const
{
    return {
        {KindRole, "kind"},
        {CategoryUUIDRole, "categoryUUID"},
        {TitleRole, "title"},
        {DisplayTitleRole, "displayTitle"},
        {SystemIconNameRole, "systemIconName"},
        {ReservedTypeRole, "reservedType"},
        {CellsRole, "cells"},
        {RowIndexRole, "rowIndex"},
        {RowTopRole, "rowTop"},
        {RowHeightRole, "rowHeight"},
    };
}

} // namespace velmora
