#include "velmora/library/AppRecord.h"

#include "velmora/library/AppWorkspace.h"
#include "velmora/library/Category.h"
#include "velmora/library/ModelContext.h"

#include "kestrelkit/Logger.h"

#include <QHashFunctions>

namespace velmora {

AppRecord::AppRecord(ModelContext *context, std::int64_t id)
    : m_context(context)
    , m_id(id) {}

void AppRecord::markChanged(ChangedValue value) {
    if (m_context && !m_deleted) {
        m_changedValues |= value;
        m_context->noteChanged(this);
    }
}

void AppRecord::setDisplayName(const QString &name) {
    if (name == m_displayName) return;
    m_displayName = name;
    markChanged();
}

void AppRecord::setBundleID(const QString &bundleID) {
    if (bundleID == m_bundleID) return;
    m_bundleID = bundleID;
    markChanged();
}

void AppRecord::setPath(const QString &path) {
    if (path == m_path) return;
    const QString oldPath = m_path;
    m_path = path;
    if (m_context && !m_deleted) m_context->notePathChange(this, oldPath);
    markChanged();
}

void AppRecord::attachTo(Category *category) {
    if (m_category) m_category->m_apps.removeOne(this);
    m_category = category;
    if (m_category) m_category->m_apps.append(this);
}

void AppRecord::setCategory(Category *category) {
    if (category == m_category) return;
    attachTo(category);
    markChanged();
}

const RankState &AppRecord::rankState() const {
    if (!m_rankStateDecoded) decodeRankState();
    return m_rankState;
}

void AppRecord::decodeRankState() const {
    m_rankStateDecoded = true;
    if (std::optional<RankState> state = RankState::fromJson(m_rankStateJson)) {
        m_rankState = std::move(*state);
        return;
    }
    static const kestrelkit::Logger logger(QStringLiteral("DataModel"));
    logger.error(
        QStringLiteral("The rank state of %1 does not decode; it starts afresh").arg(m_path));
    m_rankState = RankState{};
    m_rankStateUndecodable = true;
}

void AppRecord::setRankState(const RankState &state) {
    if (state == rankState() && !m_rankStateUndecodable) return;
    m_rankState = state;
    m_rankStateJson = state.toJson();
    m_rankStateUndecodable = false;
    markChanged(RankStateValue);
}

QString AppRecord::searchKey() const {
    QString name = m_displayName;
    name.replace(QLatin1Char('_'), QLatin1Char(' ')).replace(QLatin1Char('-'), QLatin1Char(' '));
    const QString lastPiece = m_bundleID.section(QLatin1Char('.'), -1);
    return (name + QLatin1Char(' ') + lastPiece).toLower();
}

QImage AppRecord::loadIcon() const {
    AppWorkspace *workspace = AppWorkspace::current();
    return workspace ? workspace->loadIcon(m_path, kIconSize) : QImage();
}

OperationResult AppRecord::open() const {
    AppWorkspace *workspace = AppWorkspace::current();
    if (!workspace)
        return OperationResult::failure(QStringLiteral("No workspace to open %1").arg(m_path));
    return workspace->open(m_path);
}

bool operator==(const AppRecord &a, const AppRecord &b) {
    return a.bundleID() == b.bundleID() && a.path() == b.path();
}

size_t qHash(const AppRecord &record, size_t seed) {
    return qHashMulti(seed, record.path(), record.bundleID());
}

} // namespace velmora
