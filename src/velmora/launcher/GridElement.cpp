#include "velmora/launcher/GridElement.h"

#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"

#include <QHashFunctions>
#include <QUuid>

namespace velmora {

bool operator==(const GridElement &a, const GridElement &b)
{
    if (a.m_kind != b.m_kind)
        return false;
    switch (a.m_kind) {
    case GridElement::Kind::app:
        return a.m_app == b.m_app || (a.m_app && b.m_app && *a.m_app == *b.m_app);
    case GridElement::Kind::categoryHeader:
        return a.m_category == b.m_category
            || (a.m_category && b.m_category && *a.m_category == *b.m_category);
    case GridElement::Kind::spacer:
        return true;
    }
    return false;
}

size_t qHash(const GridElement &element, size_t seed)
{
    QtPrivate::QHashCombine combine;
    seed = combine(seed, int(element.kind()));
    if (const AppRecord *app = element.appRecord()) {
        seed = combine(seed, app->path());
        seed = combine(seed, app->bundleID());
    } else if (const Category *category = element.category()) {
        seed = combine(seed, category->categoryUUID());
        seed = combine(seed, qint64(category->sortOrder()));
    }
    return seed;
}

ScrollId scrollIdOf(const AppRecord &record)
{
    return ScrollId(record.path());
}

ScrollId scrollIdOf(const Category &category)
{
    const QUuid uuid = QUuid::fromString(category.categoryUUID());
    if (uuid.isNull())
        return ScrollId(category.categoryUUID());
    return ScrollId(uuid);
}

} // namespace velmora
