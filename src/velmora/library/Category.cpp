#include "velmora/library/Category.h"

#include "velmora/library/ModelContext.h"

#include <QCoreApplication>
#include <QHashFunctions>
#include <QUuid>

namespace velmora {

Category::Category(ModelContext *context, std::int64_t id)
    : m_context(context)
    , m_id(id) {}

void Category::markChanged() {
    if (m_context && !m_deleted) m_context->noteChanged(this);
}

void Category::setCategoryUUID(const QString &uuid) {
    if (uuid == m_categoryUUID) return;
    m_categoryUUID = uuid;
    markChanged();
}

void Category::setSortOrder(std::int64_t sortOrder) {
    if (sortOrder == m_sortOrder) return;
    m_sortOrder = sortOrder;
    markChanged();
}

void Category::setSystemIconName(const QString &name) {
    if (name == m_systemIconName) return;
    m_systemIconName = name;
    markChanged();
}

void Category::setTitle(const QString &title) {
    if (title == m_title) return;
    m_title = title;
    markChanged();
}

void Category::setReservedType(std::optional<ReservedType> type) {
    if (type == m_reservedType && m_unknownReservedType.isEmpty()) return;
    m_reservedType = type;
    m_unknownReservedType.clear();
    markChanged();
}

QString Category::displayTitle() const {
    if (!m_reservedType) return m_title;
    switch (*m_reservedType) {
    case ReservedType::pinned:
        return QCoreApplication::translate("Category", "Pinned");
    case ReservedType::hidden:
        return QCoreApplication::translate("Category", "Hidden");
    case ReservedType::notCategorized:
        return QCoreApplication::translate("Category", "Not Categorized");
    }
    return m_title;
}

QString Category::makeUUID() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

bool operator==(const Category &a, const Category &b) {
    return a.categoryUUID() == b.categoryUUID() && a.sortOrder() == b.sortOrder();
}

size_t qHash(const Category &category, size_t seed) {
    return qHashMulti(seed, category.categoryUUID(), qint64(category.sortOrder()));
}

} // namespace velmora
