#pragma once

#include "velmora/launcher/ScrollViewProxy.h"
#include "velmora/library/ReservedType.h"

#include "kestrelkit/Logger.h"

#include <QAbstractItemModel>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace velmora {

class AppDiscoverService;
class AppRecord;
class Category;
class LauncherGridModel;
class LauncherViewObject;
class ScrollTarget;

// What the screen asks of the application around it.
struct LauncherScreenHooks {
    std::function<void(const QString &)> copyToClipboard;
    std::function<void(const QString &path)> reveal;
    std::function<void()> sendFeedback;
    std::function<void()> quit;
    // Asked for the index status at each key-window reset; null: not asked.
    AppDiscoverService *discovery = nullptr;
};

// The launcher screen's own state and reactions, beside its view model: the Command and
// Alt key states, the category list, the pinned header, the resets, the debounced width,
// the menu and the actions of tiles and headers. The QML screen only lays out and
// forwards input. Main thread only.
class LauncherScreen final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QObject *viewObject READ viewObjectForQml CONSTANT)
    Q_PROPERTY(bool showCommandKeyTips READ showCommandKeyTips WRITE setShowCommandKeyTips NOTIFY
                   showCommandKeyTipsChanged)
    Q_PROPERTY(bool isCategoryListPresented READ isCategoryListPresented WRITE
                   setCategoryListPresented NOTIFY isCategoryListPresentedChanged)
    // The category list is on screen: Alt held or a category chosen.
    Q_PROPERTY(bool categoryListShown READ categoryListShown NOTIFY categoryListChanged)
    // {categoryUUID ("" for All), label, systemIconName, chosen}, in strip order.
    Q_PROPERTY(QVariantList categoryListEntries READ categoryListEntries NOTIFY categoryListChanged)
    // The header pinned over the grid: {categoryUUID, displayTitle, systemIconName,
    // reservedType, isFirst, isLast}; empty when there is none.
    Q_PROPERTY(QVariantMap pinnedHeader READ pinnedHeader NOTIFY pinnedHeaderChanged)
    Q_PROPERTY(QString noResultsText READ noResultsText NOTIFY searchChanged)
    Q_PROPERTY(bool hasScrollView READ hasScrollView NOTIFY scrollViewChanged)
    // The rows the grid builds: those near the viewport (LauncherGridModel's roles).
    Q_PROPERTY(QAbstractItemModel *visibleRows READ visibleRows CONSTANT)
    Q_PROPERTY(double contentHeight READ contentHeight NOTIFY layoutChanged)
    Q_PROPERTY(double cellWidth READ cellWidth NOTIFY layoutChanged)
    // Measured by the screen from its fonts: a tile's name line and a header row.
    Q_PROPERTY(double labelHeight READ labelHeight WRITE setLabelHeight NOTIFY layoutChanged)
    Q_PROPERTY(double headerHeight READ headerHeight WRITE setHeaderHeight NOTIFY layoutChanged)

public:
    using Hooks = LauncherScreenHooks;

    static constexpr int kResizeDebounceMs = 100;
    static constexpr double kSideMarginShare = 0.05;
    static constexpr const char *kWarningCommand = "sudo mdutil -E /";

    explicit LauncherScreen(LauncherViewObject &viewObject, Hooks hooks = {},
                            QObject *parent = nullptr);
    ~LauncherScreen() override;

    [[nodiscard]] LauncherViewObject &viewObject() const { return *m_viewObject; }
    [[nodiscard]] QObject *viewObjectForQml() const;

    [[nodiscard]] bool showCommandKeyTips() const { return m_showCommandKeyTips; }
    void setShowCommandKeyTips(bool show);
    [[nodiscard]] bool isCategoryListPresented() const { return m_categoryListPresented; }
    void setCategoryListPresented(bool presented);
    [[nodiscard]] bool categoryListShown() const;
    [[nodiscard]] QVariantList categoryListEntries() const;
    [[nodiscard]] QVariantMap pinnedHeader() const;
    [[nodiscard]] QString noResultsText() const;
    [[nodiscard]] bool hasScrollView() const;

    // One top and one height per row of virtualGrid, in content coordinates.
    [[nodiscard]] const QList<double> &rowTops() const { return m_rowTops; }
    [[nodiscard]] const QList<double> &rowHeights() const { return m_rowHeights; }
    [[nodiscard]] QAbstractItemModel *visibleRows() const;
    // The part of the grid on screen, in content coordinates: rows within
    // kRowBuildMargin of it are in visibleRows.
    Q_INVOKABLE void setViewport(double top, double height);
    static constexpr double kRowBuildMargin = 200;
    [[nodiscard]] double contentHeight() const { return m_contentHeight; }
    [[nodiscard]] double cellWidth() const { return m_cellWidth; }
    [[nodiscard]] double labelHeight() const { return m_labelHeight; }
    void setLabelHeight(double height);
    [[nodiscard]] double headerHeight() const { return m_headerHeight; }
    void setHeaderHeight(double height);
    // Space between a tile's icon and its name; a header's bottom margin.
    static constexpr double kTileLabelGap = 6;
    static constexpr double kHeaderBottomMargin = 4;
    // Room above the first row, so that a highlighted tile's outline and glow in the top
    // row are not cut by the scroll area's edge.
    static constexpr double kGridTopInset = 8;
    // A list row: a 45-high icon, 4 around the content, 4 above and below.
    static constexpr double kListRowHeight = 45 + 2 * 4 + 2 * 4;

    // The warning card's text: three paragraphs, one empty line between them.
    [[nodiscard]] Q_INVOKABLE static QString warningText();

    // --- scrolling (the grid's scroll area and its registry) ---
    [[nodiscard]] std::optional<ScrollViewProxy> savedProxy() const { return m_savedProxy; }
    // The grid's scroll reader was shown: keeps its proxy (a fresh one on first use)
    // attached to `target`; null detaches nothing and only saves the proxy.
    Q_INVOKABLE void saveProxy(QObject *target);
    // saveProxy() with the grid's Flickable adapted; its offset drives trackScrollOffset().
    Q_INVOKABLE void attachFlickable(QObject *flickable);
    Q_INVOKABLE void registerTile(const QString &path, double x, double y, double width, double height);
    Q_INVOKABLE void registerHeader(const QString &categoryUUID, double x, double y, double width,
                                    double height);
    // The grid's vertical offset changed: track the pinned header.
    Q_INVOKABLE void trackScrollOffset(double offset);
    Q_INVOKABLE void scrollToTop();

    // --- reactions ---
    Q_INVOKABLE void gridShown();
    // The top bar's width: applied at once when first shown, then debounced.
    Q_INVOKABLE void widthShown(double width);
    Q_INVOKABLE void widthChanged(double width);
    Q_INVOKABLE void presentationReset();
    Q_INVOKABLE void keyWindowReset();
    Q_INVOKABLE void fullScreenChanged();

    // --- the menu ---
    Q_INVOKABLE void chooseViewType(const QString &raw);
    Q_INVOKABLE void showSettings();
    Q_INVOKABLE void sendFeedback();
    Q_INVOKABLE void checkForUpdates();
    Q_INVOKABLE void quit();
    Q_INVOKABLE void copyWarningCommand();
    Q_INVOKABLE void copyText(const QString &text);

    // --- category list and drop list ---
    Q_INVOKABLE void chooseCategory(const QString &categoryUUID); // "" for All
    void optionNumberPressed(const QVariantMap &userInfo);
    // A drop of `url` on the drop target of the category: addApp on the next turn of the
    // main loop; the list closes at once.
    Q_INVOKABLE void dropOnCategory(const QUrl &url, const QString &categoryUUID);

    // --- headers ---
    // {isFirst, isLast} of the category within the grid's list (pinned: the list of
    // ordinary categories of sortedCategories).
    [[nodiscard]] Q_INVOKABLE QVariantMap headerPlace(const QString &categoryUUID, bool pinned) const;
    Q_INVOKABLE void moveCategory(const QString &categoryUUID, bool up, bool pinned);

    // --- application tiles ---
    Q_INVOKABLE void tileClicked(int row, int column);
    // The context menu of the application: {categories: [{categoryUUID, title,
    // systemIconName, marked}], canRemove, pinLabel, pinSymbol, hideLabel, hideSymbol}.
    [[nodiscard]] Q_INVOKABLE QVariantMap appMenu(const QString &path) const;
    Q_INVOKABLE void revealApp(const QString &path);
    Q_INVOKABLE void setAppCategory(const QString &path, const QString &categoryUUID);
    Q_INVOKABLE void newCategoryForApp(const QString &path);
    Q_INVOKABLE void removeAppFromCategory(const QString &path);
    Q_INVOKABLE void togglePin(const QString &path);
    Q_INVOKABLE void toggleHide(const QString &path);
    // The displayed name: the part before the first ".app".
    [[nodiscard]] Q_INVOKABLE static QString tileName(const QString &displayName);

    // --- title editor and symbols ---
    // A fresh editor for the category (owned by the caller); null for an unknown UUID.
    [[nodiscard]] Q_INVOKABLE QObject *makeEditor(const QString &categoryUUID);
    // The glyph of the symbol font that draws `name`; a placeholder for unknown names.
    [[nodiscard]] Q_INVOKABLE static QString symbolGlyph(const QString &name);
    // A category by its UUID among all stored ones; null if none.
    [[nodiscard]] Category *categoryByUUID(const QString &categoryUUID) const;
    [[nodiscard]] AppRecord *appByPath(const QString &path) const;

signals:
    void showCommandKeyTipsChanged();
    void isCategoryListPresentedChanged();
    void categoryListChanged();
    void pinnedHeaderChanged();
    void searchChanged();
    void scrollViewChanged();
    void focusSearchField();
    void layoutChanged();
    // The category list should bring its button at `index` (0 = All) into the centre.
    void categoryListScrollRequested(int index);
    // A record changed through the screen (menu actions, moves, editor).
    void recordsChanged();

private:
    void observeNotifications();
    // Row tops and heights from the grid, and every cell's frame into the proxy.
    void layoutGrid();
    void updateVisibleRows(bool gridChanged);
    void applyWidth(double width);
    void scrollToHiddenHeader();
    void moveAppTo(AppRecord *app, Category *category);
    void toggleReserved(const QString &path, ReservedType type);
    void saveContext();
    [[nodiscard]] QList<Category *> offeredCategories() const;
    [[nodiscard]] QList<Category *> ordinaryOfSorted() const;

    kestrelkit::Logger m_logger;
    QPointer<LauncherViewObject> m_viewObject;
    Hooks m_hooks;
    bool m_showCommandKeyTips = false;
    bool m_categoryListPresented = false;
    std::optional<ScrollViewProxy> m_savedProxy;
    QTimer m_resizeTimer;
    double m_pendingWidth = 0;
    QList<int> m_observerTokens;
    QList<double> m_rowTops;
    QList<double> m_rowHeights;
    double m_contentHeight = 0;
    LauncherGridModel *m_visibleRows;
    double m_viewportTop = 0;
    double m_viewportHeight = 0;
    double m_cellWidth = 0;
    double m_labelHeight = 16;
    double m_headerHeight = 38;
};

} // namespace velmora
