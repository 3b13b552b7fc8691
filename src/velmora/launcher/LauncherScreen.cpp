#include "velmora/launcher/LauncherScreen.h"

#include "velmora/discovery/AppDiscoverService.h"
#include "velmora/launcher/FlickableScrollTarget.h"
#include "velmora/launcher/GridElement.h"
#include "velmora/launcher/GridScroller.h"
#include "velmora/launcher/LauncherGridModel.h"
#include "velmora/launcher/LauncherViewObject.h"
#include "velmora/launcher/LauncherViewType.h"
#include "velmora/launcher/ScrollTarget.h"
#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"
#include "velmora/library/DataModel.h"
#include "velmora/library/ModelContext.h"

#include "kestrelkit/NotificationCenter.h"
#include "kestrelkit/SFSymbols.h"
#include "velmora/launcher/SectionTitleEditor.h"

#include <QUuid>

#include <algorithm>

namespace velmora {

namespace {

constexpr char16_t kOptionSign = 0x2325;

// The digit of the offered category at `index` (All is not counted): 2-9, then 0.
std::optional<int> optionDigit(qsizetype index)
{
    if (index <= 7)
        return int(index) + 2;
    if (index == 8)
        return 0;
    return std::nullopt;
}

ScrollId headerScrollId(const QString &categoryUUID)
{
    const QUuid uuid = QUuid::fromString(categoryUUID);
    return uuid.isNull() ? ScrollId(categoryUUID) : ScrollId(uuid);
}

QVariantMap place(const QList<Category *> &list, const Category *category)
{
    const bool first = !list.isEmpty() && *list.first() == *category;
    const bool last = !list.isEmpty() && *list.last() == *category;
    return {{QStringLiteral("isFirst"), first}, {QStringLiteral("isLast"), last}};
}

} // namespace

LauncherScreen::LauncherScreen(LauncherViewObject &viewObject, Hooks hooks, QObject *parent)
    : QObject(parent)
    , m_logger(QStringLiteral("LauncherView"))
    , m_viewObject(&viewObject)
    , m_hooks(std::move(hooks))
    , m_visibleRows(new LauncherGridModel(this))
{
    m_resizeTimer.setSingleShot(true);
    m_resizeTimer.setInterval(kResizeDebounceMs);
    connect(&m_resizeTimer, &QTimer::timeout, this, [this] {
        applyWidth(m_pendingWidth);
        emit focusSearchField();
    });

    LauncherViewObject *model = m_viewObject;
    // The header rule: a highlighted header steps down onto the row below it.
    connect(model, &LauncherViewObject::highlightItemYChanged, this,
            [model] { model->applyHeaderRule(); });
    connect(model, &LauncherViewObject::virtualGridChanged, this,
            [model] { model->applyHeaderRule(); });
    connect(model, &LauncherViewObject::virtualGridChanged, this, &LauncherScreen::layoutGrid);
    connect(model, &LauncherViewObject::viewTypeChanged, this, &LauncherScreen::presentationReset);
    connect(model, &LauncherViewObject::showHiddenGroupChanged, this, [this] {
        QMetaObject::invokeMethod(this, &LauncherScreen::scrollToHiddenHeader, Qt::QueuedConnection);
    });
    connect(model, &LauncherViewObject::sortedCategoriesChanged, this, &LauncherScreen::categoryListChanged);
    connect(model, &LauncherViewObject::launcherContentChanged, this, &LauncherScreen::categoryListChanged);
    connect(model, &LauncherViewObject::focusedCategoryChanged, this, &LauncherScreen::categoryListChanged);
    connect(model, &LauncherViewObject::focusedCategoryChanged, this, &LauncherScreen::pinnedHeaderChanged);
    connect(model, &LauncherViewObject::showingCategoryHeaderIndexChanged, this,
            &LauncherScreen::pinnedHeaderChanged);
    connect(model, &LauncherViewObject::sortedCategoriesChanged, this, &LauncherScreen::pinnedHeaderChanged);
    connect(model, &LauncherViewObject::searchTextChanged, this, &LauncherScreen::pinnedHeaderChanged);
    connect(model, &LauncherViewObject::searchTextChanged, this, &LauncherScreen::searchChanged);
    observeNotifications();
}

LauncherScreen::~LauncherScreen()
{
    for (int token : std::as_const(m_observerTokens))
        kestrelkit::NotificationCenter::defaultCenter().removeObserver(token);
}

void LauncherScreen::observeNotifications()
{
    auto &center = kestrelkit::NotificationCenter::defaultCenter();
    auto observe = [&](const char *name, std::function<void(const QVariantMap &)> handler) {
        m_observerTokens.append(center.addObserver(QString::fromLatin1(name), this, std::move(handler)));
    };
    observe("keyboardPressedUp", [this](const QVariantMap &) {
        if (m_savedProxy) {
            ProxyGridScroller scroller(*m_savedProxy);
            m_viewObject->moveHighlightUp(scroller);
        }
    });
    observe("keyboardPressedDown", [this](const QVariantMap &) {
        if (m_savedProxy) {
            ProxyGridScroller scroller(*m_savedProxy);
            m_viewObject->moveHighlightDown(scroller);
        }
    });
    observe("keyboardPressedRight", [this](const QVariantMap &) {
        if (m_savedProxy)
            m_viewObject->moveHighlightRight();
    });
    observe("keyboardPressedLeft", [this](const QVariantMap &) {
        if (m_savedProxy)
            m_viewObject->setHighlightItemX(std::max(m_viewObject->highlightItemX() - 1, 0));
    });
    observe("keyboardPressedShift", [this](const QVariantMap &) { m_viewObject->setZoomMode(true); });
    observe("keyboardReleasedShift", [this](const QVariantMap &) { m_viewObject->setZoomMode(false); });
    observe("keyboardPressedCommand", [this](const QVariantMap &) { setShowCommandKeyTips(true); });
    observe("keyboardReleasedCommand", [this](const QVariantMap &) { setShowCommandKeyTips(false); });
    observe("keyboardPressedOption", [this](const QVariantMap &) { setCategoryListPresented(true); });
    observe("keyboardReleasedOption", [this](const QVariantMap &) { setCategoryListPresented(false); });
    observe("keyboardPressedOptionNumberSet",
            [this](const QVariantMap &userInfo) { optionNumberPressed(userInfo); });
    // Each tile listens for its own number; one listener that finds the tile is the same.
    observe("keyboardPressedCommandNumberSet", [this](const QVariantMap &userInfo) {
        const QVariant key = userInfo.value(QStringLiteral("key"));
        if (key.typeId() == QMetaType::QString)
            m_viewObject->launchCommandNumber(key.toString(), m_showCommandKeyTips);
    });
}

QObject *LauncherScreen::viewObjectForQml() const
{
    return m_viewObject;
}

void LauncherScreen::setShowCommandKeyTips(bool show)
{
    if (m_showCommandKeyTips == show)
        return;
    m_showCommandKeyTips = show;
    emit showCommandKeyTipsChanged();
}

void LauncherScreen::setCategoryListPresented(bool presented)
{
    if (m_categoryListPresented == presented)
        return;
    m_categoryListPresented = presented;
    emit isCategoryListPresentedChanged();
    emit categoryListChanged();
}

bool LauncherScreen::categoryListShown() const
{
    return m_categoryListPresented || m_viewObject->focusedCategory();
}

QList<Category *> LauncherScreen::offeredCategories() const
{
    QList<Category *> offered;
    for (Category *category : m_viewObject->sortedCategories()) {
        if (category->reservedType() == ReservedType::hidden)
            continue;
        if (m_viewObject->appsOf(category).isEmpty())
            continue;
        offered.append(category);
    }
    return offered;
}

QList<Category *> LauncherScreen::ordinaryOfSorted() const
{
    QList<Category *> ordinary;
    for (Category *category : m_viewObject->sortedCategories())
        if (!category->reservedType())
            ordinary.append(category);
    return ordinary;
}

QVariantList LauncherScreen::categoryListEntries() const
{
    const Category *focused = m_viewObject->focusedCategory();
    QVariantList entries;
    entries.append(QVariantMap{
        {QStringLiteral("categoryUUID"), QString()},
        {QStringLiteral("label"), tr("All") + u' ' + QChar(kOptionSign) + u'1'},
        {QStringLiteral("systemIconName"), QString()},
        {QStringLiteral("chosen"), focused == nullptr},
    });
    const QList<Category *> offered = offeredCategories();
    for (qsizetype i = 0; i < offered.size(); ++i) {
        const Category *category = offered[i];
        QString label = category->displayTitle();
        if (const auto digit = optionDigit(i))
            label += u' ' + QChar(kOptionSign) + QString::number(*digit);
        entries.append(QVariantMap{
            {QStringLiteral("categoryUUID"), category->categoryUUID()},
            {QStringLiteral("label"), label},
            {QStringLiteral("systemIconName"), category->systemIconName()},
            {QStringLiteral("chosen"), focused && *focused == *category},
        });
    }
    return entries;
}

QVariantMap LauncherScreen::pinnedHeader() const
{
    const auto index = m_viewObject->showingCategoryHeaderIndex();
    if (!index || m_viewObject->isSearching() || m_viewObject->focusedCategory())
        return {};
    const auto &sorted = m_viewObject->sortedCategories();
    if (*index < 0 || *index >= sorted.size())
        return {};
    const Category *category = sorted[*index];
    QVariantMap header = place(ordinaryOfSorted(), category);
    header.insert(QStringLiteral("categoryUUID"), category->categoryUUID());
    header.insert(QStringLiteral("displayTitle"), category->displayTitle());
    header.insert(QStringLiteral("systemIconName"), category->systemIconName());
    header.insert(QStringLiteral("reservedType"),
                  category->reservedType() ? rawValue(*category->reservedType()) : QString());
    return header;
}

QString LauncherScreen::noResultsText() const
{
    return tr("No Results for ") + u'"' + m_viewObject->searchText().trimmed() + u'"';
}

bool LauncherScreen::hasScrollView() const
{
    return m_savedProxy && m_savedProxy->scrollView();
}

QString LauncherScreen::warningText()
{
    return tr("It seems your spotlight result is empty. Please try this command in the Terminal "
              "to rebuild the Spotlight index:")
        + QStringLiteral("\n\n") + QString::fromLatin1(kWarningCommand) + QStringLiteral("  ")
        + tr("(Click to copy.)") + QStringLiteral("\n\n")
        + tr("You can also try apps like OnyX to rebuild the Spotlight index.");
}

// --- scrolling ---

void LauncherScreen::saveProxy(QObject *target)
{
    if (!m_savedProxy)
        m_savedProxy.emplace();
    if (auto *scrollTarget = qobject_cast<ScrollTarget *>(target)) {
        m_savedProxy->attachScrollView(scrollTarget);
        connect(scrollTarget, &QObject::destroyed, this, &LauncherScreen::scrollViewChanged,
                Qt::UniqueConnection);
    }
    emit scrollViewChanged();
}

void LauncherScreen::attachFlickable(QObject *flickable)
{
    if (!flickable)
        return;
    if (m_savedProxy) {
        auto *current = qobject_cast<FlickableScrollTarget *>(m_savedProxy->scrollView());
        if (current && current->flickable() == flickable)
            return;
    }
    auto *target = new FlickableScrollTarget(flickable, this);
    connect(target, &ScrollTarget::contentOffsetChanged, this,
            [this](QPointF offset) { trackScrollOffset(offset.y()); });
    saveProxy(target);
    layoutGrid();
}

void LauncherScreen::setLabelHeight(double height)
{
    if (qFuzzyCompare(m_labelHeight, height))
        return;
    m_labelHeight = height;
    layoutGrid();
}

void LauncherScreen::setHeaderHeight(double height)
{
    if (qFuzzyCompare(m_headerHeight, height))
        return;
    m_headerHeight = height;
    layoutGrid();
}

void LauncherScreen::layoutGrid()
{
    const VirtualGrid &grid = m_viewObject->virtualGrid();
    const bool list = m_viewObject->viewType() == LauncherViewType::list;
    const double spacing = m_viewObject->gridSpacing();
    const int columns = std::max(1, m_viewObject->gridColumnCount());
    const double width = m_viewObject->totalWidth();
    m_cellWidth = list ? width : std::max(1.0, (width - (columns - 1) * spacing) / columns);
    const double tileHeight = list ? kListRowHeight : m_cellWidth + kTileLabelGap + m_labelHeight + spacing;

    m_rowTops.clear();
    m_rowHeights.clear();
    QList<std::pair<ScrollId, QRectF>> frames;
    double y = kGridTopInset;
    for (const GridRow &row : grid) {
        const bool header = !row.isEmpty() && row.first().isCategoryHeader();
        const double height = header ? m_headerHeight + kHeaderBottomMargin : tileHeight;
        m_rowTops.append(y);
        m_rowHeights.append(height);
        for (qsizetype column = 0; column < row.size(); ++column) {
            const GridElement &element = row[column];
            if (element.isApp())
                frames.append({scrollIdOf(*element.appRecord()),
                               QRectF(column * (m_cellWidth + spacing), y, m_cellWidth, height)});
            else if (element.isCategoryHeader())
                frames.append({scrollIdOf(*element.category()), QRectF(0, y, width, height)});
        }
        y += height;
    }
    m_contentHeight = y;
    if (m_savedProxy)
        m_savedProxy->updateFrames(frames);
    emit layoutChanged();
    updateVisibleRows(true);
}

QAbstractItemModel *LauncherScreen::visibleRows() const
{
    return m_visibleRows;
}

void LauncherScreen::setViewport(double top, double height)
{
    if (top == m_viewportTop && height == m_viewportHeight)
        return;
    m_viewportTop = top;
    m_viewportHeight = height;
    updateVisibleRows(false);
}

void LauncherScreen::updateVisibleRows(bool gridChanged)
{
    // No rows before the first width: a zero width would lay out one column of everything.
    if (m_viewObject->totalWidth() <= 0) {
        m_visibleRows->update(m_viewObject->virtualGrid(), {}, {}, 0, 0);
        return;
    }
    const double from = m_viewportTop - kRowBuildMargin;
    const double to = m_viewportTop + std::max(0.0, m_viewportHeight) + kRowBuildMargin;
    // The first row reaching into the band, and the first one starting below it.
    int first = int(std::upper_bound(m_rowTops.begin(), m_rowTops.end(), from) - m_rowTops.begin());
    if (first > 0 && m_rowTops[first - 1] + m_rowHeights[first - 1] > from)
        --first;
    const int last = int(std::upper_bound(m_rowTops.begin(), m_rowTops.end(), to) - m_rowTops.begin());
    m_visibleRows->update(m_viewObject->virtualGrid(), m_rowTops, m_rowHeights, first,
                          std::max(first, last), gridChanged);
}

void LauncherScreen::registerTile(const QString &path, double x, double y, double width, double height)
{
    if (m_savedProxy)
        m_savedProxy->setFrame(ScrollId(path), QRectF(x, y, width, height));
}

void LauncherScreen::registerHeader(const QString &categoryUUID, double x, double y, double width,
                                    double height)
{
    if (m_savedProxy)
        m_savedProxy->setFrame(headerScrollId(categoryUUID), QRectF(x, y, width, height));
}

void LauncherScreen::trackScrollOffset(double offset)
{
    m_viewObject->setShowingCategoryHeaderIndex(std::nullopt);
    if (!m_savedProxy)
        return;
    const double top = offset - 1;
    const auto &sorted = m_viewObject->sortedCategories();
    for (int i = 0; i < sorted.size(); ++i) {
        const double y = m_savedProxy->getPosition(headerScrollId(sorted[i]->categoryUUID()));
        if ((y != 0 || i == 0) && y < top)
            m_viewObject->setShowingCategoryHeaderIndex(i);
        else if (y > top)
            break;
    }
}

void LauncherScreen::scrollToTop()
{
    if (m_savedProxy && m_savedProxy->scrollView())
        m_savedProxy->scrollTo(Alignment::top, true);
}

void LauncherScreen::scrollToHiddenHeader()
{
    if (!m_savedProxy)
        return;
    for (const Category *category : m_viewObject->sortedCategories()) {
        if (category->reservedType() == ReservedType::hidden) {
            m_savedProxy->scrollTo(headerScrollId(category->categoryUUID()), Alignment::center, true);
            return;
        }
    }
}

// --- reactions ---

void LauncherScreen::gridShown()
{
    emit focusSearchField();
    m_viewObject->setShowingCategoryHeaderIndex(0);
}

void LauncherScreen::applyWidth(double width)
{
    m_viewObject->setTotalWidth(width - 2 * (width * kSideMarginShare));
}

void LauncherScreen::widthShown(double width)
{
    applyWidth(width);
    widthChanged(width);
}

void LauncherScreen::widthChanged(double width)
{
    m_pendingWidth = width;
    m_resizeTimer.start(); // restarting cancels the pending update
}

void LauncherScreen::presentationReset()
{
    m_viewObject->setHighlightItemY(0);
    m_viewObject->setHighlightItemX(0);
    m_viewObject->setShowingCategoryHeaderIndex(0);
    setShowCommandKeyTips(false);
    m_viewObject->setFocusedCategory(nullptr);
    setCategoryListPresented(false);
    scrollToTop();
}

void LauncherScreen::keyWindowReset()
{
    m_viewObject->applyPendingResults();
    emit focusSearchField();
    m_viewObject->setZoomMode(false);
    m_viewObject->setSearchText(QString());
    m_viewObject->setShowDropList(false);
    m_viewObject->setShowHiddenGroup(false);
    m_viewObject->setHighlightItemY(0);
    m_viewObject->setHighlightItemX(0);
    setShowCommandKeyTips(false);
    m_viewObject->setFocusedCategory(nullptr);
    setCategoryListPresented(false);
    m_viewObject->setShowingCategoryHeaderIndex(0);
    if (m_hooks.discovery) {
        const auto status = m_hooks.discovery->checkSpotlightStatus(QStringLiteral("/Applications"));
        if (status && m_hooks.discovery->delegate())
            m_hooks.discovery->delegate()->discoverServiceDidUpdateStatus(*status);
    }
    scrollToTop();
}

void LauncherScreen::fullScreenChanged()
{
    kestrelkit::NotificationCenter::defaultCenter().post(QStringLiteral("updateFullScreen"));
}

// --- the menu ---

void LauncherScreen::chooseViewType(const QString &raw)
{
    // viewTypeChanged (a real change only) runs the presentation reset.
    m_viewObject->setViewTypeRaw(raw);
    m_viewObject->rebuildGrid();
}

void LauncherScreen::showSettings()
{
    kestrelkit::NotificationCenter::defaultCenter().post(QStringLiteral("showSettingsWindow"));
}

void LauncherScreen::sendFeedback()
{
    if (m_hooks.sendFeedback)
        m_hooks.sendFeedback();
}

void LauncherScreen::checkForUpdates()
{
    kestrelkit::NotificationCenter::defaultCenter().post(QStringLiteral("checkUpdate"));
}

void LauncherScreen::quit()
{
    if (m_hooks.quit)
        m_hooks.quit();
}

void LauncherScreen::copyWarningCommand()
{
    if (m_hooks.copyToClipboard)
        m_hooks.copyToClipboard(QString::fromLatin1(kWarningCommand));
}

void LauncherScreen::copyText(const QString &text)
{
    if (m_hooks.copyToClipboard)
        m_hooks.copyToClipboard(text);
}

// --- category list and drop list ---

void LauncherScreen::chooseCategory(const QString &categoryUUID)
{
    m_viewObject->focusCategory(categoryUUID);
}

void LauncherScreen::optionNumberPressed(const QVariantMap &userInfo)
{
    const QVariant key = userInfo.value(QStringLiteral("key"));
    if (!m_categoryListPresented || key.typeId() != QMetaType::QString)
        return;
    const QString text = key.toString();
    if (text == QLatin1String("1")) {
        m_viewObject->setFocusedCategory(nullptr);
        QMetaObject::invokeMethod(
            this, [this] { emit categoryListScrollRequested(0); }, Qt::QueuedConnection);
        return;
    }
    const QList<Category *> offered = offeredCategories();
    for (qsizetype i = 0; i < offered.size(); ++i) {
        const auto digit = optionDigit(i);
        if (digit && QString::number(*digit) == text) {
            m_viewObject->setFocusedCategory(offered[i]);
            emit categoryListScrollRequested(int(i) + 1);
            return;
        }
    }
}

void LauncherScreen::dropOnCategory(const QUrl &url, const QString &categoryUUID)
{
    QPointer<LauncherViewObject> model = m_viewObject;
    QMetaObject::invokeMethod(
        this,
        [model, url, categoryUUID] {
            if (model)
                model->addApp(url, categoryUUID);
        },
        Qt::QueuedConnection);
    m_viewObject->setShowDropList(false);
}

// --- headers ---

QVariantMap LauncherScreen::headerPlace(const QString &categoryUUID, bool pinned) const
{
    const Category *category = categoryByUUID(categoryUUID);
    if (!category)
        return {{QStringLiteral("isFirst"), false}, {QStringLiteral("isLast"), false}};
    return place(pinned ? ordinaryOfSorted() : m_viewObject->sortedAndFilteredCategories(), category);
}

void LauncherScreen::moveCategory(const QString &categoryUUID, bool up, bool pinned)
{
    Category *category = categoryByUUID(categoryUUID);
    if (!category)
        return;
    const QList<Category *> list = pinned ? ordinaryOfSorted() : m_viewObject->sortedAndFilteredCategories();
    const auto it = std::find_if(list.begin(), list.end(),
                                 [category](const Category *c) { return *c == *category; });
    if (it == list.end())
        return;
    const qsizetype i = it - list.begin();
    const qsizetype j = up ? i - 1 : i + 1;
    if (j < 0 || j >= list.size())
        return;
    Category *neighbour = list[j];
    const auto mine = category->sortOrder();
    const auto theirs = neighbour->sortOrder();
    neighbour->setSortOrder(mine);
    category->setSortOrder(theirs);
    saveContext();
    emit recordsChanged();
}

// --- application tiles ---

void LauncherScreen::tileClicked(int row, int column)
{
    m_viewObject->setHighlightItemY(row);
    m_viewObject->setHighlightItemX(column);
}

QVariantMap LauncherScreen::appMenu(const QString &path) const
{
    const AppRecord *app = appByPath(path);
    if (!app)
        return {};
    const Category *current = app->category();
    QVariantList categories;
    for (const Category *category : m_viewObject->sortedAndFilteredCategories()) {
        categories.append(QVariantMap{
            {QStringLiteral("categoryUUID"), category->categoryUUID()},
            {QStringLiteral("title"), category->title()},
            {QStringLiteral("systemIconName"), category->systemIconName()},
            {QStringLiteral("marked"), current && *current == *category},
        });
    }
    const auto reserved = current ? current->reservedType() : std::nullopt;
    const bool pinned = reserved == ReservedType::pinned;
    const bool hidden = reserved == ReservedType::hidden;
    return {
        {QStringLiteral("categories"), categories},
        {QStringLiteral("canRemove"), current && !reserved},
        {QStringLiteral("pinLabel"), pinned ? tr("Unpin") : tr("Pin")},
        {QStringLiteral("pinSymbol"), pinned ? QStringLiteral("pin.slash.fill") : QStringLiteral("pin.fill")},
        {QStringLiteral("hideLabel"), hidden ? tr("Unhide") : tr("Hide")},
        {QStringLiteral("hideSymbol"), hidden ? QStringLiteral("eye.fill") : QStringLiteral("eye.slash.fill")},
    };
}

void LauncherScreen::revealApp(const QString &path)
{
    if (m_hooks.reveal)
        m_hooks.reveal(path);
}

void LauncherScreen::moveAppTo(AppRecord *app, Category *category)
{
    if (!category || app->category() == category)
        return;
    app->setCategory(category);
    // The tile's reaction to a changed category: save.
    saveContext();
}

void LauncherScreen::saveContext()
{
    const OperationResult result = m_viewObject->store().mainContext().save();
    if (!result)
        m_logger.error(QStringLiteral("Saving failed: %1").arg(result.error()));
}

void LauncherScreen::setAppCategory(const QString &path, const QString &categoryUUID)
{
    AppRecord *app = appByPath(path);
    if (!app)
        return;
    moveAppTo(app, categoryByUUID(categoryUUID));
    emit recordsChanged();
}

void LauncherScreen::newCategoryForApp(const QString &path)
{
    AppRecord *app = appByPath(path);
    if (!app)
        return;
    std::int64_t highest = 0;
    bool any = false;
    for (const Category *category : m_viewObject->sortedAndFilteredCategories()) {
        if (category->reservedType())
            continue;
        highest = any ? std::max(highest, category->sortOrder()) : category->sortOrder();
        any = true;
    }
    NewCategory values;
    values.categoryUUID = Category::makeUUID();
    values.sortOrder = highest + 1;
    values.systemIconName = QStringLiteral("folder");
    values.title = tr("Untitled");
    Category *created = m_viewObject->store().mainContext().insertCategory(values);
    app->setCategory(created);
    saveContext();
    emit recordsChanged();
}

void LauncherScreen::removeAppFromCategory(const QString &path)
{
    AppRecord *app = appByPath(path);
    if (!app)
        return;
    DataModel &store = m_viewObject->store();
    if (Category *notCategorized = store.reservedCategory(ReservedType::notCategorized))
        moveAppTo(app, notCategorized);
    store.cleanUnusedCategories();
    emit recordsChanged();
}

void LauncherScreen::togglePin(const QString &path)
{
    toggleReserved(path, ReservedType::pinned);
}

void LauncherScreen::toggleHide(const QString &path)
{
    toggleReserved(path, ReservedType::hidden);
}

void LauncherScreen::toggleReserved(const QString &path, ReservedType type)
{
    AppRecord *app = appByPath(path);
    if (!app)
        return;
    // Out of the reserved category to Not Categorized, otherwise into it; saved either way.
    const bool inside = app->category() && app->category()->reservedType() == type;
    moveAppTo(app, m_viewObject->store().reservedCategory(inside ? ReservedType::notCategorized : type));
    saveContext();
    emit recordsChanged();
}

QString LauncherScreen::tileName(const QString &displayName)
{
    const qsizetype at = displayName.indexOf(QLatin1String(".app"));
    return at < 0 ? displayName : displayName.left(at);
}

QObject *LauncherScreen::makeEditor(const QString &categoryUUID)
{
    Category *category = categoryByUUID(categoryUUID);
    if (!category)
        return nullptr;
    auto *editor = new SectionTitleEditor(category, kestrelkit::SFSymbols::allSymbols());
    connect(editor, &SectionTitleEditor::categoryEdited, this, &LauncherScreen::recordsChanged);
    return editor; // unparented: QML owns it
}

QString LauncherScreen::symbolGlyph(const QString &name)
{
    return kestrelkit::SFSymbols::shared().glyph(name);
}

Category *LauncherScreen::categoryByUUID(const QString &categoryUUID) const
{
    if (categoryUUID.isEmpty())
        return nullptr;
    for (Category *category : m_viewObject->store().allCategories())
        if (category->categoryUUID() == categoryUUID)
            return category;
    return nullptr;
}

AppRecord *LauncherScreen::appByPath(const QString &path) const
{
    return m_viewObject->store().appRecord(path);
}

} // namespace velmora
