#pragma once

#include "velmora/library/DataModel.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora {

// One category row as stored.
struct CategoryRow {
    std::int64_t id = 0;
    QString categoryUUID;
    std::int64_t sortOrder = 0;
    QString systemIconName;
    QString title;
    std::optional<QString> reservedType;
};

// One application row as stored; rankState is the JSON text.
struct AppRow {
    std::int64_t id = 0;
    QString displayName;
    QString bundleID;
    QString path;
    std::int64_t category = 0;
    QByteArray rankState;
};

// The SQLite connection behind a ModelContext: the schema, its migration and the row
// reads and writes. Library-internal; keeps sqlite3.h out of every public header.
class StoreFile {
public:
    ~StoreFile();
    StoreFile(const StoreFile &) = delete;
    StoreFile &operator=(const StoreFile &) = delete;

    // Opens the file at `path` (creating it and its folder), in WAL mode, at the current
    // schema version; migrates an older one. Null on failure with `error` filled.
    static std::unique_ptr<StoreFile> open(const QString &path, DataModel::OpenError *error);

    bool readCategories(const std::function<void(CategoryRow &&)> &sink, QString *error);
    bool readApps(const std::function<void(AppRow &&)> &sink, QString *error);

    bool begin(QString *error);
    bool commit(QString *error);
    void rollback();
    bool writeCategory(const CategoryRow &row, QString *error);
    bool writeApp(const AppRow &row, QString *error);
    // Rewrites only the rank state of an existing row.
    bool writeRankState(std::int64_t id, const QByteArray &rankState, QString *error);
    bool deleteCategory(std::int64_t id, QString *error);
    bool deleteApp(std::int64_t id, QString *error);

private:
    explicit StoreFile(sqlite3 *db);
    sqlite3_stmt *prepared(int slot, const char *sql, QString *error);

    sqlite3 *m_db;
    sqlite3_stmt *m_statements[5] = {};
};

} // namespace velmora
