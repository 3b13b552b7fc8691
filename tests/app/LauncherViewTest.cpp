// The launcher screen in QML, offscreen, over a view model with a temporary store:
// typing, the search extras, tiles, badges, the category list and the header editor.

#include "../launcher/LauncherFixture.h"

#include "velmora/app/AppIconProvider.h"
#include "velmora/app/PublicSettings.h"
#include "velmora/app/VelmoraWindow.h"
#include "velmora/app/WindowContent.h"
#include "velmora/launcher/LauncherScreen.h"

#include "kestrelkit/NotificationCenter.h"

#include <QQuickItem>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

QList<QQuickItem *> itemsOfType(QQuickItem *root, const char *typeName)
{
    QList<QQuickItem *> found;
    const QList<QQuickItem *> children = root->childItems();
    for (QQuickItem *child : children) {
        if (QString::fromLatin1(child->metaObject()->className()).startsWith(QLatin1String(typeName))
            && child->isVisible())
            found.append(child);
        found += itemsOfType(child, typeName);
    }
    return found;
}

void post(const char *name)
{
    kestrelkit::NotificationCenter::defaultCenter().post(QString::fromLatin1(name));
}

} // namespace

class LauncherViewTest : public QObject {
    Q_OBJECT

    struct Screen {
        Screen()
            : settings(f.defaults.get())
        {
            QObject::disconnect(f.store.get(), &DataModel::didSave, f.model.get(), nullptr);
            Category *tools = f.category(QStringLiteral("Tools"), 1);
            Category *games = f.category(QStringLiteral("Games"), 2);
            LauncherContent content{{tools, {}}, {games, {}}};
            for (const char *name : {"Calculator", "Terminal", "Files", "Text Editor"})
                content[0].apps.append(f.app(QString::fromLatin1(name), tools));
            for (const char *name : {"Chess", "Mines"})
                content[1].apps.append(f.app(QString::fromLatin1(name), games));
            f.model->setLauncherContent(content);
            screen = std::make_unique<LauncherScreen>(*f.model);
            content_.engine().addImageProvider(QStringLiteral("appicon"), new AppIconProvider);
            window.resize(700, 600);
            QVERIFY(content_.loadLauncher(window, settings, screen.get()));
            window.show();
            QVERIFY(QTest::qWaitForWindowActive(&window)); // becoming key resets the screen first
            QTRY_VERIFY(f.model->totalWidth() > 0);
            // The debounced width lands later and may reset the highlight: let it.
            QTest::qWait(3 * LauncherScreen::kResizeDebounceMs);
            QCoreApplication::processEvents();
        }
        QObject *named(const char *name) const
        {
            return window.contentItem()->findChild<QObject *>(QString::fromLatin1(name));
        }
        void type(const QByteArray &text)
        {
            for (char c : text)
                QTest::keyClick(&window, c);
        }

        LauncherFixture f;
        PublicSettings settings;
        std::unique_ptr<LauncherScreen> screen;
        WindowContent content_;
        VelmoraWindow window;
    };

private slots:
    void tilesAndHeadersAreBuilt();
    void searchShowsResultsOrTheNoResultsLine();
    void calculatorCard();
    void commandShowsBadgesAndAltTheCategoryList();
    void clickMovesTheHighlight();
    void ctrlDigitIsNotTypedAndBackgroundFollowsFullScreen();
    void menuTakesEscapeAndClosesWithTheLauncher();
};

void LauncherViewTest::tilesAndHeadersAreBuilt()
{
    Screen s;
    QTRY_COMPARE(itemsOfType(s.window.contentItem(), "AppItemView").size(), 6);
    QCOMPARE(itemsOfType(s.window.contentItem(), "SectionTitleView").size() >= 2, true);
}

void LauncherViewTest::searchShowsResultsOrTheNoResultsLine()
{
    Screen s;
    s.type("term");
    QCOMPARE(s.f.model->searchText(), QStringLiteral("term"));
    QTRY_COMPARE(itemsOfType(s.window.contentItem(), "AppItemView").size(), 1);
    auto *noResults = qobject_cast<QQuickItem *>(s.named("noResults"));
    QVERIFY(noResults);
    QVERIFY(!noResults->isVisible());

    s.type("zz");
    QTRY_VERIFY(noResults->isVisible());
    QCOMPARE(noResults->property("text").toString(), QStringLiteral("No Results for \"termzz\""));
    QCOMPARE(itemsOfType(s.window.contentItem(), "AppItemView").size(), 0);
}

void LauncherViewTest::calculatorCard()
{
    Screen s;
    s.type("2+3");
    auto *card = qobject_cast<QQuickItem *>(s.named("calculatorCard"));
    QVERIFY(card);
    QTRY_VERIFY(card->isVisible());
    QCOMPARE(s.named("calculatorResult")->property("text").toString(), QStringLiteral("5"));
    QTest::keyClick(&s.window, Qt::Key_A, Qt::ControlModifier);
    s.type("5");
    QTRY_VERIFY(!card->isVisible()); // a plain number shows no card
}

void LauncherViewTest::commandShowsBadgesAndAltTheCategoryList()
{
    Screen s;
    QTRY_COMPARE(itemsOfType(s.window.contentItem(), "AppItemView").size(), 6);
    QCOMPARE(itemsOfType(s.window.contentItem(), "Badge").size(), 0);
    int numbered = 0;
    for (int row = 0; row < s.f.model->rowCount(); ++row)
        for (int column = 0; column < s.f.model->gridColumnCount(); ++column)
            numbered += s.f.model->shortcutNumberAt(row, column) >= 0 ? 1 : 0;
    QVERIFY(numbered > 0);
    post("keyboardPressedCommand");
    QTRY_COMPARE(itemsOfType(s.window.contentItem(), "Badge").size(), numbered);
    post("keyboardReleasedCommand");
    QTRY_COMPARE(itemsOfType(s.window.contentItem(), "Badge").size(), 0);

    auto *list = qobject_cast<QQuickItem *>(s.named("categoryList"));
    QVERIFY(list);
    QCOMPARE(list->parentItem()->height(), 0.0);
    post("keyboardPressedOption");
    QTRY_COMPARE(list->parentItem()->height(), 34.0);
    post("keyboardReleasedOption");
    QTRY_COMPARE(list->parentItem()->height(), 0.0);
}

void LauncherViewTest::clickMovesTheHighlight()
{
    Screen s;
    QList<QQuickItem *> tiles;
    QTRY_COMPARE((tiles = itemsOfType(s.window.contentItem(), "AppItemView")).size(), 6);
    QQuickItem *third = nullptr;
    for (QQuickItem *tile : tiles)
        if (tile->property("row").toInt() == 1 && tile->property("column").toInt() == 2)
            third = tile;
    QVERIFY(third);
    QTest::mouseClick(&s.window, Qt::LeftButton, {},
                      third->mapToScene(QPointF(third->width() / 2, 20)).toPoint());
    QCOMPARE(s.f.model->highlightItemY(), 1);
    QCOMPARE(s.f.model->highlightItemX(), 2);
    QTRY_VERIFY(third->property("selected").toBool());
}

void LauncherViewTest::menuTakesEscapeAndClosesWithTheLauncher()
{
    Screen s;
    auto *button = qobject_cast<QQuickItem *>(s.named("menuButton"));
    QObject *menu = s.named("launcherMenu");
    QVERIFY(button && menu);
    const auto openMenu = [&] {
        QTest::mouseClick(&s.window, Qt::LeftButton, {},
                          button->mapToScene(QPointF(button->width() / 2, button->height() / 2)).toPoint());
        QTRY_VERIFY(menu->property("opened").toBool());
        QVERIFY(s.window.showingPopover());
    };

    // Escape closes the menu only; the launcher stays.
    openMenu();
    QTest::keyClick(&s.window, Qt::Key_Escape);
    QTRY_VERIFY(!menu->property("visible").toBool());
    QVERIFY(s.window.isVisible());
    QVERIFY(!s.window.showingPopover());

    // Hiding the launcher closes the menu, so it does not come back open.
    openMenu();
    s.window.hide();
    QTRY_VERIFY(!menu->property("visible").toBool());
    QVERIFY(!s.window.showingPopover());
}

QTEST_MAIN(LauncherViewTest)
#include "LauncherViewTest.moc"

void LauncherViewTest::ctrlDigitIsNotTypedAndBackgroundFollowsFullScreen()
{
    Screen s;
    s.type("term");
    // No third tile to open: the shortcut is swallowed, not typed into the field.
    QTest::keyClick(&s.window, Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(s.f.model->searchText(), QStringLiteral("term"));

    // The rounded background is the content's first item with a radius.
    QQuickItem *root = s.window.contentItem()->childItems().value(0);
    QVERIFY(root);
    QQuickItem *background = nullptr;
    for (QQuickItem *child : root->childItems()) {
        if (child->property("radius").isValid()) {
            background = child;
            break;
        }
    }
    QVERIFY(background);
    QCOMPARE(background->property("radius").toDouble(), 28.0);
    s.settings.setFullscreen(true);
    QTRY_COMPARE(background->property("radius").toDouble(), 0.0);
}
