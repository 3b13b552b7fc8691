#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"
#include "velmora/library/DataModel.h"

#include "StoreFixture.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

namespace {

const QRegularExpression
    kUuidForm(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));

// "title|icon|sortOrder|reservedType|apps" per category, in store order.
QStringList describe(const DataModel &model) {
    QStringList result;
    for (const Category *category : model.allCategories()) {
        QStringList apps;
        for (const AppRecord *app : category->apps())
            apps << app->displayName();
        apps.sort();
        result << QStringLiteral("%1|%2|%3|%4|%5")
                      .arg(category->title(), category->systemIconName())
                      .arg(category->sortOrder())
                      .arg(category->reservedType() ? rawValue(*category->reservedType())
                                                    : QStringLiteral("-"),
                           apps.join(QLatin1Char(',')));
    }
    return result;
}

} // namespace

class StoreMigrationTest : public QObject {
    Q_OBJECT

private slots:
    void migratesFirstRelease() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Velmora.sqlite"));
        QVERIFY(buildStoreFromFixture(QStringLiteral("store-1.0.0.sql"), path));

        DataModel::OpenError error;
        auto model = DataModel::open(path, &error);
        QVERIFY2(model, qPrintable(error.message));
        QCOMPARE(describe(*model),
                 (QStringList{
                     QStringLiteral("Pinned|pin.fill|-1|pinned|Terminal"),
                     QStringLiteral("Developer Tools|hammer|3|-|Code,Meld"),
                     QStringLiteral(
                         "Not Categorized|ellipsis|9223372036854775806|notCategorized|Xeyes")}));

        QSet<QString> uuids;
        for (const Category *category : model->allCategories()) {
            QVERIFY2(kUuidForm.match(category->categoryUUID()).hasMatch(),
                     qPrintable(category->categoryUUID()));
            uuids.insert(category->categoryUUID());
        }
        QCOMPARE(uuids.size(), 3);

        // The rank state survives the migration bit for bit.
        const AppRecord *terminal =
            model->appRecord(QStringLiteral("/usr/share/applications/org.gnome.Terminal.desktop"));
        QVERIFY(terminal);
        QCOMPARE(terminal->rankState().visitNumber, 12);
        QCOMPARE(terminal->rankState().crfWeight, 0.1 + 0.2);
        QCOMPARE(terminal->rankState().timeOfLastVisit, 1765440000.123456);
        QCOMPARE(terminal->rankState()
                     .nextVisits.at(QStringLiteral("/usr/share/applications/code.desktop"))
                     .size(),
                 2u);
        model.reset();

        SqlFile sql(path);
        QCOMPARE(sql.value("SELECT value FROM StoreMetadata WHERE key = 'schemaVersion'"),
                 QStringLiteral("1.1.0"));
        // Required from now on: a category without an identifier is refused by the file itself.
        QVERIFY(!sql.exec(
            "INSERT INTO Category(sortOrder, systemIconName, title) VALUES(1, 'folder', 'X')"));
        QCOMPARE(sql.value("PRAGMA journal_mode"), QStringLiteral("wal"));

        // Opening again changes nothing: the identifiers are kept.
        const QStringList before = sql.rows("SELECT categoryUUID FROM Category ORDER BY id");
        QVERIFY(DataModel::open(path));
        QCOMPARE(sql.rows("SELECT categoryUUID FROM Category ORDER BY id"), before);
    }

    void migrationKeepsExistingIdentifiers() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Velmora.sqlite"));
        QVERIFY(buildStoreFromFixture(QStringLiteral("store-1.0.1.sql"), path));

        auto model = DataModel::open(path);
        QVERIFY(model);
        const QList<Category *> categories = model->allCategories();
        QCOMPARE(categories.size(), 2);
        QCOMPARE(categories[0]->title(), QStringLiteral("Games"));
        QCOMPARE(categories[0]->categoryUUID(),
                 QStringLiteral("0C7A3E52-9B1D-4F3A-8E2B-5D6C7A8B9C0D"));
        QCOMPARE(categories[1]->title(), QStringLiteral("Music"));
        QVERIFY(kUuidForm.match(categories[1]->categoryUUID()).hasMatch());
        QCOMPARE(categories[1]->apps().size(), 1);
        QCOMPARE(categories[1]->apps().first()->displayName(), QStringLiteral("Rhythmbox"));
    }

    // A migration that cannot finish leaves the file at its old version, so that the
    // recovery moves aside the original rather than a half-migrated file.
    void failedMigrationRollsBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Velmora.sqlite"));
        QVERIFY(buildStoreFromFixture(QStringLiteral("store-1.0.0.sql"), path));
        {
            SqlFile sql(path);
            // Damage that only shows during the migration: the column already exists.
            QVERIFY(sql.exec("ALTER TABLE Category ADD COLUMN categoryUUID TEXT"));
        }
        DataModel::OpenError error;
        QVERIFY(!DataModel::open(path, &error));
        QCOMPARE(error.kind, DataModel::OpenError::Kind::Unreadable);
        QVERIFY2(error.message.contains(QStringLiteral("Migration from schema 1.0.0 failed")),
                 qPrintable(error.message));
        SqlFile sql(path);
        QCOMPARE(sql.value("SELECT value FROM StoreMetadata WHERE key = 'schemaVersion'"),
                 QStringLiteral("1.0.0"));
    }
};

QTEST_GUILESS_MAIN(StoreMigrationTest)
#include "StoreMigrationTest.moc"
