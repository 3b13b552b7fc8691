#include "TestMain.h"

#include "velmora/settings/GeneralSettingsModel.h"

#include "kestrelkit/DefaultsStore.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using velmora::GeneralSettingsModel;
using velmora::LoginItem;

class GeneralSettingsModelTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_tmp.reset(new QTemporaryDir);
        m_store.reset(new kestrelkit::DefaultsStore(m_tmp->filePath(QStringLiteral("defaults.json"))));
    }

    void startAtLoginReflectsTheEntryAtCreation()
    {
        const LoginItem item(m_tmp->filePath(QStringLiteral("autostart")), QStringLiteral("velmora"));
        QVERIFY(!GeneralSettingsModel(item, m_store.get()).isStartAtLoginEnable());
        QVERIFY(item.enable().succeeded());
        QVERIFY(GeneralSettingsModel(item, m_store.get()).isStartAtLoginEnable());
    }

    void startAtLoginWritesAndRemovesTheEntry()
    {
        const LoginItem item(m_tmp->filePath(QStringLiteral("autostart")), QStringLiteral("velmora"));
        GeneralSettingsModel model(item, m_store.get());
        QSignalSpy changed(&model, &GeneralSettingsModel::isStartAtLoginEnableChanged);

        model.setStartAtLoginEnable(true);
        QVERIFY(model.isStartAtLoginEnable());
        QVERIFY(QFile::exists(item.entryPath()));
        QCOMPARE(model.startAtLoginError(), QString());

        model.setStartAtLoginEnable(false);
        QVERIFY(!model.isStartAtLoginEnable());
        QVERIFY(!QFile::exists(item.entryPath()));
        QCOMPARE(changed.count(), 2);

        model.setStartAtLoginEnable(false); // no change, no signal
        QCOMPARE(changed.count(), 2);
    }

    void refusedRegistrationTurnsTheSwitchBack()
    {
        QFile blocker(m_tmp->filePath(QStringLiteral("notAFolder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const LoginItem item(blocker.fileName() + QStringLiteral("/autostart"), QStringLiteral("velmora"));
        GeneralSettingsModel model(item, m_store.get());
        QSignalSpy changed(&model, &GeneralSettingsModel::isStartAtLoginEnableChanged);

        model.setStartAtLoginEnable(true);
        QVERIFY(!model.isStartAtLoginEnable());
        // The view hears of it, so that a switch the user flipped flips back.
        QCOMPARE(changed.count(), 1);
        QVERIFY(model.startAtLoginError().contains(QStringLiteral("notAFolder")));
    }

    void refusedRemovalKeepsTheSwitchOn()
    {
        if (geteuid() == 0)
            QSKIP("root removes files from read-only folders");
        const QString folder = m_tmp->filePath(QStringLiteral("autostart"));
        const LoginItem item(folder, QStringLiteral("velmora"));
        QVERIFY(item.enable().succeeded());
        GeneralSettingsModel model(item, m_store.get());
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        model.setStartAtLoginEnable(false);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        // The entry is still there, so we still start at login: the switch says so.
        QVERIFY(QFile::exists(item.entryPath()));
        QVERIFY(model.isStartAtLoginEnable());
        QVERIFY(!model.startAtLoginError().isEmpty());
    }

    void appearanceSwitches_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("menubar icon") << QString::fromLatin1(GeneralSettingsModel::kShowMenubarIconKey);
        QTest::newRow("dock icon") << QString::fromLatin1(GeneralSettingsModel::kShowDockIconKey);
    }
    void appearanceSwitches()
    {
        QFETCH(QString, key);
        const bool menubar = key == QLatin1String(GeneralSettingsModel::kShowMenubarIconKey);
        GeneralSettingsModel model(LoginItem(m_tmp->path(), QStringLiteral("velmora")), m_store.get());
        const auto get = [&] { return menubar ? model.showMenubarIcon() : model.showDockIcon(); };
        const auto set = [&](bool v) { menubar ? model.setShowMenubarIcon(v) : model.setShowDockIcon(v); };
        QSignalSpy spy(&model, menubar ? &GeneralSettingsModel::showMenubarIconChanged
                                       : &GeneralSettingsModel::showDockIconChanged);

        // Empty defaults read as shown, and reading writes nothing.
        QVERIFY(get());
        QVERIFY(!m_store->contains(key));

        set(false);
        QVERIFY(!get());
        QCOMPARE(m_store->data(key), std::optional<QByteArray>("false"));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), false);

        set(false); // unchanged: the shell is not told again
        QCOMPARE(spy.count(), 1);

        set(true);
        QCOMPARE(m_store->data(key), std::optional<QByteArray>("true"));
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toBool(), true);

        // Another tool's plain value is not ours: it reads as the default.
        QVERIFY(m_store->setPlainValue(key, QJsonValue(false)));
        QVERIFY(get());
    }

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<kestrelkit::DefaultsStore> m_store;
};

int runGeneralSettingsModelTest(int argc, char *argv[])
{
    GeneralSettingsModelTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "GeneralSettingsModelTest.moc"
