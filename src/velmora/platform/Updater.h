#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>

class QNetworkAccessManager;

namespace kestrelkit {
class DefaultsStore;
}

namespace velmora {

// The self-update check. The feed named by the defaults key "update.feedURL" is a JSON
// object {"version": "1.2.0", "url": "https://..."}; without a feed, updates come from
// the package manager and the check says so.
class Updater : public QObject {
    Q_OBJECT
public:
    struct Result {
        enum class Kind { NoFeed, UpToDate, UpdateAvailable, Failed };
        Kind kind = Kind::NoFeed;
        QString latestVersion;
        QUrl downloadUrl;
        QString message; // one sentence for a person
    };

    // `store` null means the user's defaults.
    explicit Updater(QString currentVersion, kestrelkit::DefaultsStore *store = nullptr,
                     QObject *parent = nullptr);

    [[nodiscard]] std::optional<QUrl> feedUrl() const;
    // Asynchronous; `checkFinished` follows once, also when no feed is set.
    void checkForUpdates(bool userInitiated);

    // Reads a feed document against the running version (exposed for tests).
    [[nodiscard]] static Result evaluateFeed(const QByteArray &json, const QString &currentVersion);

signals:
    void checkFinished(const velmora::Updater::Result &result, bool userInitiated);

private:
    void finish(const Result &result, bool userInitiated);

    QString m_currentVersion;
    kestrelkit::DefaultsStore *m_store;
    QNetworkAccessManager *m_network = nullptr;
};

} // namespace velmora

Q_DECLARE_METATYPE(velmora::Updater::Result)
