#include "velmora/launcher/ScrollId.h"

#include <QHashFunctions>

namespace velmora {

QString ScrollId::description() const
{
    struct Describe {
        QString operator()(qint64 v) const { return QString::number(v); }
        QString operator()(const QString &v) const { return v; }
        QString operator()(const QUuid &v) const { return v.toString(QUuid::WithoutBraces); }
    };
    return std::visit(Describe{}, m_value);
}

size_t qHash(const ScrollId &id, size_t seed) noexcept
{
    // The type takes part, so equal texts of different types land apart.
    seed = qHashMulti(seed, id.m_value.index());
    // Qualified, so that an integer does not convert back into a ScrollId and recurse.
    return std::visit([seed](const auto &v) { return ::qHash(v, seed); }, id.m_value);
}

} // namespace velmora
