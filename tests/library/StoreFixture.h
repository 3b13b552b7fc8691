#pragma once

#include <sqlite3.h>

#include <QFile>
#include <QString>
#include <QStringList>
#include <QVariant>

// Direct SQL access to a store file, to build old versions and to look behind the
// model's back.
class SqlFile {
public:
    explicit SqlFile(const QString &path) {
        sqlite3_open(QFile::encodeName(path).constData(), &m_db);
    }
    ~SqlFile() { sqlite3_close(m_db); }
    SqlFile(const SqlFile &) = delete;
    SqlFile &operator=(const SqlFile &) = delete;

    bool exec(const QByteArray &sql) {
        char *message = nullptr;
        const bool ok =
            sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, &message) == SQLITE_OK;
        if (!ok) qWarning("SQL failed: %s", message);
        sqlite3_free(message);
        return ok;
    }

    // Every row of the query, columns joined by "|" (NULL as "<null>").
    QStringList rows(const QByteArray &sql) {
        QStringList result;
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
            return {QStringLiteral("<error %1>").arg(QString::fromUtf8(sqlite3_errmsg(m_db)))};
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QStringList columns;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                columns << (sqlite3_column_type(stmt, i) == SQLITE_NULL
                                ? QStringLiteral("<null>")
                                : QString::fromUtf8(reinterpret_cast<const char *>(
                                      sqlite3_column_text(stmt, i))));
            }
            result << columns.join(QLatin1Char('|'));
        }
        sqlite3_finalize(stmt);
        return result;
    }

    QString value(const QByteArray &sql) {
        const QStringList all = rows(sql);
        return all.isEmpty() ? QString() : all.first();
    }

private:
    sqlite3 *m_db = nullptr;
};

// Builds a store file at `path` from an SQL fixture in tests/fixtures/library.
inline bool buildStoreFromFixture(const QString &fixture, const QString &path) {
    QFile file(QStringLiteral(VELMORA_FIXTURES "/library/") + fixture);
    if (!file.open(QIODevice::ReadOnly)) return false;
    SqlFile sql(path);
    return sql.exec(file.readAll());
}
