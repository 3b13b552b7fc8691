#include "velmora/library/ModelContext.h"

#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"
#include "velmora/library/StoreFile.h"

#include "kestrelkit/Logger.h"

#include <QMetaObject>

namespace velmora {

namespace {

const kestrelkit::Logger &logger() {
    static const kestrelkit::Logger instance(QStringLiteral("DataModel"));
    return instance;
}

CategoryRow rowOf(const Category &category) {
    CategoryRow row;
    row.id = category.id();
    row.categoryUUID = category.categoryUUID();
    row.sortOrder = category.sortOrder();
    row.systemIconName = category.systemIconName();
    row.title = category.title();
    return row;
}

} // namespace

ModelContext::ModelContext(std::unique_ptr<StoreFile> file)
    : m_file(std::move(file)) {}

ModelContext::~ModelContext() = default;

OperationResult ModelContext::load() {
    QString error;
    const bool categoriesRead = m_file->readCategories(
        [this](CategoryRow &&row) {
            auto category = std::unique_ptr<Category>(new Category(this, row.id));
            category->m_categoryUUID = std::move(row.categoryUUID);
            category->m_sortOrder = row.sortOrder;
            category->m_systemIconName = std::move(row.systemIconName);
            category->m_title = std::move(row.title);
            if (row.reservedType) {
                category->m_reservedType = reservedTypeFromRawValue(*row.reservedType);
                if (!category->m_reservedType) {
                    // Kept verbatim so that a later program that knows it finds it again.
                    logger().error(QStringLiteral("Category %1 has an unknown reserved type \"%2\"")
                                       .arg(row.id)
                                       .arg(*row.reservedType));
                    category->m_unknownReservedType = *row.reservedType;
                }
            }
            m_nextCategoryId = std::max(m_nextCategoryId, row.id + 1);
            m_categories.emplace(row.id, std::move(category));
        },
        &error);
    if (!categoriesRead) return OperationResult::failure(error);

    const bool appsRead = m_file->readApps(
        [this](AppRow &&row) {
            auto record = std::unique_ptr<AppRecord>(new AppRecord(this, row.id));
            record->m_displayName = std::move(row.displayName);
            record->m_bundleID = std::move(row.bundleID);
            record->m_path = std::move(row.path);
            // Decoded on first use: most of the cost of opening a large store.
            record->m_rankStateJson = std::move(row.rankState);
            record->m_rankStateDecoded = false;
            const auto category = m_categories.find(row.category);
            if (category != m_categories.end())
                record->attachTo(category->second.get());
            else
                logger().error(
                    QStringLiteral("%1 belongs to no stored category").arg(record->m_path));
            m_nextAppId = std::max(m_nextAppId, row.id + 1);
            m_appsByPath.insert(record->m_path, record.get());
            m_apps.emplace(row.id, std::move(record));
        },
        &error);
    if (!appsRead) return OperationResult::failure(error);
    return OperationResult::success();
}

Category *ModelContext::insertCategory(const NewCategory &values) {
    const std::int64_t id = m_nextCategoryId++;
    auto category = std::unique_ptr<Category>(new Category(this, id));
    category->m_categoryUUID =
        values.categoryUUID.isEmpty() ? Category::makeUUID() : values.categoryUUID;
    category->m_sortOrder = values.sortOrder;
    category->m_systemIconName = values.systemIconName;
    category->m_title = values.title;
    category->m_reservedType = values.reservedType;
    Category *result = category.get();
    m_categories.emplace(id, std::move(category));
    m_insertedCategories.insert(id);
    scheduleSave();
    return result;
}

AppRecord *ModelContext::insertAppRecord(const NewAppRecord &values) {
    const std::int64_t id = m_nextAppId++;
    auto record = std::unique_ptr<AppRecord>(new AppRecord(this, id));
    record->m_displayName = values.displayName;
    record->m_bundleID = values.bundleID;
    record->m_path = values.path;
    record->m_rankState = values.rankState;
    record->m_rankStateJson = values.rankState.toJson();
    record->attachTo(values.category);
    AppRecord *result = record.get();
    m_appsByPath.insert(result->m_path, result);
    m_apps.emplace(id, std::move(record));
    m_insertedApps.insert(id);
    scheduleSave();
    return result;
}

void ModelContext::deleteCategory(Category *category) {
    if (!category || category->m_context != this || category->m_deleted) return;
    const auto it = m_categories.find(category->id());
    const QList<AppRecord *> apps = category->m_apps;
    for (AppRecord *record : apps) {
        record->attachTo(nullptr);
        noteChanged(record);
    }
    category->m_deleted = true;
    m_deletedCategories.push_back(std::move(it->second));
    m_categories.erase(it);
    m_changedCategories.erase(category->id());
    if (m_insertedCategories.erase(category->id()) == 0) m_removedCategories.insert(category->id());
    scheduleSave();
}

void ModelContext::deleteAppRecord(AppRecord *record) {
    if (!record || record->m_context != this || record->m_deleted) return;
    const auto it = m_apps.find(record->id());
    record->attachTo(nullptr);
    m_appsByPath.remove(record->m_path, record);
    record->m_deleted = true;
    m_deletedApps.push_back(std::move(it->second));
    m_apps.erase(it);
    m_changedApps.erase(record->id());
    if (m_insertedApps.erase(record->id()) == 0) m_removedApps.insert(record->id());
    scheduleSave();
}

QList<Category *> ModelContext::fetchCategories() const {
    QList<Category *> result;
    result.reserve(qsizetype(m_categories.size()));
    for (const auto &entry : m_categories)
        result.append(entry.second.get());
    return result;
}

QList<AppRecord *> ModelContext::fetchAppRecords() const {
    QList<AppRecord *> result;
    result.reserve(qsizetype(m_apps.size()));
    for (const auto &entry : m_apps)
        result.append(entry.second.get());
    return result;
}

QList<AppRecord *> ModelContext::fetchAppRecords(const QString &path) const {
    QList<AppRecord *> result = m_appsByPath.values(path);
    std::sort(result.begin(), result.end(),
              [](const AppRecord *a, const AppRecord *b) { return a->id() < b->id(); });
    return result;
}

bool ModelContext::hasChanges() const {
    return !m_insertedCategories.empty() || !m_changedCategories.empty() ||
           !m_removedCategories.empty() || !m_insertedApps.empty() || !m_changedApps.empty() ||
           !m_removedApps.empty();
}

void ModelContext::noteChanged(Category *category) {
    if (!m_insertedCategories.contains(category->id())) m_changedCategories.insert(category->id());
    scheduleSave();
}

void ModelContext::noteChanged(AppRecord *record) {
    if (!m_insertedApps.contains(record->id())) m_changedApps.insert(record->id());
    scheduleSave();
}

void ModelContext::notePathChange(AppRecord *record, const QString &oldPath) {
    m_appsByPath.remove(oldPath, record);
    m_appsByPath.insert(record->m_path, record);
}

void ModelContext::scheduleSave() {
    if (m_saveScheduled) return;
    m_saveScheduled = true;
    QMetaObject::invokeMethod(this, &ModelContext::autosave, Qt::QueuedConnection);
}

void ModelContext::autosave() {
    m_saveScheduled = false;
    const OperationResult result = save();
    if (!result) logger().error(QStringLiteral("Autosave failed: %1").arg(result.error()));
}

OperationResult ModelContext::save() {
    if (!hasChanges()) return OperationResult::success();
    // A record without a category cannot be stored: its category is required.
    for (const std::set<std::int64_t> *ids : {&m_insertedApps, &m_changedApps}) {
        for (std::int64_t id : *ids) {
            const AppRecord &record = *m_apps.at(id);
            if (!record.m_category || record.m_category->m_deleted)
                return OperationResult::failure(
                    QStringLiteral("The application %1 has no category.").arg(record.m_path));
        }
    }

    QString error;
    bool ok = m_file->begin(&error);
    for (const std::set<std::int64_t> *ids : {&m_insertedCategories, &m_changedCategories}) {
        for (auto it = ids->begin(); ok && it != ids->end(); ++it) {
            const Category &category = *m_categories.at(*it);
            CategoryRow row = rowOf(category);
            if (category.m_reservedType)
                row.reservedType = rawValue(*category.m_reservedType);
            else if (!category.m_unknownReservedType.isEmpty())
                row.reservedType = category.m_unknownReservedType;
            ok = m_file->writeCategory(row, &error);
        }
    }
    for (const std::set<std::int64_t> *ids : {&m_insertedApps, &m_changedApps}) {
        const bool inserted = ids == &m_insertedApps;
        for (auto it = ids->begin(); ok && it != ids->end(); ++it) {
            const AppRecord &record = *m_apps.at(*it);
            if (!inserted && record.m_changedValues == AppRecord::RankStateValue)
                ok = m_file->writeRankState(record.id(), record.m_rankStateJson, &error);
            else
                ok = m_file->writeApp({record.id(), record.m_displayName, record.m_bundleID,
                                       record.m_path, record.m_category->id(),
                                       record.m_rankStateJson},
                                      &error);
        }
    }
    for (auto it = m_removedApps.begin(); ok && it != m_removedApps.end(); ++it)
        ok = m_file->deleteApp(*it, &error);
    for (auto it = m_removedCategories.begin(); ok && it != m_removedCategories.end(); ++it)
        ok = m_file->deleteCategory(*it, &error);
    if (!ok || !m_file->commit(&error)) {
        m_file->rollback();
        return OperationResult::failure(error);
    }

    for (std::set<std::int64_t> *ids : {&m_insertedApps, &m_changedApps}) {
        for (std::int64_t id : *ids)
            m_apps.at(id)->m_changedValues = 0;
    }
    for (std::set<std::int64_t> *ids :
         {&m_insertedCategories, &m_changedCategories, &m_removedCategories, &m_insertedApps,
          &m_changedApps, &m_removedApps})
        ids->clear();
    emit didSave();
    return OperationResult::success();
}

} // namespace velmora
