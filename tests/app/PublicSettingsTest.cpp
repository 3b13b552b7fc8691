#include "velmora/app/PublicSettings.h"

#include "kestrelkit/DefaultsStore.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using velmora::PublicSettings;

class PublicSettingsTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<kestrelkit::DefaultsStore> m_store;

    QString path() const { return m_dir.filePath(QStringLiteral("defaults.json")); }

private slots:
    void init()
    {
        QFile::remove(path());
        m_store = std::make_unique<kestrelkit::DefaultsStore>(path());
    }

    void emptyDefaultsReadDefaultsAndWriteNothing()
    {
        PublicSettings settings(m_store.get());
        QCOMPARE(settings.showDockIcon(), true);
        QCOMPARE(settings.showMenubarIcon(), true);
        QCOMPARE(settings.fullscreen(), false);
        QCOMPARE(settings.windowWidth(), 640.0);
        QCOMPARE(settings.windowHeight(), 580.0);
        QCOMPARE(settings.isOnboardingFinished(), false);
        QVERIFY(m_store->keys().isEmpty());
        QVERIFY(!QFileInfo::exists(path()));
    }

    // Values another tool wrote as plain JSON (not as data) are not ours to read.
    void foreignPlainValuesReadAsDefault_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("plain");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("plain true for fullscreen") << "settings.fullscreen" << QJsonValue(true) << QVariant(false);
        QTest::newRow("plain false for dock icon") << "settings.showDockIcon" << QJsonValue(false) << QVariant(true);
        QTest::newRow("plain true for onboarding") << "oobe.isOnboardingFinished" << QJsonValue(true) << QVariant(false);
        QTest::newRow("plain number for width") << "window.width" << QJsonValue(900) << QVariant(640.0);
    }
    void foreignPlainValuesReadAsDefault()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, plain);
        QFETCH(QVariant, expected);
        QVERIFY(m_store->setPlainValue(key, plain));
        PublicSettings settings(m_store.get());
        const QByteArray property = key == QLatin1String("settings.fullscreen") ? "fullscreen"
                                    : key == QLatin1String("settings.showDockIcon") ? "showDockIcon"
                                    : key == QLatin1String("window.width") ? "windowWidth"
                                                                             : "isOnboardingFinished";
        QCOMPARE(settings.property(property.constData()), expected);
    }

    void dataOfTheWrongTypeReadsAsDefault()
    {
        m_store->setData(QStringLiteral("settings.showMenubarIcon"), "640");
        m_store->setData(QStringLiteral("window.height"), "true");
        PublicSettings settings(m_store.get());
        QCOMPARE(settings.showMenubarIcon(), true);
        QCOMPARE(settings.windowHeight(), 580.0);
    }

    void writesStoreJsonDataAtOnceAndAnnounceQueued()
    {
        PublicSettings settings(m_store.get());
        QSignalSpy changed(&settings, &PublicSettings::fullscreenChanged);
        settings.setFullscreen(true);
        settings.setWindowWidth(1284.5);
        QCOMPARE(m_store->data(QStringLiteral("settings.fullscreen")), QByteArray("true"));
        QCOMPARE(m_store->data(QStringLiteral("window.width")), QByteArray("1284.5"));
        QCOMPARE(changed.count(), 0);
        QTRY_COMPARE(changed.count(), 1);
        // Read anew on every use: another process's store sees it too.
        kestrelkit::DefaultsStore other(path());
        PublicSettings elsewhere(&other);
        QCOMPARE(elsewhere.fullscreen(), true);
        QCOMPARE(elsewhere.windowWidth(), 1284.5);
    }

    void sharedIsOneInstance()
    {
        QCOMPARE(&PublicSettings::shared(), &PublicSettings::shared());
    }
};

QTEST_GUILESS_MAIN(PublicSettingsTest)
#include "PublicSettingsTest.moc"
