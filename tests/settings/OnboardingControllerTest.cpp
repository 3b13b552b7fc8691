#include "TestMain.h"

#include "velmora/settings/OnboardingController.h"

#include "kestrelkit/NotificationCenter.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using velmora::LoginItem;
using velmora::OnboardingController;
using Page = OnboardingController::OnboardingPage;

class OnboardingControllerTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_tmp.reset(new QTemporaryDir); }

    void navigation_data()
    {
        QTest::addColumn<Page>("page");
        QTest::addColumn<QString>("leftSymbol");
        QTest::addColumn<Page>("left");
        QTest::addColumn<QString>("rightSymbol");
        QTest::addColumn<Page>("right");
        const QString back = QStringLiteral("arrow.left");
        const QString next = QStringLiteral("arrow.right");
        QTest::newRow("welcome") << Page::welcome << QString() << Page::welcome << next << Page::manage;
        QTest::newRow("manage") << Page::manage << back << Page::welcome << next << Page::rename;
        QTest::newRow("rename") << Page::rename << back << Page::manage << next << Page::commandAction;
        QTest::newRow("commandAction") << Page::commandAction << back << Page::rename << next << Page::optionAction;
        QTest::newRow("optionAction") << Page::optionAction << back << Page::commandAction << next
                                      << Page::startAtLogin;
        QTest::newRow("startAtLogin") << Page::startAtLogin << back << Page::optionAction
                                      << QStringLiteral("checkmark") << Page::startAtLogin;
    }
    void navigation()
    {
        QFETCH(Page, page);
        QFETCH(QString, leftSymbol);
        QFETCH(Page, left);
        QFETCH(QString, rightSymbol);
        QFETCH(Page, right);
        OnboardingController tour(loginItem());
        tour.setCurrentPage(page);
        QCOMPARE(tour.leftSymbol(), leftSymbol);
        QCOMPARE(tour.rightSymbol(), rightSymbol);
        tour.previousPage();
        QCOMPARE(tour.currentPage(), left);
        tour.setCurrentPage(page);
        tour.nextPage();
        QCOMPARE(tour.currentPage(), right);
    }

    void pages_data()
    {
        QTest::addColumn<Page>("page");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("indicator");
        QTest::newRow("manage") << Page::manage << "Onboarding1Category" << "menucard" << "Right click to"
                                << QStringList{"Add apps to categories.", "Pin or hide apps."} << "1/4";
        QTest::newRow("rename") << Page::rename << "Onboarding2Section" << "pencil.line" << "Click the pencil icon to"
                                << QStringList{"Edit section title.", "Change section icon."} << "2/4";
        QTest::newRow("commandAction") << Page::commandAction << "Onboarding3Command" << "command"
                                       << "Command + number to" << QStringList{"Quickly open top apps."} << "3/4";
        QTest::newRow("optionAction") << Page::optionAction << "Onboarding4Option" << "option"
                                      << "Option + number to" << QStringList{"Quickly select app categories."}
                                      << "4/4";
        QTest::newRow("startAtLogin") << Page::startAtLogin << "Onboarding5Final" << "fireworks"
                                      << "Launch Velmora by" << QStringList{} << "";
    }
    void pages()
    {
        QFETCH(Page, page);
        QFETCH(QString, picture);
        QFETCH(QString, symbol);
        QFETCH(QString, title);
        QFETCH(QStringList, lines);
        QFETCH(QString, indicator);
        // With a Mac's key names the texts are word for word the original ones.
        OnboardingController tour(loginItem(), {QStringLiteral("Command"), QStringLiteral("Option"),
                                                QStringLiteral("space")});
        tour.setCurrentPage(page);
        QCOMPARE(tour.picture(), picture);
        QCOMPARE(tour.symbol(), symbol);
        QCOMPARE(tour.title(), title);
        QCOMPARE(tour.lines(), lines);
        QCOMPARE(tour.indicator(), indicator);
    }

    void thisPlatformNamesItsOwnKeys()
    {
        OnboardingController tour(loginItem());
        QCOMPARE(tour.keyCaps(), (QStringList{QStringLiteral("Alt"), QStringLiteral("Space")}));
        tour.setCurrentPage(Page::commandAction);
        QCOMPARE(tour.title(), QStringLiteral("Ctrl + number to"));
        tour.setCurrentPage(Page::optionAction);
        QCOMPARE(tour.title(), QStringLiteral("Alt + number to"));
        QCOMPARE(tour.welcomeTitle(), QStringLiteral("Welcome to Velmora Launcher !"));
        QCOMPARE(tour.welcomeSubtitle(), QStringLiteral("A better replacement for Launchpad."));
    }

    void fivePressesReachTheEndAndFinishShowsTheLauncher()
    {
        OnboardingController tour(loginItem());
        QSignalSpy posted(&kestrelkit::NotificationCenter::defaultCenter(), &kestrelkit::NotificationCenter::posted);
        QStringList order;
        connect(&tour, &OnboardingController::dismissRequested, this, [&] { order << QStringLiteral("dismiss"); });
        connect(&kestrelkit::NotificationCenter::defaultCenter(), &kestrelkit::NotificationCenter::posted, this,
                [&](const QString &name) { order << name; });

        for (int i = 0; i < 5; ++i)
            tour.nextPage();
        QCOMPARE(tour.currentPage(), Page::startAtLogin);
        QCOMPARE(tour.rightSymbol(), QStringLiteral("checkmark"));
        QVERIFY(order.isEmpty());

        tour.nextPage();
        QTRY_COMPARE(order, (QStringList{QStringLiteral("dismiss"), QStringLiteral("showMainWindow")}));
    }

    void closingTheWindowPostsNothingAndReopeningStartsAnew()
    {
        OnboardingController tour(loginItem());
        QSignalSpy posted(&kestrelkit::NotificationCenter::defaultCenter(), &kestrelkit::NotificationCenter::posted);
        QSignalSpy animation(&tour, &OnboardingController::velmoraAnimationChanged);
        tour.windowBecameKey();
        QVERIFY(tour.velmoraAnimation());
        tour.nextPage();
        tour.nextPage();
        tour.windowWillClose();
        QVERIFY(!tour.velmoraAnimation());
        QTest::qWait(10);
        QCOMPARE(posted.count(), 0);

        tour.restart();
        QCOMPARE(tour.currentPage(), Page::welcome);
        tour.windowBecameKey(); // the welcome animation runs again
        QVERIFY(tour.velmoraAnimation());
        QCOMPARE(animation.count(), 3);
    }

    void lastPageSwitchRegistersTheLoginItem()
    {
        const LoginItem item = loginItem();
        OnboardingController tour(item);
        QVERIFY(!tour.isStartAtLoginEnable());
        tour.setStartAtLoginEnable(true);
        QVERIFY(QFile::exists(item.entryPath()));
        tour.setStartAtLoginEnable(false);
        QVERIFY(!QFile::exists(item.entryPath()));

        // Enabled elsewhere (the General tab) while the window was away: read again on restart.
        QVERIFY(item.enable().succeeded());
        QSignalSpy changed(&tour, &OnboardingController::isStartAtLoginEnableChanged);
        tour.restart();
        QVERIFY(tour.isStartAtLoginEnable());
        QCOMPARE(changed.count(), 1);
    }

private:
    LoginItem loginItem() const
    {
        return LoginItem(m_tmp->filePath(QStringLiteral("autostart")), QStringLiteral("velmora"));
    }
    std::unique_ptr<QTemporaryDir> m_tmp;
};

int runOnboardingControllerTest(int argc, char *argv[])
{
    OnboardingControllerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "OnboardingControllerTest.moc"
