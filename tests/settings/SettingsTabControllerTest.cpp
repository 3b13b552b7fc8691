#include "TestMain.h"

#include "velmora/settings/SettingsTabController.h"

#include "kestrelkit/NotificationCenter.h"

#include <QSignalSpy>
#include <QTest>

using velmora::SettingsTabController;

class SettingsTabControllerTest : public QObject {
    Q_OBJECT
private slots:
    void tabs_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QSize>("size");
        QTest::newRow("general") << 0 << QStringLiteral("General") << QStringLiteral("gearshape") << QSize(500, 300);
        QTest::newRow("permissions") << 1 << QStringLiteral("Permissions") << QStringLiteral("lock") << QSize(500, 400);
        QTest::newRow("about") << 2 << QStringLiteral("About") << QStringLiteral("info.circle") << QSize(500, 300);
    }
    void tabs()
    {
        QFETCH(int, index);
        QFETCH(QString, title);
        QFETCH(QString, symbol);
        QFETCH(QSize, size);
        SettingsTabController tabs;
        const QModelIndex row = tabs.index(index);
        QCOMPARE(tabs.rowCount(), 3);
        QCOMPARE(tabs.data(row, SettingsTabController::TitleRole).toString(), title);
        QCOMPARE(tabs.data(row, SettingsTabController::SymbolRole).toString(), symbol);
        QCOMPARE(tabs.data(row, SettingsTabController::PreferredWidthRole).toInt(), size.width());
        QCOMPARE(tabs.data(row, SettingsTabController::PreferredHeightRole).toInt(), size.height());
        tabs.setCurrentIndex(index);
        QCOMPARE(QSize(tabs.preferredWidth(), tabs.preferredHeight()), size);
    }

    void notificationsSelectTabs()
    {
        SettingsTabController tabs;
        QSignalSpy changed(&tabs, &SettingsTabController::currentIndexChanged);
        auto &center = kestrelkit::NotificationCenter::defaultCenter();

        center.post(QStringLiteral("showPreferencePermissions"));
        QTRY_COMPARE(tabs.currentIndex(), 1);
        QCOMPARE(tabs.preferredHeight(), 400);

        center.post(QStringLiteral("showPreferenceAbout"));
        QTRY_COMPARE(tabs.currentIndex(), 2);
        QCOMPARE(tabs.preferredHeight(), 300);
        QCOMPARE(changed.count(), 2);
    }

    void outOfRangeIsIgnored()
    {
        SettingsTabController tabs;
        tabs.setCurrentIndex(3);
        tabs.setCurrentIndex(-1);
        QCOMPARE(tabs.currentIndex(), 0);
        QCOMPARE(tabs.title(7), QString());
    }

    void aDestroyedControllerHearsNothing()
    {
        { SettingsTabController gone; }
        kestrelkit::NotificationCenter::defaultCenter().post(QStringLiteral("showPreferenceAbout"));
        QTest::qWait(10); // delivery to a destroyed observer would crash here
    }
};

int runSettingsTabControllerTest(int argc, char *argv[])
{
    SettingsTabControllerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SettingsTabControllerTest.moc"
