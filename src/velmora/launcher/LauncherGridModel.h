#pragma once

#include "velmora/launcher/GridElement.h"

#include <QAbstractListModel>

namespace velmora {

// The rows of the virtual grid for the screen: one list entry per row. A header row
// carries its category; an application row carries its cells. Main thread only.
class LauncherGridModel final : public QAbstractListModel {
    Q_OBJECT
public:
    // Same order as roleNames().
    enum Role {
        KindRole = Qt::UserRole + 1, // "header" or "apps"
        CategoryUUIDRole,
        TitleRole,
        DisplayTitleRole,
        SystemIconNameRole,
        ReservedTypeRole, // raw value, or empty
        CellsRole,        // list of {kind, path, bundleID, displayName} ("app" or "spacer")
    };

    using QAbstractListModel::QAbstractListModel;

    // Replaces all rows; `grid` must outlive the next call.
    void setGrid(const VirtualGrid *grid);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // One cell as the screen reads it; an empty map outside the grid.
    [[nodiscard]] static QVariantMap cellData(const GridElement &element);

private:
    const VirtualGrid *m_grid = nullptr;
};

} // namespace velmora
