#pragma once

#include "velmora/library/OperationResult.h"
#include "velmora/library/ReservedType.h"
#include "velmora/ranking/RankState.h"

#include <QList>
#include <QMultiHash>
#include <QObject>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace velmora {

class AppRecord;
class Category;
class StoreFile;

// What a new category is made of; an empty categoryUUID gets a fresh one.
struct NewCategory {
    QString title;
    QString systemIconName;
    std::int64_t sortOrder = 0;
    std::optional<ReservedType> reservedType;
    QString categoryUUID;
};

// What a new application record is made of; `category` is required.
struct NewAppRecord {
    QString displayName;
    QString bundleID;
    QString path;
    Category *category = nullptr;
    RankState rankState;
};

// The in-memory object graph of the store, one object per row. Every change is saved
// on the next turn of the event loop (changes made in one turn share one transaction),
// or at once by save(). Main thread only.
class ModelContext : public QObject {
    Q_OBJECT

public:
    ~ModelContext() override;

    Category *insertCategory(const NewCategory &values);
    AppRecord *insertAppRecord(const NewAppRecord &values);
    // The category's applications lose their category; a save fails until each has
    // been given another one or deleted.
    void deleteCategory(Category *category);
    void deleteAppRecord(AppRecord *record);

    // Every live record in store order (insertion order).
    [[nodiscard]] QList<Category *> fetchCategories() const;
    [[nodiscard]] QList<AppRecord *> fetchAppRecords() const;
    // Records whose path equals `path` exactly, in store order.
    [[nodiscard]] QList<AppRecord *> fetchAppRecords(const QString &path) const;

    [[nodiscard]] bool hasChanges() const;
    // Writes the pending changes in one transaction; emits didSave() when it wrote
    // something. Nothing pending: no write, no signal.
    OperationResult save();

signals:
    void didSave();

private:
    friend class DataModel;
    friend class Category;
    friend class AppRecord;
    struct Loaded;

    explicit ModelContext(std::unique_ptr<StoreFile> file);
    OperationResult load();
    void noteChanged(Category *category);
    void noteChanged(AppRecord *record);
    void notePathChange(AppRecord *record, const QString &oldPath);
    void scheduleSave();
    void autosave();

    std::unique_ptr<StoreFile> m_file;
    std::map<std::int64_t, std::unique_ptr<Category>> m_categories;
    std::map<std::int64_t, std::unique_ptr<AppRecord>> m_apps;
    // Deleted objects stay allocated so that pointers held elsewhere never dangle.
    std::vector<std::unique_ptr<Category>> m_deletedCategories;
    std::vector<std::unique_ptr<AppRecord>> m_deletedApps;
    QMultiHash<QString, AppRecord *> m_appsByPath;

    std::set<std::int64_t> m_insertedCategories, m_changedCategories, m_removedCategories;
    std::set<std::int64_t> m_insertedApps, m_changedApps, m_removedApps;
    std::int64_t m_nextCategoryId = 1;
    std::int64_t m_nextAppId = 1;
    bool m_saveScheduled = false;
};

} // namespace velmora
