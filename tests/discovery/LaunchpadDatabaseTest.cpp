#include "velmora/discovery/LaunchpadDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

using namespace velmora;

namespace {

using Table = QList<std::pair<QString, QStringList>>; // group title ("" for none) → bundle IDs

Table table(const LaunchpadDatabase &db)
{
    Table out;
    for (const auto &[group, apps] : db.launchpadData()) {
        QStringList ids;
        for (const auto &app : apps)
            ids << app.bundleID;
        out.append({group.title.value_or(QStringLiteral("<none>")), ids});
    }
    return out;
}

std::optional<qint64> none() { return std::nullopt; }

bool exec(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    char *error = nullptr;
    const bool ok = sqlite3_exec(db, sql, nullptr, nullptr, &error) == SQLITE_OK;
    if (!ok)
        qWarning() << error;
    sqlite3_free(error);
    sqlite3_close(db);
    return ok;
}

// The Dock's layout: items are the tree (type 2 = folder, 3 = page, 4 = app), groups name folders.
constexpr const char *kSchema = "CREATE TABLE items (rowid INTEGER PRIMARY KEY, uuid VARCHAR, flags INTEGER,"
                                " type INTEGER, parent_id INTEGER NOT NULL, ordering INTEGER);"
                                "CREATE TABLE apps (item_id INTEGER PRIMARY KEY, title VARCHAR,"
                                " bundleid VARCHAR, storeid VARCHAR, category_id INTEGER);"
                                "CREATE TABLE groups (item_id INTEGER PRIMARY KEY, category_id INTEGER,"
                                " title VARCHAR);";

} // namespace

Q_DECLARE_METATYPE(Table)

class LaunchpadDatabaseTest : public QObject {
    Q_OBJECT
private slots:
    void buildTables_data()
    {
        QTest::addColumn<QList<LaunchpadApp>>("apps");
        QTest::addColumn<QList<Items>>("items");
        QTest::addColumn<QList<Groups>>("groups");
        QTest::addColumn<Table>("expected");

        // Folder 10 "Games" holds pages 11 and 12; apps sit on the pages.
        QTest::newRow("folder with two pages")
            << QList<LaunchpadApp>{{21, "chess"}, {22, "tetris"}, {23, "safari"}, {24, "go"}}
            << QList<Items>{{10, 2, 1}, {11, 3, 10}, {12, 3, 10}, {21, 4, 11}, {22, 4, 12}, {24, 4, 11},
                            {23, 4, none()}}
            << QList<Groups>{{12, std::nullopt}, {10, "Games"}, {11, std::nullopt}}
            << Table{{"Games", {"chess", "tetris", "go"}}, {"Uncategorized", {"safari"}}};
        QTest::newRow("untitled group that is not a page releases its apps")
            << QList<LaunchpadApp>{{21, "chess"}, {22, "mail"}}
            << QList<Items>{{10, 2, none()}, {21, 4, 10}, {22, 4, none()}}
            << QList<Groups>{{10, std::nullopt}}
            << Table{{"Uncategorized", {"chess", "mail"}}};
        QTest::newRow("untitled group without an item releases its apps")
            << QList<LaunchpadApp>{{21, "chess"}} << QList<Items>{{21, 4, 99}}
            << QList<Groups>{{99, std::nullopt}} << Table{{"Uncategorized", {"chess"}}};
        QTest::newRow("top-level page changes nothing")
            << QList<LaunchpadApp>{{21, "chess"}} << QList<Items>{{5, 3, none()}, {21, 4, 5}}
            << QList<Groups>{{5, std::nullopt}} << Table{{"Uncategorized", {}}};
        QTest::newRow("item without an app row contributes nothing")
            << QList<LaunchpadApp>{{21, "chess"}} << QList<Items>{{10, 2, none()}, {21, 4, 10}, {30, 4, 10}}
            << QList<Groups>{{10, "Play"}} << Table{{"Play", {"chess"}}, {"Uncategorized", {}}};
        QTest::newRow("empty title counts as titled")
            << QList<LaunchpadApp>{{21, "chess"}} << QList<Items>{{10, 2, none()}, {21, 4, 10}}
            << QList<Groups>{{10, ""}} << Table{{"", {"chess"}}, {"Uncategorized", {}}};
        QTest::newRow("nothing at all") << QList<LaunchpadApp>{} << QList<Items>{} << QList<Groups>{}
                                        << Table{{"Uncategorized", {}}};
        QTest::newRow("titled groups in item_id order, apps in item order")
            << QList<LaunchpadApp>{{31, "c"}, {32, "b"}, {33, "a"}}
            << QList<Items>{{33, 4, 20}, {32, 4, 10}, {31, 4, 10}, {20, 2, none()}, {10, 2, none()}}
            << QList<Groups>{{20, "Second"}, {10, "First"}}
            << Table{{"First", {"c", "b"}}, {"Second", {"a"}}, {"Uncategorized", {}}};
    }
    void buildTables()
    {
        QFETCH(QList<LaunchpadApp>, apps);
        QFETCH(QList<Items>, items);
        QFETCH(QList<Groups>, groups);
        QFETCH(Table, expected);
        const auto db = LaunchpadDatabase::fromRows(apps, items, groups);
        QCOMPARE(table(*db), expected);
        QCOMPARE(db->launchpadData().back().first, LaunchpadDatabase::uncategorizedGroup());
        // Every listed app maps back to its group.
        for (const auto &[group, list] : db->launchpadData()) {
            for (const auto &app : list)
                QCOMPARE(db->groupForBundleID(app.bundleID), std::optional(group));
        }
    }

    void appInTwoGroupsMapsToTheLastOne()
    {
        const auto db = LaunchpadDatabase::fromRows({{21, "chess"}, {21, "chess"}},
                                                    {{10, 2, none()}, {11, 2, none()}, {21, 4, 10}, {21, 4, 11}},
                                                    {{10, "A"}, {11, "B"}});
        QCOMPARE(db->revertedLaunchpadData().size(), size_t(1));
        QCOMPARE(db->groupForBundleID("chess")->title, std::optional<QString>("B"));
        QCOMPARE(db->groupForBundleID("unknown"), std::nullopt);
    }

    void missingDatabaseIsNeverCreated()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/db/db";
        QDir().mkpath(dir.path() + "/db");
        const auto db = LaunchpadDatabase::fromDatabaseFile(path);
        QVERIFY(!db->isOpen());
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(table(*db), (Table{{"Uncategorized", {}}}));
        QVERIFY(LaunchpadDatabase::defaultDatabasePath().endsWith("/0/com.apple.dock.launchpad/db/db"));
    }

    void readsARealDatabaseReadOnly()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/db";
        QVERIFY(exec(path, kSchema));
        QVERIFY(exec(path, "INSERT INTO items VALUES (1,'r',0,1,0,0),(10,'f',0,2,1,0),(11,'p',0,3,10,0),"
                           "(21,'a',0,4,11,0),(22,'b',0,4,1,1);"
                           "INSERT INTO groups VALUES (10,0,'Work'),(11,0,NULL);"
                           "INSERT INTO apps VALUES (21,'Numbers','com.apple.iWork.Numbers',NULL,0),"
                           "(22,'Mail','com.apple.mail',NULL,0);"));
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        const QByteArray before = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        const auto db = LaunchpadDatabase::fromDatabaseFile(path);
        QVERIFY(db->isOpen());
        // Item 1 is the root page (type 1), so Mail's parent 1 is a real parent: not Uncategorized.
        QCOMPARE(table(*db), (Table{{"Work", {"com.apple.iWork.Numbers"}}, {"Uncategorized", {}}}));
        const QByteArray after = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        QCOMPARE(after, before);
        QVERIFY(!QFileInfo::exists(path + "-journal"));
    }

    void damagedDatabases_data()
    {
        QTest::addColumn<QByteArray>("sql");
        QTest::addColumn<Table>("expected");
        QTest::newRow("groups table missing")
            << QByteArray("CREATE TABLE items (type INTEGER, parent_id INTEGER);"
                          "CREATE TABLE apps (item_id INTEGER, bundleID TEXT);"
                          "INSERT INTO items(rowid,type,parent_id) VALUES (5,4,NULL);"
                          "INSERT INTO apps VALUES (5,'org.a');")
            << Table{{"Uncategorized", {"org.a"}}};
        QTest::newRow("bundleID column missing")
            << QByteArray("CREATE TABLE items (type INTEGER, parent_id INTEGER);"
                          "CREATE TABLE apps (item_id INTEGER, title TEXT);"
                          "CREATE TABLE groups (item_id INTEGER, title TEXT);"
                          "INSERT INTO items(rowid,type,parent_id) VALUES (5,4,NULL);"
                          "INSERT INTO apps VALUES (5,'A');")
            << Table{{"Uncategorized", {}}};
        QTest::newRow("garbage values skip their rows only")
            << QByteArray("CREATE TABLE items (type, parent_id);"
                          "CREATE TABLE apps (item_id, bundleID);"
                          "CREATE TABLE groups (item_id, title);"
                          "INSERT INTO items(rowid,type,parent_id) VALUES (5,4,NULL),(6,'four',NULL),(7,4,x'00ff'),"
                          "(8,4,NULL),(9,4,10),(10,2,NULL);"
                          "INSERT INTO apps VALUES (5,'org.a'),('six','org.b'),(7,'org.c'),(8,NULL),(9,'org.d'),"
                          "(5,x'ff00');"
                          "INSERT INTO groups VALUES (10,'Tools'),(11,3.5),('x','Bad');")
            << Table{{"Tools", {"org.d"}}, {"Uncategorized", {"org.a"}}};
        QTest::newRow("no tables at all") << QByteArray("CREATE TABLE other (x);") << Table{{"Uncategorized", {}}};
    }
    void damagedDatabases()
    {
        QFETCH(QByteArray, sql);
        QFETCH(Table, expected);
        QTemporaryDir dir;
        const QString path = dir.path() + "/db";
        QVERIFY(exec(path, sql.constData()));
        const auto db = LaunchpadDatabase::fromDatabaseFile(path);
        QCOMPARE(table(*db), expected);
    }

    void fileThatIsNotADatabase()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/db";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, '\xa5'));
        f.close();
        const auto db = LaunchpadDatabase::fromDatabaseFile(path);
        QCOMPARE(table(*db), (Table{{"Uncategorized", {}}}));
    }

    void gnomeFolders()
    {
        const QList<GnomeAppFolder> folders{
            {"Utilities", "Utilities", false, {"org.gnome.Calculator.desktop", "gone.desktop"},
             {"X-GNOME-Utilities", "Utility"}, {"org.gnome.TextEditor.desktop"}},
            {"Games", "Games", false, {}, {"Game"}, {}},
            {"Empty", "Nothing", false, {}, {}, {}},
        };
        const QList<InstalledDesktopApp> installed{
            {"org.gnome.TextEditor.desktop", {"GNOME", "Utility", "TextEditor"}},
            {"org.gnome.Calculator.desktop", {"GNOME", "Utility", "Calculator"}},
            {"org.gnome.Logs.desktop", {"GNOME", "System", "X-GNOME-Utilities"}},
            {"org.gnome.Chess.desktop", {"GNOME", "Game", "BoardGame"}},
            {"firefox.desktop", {"Network", "WebBrowser"}},
        };
        const auto db = LaunchpadDatabase::fromGnomeFolders(folders, installed);
        QCOMPARE(table(*db),
                 (Table{{"Utilities", {"org.gnome.Calculator.desktop", "gone.desktop", "org.gnome.Logs.desktop"}},
                        {"Games", {"org.gnome.Chess.desktop"}},
                        {"Nothing", {}},
                        {"Uncategorized", {"org.gnome.TextEditor.desktop", "firefox.desktop"}}}));
        QCOMPARE(db->groupForBundleID("org.gnome.Chess.desktop")->title, std::optional<QString>("Games"));
        QCOMPARE(db->groupForBundleID("firefox.desktop")->item_id, -1);
        // Titled groups have distinct positive ids, as Launchpad folders do.
        QCOMPARE(db->launchpadData()[0].first.item_id, 1);
        QCOMPARE(db->launchpadData()[1].first.item_id, 2);
        QCOMPARE(LaunchpadDatabase::fromGnomeFolders({}, installed)->launchpadData().size(), size_t(1));
    }
};

QTEST_GUILESS_MAIN(LaunchpadDatabaseTest)
#include "LaunchpadDatabaseTest.moc"
