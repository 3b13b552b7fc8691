#include "velmora/app/AppDelegate.h"

#include "velmora/app/PublicSettings.h"
#include "velmora/app/TrayIcon.h"
#include "velmora/app/VelmoraWindow.h"
#include "velmora/platform/HotKey.h"

#include "kestrelkit/DefaultsStore.h"
#include "kestrelkit/NotificationCenter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using velmora::AppDelegate;
using velmora::HotKey;
using velmora::PublicSettings;

// A hot key driven by the test.
class FakeHotKey : public HotKey {
public:
    bool accept = true;
    QString name;
    QKeyCombination combination;

    bool registerShortcut(const QString &n, QKeyCombination c) override
    {
        if (!accept) {
            setLastError(QStringLiteral("Alt+Space is already taken by another program"));
            return false;
        }
        name = n;
        combination = c;
        return true;
    }
    void unregisterShortcut(const QString &) override {}
    QString backendName() const override { return QStringLiteral("fake"); }
    void pressAndRelease()
    {
        emit pressed(name);
        emit activated(name);
    }
};

class AppDelegateTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<kestrelkit::DefaultsStore> m_store;
    std::unique_ptr<PublicSettings> m_settings;
    std::unique_ptr<AppDelegate> m_delegate;
    FakeHotKey *m_hotKey = nullptr;
    QStringList m_steps;
    bool m_hotKeyAccepts = true;
    bool m_noHotKey = false;
    QList<bool> m_updateChecks;

    AppDelegate::Hooks hooks()
    {
        AppDelegate::Hooks h;
        h.startAnalytics = [this] { m_steps << "analytics"; };
        h.createLogManager = [this] { m_steps << "log manager"; };
        h.checkForUpdates = [this](bool user) { m_updateChecks << user; };
        h.startDiscovery = [this] { m_steps << "discovery"; };
        h.buildOnboardingContent = [this](QQuickWindow &) { m_steps << "onboarding window"; };
        h.buildLauncherContent = [this](velmora::VelmoraWindow &) { m_steps << "launcher window"; };
        h.buildSettingsContent = [this](QQuickWindow &) { m_steps << "settings window"; };
        h.createHotKey = [this]() -> std::unique_ptr<HotKey> {
            m_steps << "hot key";
            if (m_noHotKey)
                return nullptr;
            auto key = std::make_unique<FakeHotKey>();
            key->accept = m_hotKeyAccepts;
            m_hotKey = key.get();
            return key;
        };
        return h;
    }

    AppDelegate &start(bool loginItem = false, int delayMs = 300)
    {
        m_delegate = std::make_unique<AppDelegate>(*m_settings, hooks(),
                                                   AppDelegate::Options{loginItem, delayMs});
        m_delegate->applicationDidFinishLaunching();
        return *m_delegate;
    }

    static void post(const char *name) { kestrelkit::NotificationCenter::defaultCenter().post(QString::fromLatin1(name)); }
    static QRect screen() { return QGuiApplication::primaryScreen()->geometry(); }

private slots:
    void init()
    {
        const QString path = m_dir.filePath(QStringLiteral("defaults.json"));
        QFile::remove(path);
        m_store = std::make_unique<kestrelkit::DefaultsStore>(path);
        m_settings = std::make_unique<PublicSettings>(m_store.get());
        m_steps.clear();
        m_updateChecks.clear();
        m_hotKeyAccepts = true;
        m_noHotKey = false;
        m_hotKey = nullptr;
    }
    void cleanup() { m_delegate.reset(); }

    void startUpRunsInOrder()
    {
        start();
        QCOMPARE(m_steps, (QStringList{"analytics", "log manager", "discovery", "onboarding window",
                                       "launcher window", "hot key", "settings window"}));
        QCOMPARE(m_hotKey->name, QStringLiteral("toggleLauncher"));
        QCOMPARE(m_hotKey->combination, QKeyCombination(Qt::AltModifier, Qt::Key_Space));
        QCOMPARE(m_delegate->settingsWindow()->title(), QStringLiteral("Settings"));
        QCOMPARE(m_delegate->settingsWindow()->size(), QSize(400, 300));
        QVERIFY(!m_delegate->settingsWindow()->isVisible());
        QCOMPARE(m_delegate->onboardingWindow()->size(), QSize(1000, 500));
    }

    void firstLaunchShowsOnboardingOnly()
    {
        start();
        QVERIFY(m_delegate->onboardingWindow()->isVisible());
        QTest::qWait(450);
        QVERIFY(!m_delegate->window()->isVisible());
        QVERIFY(m_delegate->onboardingWindow()->isVisible());
    }

    void loginItemShowsNothing()
    {
        m_settings->setIsOnboardingFinished(true);
        start(true);
        QTest::qWait(450);
        QVERIFY(!m_delegate->window()->isVisible());
        QVERIFY(!m_delegate->onboardingWindow()->isVisible());
    }

    void normalLaunchShowsLauncherAfterDelay()
    {
        m_settings->setIsOnboardingFinished(true);
        QElapsedTimer clock;
        clock.start();
        start();
        QVERIFY(!m_delegate->window()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(m_delegate->window()->isVisible(), 2000);
        QVERIFY2(clock.elapsed() >= 290, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(QRectF(m_delegate->window()->geometry()).center(), QRectF(screen()).center());
        QVERIFY(!m_delegate->onboardingWindow()->isVisible());
    }

    void hotKeyFinishesOnboardingThenToggles()
    {
        start();
        m_hotKey->pressAndRelease();
        QVERIFY(!m_delegate->onboardingWindow()->isVisible());
        QVERIFY(m_delegate->window()->isVisible());
        QVERIFY(m_settings->isOnboardingFinished());
        QVERIFY(QTest::qWaitForWindowActive(m_delegate->window()));
        m_hotKey->pressAndRelease();
        QVERIFY(!m_delegate->window()->isVisible());
        m_hotKey->pressAndRelease();
        QVERIFY(m_delegate->window()->isVisible());
    }

    // Shown but not (yet) active, as when the desktop refuses it the focus: the toggle
    // still hides it rather than showing it again.
    void toggleHidesShownLauncherWithoutFocus()
    {
        m_settings->setIsOnboardingFinished(true);
        start(true);
        QWindow other;
        other.resize(50, 50);
        other.show();
        other.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        m_delegate->window()->show(); // no activation
        QVERIFY(!m_delegate->window()->isActive());
        m_delegate->handleInstanceMessage(QStringLiteral("toggle"));
        QVERIFY(!m_delegate->window()->isVisible());
    }

    // The key grab can take the focus away while the keys are held; what counts is
    // whether the launcher was in front when they went down.
    void hotKeyHidesWhenLauncherWasKeyAtPress()
    {
        m_settings->setIsOnboardingFinished(true);
        start(false, 0);
        QVERIFY(QTest::qWaitForWindowActive(m_delegate->window()));
        emit m_hotKey->pressed(QStringLiteral("toggleLauncher"));
        m_delegate->window()->hide(); // focus lost during the hold
        emit m_hotKey->activated(QStringLiteral("toggleLauncher"));
        QVERIFY(!m_delegate->window()->isVisible());
    }

    void withoutHotKeyTheToggleMessageStillWorks_data()
    {
        QTest::addColumn<bool>("backendMissing");
        QTest::newRow("no backend") << true;
        QTest::newRow("shortcut taken") << false;
    }
    void withoutHotKeyTheToggleMessageStillWorks()
    {
        QFETCH(bool, backendMissing);
        m_noHotKey = backendMissing;
        m_hotKeyAccepts = false;
        m_settings->setIsOnboardingFinished(true);
        start(true);
        QVERIFY(m_delegate->hotKeyStatus().contains(QStringLiteral("velmora --toggle")));
        m_delegate->handleInstanceMessage(QStringLiteral("toggle"));
        QVERIFY(m_delegate->window()->isVisible());
    }

    void instanceMessages()
    {
        m_settings->setIsOnboardingFinished(true);
        start(true);
        m_delegate->handleInstanceMessage(QStringLiteral("show"));
        QVERIFY(m_delegate->window()->isVisible());
        m_delegate->handleInstanceMessage(QStringLiteral("hide"));
        QVERIFY(!m_delegate->window()->isVisible());
        m_delegate->handleInstanceMessage(QStringLiteral("reopen"));
        QVERIFY(m_delegate->window()->isVisible());
        m_delegate->handleInstanceMessage(QStringLiteral("bogus"));
        QVERIFY(m_delegate->window()->isVisible());
    }

    void reopenBeforeOnboardingShowsOnboarding()
    {
        start();
        m_delegate->onboardingWindow()->hide();
        QVERIFY(m_delegate->applicationShouldHandleReopen());
        QVERIFY(m_delegate->onboardingWindow()->isVisible());
        QVERIFY(!m_delegate->window()->isVisible());
    }

    void showMainWindowFinishesOnboarding()
    {
        start();
        m_delegate->finishOnboarding();
        QVERIFY(!m_delegate->onboardingWindow()->isVisible());
        QVERIFY(m_delegate->window()->isVisible());
        QVERIFY(m_settings->isOnboardingFinished());
    }

    void showSettingsWindow()
    {
        start(true);
        post("showSettingsWindow");
        QVERIFY(m_delegate->settingsWindow()->isVisible());
    }

    void checkUpdateAsksOnTheNextTurn()
    {
        start(true);
        post("checkUpdate");
        QCOMPARE(m_updateChecks.size(), 0);
        QTRY_COMPARE(m_updateChecks, QList<bool>{true});
    }

    void updateFullScreenAppliesTheSettingsFrame()
    {
        m_settings->setIsOnboardingFinished(true);
        start(true);
        m_settings->setFullscreen(true);
        post("updateFullScreen");
        QTRY_COMPARE(m_delegate->window()->geometry(), QRect(QPoint(-2, -2), screen().size() + QSize(4, 4)));
        m_settings->setFullscreen(false);
        post("updateFullScreen");
        QTRY_COMPARE(m_delegate->window()->geometry().size(), QSize(640, 580));
    }

    void fullScreenSettingAppliesAtStart()
    {
        m_settings->setFullscreen(true);
        start(true);
        QCOMPARE(m_delegate->window()->geometry(), QRect(QPoint(-2, -2), screen().size() + QSize(4, 4)));
        QVERIFY(!m_delegate->window()->isResizable());
    }

    void windowSizeIsStoredAndRestored_data()
    {
        QTest::addColumn<double>("storedWidth");
        QTest::addColumn<double>("storedHeight");
        QTest::addColumn<QSize>("created");
        QTest::newRow("defaults") << 640.0 << 580.0 << QSize(640, 580);
        QTest::newRow("stored larger size") << 700.0 << 590.0 << QSize(700, 590);
        QTest::newRow("stored too small") << 10.0 << -5.0 << QSize(640, 580);
    }
    void windowSizeIsStoredAndRestored()
    {
        QFETCH(double, storedWidth);
        QFETCH(double, storedHeight);
        QFETCH(QSize, created);
        m_settings->setWindowWidth(storedWidth);
        m_settings->setWindowHeight(storedHeight);
        start(true);
        QCOMPARE(m_delegate->window()->size(), created);
        m_delegate->window()->setFrame(QRect(0, 0, 720, 600));
        QTRY_COMPARE(m_settings->windowWidth(), 720.0);
        QCOMPARE(m_settings->windowHeight(), 600.0);
    }

    void trayFollowsShowMenubarIcon()
    {
        m_settings->setShowMenubarIcon(false);
        start(true);
        QVERIFY(m_delegate->statusBarItem());
        QVERIFY(!m_delegate->statusBarItem()->isVisible());
        m_settings->setShowMenubarIcon(true);
        QTRY_VERIFY(m_delegate->statusBarItem()->isVisible());
    }

    void dockIconChoosesTaskbarListing()
    {
        m_settings->setShowDockIcon(false);
        start(true);
        QCOMPARE(m_delegate->window()->flags() & Qt::WindowType_Mask, Qt::Tool);
        m_settings->setShowDockIcon(true);
        QTRY_COMPARE(m_delegate->window()->flags() & Qt::WindowType_Mask, Qt::Window);
    }

    void storedShortcutIsUsed()
    {
        kestrelkit::DefaultsStore::standard().setData(QStringLiteral("shortcut.toggleLauncher"),
                                                      "\"Ctrl+Alt+K\"");
        start(true);
        QCOMPARE(m_hotKey->combination, QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_K));
        kestrelkit::DefaultsStore::standard().setData(QStringLiteral("shortcut.toggleLauncher"),
                                                      "\"not a key at all\"");
        m_delegate.reset();
        start(true);
        QCOMPARE(m_hotKey->combination, QKeyCombination(Qt::AltModifier, Qt::Key_Space));
        kestrelkit::DefaultsStore::standard().remove(QStringLiteral("shortcut.toggleLauncher"));
    }
};

QTEST_MAIN(AppDelegateTest)
#include "AppDelegateTest.moc"
