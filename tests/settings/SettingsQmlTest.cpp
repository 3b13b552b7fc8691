// The settings window and the onboarding as the user drives them: QML views on the real
// models, clicked headless. With VELMORA_SCREENSHOT_DIR set, every screen is also saved
// as a PNG in the light and the dark palette.
#include "velmora/discovery/FolderManager.h"
#include "velmora/settings/AboutModel.h"
#include "velmora/settings/FoldersSettingsModel.h"
#include "velmora/settings/GeneralSettingsModel.h"
#include "velmora/settings/OnboardingController.h"
#include "velmora/settings/SettingsTabController.h"

#include "kestrelkit/BundleInfo.h"
#include "kestrelkit/DefaultsStore.h"
#include "kestrelkit/NotificationCenter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

#include <memory>

Q_IMPORT_QML_PLUGIN(Velmora_SettingsPlugin)

using namespace velmora;

namespace {

QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    if (root->objectName() == name)
        return root;
    for (QQuickItem *child : root->childItems())
        if (QQuickItem *found = findItem(child, name))
            return found;
    return nullptr;
}

void findAll(QQuickItem *root, const QString &name, QList<QQuickItem *> &out)
{
    if (root->objectName() == name)
        out.append(root);
    for (QQuickItem *child : root->childItems())
        findAll(child, name, out);
}

bool shows(const QQuickItem *item)
{
    for (const QQuickItem *i = item; i; i = i->parentItem())
        if (!i->isVisible() || i->opacity() <= 0.01)
            return false;
    return true;
}

QPoint centre(QQuickItem *item)
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

// Every text that shows lies wholly inside the window.
QStringList clippedTexts(QQuickWindow *window)
{
    QStringList out;
    const QRectF bounds(QPointF(-1, -1), QSizeF(window->size()) + QSizeF(2, 2));
    std::function<void(QQuickItem *)> walk = [&](QQuickItem *item) {
        if (!item->isVisible() || item->opacity() <= 0.01)
            return;
        const QByteArray type = item->metaObject()->className();
        if (type.startsWith("QQuickText") || type.contains("Label")) {
            const QString text = item->property("text").toString();
            const QRectF r = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
            if (!text.isEmpty() && !bounds.contains(r))
                out << QStringLiteral("\"%1\" at %2,%3 %4x%5").arg(text).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        }
        for (QQuickItem *child : item->childItems())
            walk(child);
    };
    walk(window->contentItem());
    return out;
}

QPalette darkPalette()
{
    QPalette p;
    const QColor window(0x2a, 0x2c, 0x37), base(0x1f, 0x20, 0x28), text(0xe9, 0xea, 0xf0);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::AlternateBase, window.lighter(110));
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::Button, QColor(0x37, 0x39, 0x47));
        p.setColor(group, QPalette::ButtonText, text);
        p.setColor(group, QPalette::Highlight, QColor(0x5b, 0x74, 0xf0));
        p.setColor(group, QPalette::HighlightedText, Qt::white);
        p.setColor(group, QPalette::PlaceholderText, QColor(0x9a, 0x9b, 0xa8));
        p.setColor(group, QPalette::Light, window.lighter(140));
        p.setColor(group, QPalette::Midlight, window.lighter(120));
        p.setColor(group, QPalette::Mid, window.darker(120));
        p.setColor(group, QPalette::Dark, window.darker(150));
        p.setColor(group, QPalette::Shadow, Qt::black);
    }
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x8a));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x8a));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x8a));
    return p;
}

QPalette lightPalette()
{
    QPalette p(QColor(0xef, 0xf0, 0xf3), QColor(0xf6, 0xf7, 0xf9));
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Window, QColor(0xf6, 0xf7, 0xf9));
        p.setColor(group, QPalette::Base, Qt::white);
        p.setColor(group, QPalette::Highlight, QColor(0x4f, 0x6b, 0xed));
    }
    return p;
}

} // namespace

class SettingsQmlTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QQuickStyle::setStyle(QStringLiteral("Fusion"));
        QGuiApplication::setPalette(lightPalette());
    }

    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        for (const char *name : {"Portable Apps", "Games", "Emulators"})
            QDir(m_tmp->path()).mkdir(QLatin1String(name));
        m_store = std::make_unique<kestrelkit::DefaultsStore>(m_tmp->filePath(QStringLiteral("defaults.json")));
        m_loginItem = std::make_unique<LoginItem>(m_tmp->filePath(QStringLiteral("autostart")),
                                                  QStringLiteral("velmora"));
        m_folderManager = std::make_unique<FolderManager>(m_store.get());
        m_bundle = std::make_unique<kestrelkit::BundleInfo>(kestrelkit::BundleInfo::main());
        m_engine = std::make_unique<QQmlEngine>();
        m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
    }

    void cleanup()
    {
        m_window.reset();
        m_tabs.reset();
        m_general.reset();
        m_folders.reset();
        m_about.reset();
        m_onboarding.reset();
        m_engine.reset();
    }

    void startAtLoginSwitchWritesAndRemovesTheAutostartEntry()
    {
        openSettings();
        QQuickItem *toggle = item("startAtLoginSwitch");
        QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, centre(toggle));
        QTRY_VERIFY(QFile::exists(m_loginItem->entryPath()));
        QVERIFY(toggle->property("checked").toBool());

        QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, centre(toggle));
        QTRY_VERIFY(!QFile::exists(m_loginItem->entryPath()));
        QVERIFY(!toggle->property("checked").toBool());
    }

    void refusedStartAtLoginTurnsTheSwitchBackAndSaysWhy()
    {
        QFile blocker(m_tmp->filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_loginItem = std::make_unique<LoginItem>(blocker.fileName() + QStringLiteral("/autostart"),
                                                  QStringLiteral("velmora"));
        openSettings();
        QQuickItem *toggle = item("startAtLoginSwitch");
        QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, centre(toggle));
        QTRY_VERIFY(shows(item("startAtLoginError")));
        QVERIFY(!toggle->property("checked").toBool());
        QVERIFY(item("startAtLoginError")->property("text").toString().contains(QStringLiteral("blocker")));
    }

    void appearanceSwitchesStoreAndTellTheShell_data()
    {
        QTest::addColumn<QString>("switchName");
        QTest::addColumn<QString>("key");
        QTest::newRow("menubar icon") << "showMenubarIconSwitch" << "settings.showMenubarIcon";
        QTest::newRow("dock icon") << "showDockIconSwitch" << "settings.showDockIcon";
    }
    void appearanceSwitchesStoreAndTellTheShell()
    {
        QFETCH(QString, switchName);
        QFETCH(QString, key);
        openSettings();
        QSignalSpy tray(m_general.get(), &GeneralSettingsModel::showMenubarIconChanged);
        QSignalSpy taskbar(m_general.get(), &GeneralSettingsModel::showDockIconChanged);
        QSignalSpy &spy = key.contains(QLatin1String("Menubar")) ? tray : taskbar;
        QSignalSpy &other = key.contains(QLatin1String("Menubar")) ? taskbar : tray;

        QQuickItem *toggle = item(switchName);
        QVERIFY(toggle->property("checked").toBool());
        QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, centre(toggle));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), false);
        QCOMPARE(m_store->data(key), std::optional<QByteArray>("false"));

        QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, centre(toggle));
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toBool(), true);
        QCOMPARE(m_store->data(key), std::optional<QByteArray>("true"));
        QCOMPARE(other.count(), 0);
    }

    void windowFollowsTheSelectedTabsSize()
    {
        openSettings();
        const int toolbar = int(item("settingsToolbar")->height());
        QCOMPARE(m_window->width(), 500);
        QCOMPARE(m_window->height(), toolbar + 300);

        QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, centre(item("settingsTab1")));
        QTRY_COMPARE(m_window->height(), toolbar + 400);
        QCOMPARE(m_tabs->currentIndex(), 1);

        QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, centre(item("settingsTab0")));
        QTRY_COMPARE(m_window->height(), toolbar + 300);

        kestrelkit::NotificationCenter::defaultCenter().post(QStringLiteral("showPreferencePermissions"));
        QTRY_COMPARE(m_window->height(), toolbar + 400);
    }

    void folderListAddsRemovesAndRefusesDuplicates()
    {
        openSettings();
        m_tabs->setCurrentIndex(SettingsTabController::Permissions);
        for (const char *name : {"Portable Apps", "Games", "Emulators"})
            QVERIFY(m_folders->addFolder(QUrl::fromLocalFile(m_tmp->filePath(QLatin1String(name)))));
        QQuickItem *list = item("folderList");
        QTRY_COMPARE(list->property("count").toInt(), 3);

        QVERIFY(!m_folders->addFolder(QUrl::fromLocalFile(m_tmp->filePath(QStringLiteral("Games")))));
        QTRY_VERIFY(shows(item("folderMessage")));
        QCOMPARE(list->property("count").toInt(), 3);
        QVERIFY(shows(item("restartNote")));

        QList<QQuickItem *> removeButtons;
        QTRY_VERIFY((removeButtons.clear(), findAll(list, QStringLiteral("removeFolderButton"), removeButtons),
                     removeButtons.size() == 3));
        std::sort(removeButtons.begin(), removeButtons.end(), [](QQuickItem *a, QQuickItem *b) {
            return a->mapToScene({}).y() < b->mapToScene({}).y();
        });
        QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, centre(removeButtons.at(1)));
        QTRY_COMPARE(list->property("count").toInt(), 2);
        QCOMPARE(m_folderManager->paths(), (QStringList{m_tmp->filePath(QStringLiteral("Portable Apps")),
                                                        m_tmp->filePath(QStringLiteral("Emulators"))}));
    }

    void aboutShowsTheVersionAndTheIconAsksForTheOnboarding()
    {
        openSettings();
        m_tabs->setCurrentIndex(SettingsTabController::About);
        QSignalSpy asked(m_about.get(), &AboutModel::onboardingRequested);
        QTRY_VERIFY(shows(item("aboutIcon")));
        QCOMPARE(item("aboutVersion")->property("text").toString(), m_about->versionText());
        QCOMPARE(item("aboutIcon")->property("status").toInt(), 1); // Image.Ready: our icon is there
        QTest::mouseDClick(m_window.get(), Qt::LeftButton, {}, centre(item("aboutIcon")));
        QTRY_COMPARE(asked.count(), 1);
    }

    void onboardingWalksTheTourAndFinishes()
    {
        openOnboarding();
        QSignalSpy posted(&kestrelkit::NotificationCenter::defaultCenter(), &kestrelkit::NotificationCenter::posted);
        using Page = OnboardingController::OnboardingPage;

        click("welcomeNextButton");
        QTRY_COMPARE(m_onboarding->currentPage(), Page::manage);
        QVERIFY(shows(item("leftButton")));
        click("leftButton");
        QTRY_COMPARE(m_onboarding->currentPage(), Page::welcome);

        click("welcomeNextButton");
        for (int i = 0; i < 4; ++i) {
            QTRY_VERIFY(shows(item("rightButton")));
            click("rightButton");
        }
        QTRY_COMPARE(m_onboarding->currentPage(), Page::startAtLogin);
        QTRY_VERIFY(shows(item("keyRow")));
        QVERIFY(!shows(item("pageIndicator")));

        click("onboardingStartAtLoginSwitch");
        QTRY_VERIFY(QFile::exists(m_loginItem->entryPath()));

        QVERIFY(posted.isEmpty());
        click("rightButton");
        QTRY_VERIFY(!m_window->isVisible());
        QTRY_COMPARE(posted.count(), 1);
        QCOMPARE(posted.at(0).at(0).toString(), QStringLiteral("showMainWindow"));
    }

    void screensShowWithoutClipping_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void screensShowWithoutClipping()
    {
        QFETCH(bool, dark);
        QGuiApplication::setPalette(dark ? darkPalette() : lightPalette());
        const QString shade = dark ? QStringLiteral("dark") : QStringLiteral("light");
        for (const char *name : {"Portable Apps", "Games"})
            m_folderManager->addFolder(QUrl::fromLocalFile(m_tmp->filePath(QLatin1String(name))));

        openSettings();
        const char *tabNames[] = {"general", "permissions", "about"};
        for (int tab = 0; tab < 3; ++tab) {
            m_tabs->setCurrentIndex(tab);
            QTest::qWait(150);
            const QStringList clipped = clippedTexts(m_window.get());
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
            save(m_window.get(), QStringLiteral("settings-%1-%2").arg(QLatin1String(tabNames[tab]), shade));
        }
        m_window.reset();

        openOnboarding();
        m_onboarding->windowBecameKey();
        QTest::qWait(1500); // let the welcome spring settle
        for (int page = 0; page < 6; ++page) {
            m_onboarding->setCurrentPage(OnboardingController::OnboardingPage(page));
            QTest::qWait(page == 0 ? 0 : 700);
            const QStringList clipped = clippedTexts(m_window.get());
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
            save(m_window.get(), QStringLiteral("onboarding-%1-%2").arg(page).arg(shade));
        }
        QGuiApplication::setPalette(lightPalette());
    }

private:
    void openSettings()
    {
        m_tabs = std::make_unique<SettingsTabController>();
        m_general = std::make_unique<GeneralSettingsModel>(*m_loginItem, m_store.get());
        m_folders = std::make_unique<FoldersSettingsModel>(*m_folderManager);
        m_about = std::make_unique<AboutModel>(*m_bundle, [](const QUrl &) { return true; });
        open(QStringLiteral("SettingsWindow.qml"),
             {{QStringLiteral("tabs"), QVariant::fromValue(m_tabs.get())},
              {QStringLiteral("general"), QVariant::fromValue(m_general.get())},
              {QStringLiteral("folders"), QVariant::fromValue(m_folders.get())},
              {QStringLiteral("about"), QVariant::fromValue(m_about.get())}});
    }

    void openOnboarding()
    {
        m_onboarding = std::make_unique<OnboardingController>(*m_loginItem);
        open(QStringLiteral("OnboardingWindow.qml"),
             {{QStringLiteral("controller"), QVariant::fromValue(m_onboarding.get())}});
    }

    void open(const QString &file, const QVariantMap &properties)
    {
        QQmlComponent component(m_engine.get(), QUrl(QStringLiteral("qrc:/qt/qml/Velmora/Settings/") + file));
        QVERIFY2(component.isReady(), qPrintable(component.errorString()));
        m_window.reset(qobject_cast<QQuickWindow *>(component.createWithInitialProperties(properties)));
        QVERIFY2(m_window, qPrintable(component.errorString()));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    QQuickItem *item(const QString &name)
    {
        QQuickItem *found = findItem(m_window->contentItem(), name);
        if (!found)
            qWarning("no item named %s", qPrintable(name));
        return found;
    }

    void click(const QString &name)
    {
        QQuickItem *target = item(name);
        QVERIFY(target);
        QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, centre(target));
        QTest::qWait(60);
    }

    static void save(QQuickWindow *window, const QString &name)
    {
        const QString folder = qEnvironmentVariable("VELMORA_SCREENSHOT_DIR");
        const QImage image = window->grabWindow();
        QVERIFY(!image.isNull());
        if (!folder.isEmpty())
            QVERIFY(image.save(QDir(folder).filePath(name + QStringLiteral(".png"))));
    }

    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<kestrelkit::DefaultsStore> m_store;
    std::unique_ptr<LoginItem> m_loginItem;
    std::unique_ptr<FolderManager> m_folderManager;
    std::unique_ptr<kestrelkit::BundleInfo> m_bundle;
    std::unique_ptr<SettingsTabController> m_tabs;
    std::unique_ptr<GeneralSettingsModel> m_general;
    std::unique_ptr<FoldersSettingsModel> m_folders;
    std::unique_ptr<AboutModel> m_about;
    std::unique_ptr<OnboardingController> m_onboarding;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<QQuickWindow> m_window;
};

QTEST_MAIN(SettingsQmlTest)

#include "SettingsQmlTest.moc"
