#pragma once

#include "velmora/library/ReservedType.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

namespace velmora {

class AppRecord;
class Category;
class ModelContext;

// The library store: one SQLite file, opened (and migrated) once, and the lookups the
// launcher uses. Main thread only.
class DataModel : public QObject {
    Q_OBJECT

public:
    struct OpenError {
        enum class Kind {
            Unreadable,   // not a store, damaged, or a migration failed
            NewerVersion, // written by a newer program; must be left alone
        };
        Kind kind = Kind::Unreadable;
        QString message;
    };

    ~DataModel() override;

    // Opens the store at `path`, creating folder and file when missing and migrating
    // an older schema. Null on failure, with the reason in `error`; nothing is moved.
    [[nodiscard]] static std::unique_ptr<DataModel> open(const QString &path,
                                                         OpenError *error = nullptr);

    // $XDG_DATA_HOME/Velmora/Velmora.sqlite (~/.local/share when unset); empty when
    // there is no data folder at all.
    [[nodiscard]] static QString defaultStorePath();
    // The process's store, opened at defaultStorePath() on first use. A store that
    // cannot be opened ends the process (see handleOpenFailure).
    static DataModel &shared();
    // Replaces the shared store (tests, or an app that opened its own); may be null.
    static void setShared(std::unique_ptr<DataModel> model);

    // Reports a failed open on standard output ("Failed to create model container: ")
    // and in the log. An unreadable store is moved aside with its -wal and -shm files
    // as "<path>.corrupt-<timestamp>" so the next start begins empty; a newer store
    // stays where it is. Returns the new path, or an empty string when nothing moved.
    static QString handleOpenFailure(const QString &path, const OpenError &error);
    // Ends the process with a failure status after handleOpenFailure().
    [[noreturn]] static void exitAfterOpenFailure();

    // The current schema version written into new stores.
    static constexpr const char *kSchemaVersion = "1.1.0";

    [[nodiscard]] const QString &path() const { return m_path; }
    [[nodiscard]] ModelContext &mainContext() const { return *m_context; }

    // The first category, in store order, with this reserved type; null if none.
    [[nodiscard]] Category *reservedCategory(ReservedType type) const;
    [[nodiscard]] QList<Category *> allCategories() const;
    [[nodiscard]] QList<AppRecord *> allAppRecords() const;
    // The first record whose path equals `path` exactly (case-sensitive); null if none.
    [[nodiscard]] AppRecord *appRecord(const QString &path) const;
    // The first category, in store order, titled exactly `title`; null if none.
    [[nodiscard]] Category *categoryWithTitle(const QString &title) const;
    // Deletes every category with no applications and no reserved type, then saves.
    void cleanUnusedCategories();

signals:
    // The main context wrote changes to the file.
    void didSave();

private:
    DataModel(QString path, std::unique_ptr<ModelContext> context);

    QString m_path;
    std::unique_ptr<ModelContext> m_context;
};

} // namespace velmora
