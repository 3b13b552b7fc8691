#include "TestMain.h"

#include "velmora/discovery/FolderManager.h"
#include "velmora/settings/FoldersSettingsModel.h"

#include "kestrelkit/DefaultsStore.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using velmora::FolderManager;
using velmora::FoldersSettingsModel;

class FoldersSettingsModelTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_tmp.reset(new QTemporaryDir);
        for (const char *name : {"Tools", "Games", "Portable"})
            QDir(m_tmp->path()).mkdir(QLatin1String(name));
        m_store.reset(new kestrelkit::DefaultsStore(m_tmp->filePath(QStringLiteral("defaults.json"))));
        m_manager.reset(new FolderManager(m_store.get()));
        m_model.reset(new FoldersSettingsModel(*m_manager));
        m_tester.reset(new QAbstractItemModelTester(m_model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest));
    }

    void addingShowsRowsAndDuplicatesAreRefused()
    {
        QSignalSpy inserted(m_model.get(), &QAbstractItemModel::rowsInserted);
        QVERIFY(m_model->addFolder(url("Tools")));
        QVERIFY(m_model->addFolder(url("Games")));
        QCOMPARE(inserted.count(), 2);
        QCOMPARE(m_model->rowCount(), 2);
        QCOMPARE(m_model->data(m_model->index(1), FoldersSettingsModel::PathRole).toString(), path("Games"));
        QCOMPARE(m_model->data(m_model->index(1), FoldersSettingsModel::DisplayNameRole).toString(),
                 QStringLiteral("Games"));

        // Same folder again, also with a trailing slash: nothing changes, and the view says why.
        QVERIFY(!m_model->addFolder(url("Tools")));
        QVERIFY(!m_model->addFolder(QUrl::fromLocalFile(path("Tools") + u'/')));
        QCOMPARE(m_model->rowCount(), 2);
        QCOMPARE(inserted.count(), 2);
        QVERIFY(m_model->message().contains(path("Tools")));
        QCOMPARE(m_manager->paths(), (QStringList{path("Tools"), path("Games")}));

        QVERIFY(!m_model->addFolder(QUrl(QStringLiteral("https://example.org/apps"))));
        QCOMPARE(m_model->rowCount(), 2);
    }

    void removingTheSecondOfThreeRemovesExactlyThatRow()
    {
        for (const char *name : {"Tools", "Games", "Portable"})
            QVERIFY(m_model->addFolder(url(name)));
        QSignalSpy removed(m_model.get(), &QAbstractItemModel::rowsRemoved);
        m_model->removeFolder(1);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), 1);
        QCOMPARE(removed.at(0).at(2).toInt(), 1);
        QCOMPARE(m_model->rowCount(), 2);
        QCOMPARE(m_model->data(m_model->index(0), FoldersSettingsModel::PathRole).toString(), path("Tools"));
        QCOMPARE(m_model->data(m_model->index(1), FoldersSettingsModel::PathRole).toString(), path("Portable"));

        m_model->removeFolder(5); // out of range: nothing happens
        QCOMPARE(m_model->rowCount(), 2);
        QCOMPARE(removed.count(), 1);
    }

    void followsChangesMadeElsewhere()
    {
        QVERIFY(m_model->addFolder(url("Tools")));
        QSignalSpy reset(m_model.get(), &QAbstractItemModel::modelReset);
        m_manager->setPaths({path("Portable"), path("Games")});
        QCOMPARE(reset.count(), 1);
        QCOMPARE(m_model->rowCount(), 2);
        QCOMPARE(m_model->data(m_model->index(0), Qt::DisplayRole).toString(), path("Portable"));
    }

    void displayName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("folder") << QStringLiteral("/home/ana/Tools") << QStringLiteral("Tools");
        QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/");
        QTest::newRow("spaces") << QStringLiteral("/opt/My Apps") << QStringLiteral("My Apps");
    }
    void displayName()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(FoldersSettingsModel::displayName(path), name);
    }

private:
    QString path(const char *name) const { return m_tmp->filePath(QLatin1String(name)); }
    QUrl url(const char *name) const { return QUrl::fromLocalFile(path(name)); }

    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<kestrelkit::DefaultsStore> m_store;
    std::unique_ptr<FolderManager> m_manager;
    std::unique_ptr<FoldersSettingsModel> m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

int runFoldersSettingsModelTest(int argc, char *argv[])
{
    FoldersSettingsModelTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FoldersSettingsModelTest.moc"
