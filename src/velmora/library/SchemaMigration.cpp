#include "velmora/library/SchemaMigration.h"

#include "velmora/library/Category.h"

#include <sqlite3.h>

#include <QStringList>

#include <array>
#include <vector>

namespace velmora::schema {

namespace {

bool exec(sqlite3 *db, const char *sql, QString *error) {
    char *message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    *error = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return false;
}

bool setVersion(sqlite3 *db, const char *version, QString *error) {
    const QByteArray sql =
        QByteArray("INSERT OR REPLACE INTO StoreMetadata(key, value) VALUES('schemaVersion', '") +
        version + "');";
    return exec(db, sql.constData(), error);
}

// A fresh UUID for every category that has none.
bool fillMissingUUIDs(sqlite3 *db, QString *error) {
    sqlite3_stmt *select = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT id FROM Category WHERE categoryUUID IS NULL;", -1, &select,
                           nullptr) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    std::vector<sqlite3_int64> ids;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(select)) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int64(select, 0));
    sqlite3_finalize(select);
    if (rc != SQLITE_DONE) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    sqlite3_stmt *update = nullptr;
    if (sqlite3_prepare_v2(db, "UPDATE Category SET categoryUUID = ? WHERE id = ?;", -1, &update,
                           nullptr) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    bool ok = true;
    for (sqlite3_int64 id : ids) {
        const QByteArray uuid = Category::makeUUID().toUtf8();
        sqlite3_bind_text(update, 1, uuid.constData(), int(uuid.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(update, 2, id);
        if (sqlite3_step(update) != SQLITE_DONE) {
            *error = QString::fromUtf8(sqlite3_errmsg(db));
            ok = false;
            break;
        }
        sqlite3_reset(update);
    }
    sqlite3_finalize(update);
    return ok;
}

// 1.0.0 -> 1.0.1: a new optional categoryUUID, filled for every category.
bool stage1(sqlite3 *db, QString *error) {
    return exec(db, "ALTER TABLE Category ADD COLUMN categoryUUID TEXT;", error) &&
           fillMissingUUIDs(db, error) && setVersion(db, kV1_0_1, error);
}

// 1.0.1 -> 1.1.0: categoryUUID becomes required. SQLite cannot tighten a column, so
// the table is rebuilt; a category still without one fails the copy.
bool stage2(sqlite3 *db, QString *error) {
    return exec(db,
                "CREATE TABLE Category_new(id INTEGER PRIMARY KEY, categoryUUID TEXT NOT NULL,"
                " sortOrder INTEGER NOT NULL, systemIconName TEXT NOT NULL, title TEXT NOT NULL,"
                " reservedType TEXT);"
                "INSERT INTO Category_new(id, categoryUUID, sortOrder, systemIconName, title, "
                "reservedType)"
                " SELECT id, categoryUUID, sortOrder, systemIconName, title, reservedType FROM "
                "Category;"
                "DROP TABLE Category;"
                "ALTER TABLE Category_new RENAME TO Category;"
                "CREATE INDEX IF NOT EXISTS AppRecord_path ON AppRecord(path);",
                error) &&
           setVersion(db, kV1_1_0, error);
}

std::array<int, 3> parse(const QString &version, bool *ok) {
    const QStringList parts = version.split(QLatin1Char('.'));
    std::array<int, 3> numbers{};
    *ok = parts.size() == 3;
    for (int i = 0; *ok && i < 3; ++i)
        numbers[size_t(i)] = parts[i].toInt(ok);
    return numbers;
}

} // namespace

bool create(sqlite3 *db, QString *error) {
    return exec(db,
                "BEGIN;"
                "CREATE TABLE StoreMetadata(key TEXT PRIMARY KEY, value TEXT NOT NULL);"
                "CREATE TABLE Category(id INTEGER PRIMARY KEY, categoryUUID TEXT NOT NULL,"
                " sortOrder INTEGER NOT NULL, systemIconName TEXT NOT NULL, title TEXT NOT NULL,"
                " reservedType TEXT);"
                "CREATE TABLE AppRecord(id INTEGER PRIMARY KEY, displayName TEXT NOT NULL,"
                " bundleID TEXT NOT NULL, path TEXT NOT NULL, category INTEGER NOT NULL,"
                " rankState TEXT NOT NULL);"
                "CREATE INDEX AppRecord_path ON AppRecord(path);",
                error) &&
           setVersion(db, kV1_1_0, error) && exec(db, "COMMIT;", error);
}

bool readVersion(sqlite3 *db, QString *version, QString *error) {
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_schema;", -1, &stmt, nullptr) !=
        SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    int rc = sqlite3_step(stmt);
    const sqlite3_int64 objects = rc == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    version->clear();
    if (objects == 0) return true;
    if (sqlite3_prepare_v2(db, "SELECT value FROM StoreMetadata WHERE key = 'schemaVersion';", -1,
                           &stmt, nullptr) != SQLITE_OK) {
        *error = QStringLiteral("The file is not a Velmora store (%1).")
                     .arg(QString::fromUtf8(sqlite3_errmsg(db)));
        return false;
    }
    rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        *version = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    if (version->isEmpty()) {
        *error = QStringLiteral("The store records no schema version.");
        return false;
    }
    return true;
}

int compareWithCurrent(const QString &version) {
    bool ok = false;
    const std::array<int, 3> given = parse(version, &ok);
    if (!ok) return 2;
    bool currentOk = false;
    const std::array<int, 3> current = parse(QString::fromLatin1(kV1_1_0), &currentOk);
    return given < current ? -1 : (given == current ? 0 : 1);
}

bool migrate(sqlite3 *db, const QString &fromVersion, QString *error) {
    const bool from100 = fromVersion == QLatin1String(kV1_0_0);
    if (!from100 && fromVersion != QLatin1String(kV1_0_1)) {
        *error = QStringLiteral("Unknown store schema version %1.").arg(fromVersion);
        return false;
    }
    if (!exec(db, "BEGIN IMMEDIATE;", error)) return false;
    // A 1.0.1 file may still hold categories without an identifier (stage 1 only ran
    // for files that were 1.0.0); they get one here instead of failing stage 2.
    const bool ok =
        (from100 ? stage1(db, error) : fillMissingUUIDs(db, error)) && stage2(db, error);
    if (!ok || !exec(db, "COMMIT;", error)) {
        QString ignored;
        exec(db, "ROLLBACK;", &ignored);
        return false;
    }
    return true;
}

} // namespace velmora::schema
