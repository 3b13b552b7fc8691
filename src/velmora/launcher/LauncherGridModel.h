#pragma once

#include "velmora/launcher/GridElement.h"

#include <QAbstractListModel>
#include <QVariantList>

namespace velmora {

// The rows of the virtual grid the screen builds: only those near the visible part of the
// grid, each with its place in content coordinates. Updates are made in place: a row that
// stays keeps its delegate and is told only what changed, so typing or scrolling never
// rebuilds the whole grid. Main thread only.
class LauncherGridModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        KindRole = Qt::UserRole + 1, // "header" or "apps"
        CategoryUUIDRole,
        TitleRole,
        DisplayTitleRole,
        SystemIconNameRole,
        ReservedTypeRole, // raw value, or empty
        CellsRole,        // list of {kind, path, bundleID, displayName} ("app" or "spacer")
        RowIndexRole,     // the row's index in virtualGrid
        RowTopRole,
        RowHeightRole,
    };

    using QAbstractListModel::QAbstractListModel;

    // Shows rows [first, last) of `grid`, placed at `tops` with `heights` (one per grid
    // row). The grid is read now and not kept. `gridChanged` false (a scroll) re-reads
    // only the rows that come into the range.
    void update(const VirtualGrid &grid, const QList<double> &tops, const QList<double> &heights,
                int first, int last, bool gridChanged = true);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // One cell as the screen reads it; an empty map outside the grid.
    [[nodiscard]] static QVariantMap cellData(const GridElement &element);

private:
    struct Entry {
        bool header = false;
        QString categoryUUID;
        QString title;
        QString displayTitle;
        QString systemIconName;
        QString reservedType;
        QVariantList cells;
        int rowIndex = 0;
        double top = 0;
        double height = 0;
    };
    [[nodiscard]] static Entry entryFor(const GridRow &row);
    // The roles of `next` that differ from `current`; empty when nothing does.
    [[nodiscard]] static QList<int> changedRoles(const Entry &current, const Entry &next);

    QList<Entry> m_entries;
    int m_first = 0;
};

} // namespace velmora
