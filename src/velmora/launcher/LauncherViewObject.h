#pragma once

#include "velmora/discovery/AppDiscoverServiceDelegate.h"
#include "velmora/discovery/MDSearchItem.h"
#include "velmora/discovery/SpotlightStatus.h"
#include "velmora/discovery/StoreCategory.h"
#include "velmora/launcher/GridElement.h"
#include "velmora/launcher/LauncherViewType.h"
#include "velmora/library/ReservedType.h"
#include "velmora/ranking/AccessRankDelegate.h"

#include "kestrelkit/Logger.h"
#include "kestrelkit/ObservableUserDefault.h"

#include <QFuture>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <cstdint>
#include <optional>
#include <vector>

class QAbstractItemModel;

namespace kestrelkit {
class DefaultsStore;
}

namespace velmora {

class AccessRank;
class AppDiscoverService;
class AppRecord;
class Category;
class DataModel;
class GridScroller;
class LaunchpadDatabase;

// One entry of the launcher content: a category and its applications in display order.
struct LauncherSection {
    Category *category = nullptr;
    QList<AppRecord *> apps;
};
// The content map, its keys unique by category equality, in the order they were taken.
using LauncherContent = QList<LauncherSection>;

// The shared objects the view model works with; tests build their own.
struct LauncherEnvironment {
    DataModel *store = nullptr;             // null: DataModel::shared()
    AccessRank *accessRank = nullptr;       // null: AccessRank::shared()
    AppDiscoverService *discovery = nullptr; // becomes our delegate's source; null: none
    const LaunchpadDatabase *launchpad = nullptr; // null: LaunchpadDatabase::shared()
    kestrelkit::DefaultsStore *defaults = nullptr; // null: the standard defaults
    // The title of a store category for new applications; null: its localized title.
    std::function<std::optional<QString>(StoreCategory)> storeCategoryTitle;
    // Developer messages ("Failed to open ...", status names); null: standard output.
    std::function<void(const QString &)> standardOutput;

    // The process's shared instances, discovery included.
    [[nodiscard]] static LauncherEnvironment shared();
};

// The launcher screen's view model: the library content, its categories in display order,
// the search, the virtual grid and the keyboard highlight. Main thread only.
class LauncherViewObject final : public QObject,
                                 public AppDiscoverServiceDelegate,
                                 public AccessRankDelegate {
    Q_OBJECT
    Q_PROPERTY(double totalWidth READ totalWidth WRITE setTotalWidth NOTIFY totalWidthChanged)
    Q_PROPERTY(bool showDropList READ showDropList WRITE setShowDropList NOTIFY showDropListChanged)
    Q_PROPERTY(QString viewType READ viewTypeRaw WRITE setViewTypeRaw NOTIFY viewTypeChanged)
    Q_PROPERTY(bool zoomMode READ zoomMode WRITE setZoomMode NOTIFY zoomModeChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(bool showHiddenGroup READ showHiddenGroup WRITE setShowHiddenGroup NOTIFY showHiddenGroupChanged)
    Q_PROPERTY(int highlightItemX READ highlightItemX WRITE setHighlightItemX NOTIFY highlightItemXChanged)
    Q_PROPERTY(int highlightItemY READ highlightItemY WRITE setHighlightItemY NOTIFY highlightItemYChanged)
    // -1 for none.
    Q_PROPERTY(int showingCategoryHeaderIndex READ showingCategoryHeaderIndexOrMinusOne WRITE
                   setShowingCategoryHeaderIndexOrMinusOne NOTIFY showingCategoryHeaderIndexChanged)
    // Empty when no category is focused; set through focusCategory().
    Q_PROPERTY(QString focusedCategoryUUID READ focusedCategoryUUID NOTIFY focusedCategoryChanged)
    Q_PROPERTY(bool spotlightError READ spotlightError NOTIFY spotlightErrorChanged)
    Q_PROPERTY(QString spotlightStatus READ spotlightStatusName NOTIFY spotlightStatusChanged)
    Q_PROPERTY(bool isSearching READ isSearching NOTIFY searchTextChanged)
    Q_PROPERTY(QVariantList sortedCategories READ sortedCategoriesForQml NOTIFY sortedCategoriesChanged)
    Q_PROPERTY(QVariantList sortedAndFilteredCategories READ sortedAndFilteredCategoriesForQml NOTIFY
                   sortedCategoriesChanged)
    Q_PROPERTY(int searchResultCount READ searchResultCount NOTIFY searchResultsChanged)
    Q_PROPERTY(int rowCount READ rowCount NOTIFY virtualGridChanged)
    Q_PROPERTY(bool gridIsSearch READ gridIsSearch NOTIFY virtualGridChanged)
    Q_PROPERTY(double gridSpacing READ gridSpacing NOTIFY virtualGridChanged)
    Q_PROPERTY(int gridColumnCount READ gridColumnCount NOTIFY virtualGridChanged)
    // The search cards for the current search text; empty when the card shows nothing.
    Q_PROPERTY(QString searchCardInput READ searchCardInputText NOTIFY searchTextChanged)
    Q_PROPERTY(QString calculatorResult READ calculatorResult NOTIFY searchTextChanged)
    Q_PROPERTY(QString dictionaryDefinition READ dictionaryDefinition NOTIFY searchTextChanged)

public:
    // The analytics client's entry point: a signal name and its parameters.
    using AnalyticsSignal = std::function<void(const QString &name, const QVariantMap &parameters)>;
    using DismissWindow = std::function<void()>;

    static constexpr const char *kViewTypeKey = "Launcher.viewType";

    explicit LauncherViewObject(LauncherEnvironment environment = LauncherEnvironment::shared(),
                                QObject *parent = nullptr);
    ~LauncherViewObject() override;

    // --- state (published fields notify only when the value changed; the change
    // handlers run on every assignment, after the value is stored) ---
    [[nodiscard]] const MDSearchItemList &pendingSpotlightResults() const { return m_pendingSpotlightResults; }
    [[nodiscard]] const MDSearchItemList &spotlightResults() const { return m_spotlightResults; }
    [[nodiscard]] bool updating() const { return m_updating; }

    [[nodiscard]] const LauncherContent &launcherContent() const { return m_launcherContent; }
    void setLauncherContent(LauncherContent content);
    // The applications of `category` in the content (by category equality); empty if absent.
    [[nodiscard]] QList<AppRecord *> appsOf(const Category *category) const;

    [[nodiscard]] const VirtualGrid &virtualGrid() const { return m_virtualGrid; }
    void setVirtualGrid(VirtualGrid grid);
    [[nodiscard]] const QList<Category *> &sortedCategories() const { return m_sortedCategories; }
    [[nodiscard]] const QList<Category *> &sortedAndFilteredCategories() const
    {
        return m_sortedAndFilteredCategories;
    }

    [[nodiscard]] double totalWidth() const { return m_totalWidth; }
    void setTotalWidth(double width);
    [[nodiscard]] bool showDropList() const { return m_showDropList; }
    void setShowDropList(bool show);
    // Read from the defaults on every access; a change is followed by rebuildGrid() by
    // whoever makes it.
    [[nodiscard]] LauncherViewType viewType() const;
    void setViewType(LauncherViewType type);
    [[nodiscard]] bool zoomMode() const { return m_zoomMode; }
    void setZoomMode(bool zoom);
    [[nodiscard]] const QString &searchText() const { return m_searchText; }
    void setSearchText(const QString &text);
    [[nodiscard]] const QList<AppRecord *> &searchResults() const { return m_searchResults; }
    void setSearchResults(QList<AppRecord *> results);
    [[nodiscard]] bool showHiddenGroup() const { return m_showHiddenGroup; }
    void setShowHiddenGroup(bool show);
    [[nodiscard]] int highlightItemX() const { return m_highlightItemX; }
    void setHighlightItemX(int x);
    [[nodiscard]] int highlightItemY() const { return m_highlightItemY; }
    void setHighlightItemY(int y);
    [[nodiscard]] std::optional<int> showingCategoryHeaderIndex() const { return m_showingCategoryHeaderIndex; }
    void setShowingCategoryHeaderIndex(std::optional<int> index);
    [[nodiscard]] int oldColumnCount() const { return m_oldColumnCount; }
    [[nodiscard]] Category *focusedCategory() const { return m_focusedCategory; }
    void setFocusedCategory(Category *category);
    [[nodiscard]] bool spotlightError() const { return m_spotlightError; }
    [[nodiscard]] SpotlightStatus spotlightStatus() const { return m_spotlightStatus; }

    // The trimmed search text is not empty.
    [[nodiscard]] bool isSearching() const;

    // --- synchronisation ---
    // The store saved: start a synchronisation unless one is requested or running.
    void dbSaved();
    // Starts a synchronisation regardless of `updating`.
    Q_INVOKABLE void updateCategories();
    // The window became key: apply a discovery result that arrived meanwhile.
    Q_INVOKABLE void applyPendingResults();
    // Turns spotlightResults into launcherContent and hands all rank states to the
    // ranking model. Runs synchronously up to that hand-over; `updating` is cleared
    // (and synchronizationFinished emitted) once the ranking model has recomputed.
    void synchronizeCategories();

    // --- content and search ---
    void rebuildCategoryLists();
    void updateSearchResults();
    // Moves the stored application at the file URL's path into `category` and saves.
    void addApp(const QUrl &url, Category *category);
    Q_INVOKABLE void addApp(const QUrl &url, const QString &categoryUUID);

    // AppDiscoverServiceDelegate
    void discoverServiceDidUpdate(const MDSearchItemList &items) override;
    void discoverServiceDidUpdateStatus(SpotlightStatus status) override;
    // AccessRankDelegate
    void rankStateDidChange(const QString &id, const RankState &state) override;
    void predictionListDidChange(const PredictionList &list) override;

    // --- the virtual grid ---
    [[nodiscard]] VirtualGrid makeVirtualGrid();
    [[nodiscard]] VirtualGrid makeCategoryGrid();
    [[nodiscard]] VirtualGrid makeSearchGrid();
    // Stores a freshly built grid in virtualGrid.
    Q_INVOKABLE void rebuildGrid();
    // ≥ 1; when it differs from oldColumnCount, stores it there and queues resetHighlight().
    [[nodiscard]] int columnCount();
    [[nodiscard]] double gridSpacing() const;
    [[nodiscard]] std::optional<GridElement> highlightedElement() const;
    [[nodiscard]] std::optional<GridElement> elementAboveHighlight() const;
    void moveHighlightUp(GridScroller &scroller);
    void moveHighlightDown(GridScroller &scroller);
    Q_INVOKABLE void moveHighlightRight();
    Q_INVOKABLE void moveHighlightLeft();
    Q_INVOKABLE void resetHighlight();
    // The screen's rule on every change of the highlight row or the grid: a highlighted
    // header steps down one row unless it is the last row.
    Q_INVOKABLE void applyHeaderRule();
    // The Command number (0-9) of the application tile at (row, column) in a grid of
    // the given kind; none for other cells and ineligible tiles.
    [[nodiscard]] std::optional<int> shortcutNumber(int row, int column, bool searchGrid);
    // -1 for none.
    Q_INVOKABLE int shortcutNumberAt(int row, int column);
    // The kind of grid virtualGrid holds (built while searching or not).
    [[nodiscard]] bool gridIsSearch() const { return m_gridIsSearch; }

    // --- launching ---
    // Records a visit, then opens `record` through the workspace and sends the analytics
    // signal "Launcher.launchApp" with "by" = `trigger`; calls `dismissWindow` at once,
    // before any of that has happened.
    void launch(AppRecord *record, const QString &trigger, const DismissWindow &dismissWindow);
    // Return in the search field ("Enter"): the highlighted application, if any.
    bool launchHighlighted(const DismissWindow &dismissWindow);
    // A double click on the tile at (row, column) ("DoubleClick").
    bool launchTile(int row, int column, const DismissWindow &dismissWindow);
    // Command and a digit ("Command-Shortcut"): the tile whose Command number's text equals
    // `key`, while Command numbers are shown and the grid's kind matches isSearching.
    bool launchCommandNumber(const QString &key, bool numbersShown, const DismissWindow &dismissWindow);
    // The same for the screen; they dismiss through the dismissWindow() signal.
    Q_INVOKABLE bool launchHighlighted();
    Q_INVOKABLE bool launchTile(int row, int column);
    Q_INVOKABLE bool launchCommandNumber(const QString &key, bool numbersShown);
    // Where the analytics signal goes; unset, nothing is sent.
    void setAnalyticsSignal(AnalyticsSignal signal) { m_analytics = std::move(signal); }

    // --- for the screen ---
    Q_INVOKABLE void focusCategory(const QString &categoryUUID); // empty: none
    Q_INVOKABLE QVariantMap elementAt(int row, int column) const;

    // Property adapters.
    [[nodiscard]] QString viewTypeRaw() const;
    void setViewTypeRaw(const QString &raw);
    [[nodiscard]] int showingCategoryHeaderIndexOrMinusOne() const;
    void setShowingCategoryHeaderIndexOrMinusOne(int index);
    [[nodiscard]] QString focusedCategoryUUID() const;
    [[nodiscard]] QString spotlightStatusName() const;
    [[nodiscard]] QVariantList sortedCategoriesForQml() const;
    [[nodiscard]] QVariantList sortedAndFilteredCategoriesForQml() const;
    [[nodiscard]] int searchResultCount() const { return int(m_searchResults.size()); }
    [[nodiscard]] int rowCount() const { return int(m_virtualGrid.size()); }
    [[nodiscard]] int gridColumnCount() const { return m_gridColumnCount; }
    [[nodiscard]] QString searchCardInputText() const;
    [[nodiscard]] QString calculatorResult() const;
    [[nodiscard]] QString dictionaryDefinition() const;

    [[nodiscard]] DataModel &store() const { return *m_store; }
    [[nodiscard]] AccessRank &accessRank() const { return *m_accessRank; }

signals:
    void totalWidthChanged();
    void showDropListChanged();
    void viewTypeChanged();
    void zoomModeChanged();
    void searchTextChanged();
    void searchResultsChanged();
    void showHiddenGroupChanged();
    void highlightItemXChanged();
    void highlightItemYChanged();
    void showingCategoryHeaderIndexChanged();
    void focusedCategoryChanged();
    void spotlightErrorChanged();
    void spotlightStatusChanged();
    void launcherContentChanged();
    void sortedCategoriesChanged();
    void virtualGridChanged();
    // A synchronisation pass ended (`updating` was cleared).
    void synchronizationFinished();
    // A launch task ended; `opened` is false when the workspace failed.
    void launchFinished(const QString &path, bool opened);
    // The screen should close the launcher window (the QML launch triggers).
    void dismissWindow();

private:
    struct SearchEntry;

    void say(const QString &message) const;
    // Runs `then` on the main thread once `future` is done (after the ranking reports
    // queued before it); dropped if this object goes first.
    void whenFinished(const QFuture<void> &future, std::function<void()> then);
    void startSynchronizationTasks();
    Category *ensureReserved(const QList<Category *> &categories, ReservedType type);
    Category *categoryForNewItem(const MDSearchItem &item, Category *notCategorized,
                                 std::int64_t &nextCategoryOrder);
    Category *categoryTitled(const QString &title, const QString &iconName,
                             std::int64_t &nextCategoryOrder);
    void buildSearchIndex();
    [[nodiscard]] const GridElement *cellAt(int row, int column) const;
    [[nodiscard]] bool launchElement(const std::optional<GridElement> &element, const QString &trigger,
                                     const DismissWindow &dismissWindow);

    kestrelkit::Logger m_logger;
    LauncherEnvironment m_environment;
    DataModel *m_store;
    AccessRank *m_accessRank;
    kestrelkit::ObservableUserDefault<LauncherViewType, kestrelkit::DefaultsStorage::Raw> m_viewType;

    MDSearchItemList m_pendingSpotlightResults;
    MDSearchItemList m_spotlightResults;
    bool m_updating = false;
    LauncherContent m_launcherContent;
    VirtualGrid m_virtualGrid;
    QList<Category *> m_sortedCategories;
    QList<Category *> m_sortedAndFilteredCategories;
    double m_totalWidth = 0;
    bool m_showDropList = false;
    bool m_zoomMode = false;
    QString m_searchText;
    QList<AppRecord *> m_searchResults;
    bool m_showHiddenGroup = false;
    int m_highlightItemX = 0;
    int m_highlightItemY = 0;
    std::optional<int> m_showingCategoryHeaderIndex = 0;
    int m_oldColumnCount = 0;
    Category *m_focusedCategory = nullptr;
    bool m_spotlightError = false;
    SpotlightStatus m_spotlightStatus = SpotlightStatus::ready;

    bool m_gridIsSearch = false;
    int m_gridColumnCount = 1;
    std::vector<SearchEntry> m_searchIndex;
    bool m_searchIndexValid = false;
    AnalyticsSignal m_analytics;
};

} // namespace velmora
