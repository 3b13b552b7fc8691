#include "velmora/discovery/MetadataQuery.h"

#include "velmora/discovery/IndexScanner.h"

#include "DiscoveryFixture.h"

#include <QSignalSpy>
#include <QtTest>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

using velmora::MetadataQuery;

namespace {

QByteArray desktopEntry(const QByteArray &name)
{
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=sh\n";
}

QMap<QString, QString> idToName(const MetadataQuery &query)
{
    QMap<QString, QString> out;
    for (const auto &item : query.results())
        out.insert(item->bundleID, item->displayName);
    return out;
}

} // namespace

class MetadataQueryTest : public QObject {
    Q_OBJECT

    std::unique_ptr<DiscoveryFixture> m_fixture;
    std::unique_ptr<MetadataQuery> m_query;

    void startOn(const QStringList &scopes, int coalesce = 50)
    {
        m_query = std::make_unique<MetadataQuery>();
        m_query->setSearchScopes(scopes);
        m_query->setOptions({QStringLiteral("GNOME"), coalesce, 8});
        QSignalSpy gathered(m_query.get(), &MetadataQuery::didFinishGathering);
        QVERIFY(m_query->start());
        QVERIFY(gathered.wait(5000));
        QCOMPARE(gathered.count(), 1);
    }
    void startOnFixture()
    {
        startOn(m_fixture->environment().searchScopes({}));
    }

private slots:
    void initTestCase() { DiscoveryFixture::putStubProgramsOnPath(); }
    void init() { m_fixture = std::make_unique<DiscoveryFixture>(); }
    void cleanup()
    {
        m_query.reset();
        m_fixture.reset();
    }

    void gathersBundlesAndEntriesWithPrecedence()
    {
        startOnFixture();
        const auto found = idToName(*m_query);
        const QMap<QString, QString> expected{
            {"com.apple.Safari", "Safari"},
            {"com.apple.dt.Xcode", "Xcode"},
            {"com.apple.Chess", "chess"},
            {"org.example.plain", "Plain Tool"},
            {"org.velmora.Launcher", "Velmora Launcher"},
            {"com.apple.Terminal", "Terminal"}, // in a sub-folder of a scope
            {"com.apple.finder", "Finder"},
            {"com.apple.dock", "Dock"},
            {"com.apple.archiveutility", "Archive Utility"},
            {"org.gnome.TextEditor.desktop", "Text Editor"},
            {"gimp.desktop", "GIMP (my copy)"}, // the user's copy shadows the system's
            {"kde4-konsole.desktop", "Konsole"},      // sub-folder prefix rule
            {"org.velmora.Launcher.desktop", "Velmora Launcher"},
        };
        // Absent: Nameless.app (no identifier), firefox-esr (the user's Hidden copy shadows
        // it), NoDisplay, OnlyShowIn=KDE, NotShowIn=GNOME, missing TryExec, Type=Link.
        QCOMPARE(found, expected);
        QVERIFY(m_query->hasFinishedGathering());
    }

    void badInputNeverStopsTheScan()
    {
        const QString bad = m_fixture->path("bad");
        QDir().mkpath(bad + "/loop");
        QVERIFY(QFile::link(bad, bad + "/loop/back"));          // symlink loop
        QVERIFY(QFile::link(bad + "/loop", bad + "/loop2"));    // second way into the same folder
        m_fixture->write("bad/garbage.desktop", QByteArray("\x00\x01\xff[Desktop", 10));
        m_fixture->write("bad/Garbage.app/Contents/Info.plist", "bplist00\xff\xff\xff\xff");
        m_fixture->write("bad/big.desktop", desktopEntry("Big") + "Comment=" + QByteArray(1100000, 'x') + "\n");
        m_fixture->write("bad/latin1.desktop", "[Desktop Entry]\nType=Application\nName=Caf\xe9\nExec=sh\n");
        QVERIFY(::mkfifo(QFile::encodeName(bad + "/fifo.desktop").constData(), 0600) == 0);
        QDir().mkpath(bad + "/Fifo.app/Contents");
        QVERIFY(::mkfifo(QFile::encodeName(bad + "/Fifo.app/Contents/Info.plist").constData(), 0600) == 0);
        QVERIFY(QFile::link(bad + "/nowhere", bad + "/dangling.desktop"));
        QString deep = bad;
        for (int i = 0; i < 12; ++i)
            deep += "/d";
        m_fixture->write(deep.mid(m_fixture->root().size() + 1) + "/deep.desktop", desktopEntry("Too Deep"));
        m_fixture->write("bad/a/b/ok.desktop", desktopEntry("Still Found"));
        m_fixture->write("a-file-scope", "not a folder");

        startOn({m_fixture->path("a-file-scope"), bad, m_fixture->path("missing-scope")});
        const auto found = idToName(*m_query);
        QCOMPARE(found.value("a-b-ok.desktop"), QStringLiteral("Still Found"));
        QVERIFY(found.value("latin1.desktop").startsWith("Caf"));
        QVERIFY(!found.contains("big.desktop"));
        QVERIFY(!found.contains("garbage.desktop"));
        QVERIFY(!found.contains("fifo.desktop"));
        QVERIFY(std::none_of(found.cbegin(), found.cend(), [](const QString &n) { return n == "Too Deep"; }));
        QCOMPARE(found.size(), 2);
    }

    void unreadableFolderIsSkipped()
    {
        m_fixture->write("locked/x.desktop", desktopEntry("Locked"));
        m_fixture->write("open/y.desktop", desktopEntry("Open"));
        m_fixture->write("open/z.desktop", desktopEntry("Unreadable file"));
        const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                         | QFileDevice::ReadOther | QFileDevice::ExeOther;
        for (const QString &dir : {m_fixture->root(), m_fixture->path("open")})
            QFile::setPermissions(dir, all);
        QFile::setPermissions(m_fixture->path("locked"), QFileDevice::Permissions{});
        QFile::setPermissions(m_fixture->path("open/z.desktop"), QFileDevice::WriteOwner);
        // Root reads everything; scan with an ordinary user's file-system rights instead
        // (this thread only, restored below).
        const bool asRoot = ::geteuid() == 0;
        if (asRoot) {
            ::setfsgid(65534);
            ::setfsuid(65534);
        }
        const auto result = velmora::IndexScanner::scan({m_fixture->path("locked"), m_fixture->path("open")},
                                                        {QStringLiteral("GNOME"), 8}, {});
        if (asRoot) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
        QFile::setPermissions(m_fixture->path("locked"), all);
        QCOMPARE(result.items.size(), 1);
        QCOMPARE(result.items.front()->bundleID, QStringLiteral("y.desktop"));
    }

    void liveUpdates_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("added") << "added";
        QTest::newRow("rewritten in place") << "rewritten";
        QTest::newRow("removed") << "removed";
        QTest::newRow("bundle plist changed") << "bundle";
        QTest::newRow("missing scope appears") << "scope";
    }
    void liveUpdates()
    {
        QFETCH(QString, change);
        startOnFixture();
        const auto before = idToName(*m_query);
        QSignalSpy updated(m_query.get(), &MetadataQuery::didUpdate);
        auto expected = before;
        if (change == "added") {
            m_fixture->write("usr/share/applications/new.desktop", desktopEntry("Newcomer"));
            expected.insert("new.desktop", "Newcomer");
        } else if (change == "rewritten") {
            QFile f(m_fixture->path("usr/share/applications/org.gnome.TextEditor.desktop"));
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate)); // same inode
            f.write(desktopEntry("Renamed Editor"));
            f.close();
            expected.insert("org.gnome.TextEditor.desktop", "Renamed Editor");
        } else if (change == "removed") {
            QVERIFY(QFile::remove(m_fixture->path("usr/share/applications/kde4/konsole.desktop")));
            expected.remove("kde4-konsole.desktop");
        } else if (change == "bundle") {
            QFile f(m_fixture->path("Applications/Safari.app/Contents/Info.plist"));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QByteArray plist = f.readAll();
            f.close();
            plist.replace("<string>Safari</string>", "<string>Safari Next</string>");
            m_fixture->write("Applications/Safari.app/Contents/Info.plist", plist);
            expected.insert("com.apple.Safari", "Safari Next");
        } else {
            m_fixture->write("System/Applications/sub/Calc.app/Contents/Info.plist",
                             "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
                             "<string>com.apple.calculator</string><key>CFBundleName</key><string>Calculator"
                             "</string></dict></plist>");
            expected.insert("com.apple.calculator", "Calculator");
        }
        QTRY_COMPARE_WITH_TIMEOUT(idToName(*m_query), expected, 5000);
        QVERIFY(updated.count() >= 1);
        if (change != "scope" && change != "removed")
            QCOMPARE(m_query->lastScanParsedCount(), 1); // the cache served every other file
    }

    void burstOfChangesIsCoalesced()
    {
        startOn(m_fixture->environment().searchScopes({}), 300);
        QSignalSpy updated(m_query.get(), &MetadataQuery::didUpdate);
        for (int i = 0; i < 30; ++i)
            m_fixture->write(QStringLiteral("usr/share/applications/burst%1.desktop").arg(i),
                             desktopEntry("Burst " + QByteArray::number(i)));
        QTRY_COMPARE_WITH_TIMEOUT(idToName(*m_query).count(), 13 + 30, 5000);
        QTest::qWait(500);
        QCOMPARE(updated.count(), 1);
    }

    void unrelatedChangeSendsNoUpdate()
    {
        startOnFixture();
        QSignalSpy updated(m_query.get(), &MetadataQuery::didUpdate);
        m_fixture->write("usr/share/applications/README", "not an entry");
        QTest::qWait(400);
        QCOMPARE(updated.count(), 0);
    }

    void unchangedFilesKeepTheirItemObject()
    {
        startOnFixture();
        const auto before = m_query->results();
        m_fixture->write("usr/share/applications/another.desktop", desktopEntry("Another"));
        QTRY_COMPARE_WITH_TIMEOUT(m_query->resultCount(), before.size() + 1, 5000);
        for (const auto &item : before)
            QVERIFY(m_query->results().contains(item));
    }
};

QTEST_GUILESS_MAIN(MetadataQueryTest)
#include "MetadataQueryTest.moc"
