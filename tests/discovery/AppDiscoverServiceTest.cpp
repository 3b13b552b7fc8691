#include "velmora/discovery/AppDiscoverService.h"

#include "velmora/discovery/FolderManager.h"
#include "velmora/discovery/MetadataQuery.h"

#include "kestrelkit/DefaultsStore.h"
#include "kestrelkit/Logger.h"

#include "DiscoveryFixture.h"

#include <QSignalSpy>
#include <QtTest>

using namespace velmora;

namespace {

// A delegate that records what it receives; a QObject, so the service holds it weakly.
class RecordingDelegate : public QObject, public AppDiscoverServiceDelegate {
public:
    QList<MDSearchItemList> lists;
    QList<SpotlightStatus> statuses;
    void discoverServiceDidUpdate(const MDSearchItemList &items) override { lists.append(items); }
    void discoverServiceDidUpdateStatus(SpotlightStatus status) override { statuses.append(status); }
};

MDSearchItem item(const QString &name, const QString &bundleID, const QString &path)
{
    auto meta = std::make_shared<MetadataItem>();
    meta->displayName = name;
    meta->bundleID = bundleID;
    meta->path = path;
    return {name, bundleID, path, std::nullopt, meta};
}

QStringList names(const MDSearchItemList &items)
{
    QStringList out;
    for (const auto &i : items)
        out << i.displayName;
    return out;
}

bool logged(const QString &text)
{
    const auto entries = kestrelkit::LogStore::shared().allEntries();
    return std::any_of(entries.cbegin(), entries.cend(), [&](const kestrelkit::LogEntry &e) {
        return e.category == QLatin1String("AppDiscoverService") && e.message == text;
    });
}

} // namespace

class AppDiscoverServiceTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_defaultsDir;
    std::unique_ptr<kestrelkit::DefaultsStore> m_store;
    std::unique_ptr<FolderManager> m_folders;

private slots:
    void initTestCase()
    {
        DiscoveryFixture::putStubProgramsOnPath();
        m_store = std::make_unique<kestrelkit::DefaultsStore>(m_defaultsDir.path() + "/defaults.json");
        m_folders = std::make_unique<FolderManager>(m_store.get());
    }

    void filter_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("bundleID");
        QTest::addColumn<bool>("kept");
        QTest::newRow("ordinary application") << "/Applications/Mail.app" << "com.apple.mail" << true;
        QTest::newRow("Finder is white-listed")
            << "/System/Library/CoreServices/Finder.app" << "com.apple.finder" << true;
        QTest::newRow("widget simulator is white-listed")
            << "/System/Library/CoreServices/WS.app" << "com.apple.widgetkit.simulator" << true;
        QTest::newRow("white list is case-sensitive")
            << "/System/Library/CoreServices/Finder.app" << "com.apple.Finder" << false;
        QTest::newRow("other core service dropped")
            << "/System/Library/CoreServices/Dock.app" << "com.apple.dock" << false;
        QTest::newRow("core services sub-folder Applications kept")
            << "/System/Library/CoreServices/Applications/Archive Utility.app" << "com.apple.au" << true;
        QTest::newRow("core services path anywhere in the path")
            << "/Volumes/X/System/Library/CoreServices/Y.app" << "org.y" << false;
        QTest::newRow("the launcher itself") << "/Applications/Velmora.app" << "org.velmora.Launcher" << false;
        QTest::newRow("the launcher's desktop entry")
            << "/usr/share/applications/org.velmora.Launcher.desktop" << "org.velmora.Launcher.desktop" << false;
        QTest::newRow("a similar identifier stays")
            << "/usr/share/applications/org.velmora.Launcher2.desktop" << "org.velmora.Launcher2.desktop" << true;
    }
    void filter()
    {
        QFETCH(QString, path);
        QFETCH(QString, bundleID);
        QFETCH(bool, kept);
        const auto out = AppDiscoverService::filteredAndSorted({item("X", bundleID, path)});
        QCOMPARE(out.size(), kept ? 1 : 0);
    }

    void sortIsStableLocalizedAndCaseInsensitive_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("English") << "en_US" << QStringList{"Alpha", "beta", "Beta", "BETA", "echo", "Émile", "zulu"};
        QTest::newRow("German") << "de_DE" << QStringList{"Alpha", "beta", "Beta", "BETA", "echo", "Émile", "zulu"};
        // No collation data: accents sort by code point, case is still ignored.
        QTest::newRow("C") << "C" << QStringList{"Alpha", "beta", "Beta", "BETA", "echo", "zulu", "Émile"};
    }
    void sortIsStableLocalizedAndCaseInsensitive()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, expected);
        const QLocale previous;
        QLocale::setDefault(QLocale(locale));
        const MDSearchItemList in{item("beta", "b1", "/1"), item("Alpha", "a", "/2"), item("Beta", "b2", "/3"),
                                  item("Émile", "e", "/4"), item("zulu", "z", "/5"), item("BETA", "b3", "/6"),
                                  item("echo", "e2", "/7")};
        const auto out = AppDiscoverService::filteredAndSorted(in);
        QLocale::setDefault(previous);
        QCOMPARE(names(out), expected);
        QCOMPARE(out[1].bundleID, QStringLiteral("b1")); // gathering order among equals
        QCOMPARE(out[3].bundleID, QStringLiteral("b3"));
    }

    void itemEqualityAndIdentity()
    {
        const auto a = item("A", "org.a", "/a");
        auto b = a;
        QCOMPARE(a, b);
        QCOMPARE(qHash(a), qHash(b));
        QCOMPARE(a.id(), QStringLiteral("/a"));
        b.item = std::make_shared<MetadataItem>(*a.item); // same values, another parse
        QVERIFY(!(a == b));
        b = a;
        b.storeCategory = StoreCategory::games;
        QVERIFY(!(a == b));
    }

    void deliversFilteredSortedListAndFollowsChanges()
    {
        DiscoveryFixture fixture;
        m_store->remove(FolderManager::kPathsKey);
        fixture.write("extra/Portable.app/Contents/Info.plist",
                      "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
                      "<string>org.portable</string></dict></plist>");
        m_folders->addFolder(QUrl::fromLocalFile(fixture.path("extra")));
        AppDiscoverService service(fixture.environment(), m_folders.get());
        RecordingDelegate delegate;
        service.setDelegate(&delegate);
        QSignalSpy spy(&service, &AppDiscoverService::resultsUpdated);
        service.start();
        QVERIFY(spy.wait(5000));
        QVERIFY(logged("NSMetadataQuery started."));
        QVERIFY(logged("NSMetadataQuery result updated with app count: 14."));

        QCOMPARE(delegate.lists.size(), 1);
        const MDSearchItemList &list = delegate.lists.front();
        QCOMPARE(names(list), (QStringList{"Archive Utility", "chess", "Finder", "GIMP (my copy)", "Konsole",
                                           "Plain Tool", "Portable", "Safari", "Terminal", "Text Editor",
                                           "Xcode"}));
        const auto byName = [&](const QString &n) {
            return *std::find_if(list.cbegin(), list.cend(), [&](const auto &i) { return i.displayName == n; });
        };
        QCOMPARE(byName("chess").storeCategory, std::optional(StoreCategory::board_games));
        QCOMPARE(byName("Plain Tool").storeCategory, std::nullopt); // wrong letter case in the plist
        QCOMPARE(byName("Text Editor").storeCategory, std::optional(StoreCategory::utilities));
        QCOMPARE(byName("GIMP (my copy)").storeCategory, std::optional(StoreCategory::photography));
        QCOMPARE(byName("GIMP (my copy)").path, fixture.path("home/.local/share/applications/gimp.desktop"));
        QCOMPARE(byName("Konsole").bundleID, QStringLiteral("kde4-konsole.desktop"));
        QCOMPARE(service.results(), list);

        fixture.write("usr/share/applications/abiword.desktop",
                      "[Desktop Entry]\nType=Application\nName=AbiWord\nExec=sh\nCategories=Office;\n");
        QVERIFY(spy.wait(5000));
        QCOMPARE(delegate.lists.size(), 2);
        QCOMPARE(delegate.lists.back().front().displayName, QStringLiteral("AbiWord"));
        QCOMPARE(delegate.lists.back().front().storeCategory, std::optional(StoreCategory::productivity));
        // Unchanged entries compare equal across deliveries (same parsed item).
        QCOMPARE(delegate.lists.back().mid(1), delegate.lists.front());
    }

    void delegateIsHeldWeakly()
    {
        DiscoveryFixture fixture;
        AppDiscoverService service(fixture.environment(), m_folders.get());
        auto delegate = std::make_unique<RecordingDelegate>();
        service.setDelegate(delegate.get());
        QCOMPARE(service.delegate(), delegate.get());
        delegate.reset();
        QCOMPARE(service.delegate(), nullptr);
        QSignalSpy spy(&service, &AppDiscoverService::resultsUpdated);
        service.start();
        QVERIFY(spy.wait(5000)); // no delegate call into freed memory
    }

    void spotlightStatus_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("expected"); // -1: none
        QTest::addColumn<bool>("logsError");
        QTest::newRow("enabled") << QByteArray("echo '/:'; echo '\tIndexing enabled.'") << int(SpotlightStatus::ready)
                                 << false;
        QTest::newRow("upper case, on stderr")
            << QByteArray("echo 'INDEXING ENABLED' >&2") << int(SpotlightStatus::ready) << false;
        QTest::newRow("indexing in progress")
            << QByteArray("echo 'Indexing and searching in progress.'") << int(SpotlightStatus::indexing) << false;
        QTest::newRow("indexing disabled counts as indexing")
            << QByteArray("echo 'Indexing disabled.'") << int(SpotlightStatus::indexing) << false;
        QTest::newRow("disabled without the word indexing")
            << QByteArray("echo 'Spotlight server is disabled.'") << int(SpotlightStatus::disabled) << false;
        QTest::newRow("empty output") << QByteArray("true") << -1 << false;
        QTest::newRow("non-zero exit") << QByteArray("echo 'Indexing enabled.'; exit 3") << -1 << true;
        QTest::newRow("not UTF-8") << QByteArray("printf 'Indexing enabled \\377\\n'") << -1 << true;
    }
    void spotlightStatus()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, expected);
        QFETCH(bool, logsError);
        QTemporaryDir dir;
        const QString program = dir.path() + "/mdutil";
        QFile f(program);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n[ \"$1\" = -s ] && [ \"$2\" = /Applications ] || exit 9\n" + script + "\n");
        f.close();
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        DiscoveryEnvironment env;
        env.mdutilProgram = program;
        AppDiscoverService service(env, m_folders.get());
        const auto before = kestrelkit::LogStore::shared().allEntries().size();
        const auto status = service.checkSpotlightStatus("/Applications");
        QCOMPARE(status.has_value(), expected >= 0);
        if (status)
            QCOMPARE(int(*status), expected);
        const auto after = kestrelkit::LogStore::shared().allEntries();
        const bool errorLogged = std::any_of(after.cbegin() + qsizetype(before), after.cend(), [](const auto &e) {
            return e.message.startsWith(QLatin1String("Unknown spotlight status: "));
        });
        QCOMPARE(errorLogged, logsError);
    }

    void spotlightStatusWithoutTheUtilityIsNone()
    {
        DiscoveryEnvironment env;
        env.mdutilProgram = "/nonexistent/mdutil";
        AppDiscoverService service(env, m_folders.get());
        QCOMPARE(service.checkSpotlightStatus("/Applications"), std::nullopt);
        QCOMPARE(AppDiscoverService(DiscoveryEnvironment{}, m_folders.get()).environment().mdutilProgram,
                 QStringLiteral("/usr/bin/mdutil"));
    }

    void scopesInOrder()
    {
        DiscoveryEnvironment env;
        env.homePath = "/home/u";
        env.xdgDataHome = "/home/u/.local/share";
        env.xdgDataDirs = {"/usr/share", "/opt/share/", "/usr/share"};
        QTemporaryDir flatpak;
        env.exportFolders = {flatpak.path(), "/nonexistent/exports", "/usr/share/applications"};
        const QStringList scopes = env.searchScopes({"/srv/tools", "/Applications"});
        QCOMPARE(scopes, (QStringList{"/Applications", "/System/Applications", "/System/Library/CoreServices",
                                      "/home/u/Applications", "/home/u/.local/share/applications",
                                      "/usr/share/applications", "/opt/share/applications", flatpak.path(),
                                      "/srv/tools"}));
        env.xdgDataHome.clear();
        env.xdgDataDirs.clear();
        QCOMPARE(env.xdgApplicationFolders().mid(0, 3),
                 (QStringList{"/home/u/.local/share/applications", "/usr/local/share/applications",
                              "/usr/share/applications"}));
        QCOMPARE(AppDiscoverService::searchAppsTerm(),
                 QStringLiteral("kMDItemContentType == 'com.apple.application-bundle'"));
    }
};

QTEST_GUILESS_MAIN(AppDiscoverServiceTest)
#include "AppDiscoverServiceTest.moc"
