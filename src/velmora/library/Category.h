#pragma once

#include "velmora/library/ReservedType.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace velmora {

class AppRecord;
class ModelContext;

// A named group of applications: one section of the launcher grid.
// Owned by its ModelContext; pointers stay valid for the context's life (a deleted
// category stays allocated, with isDeleted() set). Main thread only.
class Category {
public:
    Category(const Category &) = delete;
    Category &operator=(const Category &) = delete;

    // Stable identity assigned by the store at insertion.
    [[nodiscard]] std::int64_t id() const { return m_id; }

    [[nodiscard]] const QString &categoryUUID() const { return m_categoryUUID; }
    [[nodiscard]] std::int64_t sortOrder() const { return m_sortOrder; }
    [[nodiscard]] const QString &systemIconName() const { return m_systemIconName; }
    [[nodiscard]] const QString &title() const { return m_title; }
    [[nodiscard]] std::optional<ReservedType> reservedType() const { return m_reservedType; }
    // The applications of this category, in no particular order.
    [[nodiscard]] const QList<AppRecord *> &apps() const { return m_apps; }

    void setCategoryUUID(const QString &uuid);
    void setSortOrder(std::int64_t sortOrder);
    void setSystemIconName(const QString &name);
    void setTitle(const QString &title);
    void setReservedType(std::optional<ReservedType> type);

    // What headers and lists show: the translated "Pinned", "Hidden" or
    // "Not Categorized" for a reserved category, the title otherwise.
    [[nodiscard]] QString displayTitle() const;

    [[nodiscard]] bool isDeleted() const { return m_deleted; }
    [[nodiscard]] ModelContext *context() const { return m_context; }

    // A fresh identifier: 36 upper-case characters, 8-4-4-4-12.
    [[nodiscard]] static QString makeUUID();

private:
    friend class ModelContext;
    friend class AppRecord;
    Category(ModelContext *context, std::int64_t id);
    void markChanged();

    ModelContext *m_context;
    std::int64_t m_id;
    QString m_categoryUUID;
    std::int64_t m_sortOrder = 0;
    QString m_systemIconName;
    QString m_title;
    std::optional<ReservedType> m_reservedType;
    // A stored reserved type we do not know, written back unchanged.
    QString m_unknownReservedType;
    QList<AppRecord *> m_apps;
    bool m_deleted = false;
};

// Categories are equal when their categoryUUID and sortOrder are.
[[nodiscard]] bool operator==(const Category &a, const Category &b);
[[nodiscard]] size_t qHash(const Category &category, size_t seed = 0);

// Value hashing for pointer keys, e.g. std::unordered_map<Category *, T, CategoryHash,
// CategoryEqual>.
struct CategoryHash {
    size_t operator()(const Category *category) const { return qHash(*category); }
};
struct CategoryEqual {
    bool operator()(const Category *a, const Category *b) const { return *a == *b; }
};

} // namespace velmora
