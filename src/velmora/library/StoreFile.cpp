#include "velmora/library/StoreFile.h"

#include "velmora/library/SchemaMigration.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>

namespace velmora {

namespace {

enum Slot { WriteCategory, WriteApp, DeleteCategory, DeleteApp, WriteRankState };

QString lastError(sqlite3 *db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

void bindText(sqlite3_stmt *stmt, int index, const QString &text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

QString columnText(sqlite3_stmt *stmt, int column) {
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, column));
}

bool simpleExec(sqlite3 *db, const char *sql, QString *error) {
    char *message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    if (error) *error = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return false;
}

// Runs a prepared write and leaves the statement ready for the next one.
bool step(sqlite3 *db, sqlite3_stmt *stmt, QString *error) {
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (rc == SQLITE_DONE) return true;
    *error = lastError(db);
    return false;
}

// Turns on WAL and reads the version; Unreadable when the file is no database of ours.
bool prepareConnection(sqlite3 *db, QString *version, DataModel::OpenError *error) {
    QString reason;
    sqlite3_busy_timeout(db, 2000);
    if (!simpleExec(db,
                    "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA cache_size=-16384;",
                    &reason) ||
        !schema::readVersion(db, version, &reason)) {
        *error = {DataModel::OpenError::Kind::Unreadable, reason};
        return false;
    }
    return true;
}

bool readVersionReadOnly(const QString &path, QString *version, DataModel::OpenError *error) {
    sqlite3 *db = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_busy_timeout(db, 2000);
    QString reason;
    const bool ok = rc == SQLITE_OK && schema::readVersion(db, version, &reason);
    if (!ok)
        *error = {DataModel::OpenError::Kind::Unreadable, rc == SQLITE_OK ? reason : lastError(db)};
    sqlite3_close(db);
    return ok;
}

} // namespace

StoreFile::StoreFile(sqlite3 *db)
    : m_db(db) {}

StoreFile::~StoreFile() {
    for (sqlite3_stmt *stmt : m_statements)
        sqlite3_finalize(stmt);
    sqlite3_close(m_db);
}

std::unique_ptr<StoreFile> StoreFile::open(const QString &path, DataModel::OpenError *error) {
    DataModel::OpenError ignored;
    if (!error) error = &ignored;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        *error = {DataModel::OpenError::Kind::Unreadable,
                  QStringLiteral("Cannot create the folder %1.").arg(folder)};
        return nullptr;
    }
    // An existing file is first looked at read-only: refusing a newer program's store or
    // a damaged one must leave it and its write-ahead log as they are (a read-write
    // connection would fold or drop the log when it closes).
    if (QFileInfo(path).size() > 0) {
        QString version;
        if (!readVersionReadOnly(path, &version, error)) return nullptr;
        if (schema::compareWithCurrent(version) == 1) {
            *error = {DataModel::OpenError::Kind::NewerVersion,
                      QStringLiteral(
                          "The store was written by a newer version of Velmora (schema %1; this "
                          "version reads up to %2). It is left in place.")
                          .arg(version, QLatin1String(schema::kV1_1_0))};
            return nullptr;
        }
    }
    sqlite3 *db = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<StoreFile> file(new StoreFile(db));
    if (rc != SQLITE_OK) {
        *error = {DataModel::OpenError::Kind::Unreadable, lastError(db)};
        return nullptr;
    }
    QString version;
    if (!prepareConnection(db, &version, error)) return nullptr;
    QString reason;
    if (version.isEmpty()) {
        if (!schema::create(db, &reason)) {
            *error = {DataModel::OpenError::Kind::Unreadable, reason};
            return nullptr;
        }
        return file;
    }
    switch (schema::compareWithCurrent(version)) {
    case 0:
        return file;
    case -1:
        if (schema::migrate(db, version, &reason)) return file;
        *error = {DataModel::OpenError::Kind::Unreadable,
                  QStringLiteral("Migration from schema %1 failed: %2").arg(version, reason)};
        return nullptr;
    default:
        *error = {DataModel::OpenError::Kind::Unreadable,
                  QStringLiteral("Unknown store schema version \"%1\".").arg(version)};
        return nullptr;
    }
}

bool StoreFile::readCategories(const std::function<void(CategoryRow &&)> &sink, QString *error) {
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(m_db,
                           "SELECT id, categoryUUID, sortOrder, systemIconName, title, reservedType"
                           " FROM Category ORDER BY id;",
                           -1, &stmt, nullptr) != SQLITE_OK) {
        *error = lastError(m_db);
        return false;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        CategoryRow row;
        row.id = sqlite3_column_int64(stmt, 0);
        row.categoryUUID = columnText(stmt, 1);
        row.sortOrder = sqlite3_column_int64(stmt, 2);
        row.systemIconName = columnText(stmt, 3);
        row.title = columnText(stmt, 4);
        if (sqlite3_column_type(stmt, 5) != SQLITE_NULL) row.reservedType = columnText(stmt, 5);
        sink(std::move(row));
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        *error = lastError(m_db);
        return false;
    }
    return true;
}

bool StoreFile::readApps(const std::function<void(AppRow &&)> &sink, QString *error) {
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(m_db,
                           "SELECT id, displayName, bundleID, path, category, rankState FROM "
                           "AppRecord ORDER BY id;",
                           -1, &stmt, nullptr) != SQLITE_OK) {
        *error = lastError(m_db);
        return false;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        AppRow row;
        row.id = sqlite3_column_int64(stmt, 0);
        row.displayName = columnText(stmt, 1);
        row.bundleID = columnText(stmt, 2);
        row.path = columnText(stmt, 3);
        row.category = sqlite3_column_int64(stmt, 4);
        row.rankState = QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 5)),
                                   sqlite3_column_bytes(stmt, 5));
        sink(std::move(row));
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        *error = lastError(m_db);
        return false;
    }
    return true;
}

bool StoreFile::begin(QString *error) {
    return simpleExec(m_db, "BEGIN IMMEDIATE;", error);
}

bool StoreFile::commit(QString *error) {
    return simpleExec(m_db, "COMMIT;", error);
}

void StoreFile::rollback() {
    simpleExec(m_db, "ROLLBACK;", nullptr);
}

sqlite3_stmt *StoreFile::prepared(int slot, const char *sql, QString *error) {
    if (!m_statements[slot] && sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT,
                                                  &m_statements[slot], nullptr) != SQLITE_OK) {
        *error = lastError(m_db);
        return nullptr;
    }
    return m_statements[slot];
}

bool StoreFile::writeCategory(const CategoryRow &row, QString *error) {
    sqlite3_stmt *stmt = prepared(
        WriteCategory,
        "INSERT INTO Category(id, categoryUUID, sortOrder, systemIconName, title, reservedType)"
        " VALUES(?1, ?2, ?3, ?4, ?5, ?6) ON CONFLICT(id) DO UPDATE SET"
        " categoryUUID = ?2, sortOrder = ?3, systemIconName = ?4, title = ?5,"
        " reservedType = ?6;",
        error);
    if (!stmt) return false;
    sqlite3_bind_int64(stmt, 1, row.id);
    bindText(stmt, 2, row.categoryUUID);
    sqlite3_bind_int64(stmt, 3, row.sortOrder);
    bindText(stmt, 4, row.systemIconName);
    bindText(stmt, 5, row.title);
    if (row.reservedType)
        bindText(stmt, 6, *row.reservedType);
    else
        sqlite3_bind_null(stmt, 6);
    return step(m_db, stmt, error);
}

bool StoreFile::writeApp(const AppRow &row, QString *error) {
    sqlite3_stmt *stmt =
        prepared(WriteApp,
                 "INSERT INTO AppRecord(id, displayName, bundleID, path, category, rankState)"
                 " VALUES(?1, ?2, ?3, ?4, ?5, ?6) ON CONFLICT(id) DO UPDATE SET"
                 " displayName = ?2, bundleID = ?3, path = ?4, category = ?5, rankState = ?6;",
                 error);
    if (!stmt) return false;
    sqlite3_bind_int64(stmt, 1, row.id);
    bindText(stmt, 2, row.displayName);
    bindText(stmt, 3, row.bundleID);
    bindText(stmt, 4, row.path);
    sqlite3_bind_int64(stmt, 5, row.category);
    sqlite3_bind_text(stmt, 6, row.rankState.constData(), int(row.rankState.size()), SQLITE_STATIC);
    return step(m_db, stmt, error);
}

bool StoreFile::writeRankState(std::int64_t id, const QByteArray &rankState, QString *error) {
    sqlite3_stmt *stmt =
        prepared(WriteRankState, "UPDATE AppRecord SET rankState = ?2 WHERE id = ?1;", error);
    if (!stmt) return false;
    sqlite3_bind_int64(stmt, 1, id);
    sqlite3_bind_text(stmt, 2, rankState.constData(), int(rankState.size()), SQLITE_STATIC);
    return step(m_db, stmt, error);
}

bool StoreFile::deleteCategory(std::int64_t id, QString *error) {
    sqlite3_stmt *stmt = prepared(DeleteCategory, "DELETE FROM Category WHERE id = ?1;", error);
    if (!stmt) return false;
    sqlite3_bind_int64(stmt, 1, id);
    return step(m_db, stmt, error);
}

bool StoreFile::deleteApp(std::int64_t id, QString *error) {
    sqlite3_stmt *stmt = prepared(DeleteApp, "DELETE FROM AppRecord WHERE id = ?1;", error);
    if (!stmt) return false;
    sqlite3_bind_int64(stmt, 1, id);
    return step(m_db, stmt, error);
}

} // namespace velmora
