#include "velmora/discovery/FolderManager.h"

#include "kestrelkit/DefaultsStore.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using velmora::FolderManager;

class FolderManagerTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<kestrelkit::DefaultsStore> m_store;

    QString folder(const QString &name)
    {
        const QString path = m_dir.path() + '/' + name;
        QDir().mkpath(path);
        return path;
    }
    void storeRaw(const QStringList &paths)
    {
        m_store->setData(FolderManager::kPathsKey,
                         QJsonDocument(QJsonArray::fromStringList(paths)).toJson(QJsonDocument::Compact));
    }

private slots:
    void init()
    {
        QFile::remove(m_dir.path() + "/defaults.json");
        m_store = std::make_unique<kestrelkit::DefaultsStore>(m_dir.path() + "/defaults.json");
    }

    void addFolderAppendsOnceAndStoresJsonArray()
    {
        FolderManager manager(m_store.get());
        QSignalSpy changed(&manager, &FolderManager::pathsChanged);
        const QString a = folder("tools");
        manager.addFolder(QUrl::fromLocalFile(a));
        manager.addFolder(QUrl::fromLocalFile(a + '/')); // same folder, trailing slash
        manager.addFolder(QUrl::fromLocalFile(folder("games")));
        QCOMPARE(manager.paths(), (QStringList{a, m_dir.path() + "/games"}));
        QCOMPARE(changed.count(), 2);
        const auto raw = m_store->data(FolderManager::kPathsKey);
        QVERIFY(raw);
        QCOMPARE(QJsonDocument::fromJson(*raw).array().toVariantList().size(), 2);
    }

    void removeFolder_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("middle") << 1 << QStringList{"a", "c"};
        QTest::newRow("past the end") << 5 << QStringList{"a", "b", "c"};
        QTest::newRow("exactly the count") << 3 << QStringList{"a", "b", "c"};
        QTest::newRow("negative") << -1 << QStringList{"a", "b", "c"};
    }
    void removeFolder()
    {
        QFETCH(int, index);
        QFETCH(QStringList, expected);
        const QStringList all{folder("a"), folder("b"), folder("c")};
        storeRaw(all);
        FolderManager manager(m_store.get());
        manager.removeFolder(index);
        QStringList names;
        for (const QString &p : manager.paths())
            names << QFileInfo(p).fileName();
        QCOMPARE(names, expected);
    }

    void constructionPrunesVanishedFolders_data()
    {
        QTest::addColumn<QStringList>("stored"); // "+name" exists, "-name" missing
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("one missing in the middle") << QStringList{"+a", "-gone", "+b"} << QStringList{"a", "b"};
        QTest::newRow("duplicated missing path, both removed")
            << QStringList{"-gone", "+a", "-gone"} << QStringList{"a"};
        QTest::newRow("all present") << QStringList{"+b", "+a"} << QStringList{"b", "a"};
        QTest::newRow("duplicated present path stays") << QStringList{"+a", "+a"} << QStringList{"a", "a"};
    }
    void constructionPrunesVanishedFolders()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, kept);
        QStringList paths;
        for (const QString &s : stored)
            paths << (s.startsWith('+') ? folder(s.mid(1)) : m_dir.path() + "/" + s.mid(1));
        storeRaw(paths);
        FolderManager manager(m_store.get());
        QStringList names;
        for (const QString &p : manager.paths())
            names << QFileInfo(p).fileName();
        QCOMPARE(names, kept);
        // Written back, so the next reader sees the pruned list too.
        QCOMPARE(FolderManager(m_store.get()).paths(), manager.paths());
    }

    void unreadableStoredValueReadsAsEmpty()
    {
        m_store->setData(FolderManager::kPathsKey, "{\"not\": \"a list\"}");
        FolderManager manager(m_store.get());
        QCOMPARE(manager.paths(), QStringList{});
        manager.addFolder(QUrl::fromLocalFile(folder("x")));
        QCOMPARE(manager.paths().size(), 1);
    }
};

QTEST_GUILESS_MAIN(FolderManagerTest)
#include "FolderManagerTest.moc"
