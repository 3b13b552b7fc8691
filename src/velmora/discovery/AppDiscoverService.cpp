#include "velmora/discovery/AppDiscoverService.h"

#include "velmora/discovery/FolderManager.h"
#include "velmora/discovery/MetadataQuery.h"

#include <QCollator>
#include <QProcess>
#include <QStringDecoder>

#include <algorithm>
#include <numeric>
#include <vector>

namespace velmora {

namespace {

const QString kCoreServices = QStringLiteral("/System/Library/CoreServices");
const QString kCoreServicesApplications = QStringLiteral("/System/Library/CoreServices/Applications");
const QString kOwnDesktopFileID = QStringLiteral("org.velmora.Launcher.desktop");

bool passesCoreServicesRule(const MDSearchItem &item, const QStringList &whiteList)
{
    return !item.path.contains(kCoreServices) || item.path.contains(kCoreServicesApplications)
           || whiteList.contains(item.bundleID);
}

bool isOwnIdentifier(const QString &bundleID)
{
    return bundleID == QLatin1String(kestrelkit::kBundleIdentifier) || bundleID == kOwnDesktopFileID;
}

} // namespace

AppDiscoverService::AppDiscoverService(DiscoveryEnvironment environment, FolderManager *folders,
                                       QObject *parent)
    : QObject(parent)
    , m_logger(QString::fromLatin1(kestrelkit::kBundleIdentifier), QStringLiteral("AppDiscoverService"))
    , m_environment(std::move(environment))
    , m_folders(folders)
    , m_query(new MetadataQuery(this))
{
    qRegisterMetaType<velmora::MDSearchItemList>();
    connect(m_query, &MetadataQuery::didFinishGathering, this, &AppDiscoverService::rebuild);
    connect(m_query, &MetadataQuery::didUpdate, this, &AppDiscoverService::rebuild);
}

AppDiscoverService::~AppDiscoverService() = default;

AppDiscoverService &AppDiscoverService::shared()
{
    // Lives until the process ends, as the live query does.
    static auto *instance = new AppDiscoverService();
    return *instance;
}

QString AppDiscoverService::searchAppsTerm()
{
    return QStringLiteral("kMDItemContentType == 'com.apple.application-bundle'");
}

QStringList AppDiscoverService::coreServicesWhiteList()
{
    return {QStringLiteral("com.apple.finder"), QStringLiteral("com.apple.widgetkit.simulator")};
}

void AppDiscoverService::start()
{
    FolderManager &folders = m_folders ? *m_folders : FolderManager::shared();
    m_query->setSearchScopes(m_environment.searchScopes(folders.paths()));
    m_query->setOptions({m_environment.currentDesktop, m_environment.coalesceMilliseconds,
                         m_environment.maxDepth});
    if (m_query->start())
        m_logger.info(QStringLiteral("NSMetadataQuery started."));
    else
        m_logger.error(QStringLiteral("NSMetadataQuery start error."));
}

void AppDiscoverService::setDelegate(AppDiscoverServiceDelegate *delegate)
{
    m_delegate = delegate;
    // Held weakly: a QObject delegate that is destroyed reads back as none.
    m_delegateObject = dynamic_cast<QObject *>(delegate);
    m_delegateIsObject = !m_delegateObject.isNull();
}

AppDiscoverServiceDelegate *AppDiscoverService::delegate() const
{
    if (m_delegateIsObject && m_delegateObject.isNull())
        return nullptr;
    return m_delegate;
}

MDSearchItemList AppDiscoverService::filteredAndSorted(const MDSearchItemList &items)
{
    const QStringList whiteList = coreServicesWhiteList();
    MDSearchItemList kept;
    kept.reserve(items.size());
    for (const MDSearchItem &item : items) {
        if (passesCoreServicesRule(item, whiteList) && !isOwnIdentifier(item.bundleID))
            kept.append(item);
    }

    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<qsizetype> order(size_t(kept.size()));
    std::iota(order.begin(), order.end(), 0);
    if (collator.locale().language() == QLocale::C) {
        // Qt's sort keys ignore the case setting in the C locale; compare() does not.
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            return collator.compare(kept[a].displayName, kept[b].displayName) < 0;
        });
    } else {
        // Sort keys: one collation per name instead of one per comparison.
        std::vector<QCollatorSortKey> keys;
        keys.reserve(order.size());
        for (const MDSearchItem &item : kept)
            keys.push_back(collator.sortKey(item.displayName));
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            return keys[size_t(a)].compare(keys[size_t(b)]) < 0;
        });
    }
    MDSearchItemList sorted;
    sorted.reserve(kept.size());
    for (const qsizetype index : order)
        sorted.append(kept[index]);
    return sorted;
}

void AppDiscoverService::rebuild()
{
    const QList<MetadataItemPtr> raw = m_query->results();
    MDSearchItemList items;
    items.reserve(raw.size());
    for (const MetadataItemPtr &entry : raw) {
        if (auto item = MDSearchItem::fromMetadataItem(entry))
            items.append(std::move(*item));
    }
    m_results = filteredAndSorted(items);
    if (AppDiscoverServiceDelegate *d = delegate())
        d->discoverServiceDidUpdate(m_results);
    m_logger.info(QStringLiteral("NSMetadataQuery result updated with app count: %1.").arg(raw.size()));
    emit resultsUpdated(m_results);
}

std::optional<SpotlightStatus> AppDiscoverService::checkSpotlightStatus(const QString &path) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(m_environment.mdutilProgram, {QStringLiteral("-s"), path});
    if (!process.waitForStarted())
        return std::nullopt; // the utility is absent here; nothing to ask
    process.closeWriteChannel();
    QByteArray output;
    while (process.waitForReadyRead(-1))
        output += process.readAll();
    process.waitForFinished(-1);
    output += process.readAll();

    const int status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(output);
    if (status != 0 || decoder.hasError()) {
        m_logger.error(QStringLiteral("Unknown spotlight status: %1").arg(status));
        return std::nullopt;
    }
    const QString lower = text.toLower();
    if (lower.contains(QLatin1String("indexing enabled")))
        return SpotlightStatus::ready;
    if (lower.contains(QLatin1String("indexing")))
        return SpotlightStatus::indexing;
    if (lower.contains(QLatin1String("disabled")))
        return SpotlightStatus::disabled;
    return std::nullopt;
}

} // namespace velmora
