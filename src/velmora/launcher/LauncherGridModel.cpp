#include "velmora/launcher/LauncherGridModel.h"

#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"

namespace velmora {

void LauncherGridModel::setGrid(const VirtualGrid *grid)
{
    beginResetModel();
    m_grid = grid;
    endResetModel();
}

int LauncherGridModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_grid)
        return 0;
    return int(m_grid->size());
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
    if (!m_grid || !index.isValid() || index.row() >= m_grid->size())
        return {};
    const GridRow &row = m_grid->at(index.row());
    const Category *header =
        row.size() == 1 && row.first().isCategoryHeader() ? row.first().category() : nullptr;
    switch (role) {
    case KindRole:
        return header ? QStringLiteral("header") : QStringLiteral("apps");
    case CategoryUUIDRole:
        return header ? header->categoryUUID() : QString();
    case TitleRole:
        return header ? header->title() : QString();
    case DisplayTitleRole:
        return header ? header->displayTitle() : QString();
    case SystemIconNameRole:
        return header ? header->systemIconName() : QString();
    case ReservedTypeRole:
        return header && header->reservedType() ? rawValue(*header->reservedType()) : QString();
    case CellsRole: {
        QVariantList cells;
        cells.reserve(row.size());
        for (const GridElement &element : row)
            cells.append(cellData(element));
        return cells;
    }
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
    };
}

} // namespace velmora
