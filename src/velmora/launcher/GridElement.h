#pragma once

#include "velmora/launcher/ScrollId.h"

#include <QList>

#include <cstddef>

namespace velmora {

class AppRecord;
class Category;

// One cell of the launcher's virtual grid: an application tile, a category's header row,
// or an empty cell that fills a short last row.
class GridElement {
public:
    enum class Kind { app = 0, categoryHeader = 1, spacer = 2 };

    [[nodiscard]] static GridElement app(AppRecord *record) { return {Kind::app, record, nullptr}; }
    [[nodiscard]] static GridElement categoryHeader(Category *category)
    {
        return {Kind::categoryHeader, nullptr, category};
    }
    [[nodiscard]] static GridElement spacer() { return {Kind::spacer, nullptr, nullptr}; }

    [[nodiscard]] Kind kind() const { return m_kind; }
    [[nodiscard]] bool isApp() const { return m_kind == Kind::app; }
    [[nodiscard]] bool isCategoryHeader() const { return m_kind == Kind::categoryHeader; }
    [[nodiscard]] bool isSpacer() const { return m_kind == Kind::spacer; }
    // The payloads; null for the other cases.
    [[nodiscard]] AppRecord *appRecord() const { return m_app; }
    [[nodiscard]] Category *category() const { return m_category; }

    // Same case and equal payloads (applications by bundleID and path, categories by
    // categoryUUID and sortOrder).
    friend bool operator==(const GridElement &a, const GridElement &b);

private:
    GridElement(Kind kind, AppRecord *app, Category *category)
        : m_kind(kind), m_app(app), m_category(category)
    {
    }

    Kind m_kind;
    AppRecord *m_app;
    Category *m_category;
};

// The case number first, then path and bundleID, or categoryUUID and sortOrder.
[[nodiscard]] size_t qHash(const GridElement &element, size_t seed = 0);

using GridRow = QList<GridElement>;
using VirtualGrid = QList<GridRow>;

// The identifiers the screen registers its cells under: a tile by its application's path,
// a header by its category's UUID (as text when the stored value is not a UUID).
[[nodiscard]] ScrollId scrollIdOf(const AppRecord &record);
[[nodiscard]] ScrollId scrollIdOf(const Category &category);

} // namespace velmora
