#include "kestrelkit/BookmarkManager.h"
#include "kestrelkit/DefaultsStore.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kestrelkit;

namespace {
quint64 inodeOf(const QString &path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return quint64(st.st_ino);
}
} // namespace

class BookmarkManagerTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<DefaultsStore> m_defaults;
    QString m_a;
    QString m_b;

private slots:
    void init()
    {
        static int n = 0;
        ++n;
        m_defaults = std::make_unique<DefaultsStore>(m_dir.filePath(QStringLiteral("d%1.json").arg(n)));
        m_a = m_dir.filePath(QStringLiteral("a%1").arg(n));
        m_b = m_dir.filePath(QStringLiteral("b%1").arg(n));
        QDir().mkpath(m_a);
        QDir().mkpath(m_b);
    }

    void addingTwiceKeepsOnePathAndTwoAccesses()
    {
        BookmarkManager manager(m_defaults.get());
        QSignalSpy changed(&manager, &BookmarkManager::pathsChanged);
        manager.addFolder(m_a);
        manager.addFolder(m_b);
        manager.addFolder(m_a);
        QCOMPARE(manager.paths(), (QStringList{m_a, m_b}));
        QCOMPARE(manager.accessedURLs(), (QStringList{m_a, m_b, m_a}));
        QVERIFY(m_defaults->data(BookmarkManager::bookmarkKey(m_a)).has_value());
        QTRY_COMPARE(changed.count(), 2); // announced on the main loop, once per change
        const auto bookmark = Bookmark::fromData(*m_defaults->data(BookmarkManager::bookmarkKey(m_a)));
        QVERIFY(bookmark);
        QCOMPARE(bookmark->inode, inodeOf(m_a));
    }

    void somethingThatIsNotAFolderIsNotAdded()
    {
        BookmarkManager manager(m_defaults.get());
        QFile file(m_dir.filePath(QStringLiteral("plain")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        manager.addFolder(file.fileName());
        manager.addFolder(m_dir.filePath(QStringLiteral("missing")));
        QVERIFY(manager.paths().isEmpty());
        QVERIFY(manager.accessedURLs().isEmpty());
    }

    void removeIgnoresIndicesOutsideTheList_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("index");
        QTest::newRow("index 0 of empty") << 0 << 0;
        QTest::newRow("negative") << 1 << -1;
        QTest::newRow("past the end") << 1 << 1;
    }
    void removeIgnoresIndicesOutsideTheList()
    {
        QFETCH(int, count);
        QFETCH(int, index);
        BookmarkManager manager(m_defaults.get());
        if (count)
            manager.addFolder(m_a);
        manager.removeFolder(index);
        QCOMPARE(manager.paths().size(), count);
        QCOMPARE(manager.accessedURLs().size(), count);
    }

    void removeForgetsPathBookmarkAndAccess()
    {
        BookmarkManager manager(m_defaults.get());
        manager.addFolder(m_a);
        manager.addFolder(m_b);
        manager.removeFolder(0);
        QCOMPARE(manager.paths(), QStringList{m_b});
        QCOMPARE(manager.accessedURLs(), QStringList{m_b});
        QVERIFY(!m_defaults->contains(BookmarkManager::bookmarkKey(m_a)));
    }

    void restoreAtTheNextStart()
    {
        {
            BookmarkManager manager(m_defaults.get());
            manager.addFolder(m_a);
            manager.addFolder(m_b);
        }
        // b is deleted; a is replaced by another folder of the same name (a new inode).
        QVERIFY(QDir(m_b).removeRecursively());
        const QString replacement = m_a + QStringLiteral(".new");
        QVERIFY(QDir().mkpath(replacement));
        const quint64 newInode = inodeOf(replacement);
        QVERIFY(QDir(m_a).removeRecursively());
        QVERIFY(QDir().rename(replacement, m_a));
        m_defaults->setData(BookmarkManager::bookmarkKey(QStringLiteral("/garbage")), "not a bookmark");
        m_defaults->setData(QStringLiteral("bookmark.paths"),
                            QJsonDocument(QJsonArray{m_a, m_b, QStringLiteral("/garbage")}).toJson());

        BookmarkManager manager(m_defaults.get());
        QCOMPARE(manager.accessedURLs(), QStringList{m_a});
        QCOMPARE(manager.paths(), (QStringList{m_a, m_b, QStringLiteral("/garbage")}));
        QVERIFY(!m_defaults->contains(BookmarkManager::bookmarkKey(m_b)));
        QVERIFY(!m_defaults->contains(BookmarkManager::bookmarkKey(QStringLiteral("/garbage"))));
        const auto refreshed = Bookmark::fromData(*m_defaults->data(BookmarkManager::bookmarkKey(m_a)));
        QVERIFY(refreshed);
        QCOMPARE(refreshed->inode, newInode); // stale data made fresh
    }

    void homeComesFromTheUserDatabase()
    {
        const QString home = BookmarkManager::homeDirectoryPath();
        QVERIFY(QDir::isAbsolutePath(home));
        // Tests run with HOME pointed elsewhere; the user database still knows the real one.
        QVERIFY(home != qEnvironmentVariable("HOME") || QDir(home).exists());
    }
};

QTEST_GUILESS_MAIN(BookmarkManagerTest)
#include "BookmarkManagerTest.moc"
