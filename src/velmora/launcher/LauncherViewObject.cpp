#include "velmora/launcher/LauncherViewObject.h"

#include "velmora/discovery/AppDiscoverService.h"
#include "velmora/discovery/LaunchpadDatabase.h"
#include "velmora/launcher/Calculator.h"
#include "velmora/launcher/SearchCards.h"
#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"
#include "velmora/library/DataModel.h"
#include "velmora/library/ModelContext.h"
#include "velmora/ranking/AccessRank.h"

#include <QFutureWatcher>
#include <QHash>
#include <QTextBoundaryFinder>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>
#include <unordered_map>

namespace velmora {

namespace {

constexpr auto kCategory = "LauncherViewObject";

struct ReservedDefaults {
    ReservedType type;
    const char *title;
    const char *icon;
    std::int64_t sortOrder;
};

// Pinned first; Not Categorized sorts just before Hidden, which is last.
constexpr ReservedDefaults kReserved[] = {
    {ReservedType::pinned, "Pinned", "pin.fill", -1},
    {ReservedType::hidden, "Hidden", "eye.slash.fill", std::numeric_limits<std::int64_t>::max()},
    {ReservedType::notCategorized, "Not Categorized", "ellipsis",
     std::numeric_limits<std::int64_t>::max() - 1},
};

bool isSpaceOrTab(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString trimmedSpacesAndTabs(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpaceOrTab(text.at(begin)))
        ++begin;
    while (end > begin && isSpaceOrTab(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// User-perceived characters (extended grapheme clusters) before `offset`.
qsizetype graphemesBefore(const QString &text, qsizetype offset)
{
    bool simple = true;
    for (qsizetype i = 0; i <= offset && i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        // Below the combining marks and without CR nothing joins: one unit, one character.
        if (u >= 0x0300 || u == u'\r') {
            simple = false;
            break;
        }
    }
    if (simple)
        return offset;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1 && finder.position() <= offset)
        ++count;
    return count;
}

bool sameCategory(const Category *a, const Category *b)
{
    return a == b || (a && b && *a == *b);
}

QVariantMap categoryForQml(const Category &category)
{
    return {
        {QStringLiteral("categoryUUID"), category.categoryUUID()},
        {QStringLiteral("title"), category.title()},
        {QStringLiteral("displayTitle"), category.displayTitle()},
        {QStringLiteral("systemIconName"), category.systemIconName()},
        {QStringLiteral("sortOrder"), qint64(category.sortOrder())},
        {QStringLiteral("reservedType"),
         category.reservedType() ? rawValue(*category.reservedType()) : QString()},
    };
}

} // namespace

struct LauncherViewObject::SearchEntry {
    AppRecord *record;
    QString key;
    Category *category;
};

LauncherEnvironment LauncherEnvironment::shared()
{
    LauncherEnvironment environment;
    environment.discovery = &AppDiscoverService::shared();
    return environment;
}

LauncherViewObject::LauncherViewObject(LauncherEnvironment environment, QObject *parent)
    : QObject(parent)
    , m_logger(QString::fromLatin1(kCategory))
    , m_environment(std::move(environment))
    , m_store(m_environment.store ? m_environment.store : &DataModel::shared())
    , m_accessRank(m_environment.accessRank ? m_environment.accessRank : &AccessRank::shared())
    , m_viewType(QString::fromLatin1(kViewTypeKey), LauncherViewType::grid, m_environment.defaults)
{
    m_viewType.setObserver(this, [this] { emit viewTypeChanged(); });
    if (m_environment.discovery)
        m_environment.discovery->setDelegate(this);
    m_accessRank->setDelegate(this);
    connect(m_store, &DataModel::didSave, this, &LauncherViewObject::dbSaved);
}

LauncherViewObject::~LauncherViewObject()
{
    if (m_environment.discovery && m_environment.discovery->delegate() == this)
        m_environment.discovery->setDelegate(nullptr);
}

void LauncherViewObject::say(const QString &message) const
{
    if (m_environment.standardOutput) {
        m_environment.standardOutput(message);
        return;
    }
    QTextStream out(stdout);
    out << message << Qt::endl;
}

void LauncherViewObject::whenFinished(const QFuture<void> &future, std::function<void()> then)
{
    // A watcher rather than QFuture::then(context, ...): Qt 6.4 asserts when the context
    // is gone by the time the future ends (the ranking model can outlive this object).
    auto *watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcher<void>::finished, this, [watcher, then = std::move(then)] {
        watcher->deleteLater();
        then();
    });
    watcher->setFuture(future);
}

// ---- published fields and their change handlers ----

void LauncherViewObject::setLauncherContent(LauncherContent content)
{
    m_launcherContent = std::move(content);
    m_searchIndexValid = false;
    emit launcherContentChanged();
    rebuildCategoryLists();
}

QList<AppRecord *> LauncherViewObject::appsOf(const Category *category) const
{
    for (const LauncherSection &section : m_launcherContent) {
        if (sameCategory(section.category, category))
            return section.apps;
    }
    return {};
}

void LauncherViewObject::setVirtualGrid(VirtualGrid grid)
{
    m_virtualGrid = std::move(grid);
    emit virtualGridChanged();
}

void LauncherViewObject::setTotalWidth(double width)
{
    const bool changed = width != m_totalWidth;
    m_totalWidth = width;
    if (changed)
        emit totalWidthChanged();
    rebuildGrid();
}

void LauncherViewObject::setShowDropList(bool show)
{
    if (show == m_showDropList)
        return;
    m_showDropList = show;
    emit showDropListChanged();
}

LauncherViewType LauncherViewObject::viewType() const
{
    return m_viewType.get();
}

void LauncherViewObject::setViewType(LauncherViewType type)
{
    m_viewType.set(type);
}

void LauncherViewObject::setZoomMode(bool zoom)
{
    const bool changed = zoom != m_zoomMode;
    m_zoomMode = zoom;
    if (changed)
        emit zoomModeChanged();
    rebuildGrid();
}

void LauncherViewObject::setSearchText(const QString &text)
{
    const bool changed = text != m_searchText;
    m_searchText = text;
    if (changed)
        emit searchTextChanged();
    // Storing the results rebuilds the grid for the new text as well, so the grid is
    // fresh right away without a second build.
    updateSearchResults();
    // After the current change has completed, as the screen expects.
    QMetaObject::invokeMethod(
        this,
        [this] {
            setHighlightItemX(0);
            setHighlightItemY(0);
        },
        Qt::QueuedConnection);
}

void LauncherViewObject::setSearchResults(QList<AppRecord *> results)
{
    const bool changed = results != m_searchResults;
    m_searchResults = std::move(results);
    if (changed)
        emit searchResultsChanged();
    rebuildGrid();
}

void LauncherViewObject::setShowHiddenGroup(bool show)
{
    const bool changed = show != m_showHiddenGroup;
    m_showHiddenGroup = show;
    if (changed)
        emit showHiddenGroupChanged();
    const int rows = int(m_virtualGrid.size());
    if ((m_highlightItemY < 0 || m_highlightItemY >= rows) && rows >= 1)
        setHighlightItemY(rows - 2);
    rebuildGrid();
}

void LauncherViewObject::setHighlightItemX(int x)
{
    if (x == m_highlightItemX)
        return;
    m_highlightItemX = x;
    emit highlightItemXChanged();
}

void LauncherViewObject::setHighlightItemY(int y)
{
    if (y == m_highlightItemY)
        return;
    m_highlightItemY = y;
    emit highlightItemYChanged();
}

void LauncherViewObject::setShowingCategoryHeaderIndex(std::optional<int> index)
{
    if (index == m_showingCategoryHeaderIndex)
        return;
    m_showingCategoryHeaderIndex = index;
    emit showingCategoryHeaderIndexChanged();
}

void LauncherViewObject::setFocusedCategory(Category *category)
{
    const bool changed = !sameCategory(category, m_focusedCategory);
    m_focusedCategory = category;
    if (changed)
        emit focusedCategoryChanged();
    updateSearchResults();
    setHighlightItemX(0);
    setHighlightItemY(0);
    setShowingCategoryHeaderIndex(std::nullopt);
    rebuildGrid();
}

bool LauncherViewObject::isSearching() const
{
    return !m_searchText.trimmed().isEmpty();
}

// ---- synchronisation ----

void LauncherViewObject::dbSaved()
{
    if (m_updating)
        return;
    m_updating = true;
    QMetaObject::invokeMethod(this, &LauncherViewObject::synchronizeCategories, Qt::QueuedConnection);
}

void LauncherViewObject::updateCategories()
{
    m_updating = true;
    QMetaObject::invokeMethod(this, &LauncherViewObject::synchronizeCategories, Qt::QueuedConnection);
}

void LauncherViewObject::startSynchronizationTasks()
{
    m_updating = true;
    QMetaObject::invokeMethod(this, &LauncherViewObject::synchronizeCategories, Qt::QueuedConnection);
    // Queued behind the pass, so the ranks are written for the items it hands over.
    QMetaObject::invokeMethod(
        this, [this] { (void)m_accessRank->updateRanks(); }, Qt::QueuedConnection);
}

void LauncherViewObject::discoverServiceDidUpdate(const MDSearchItemList &items)
{
    if (items.isEmpty() && !m_spotlightError) {
        m_spotlightError = true;
        emit spotlightErrorChanged();
    }
    m_pendingSpotlightResults = items;
    if (m_spotlightResults.isEmpty()) {
        m_spotlightResults = items;
        startSynchronizationTasks();
    }
}

void LauncherViewObject::applyPendingResults()
{
    if (m_spotlightResults == m_pendingSpotlightResults)
        return;
    m_spotlightResults = m_pendingSpotlightResults;
    startSynchronizationTasks();
}

void LauncherViewObject::discoverServiceDidUpdateStatus(SpotlightStatus status)
{
    const bool changed = status != m_spotlightStatus;
    m_spotlightStatus = status;
    if (changed)
        emit spotlightStatusChanged();
    say(spotlightStatusName());
}

Category *LauncherViewObject::ensureReserved(const QList<Category *> &categories, ReservedType type)
{
    for (Category *category : categories) {
        if (category->reservedType() == type)
            return category;
    }
    for (const ReservedDefaults &reserved : kReserved) {
        if (reserved.type != type)
            continue;
        return m_store->mainContext().insertCategory({QString::fromUtf8(reserved.title),
                                                      QString::fromUtf8(reserved.icon),
                                                      reserved.sortOrder, type, QString()});
    }
    return nullptr;
}

Category *LauncherViewObject::categoryTitled(const QString &title, const QString &iconName,
                                             std::int64_t &nextCategoryOrder)
{
    if (Category *existing = m_store->categoryWithTitle(title))
        return existing;
    ++nextCategoryOrder;
    return m_store->mainContext().insertCategory({title, iconName, nextCategoryOrder, std::nullopt, QString()});
}

Category *LauncherViewObject::categoryForNewItem(const MDSearchItem &item, Category *notCategorized,
                                                 std::int64_t &nextCategoryOrder)
{
    const LaunchpadDatabase &launchpad =
        m_environment.launchpad ? *m_environment.launchpad : LaunchpadDatabase::shared();
    const QString error = QStringLiteral("Error");
    if (launchpad.launchpadData().size() < 2) {
        if (!item.storeCategory)
            return notCategorized;
        const std::optional<QString> localized = m_environment.storeCategoryTitle
            ? m_environment.storeCategoryTitle(*item.storeCategory)
            : localizedTitle(*item.storeCategory);
        const QString title = localized.value_or(error);
        return categoryTitled(title, symbolName(*item.storeCategory), nextCategoryOrder);
    }
    const std::optional<Groups> group = launchpad.groupForBundleID(item.bundleID);
    if (!group || group->item_id == -1)
        return notCategorized;
    return categoryTitled(group->title.value_or(error), QStringLiteral("folder"), nextCategoryOrder);
}

void LauncherViewObject::synchronizeCategories()
{
    m_logger.info(QStringLiteral("Start updating categories"));

    std::int64_t nextCategoryOrder = 0;
    bool seeded = false;
    for (const Category *category : m_store->allCategories()) {
        if (category->reservedType())
            continue;
        nextCategoryOrder = seeded ? std::max(nextCategoryOrder, category->sortOrder()) : category->sortOrder();
        seeded = true;
    }

    const QList<Category *> existing = m_store->allCategories();
    for (const ReservedDefaults &reserved : kReserved)
        ensureReserved(existing, reserved.type);

    Category *notCategorized = nullptr;
    for (Category *category : m_store->allCategories()) {
        if (category->reservedType() == ReservedType::notCategorized) {
            notCategorized = category;
            break;
        }
    }

    LauncherContent content;
    std::unordered_map<Category *, qsizetype, CategoryHash, CategoryEqual> sectionOf;
    const auto append = [&](Category *category, AppRecord *record) {
        auto [it, inserted] = sectionOf.try_emplace(category, content.size());
        if (inserted)
            content.append(LauncherSection{category, {}});
        content[it->second].apps.append(record);
    };
    for (const MDSearchItem &item : std::as_const(m_spotlightResults)) {
        if (AppRecord *record = m_store->appRecord(item.path)) {
            if (record->category())
                append(record->category(), record);
            continue;
        }
        Category *category = categoryForNewItem(item, notCategorized, nextCategoryOrder);
        if (!category)
            continue; // Not Categorized could not be made: not shown this time
        AppRecord *record = m_store->mainContext().insertAppRecord(
            {item.displayName, item.bundleID, item.path, category, RankState{}});
        if (record)
            append(category, record);
    }
    setLauncherContent(std::move(content));

    std::map<QString, RankState> items;
    for (const AppRecord *record : m_store->allAppRecords())
        items.insert_or_assign(record->path(), record->rankState());
    whenFinished(m_accessRank->replaceItems(std::move(items)), [this] {
        m_logger.info(QStringLiteral("End updating categories"));
        m_updating = false;
        emit synchronizationFinished();
    });
}

// ---- content and search ----

void LauncherViewObject::rebuildCategoryLists()
{
    QList<Category *> sorted;
    sorted.reserve(m_launcherContent.size());
    for (const LauncherSection &section : std::as_const(m_launcherContent))
        sorted.append(section.category);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Category *a, const Category *b) {
        return a->sortOrder() < b->sortOrder();
    });
    QList<Category *> filtered;
    for (Category *category : std::as_const(sorted)) {
        if (!category->reservedType())
            filtered.append(category);
    }
    m_sortedCategories = std::move(sorted);
    m_sortedAndFilteredCategories = std::move(filtered);
    emit sortedCategoriesChanged();
    rebuildGrid();
}

void LauncherViewObject::buildSearchIndex()
{
    m_searchIndex.clear();
    for (const LauncherSection &section : std::as_const(m_launcherContent)) {
        for (AppRecord *record : section.apps)
            m_searchIndex.push_back({record, record->searchKey(), section.category});
    }
    m_searchIndexValid = true;
}

void LauncherViewObject::updateSearchResults()
{
    if (trimmedSpacesAndTabs(m_searchText).isEmpty()) {
        setSearchResults({});
        return;
    }
    QString term = m_searchText;
    term.removeIf(isSpaceOrTab);
    term = term.toLower();

    if (!m_searchIndexValid)
        buildSearchIndex();
    struct Match {
        qsizetype position;
        AppRecord *record;
        bool hidden;
    };
    std::vector<Match> matches;
    for (const SearchEntry &entry : m_searchIndex) {
        if (m_focusedCategory && !sameCategory(entry.category, m_focusedCategory))
            continue;
        const qsizetype at = entry.key.indexOf(term);
        if (at < 0)
            continue;
        const Category *category = entry.record->category();
        matches.push_back({graphemesBefore(entry.key, at), entry.record,
                           category && category->reservedType() == ReservedType::hidden});
    }
    std::stable_sort(matches.begin(), matches.end(),
                     [](const Match &a, const Match &b) { return a.position < b.position; });
    std::stable_partition(matches.begin(), matches.end(), [](const Match &m) { return !m.hidden; });
    QList<AppRecord *> results;
    results.reserve(qsizetype(matches.size()));
    for (const Match &match : matches)
        results.append(match.record);
    setSearchResults(std::move(results));
}

void LauncherViewObject::addApp(const QUrl &url, Category *category)
{
    if (!url.isLocalFile() || !category)
        return;
    AppRecord *record = m_store->appRecord(url.toLocalFile());
    if (!record)
        return;
    record->setCategory(category);
    (void)m_store->mainContext().save(); // a failed save is ignored, as in every UI change
}

void LauncherViewObject::addApp(const QUrl &url, const QString &categoryUUID)
{
    for (Category *category : m_store->allCategories()) {
        if (category->categoryUUID() == categoryUUID) {
            addApp(url, category);
            return;
        }
    }
}

void LauncherViewObject::rankStateDidChange(const QString &id, const RankState &state)
{
    // A changed state is saved by the context's coalesced save on the next turn of the
    // main loop: one transaction (and one did-save) for a whole batch of reports instead
    // of one per state. An unchanged state marks nothing, so nothing is written and no
    // further synchronisation follows.
    if (AppRecord *record = m_store->appRecord(id))
        record->setRankState(state);
}

void LauncherViewObject::predictionListDidChange(const PredictionList &list)
{
    QHash<QString, double> scores;
    scores.reserve(qsizetype(list.size()));
    for (const ScoredItem &item : list)
        if (!scores.contains(item.id))
            scores.insert(item.id, item.score);
    LauncherContent content = m_launcherContent;
    for (LauncherSection &section : content) {
        std::stable_sort(section.apps.begin(), section.apps.end(),
                         [&scores](const AppRecord *a, const AppRecord *b) {
                             return scores.value(a->path(), 0.0) > scores.value(b->path(), 0.0);
                         });
    }
    // Storing the content runs its handler, which rebuilds the category lists.
    setLauncherContent(std::move(content));
}

// ---- property adapters for the screen ----

QString LauncherViewObject::viewTypeRaw() const
{
    return toRaw(viewType());
}

void LauncherViewObject::setViewTypeRaw(const QString &raw)
{
    if (const auto type = fromRaw(raw, static_cast<LauncherViewType *>(nullptr)))
        setViewType(*type);
}

int LauncherViewObject::showingCategoryHeaderIndexOrMinusOne() const
{
    return m_showingCategoryHeaderIndex.value_or(-1);
}

void LauncherViewObject::setShowingCategoryHeaderIndexOrMinusOne(int index)
{
    setShowingCategoryHeaderIndex(index < 0 ? std::nullopt : std::optional<int>(index));
}

QString LauncherViewObject::focusedCategoryUUID() const
{
    return m_focusedCategory ? m_focusedCategory->categoryUUID() : QString();
}

void LauncherViewObject::focusCategory(const QString &categoryUUID)
{
    Category *found = nullptr;
    for (Category *category : std::as_const(m_sortedCategories)) {
        if (!categoryUUID.isEmpty() && category->categoryUUID() == categoryUUID) {
            found = category;
            break;
        }
    }
    setFocusedCategory(found);
}

QString LauncherViewObject::spotlightStatusName() const
{
    switch (m_spotlightStatus) {
    case SpotlightStatus::ready:
        return QStringLiteral("ready");
    case SpotlightStatus::indexing:
        return QStringLiteral("indexing");
    case SpotlightStatus::disabled:
        return QStringLiteral("disabled");
    }
    return {};
}

QVariantList LauncherViewObject::sortedCategoriesForQml() const
{
    QVariantList list;
    for (const Category *category : m_sortedCategories)
        list.append(categoryForQml(*category));
    return list;
}

QVariantList LauncherViewObject::sortedAndFilteredCategoriesForQml() const
{
    QVariantList list;
    for (const Category *category : m_sortedAndFilteredCategories)
        list.append(categoryForQml(*category));
    return list;
}

QString LauncherViewObject::searchCardInputText() const
{
    return searchCardInput(m_searchText);
}

QString LauncherViewObject::calculatorResult() const
{
    if (!isSearching())
        return {};
    const auto card = makeCalculatorCard(Calculator(), m_searchText);
    return card ? card->result : QString();
}

QString LauncherViewObject::dictionaryDefinition() const
{
    if (!isSearching())
        return {};
    const auto card = makeDictionaryCard(m_searchText);
    return card ? card->definition : QString();
}

} // namespace velmora
