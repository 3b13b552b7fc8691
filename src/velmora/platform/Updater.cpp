#include "velmora/platform/Updater.h"

#include "kestrelkit/DefaultsStore.h"
#include "kestrelkit/Logger.h"
#include "kestrelkit/ObservableUserDefault.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QVersionNumber>

namespace velmora {

namespace {

const kestrelkit::Logger &logger()
{
    static const kestrelkit::Logger log(QStringLiteral("Updater"));
    return log;
}

constexpr int kTimeoutMs = 15000;

} // namespace

Updater::Updater(QString currentVersion, kestrelkit::DefaultsStore *store, QObject *parent)
    : QObject(parent)
    , m_currentVersion(std::move(currentVersion))
    , m_store(store)
{
}

std::optional<QUrl> Updater::feedUrl() const
{
    const kestrelkit::ObservableUserDefault<QString> feed(QStringLiteral("update.feedURL"), {},
                                                          m_store);
    const QUrl url(feed.get());
    if (feed.get().isEmpty() || !url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    return url;
}

Updater::Result Updater::evaluateFeed(const QByteArray &json, const QString &currentVersion)
{
    Result result;
    const QJsonObject feed = QJsonDocument::fromJson(json).object();
    const QString latest = feed.value(QStringLiteral("version")).toString();
    const QVersionNumber latestNumber = QVersionNumber::fromString(latest);
    if (latestNumber.isNull()) {
        result.kind = Result::Kind::Failed;
        result.message = QStringLiteral("The update feed names no version.");
        return result;
    }
    result.latestVersion = latest;
    result.downloadUrl = QUrl(feed.value(QStringLiteral("url")).toString());
    if (latestNumber > QVersionNumber::fromString(currentVersion)) {
        result.kind = Result::Kind::UpdateAvailable;
        result.message = QStringLiteral("Velmora Launcher %1 is available.").arg(latest);
    } else {
        result.kind = Result::Kind::UpToDate;
        result.message = QStringLiteral("Velmora Launcher %1 is up to date.").arg(currentVersion);
    }
    return result;
}

void Updater::checkForUpdates(bool userInitiated)
{
    const auto url = feedUrl();
    if (!url) {
        Result result;
        result.kind = Result::Kind::NoFeed;
        result.message = QStringLiteral("Updates come from your package manager.");
        QTimer::singleShot(0, this, [this, result, userInitiated] { finish(result, userInitiated); });
        return;
    }
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(*url);
    request.setTransferTimeout(kTimeoutMs);
    QNetworkReply *reply = m_network->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply, userInitiated] {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError) {
            Result failed;
            failed.kind = Result::Kind::Failed;
            failed.message = QStringLiteral("Could not check for updates: %1").arg(reply->errorString());
            finish(failed, userInitiated);
            return;
        }
        finish(evaluateFeed(reply->readAll(), m_currentVersion), userInitiated);
    });
}

void Updater::finish(const Result &result, bool userInitiated)
{
    if (result.kind == Result::Kind::Failed)
        logger().error(result.message);
    else
        logger().info(result.message);
    emit checkFinished(result, userInitiated);
}

} // namespace velmora
