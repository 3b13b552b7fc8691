// LauncherViewObject, second part: the virtual grid, the keyboard highlight and launching.

#include "velmora/launcher/LauncherViewObject.h"

#include "velmora/launcher/GridScroller.h"
#include "velmora/launcher/LauncherGridModel.h"
#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"
#include "velmora/ranking/AccessRank.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr double kNarrowestTile = 100;
constexpr double kWidestTile = 120;
constexpr double kNarrowestZoomedTile = 50;
constexpr double kWidestZoomedTile = 80;

void appendRows(VirtualGrid &grid, const QList<AppRecord *> &apps, int columns)
{
    for (qsizetype start = 0; start < apps.size(); start += columns) {
        GridRow row;
        row.reserve(columns);
        const qsizetype end = std::min(apps.size(), start + columns);
        for (qsizetype i = start; i < end; ++i)
            row.append(GridElement::app(apps.at(i)));
        while (row.size() < columns)
            row.append(GridElement::spacer());
        grid.append(std::move(row));
    }
}

} // namespace

double LauncherViewObject::gridSpacing() const
{
    if (viewType() == LauncherViewType::list)
        return 0;
    return m_totalWidth * (m_zoomMode ? 0.01 : 0.05);
}

int LauncherViewObject::columnCount()
{
    if (viewType() == LauncherViewType::list)
        return 1;
    const double width = m_totalWidth;
    const double spacing = gridSpacing();
    const double narrowest = m_zoomMode ? kNarrowestZoomedTile : kNarrowestTile;
    const double widest = m_zoomMode ? kWidestZoomedTile : kWidestTile;
    const double a = std::floor((width + spacing) / (narrowest + spacing));
    const double b = std::ceil((width + spacing) / (widest + spacing));
    const double larger = std::max(a, b);
    // A negative or absurd width (a screen bug) must not overflow the int.
    const int count = !(larger >= 2) ? 1 : int(std::min(larger, 10000.0));
    if (count != m_oldColumnCount) {
        m_oldColumnCount = count;
        QMetaObject::invokeMethod(this, &LauncherViewObject::resetHighlight, Qt::QueuedConnection);
    }
    return count;
}

VirtualGrid LauncherViewObject::makeVirtualGrid()
{
    return isSearching() ? makeSearchGrid() : makeCategoryGrid();
}

VirtualGrid LauncherViewObject::makeCategoryGrid()
{
    const int columns = columnCount();
    m_gridColumnCount = columns;
    QHash<const Category *, const QList<AppRecord *> *> appsByCategory;
    for (const LauncherSection &section : std::as_const(m_launcherContent))
        appsByCategory.insert(section.category, &section.apps);
    VirtualGrid grid;
    for (Category *category : std::as_const(m_sortedCategories)) {
        if (m_focusedCategory && !(*m_focusedCategory == *category))
            continue;
        grid.append(GridRow{GridElement::categoryHeader(category)});
        if (category->reservedType() == ReservedType::hidden && !m_showHiddenGroup)
            continue;
        if (const QList<AppRecord *> *apps = appsByCategory.value(category))
            appendRows(grid, *apps, columns);
    }
    return grid;
}

VirtualGrid LauncherViewObject::makeSearchGrid()
{
    const int columns = columnCount();
    m_gridColumnCount = columns;
    VirtualGrid grid;
    appendRows(grid, m_searchResults, columns);
    return grid;
}

void LauncherViewObject::rebuildGrid()
{
    const bool searching = isSearching();
    VirtualGrid grid = searching ? makeSearchGrid() : makeCategoryGrid();
    m_gridIsSearch = searching;
    setVirtualGrid(std::move(grid));
}

const GridElement *LauncherViewObject::cellAt(int row, int column) const
{
    if (row < 0 || row >= m_virtualGrid.size())
        return nullptr;
    const GridRow &cells = m_virtualGrid.at(row);
    if (column < 0 || column >= cells.size())
        return nullptr;
    return &cells.at(column);
}

std::optional<GridElement> LauncherViewObject::highlightedElement() const
{
    const int y = m_highlightItemY;
    if (y < 0 || y >= m_virtualGrid.size())
        return std::nullopt;
    const GridRow &row = m_virtualGrid.at(y);
    if (m_highlightItemX >= 0 && m_highlightItemX < row.size())
        return row.at(m_highlightItemX);
    // Outside the row: a header row is highlighted whatever the column.
    if (!row.isEmpty() && !row.first().isApp())
        return row.first();
    return std::nullopt;
}

std::optional<GridElement> LauncherViewObject::elementAboveHighlight() const
{
    if (const GridElement *element = cellAt(m_highlightItemY - 1, m_highlightItemX))
        return *element;
    return std::nullopt;
}

void LauncherViewObject::moveHighlightUp(GridScroller &scroller)
{
    setHighlightItemY(std::max(m_highlightItemY - 1, 0));
    for (;;) {
        if (m_highlightItemY == 0)
            break;
        const auto element = highlightedElement();
        if (!element || element->isApp())
            break;
        if (element->isCategoryHeader()) {
            setHighlightItemY(std::max(m_highlightItemY - 1, 0));
        } else {
            if (m_highlightItemX == 0)
                break; // a spacer in the first column: no row is built that way
            setHighlightItemX(std::max(m_highlightItemX - 1, 0));
        }
    }
    const auto element = highlightedElement();
    if (!element || !element->isApp())
        return;
    const auto above = elementAboveHighlight();
    if (above && above->isCategoryHeader())
        scroller.scrollTo(scrollIdOf(*above->category()), Alignment::center, true);
    else
        scroller.scrollTo(scrollIdOf(*element->appRecord()), Alignment::center, true);
}

void LauncherViewObject::moveHighlightDown(GridScroller &scroller)
{
    const int rows = int(m_virtualGrid.size());
    setHighlightItemY(std::min(m_highlightItemY + 1, rows - 1));
    for (;;) {
        const auto element = highlightedElement();
        if (!element || element->isApp())
            break;
        if (element->isSpacer()) {
            if (m_highlightItemX == 0)
                break;
            setHighlightItemX(std::max(m_highlightItemX - 1, 0));
            continue;
        }
        const Category *category = element->category();
        if (category->reservedType() == ReservedType::hidden && !m_showHiddenGroup) {
            setHighlightItemY(std::max(m_highlightItemY - 1, 0));
            break;
        }
        // A header in the last row has nothing below it: stay on it.
        if (m_highlightItemY >= rows - 1)
            break;
        setHighlightItemY(std::min(m_highlightItemY + 1, rows - 1));
    }
    const auto element = highlightedElement();
    if (element && element->isApp())
        scroller.scrollTo(scrollIdOf(*element->appRecord()), Alignment::center, true);
}

void LauncherViewObject::moveHighlightRight()
{
    setHighlightItemX(std::min(m_highlightItemX + 1, columnCount() - 1));
    const auto element = highlightedElement();
    if (element && element->isSpacer())
        setHighlightItemX(std::max(m_highlightItemX - 1, 0));
}

void LauncherViewObject::moveHighlightLeft()
{
    setHighlightItemX(std::max(m_highlightItemX - 1, 0));
}

void LauncherViewObject::resetHighlight()
{
    setHighlightItemY(0);
    setHighlightItemX(0);
}

void LauncherViewObject::applyHeaderRule()
{
    const auto element = highlightedElement();
    if (element && !element->isApp() && m_highlightItemY < m_virtualGrid.size() - 1)
        setHighlightItemY(m_highlightItemY + 1);
}

std::optional<int> LauncherViewObject::shortcutNumber(int row, int column, bool searchGrid)
{
    const GridElement *element = cellAt(row, column);
    if (!element || !element->isApp())
        return std::nullopt;
    const int columns = columnCount();
    const qint64 position = searchGrid ? qint64(row) * columns + column : qint64(row - 1) * columns + column;
    const Category *category = element->appRecord()->category();
    const bool eligible = searchGrid
        || (category && !m_sortedCategories.isEmpty()
            && category->sortOrder() == m_sortedCategories.first()->sortOrder())
        || (category && m_focusedCategory && m_focusedCategory->sortOrder() == category->sortOrder());
    if (!eligible || position < 0 || position > 9)
        return std::nullopt;
    return position == 9 ? 0 : int(position + 1);
}

int LauncherViewObject::shortcutNumberAt(int row, int column)
{
    return shortcutNumber(row, column, m_gridIsSearch).value_or(-1);
}

QVariantMap LauncherViewObject::elementAt(int row, int column) const
{
    const GridElement *element = cellAt(row, column);
    return element ? LauncherGridModel::cellData(*element) : QVariantMap();
}

// ---- launching ----

void LauncherViewObject::launch(AppRecord *record, const QString &trigger,
                                const DismissWindow &dismissWindow)
{
    if (record) {
        QMetaObject::invokeMethod(
            this,
            [this, record, trigger] {
                const QString path = record->path();
                // The visit counts even when the opening fails.
                whenFinished(m_accessRank->recordVisit(path), [this, record, path, trigger] {
                    const OperationResult opened = record->open();
                    if (opened) {
                        if (m_analytics)
                            m_analytics(QStringLiteral("Launcher.launchApp"),
                                        {{QStringLiteral("by"), trigger}});
                    } else {
                        say(opened.error());
                    }
                    emit launchFinished(path, opened.ok());
                });
            },
            Qt::QueuedConnection);
    }
    // The window goes away at once, without waiting for the application.
    if (dismissWindow)
        dismissWindow();
}

bool LauncherViewObject::launchElement(const std::optional<GridElement> &element,
                                       const QString &trigger, const DismissWindow &dismissWindow)
{
    if (!element || !element->isApp())
        return false;
    launch(element->appRecord(), trigger, dismissWindow);
    return true;
}

bool LauncherViewObject::launchHighlighted(const DismissWindow &dismissWindow)
{
    return launchElement(highlightedElement(), QStringLiteral("Enter"), dismissWindow);
}

bool LauncherViewObject::launchTile(int row, int column, const DismissWindow &dismissWindow)
{
    const GridElement *element = cellAt(row, column);
    return launchElement(element ? std::optional<GridElement>(*element) : std::nullopt,
                         QStringLiteral("DoubleClick"), dismissWindow);
}

bool LauncherViewObject::launchCommandNumber(const QString &key, bool numbersShown,
                                             const DismissWindow &dismissWindow)
{
    if (!numbersShown || m_gridIsSearch != isSearching())
        return false;
    // Positions 0-9 lie within the first eleven rows whatever the column count.
    const int rows = int(std::min<qsizetype>(m_virtualGrid.size(), 11));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < m_virtualGrid.at(row).size(); ++column) {
            const auto number = shortcutNumber(row, column, m_gridIsSearch);
            if (number && QString::number(*number) == key) {
                return launchElement(m_virtualGrid.at(row).at(column), QStringLiteral("Command-Shortcut"),
                                     dismissWindow);
            }
        }
    }
    return false;
}

bool LauncherViewObject::launchHighlighted()
{
    return launchHighlighted([this] { emit dismissWindow(); });
}

bool LauncherViewObject::launchTile(int row, int column)
{
    return launchTile(row, column, [this] { emit dismissWindow(); });
}

bool LauncherViewObject::launchCommandNumber(const QString &key, bool numbersShown)
{
    return launchCommandNumber(key, numbersShown, [this] { emit dismissWindow(); });
}

} // namespace velmora
