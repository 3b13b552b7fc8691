#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <functional>

namespace kestrelkit {
class BundleInfo;
}

namespace velmora {

// The About tab: name, version, the privacy policy and the maker's website.
class AboutModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(QString appName READ appName CONSTANT)
    Q_PROPERTY(QString versionText READ versionText CONSTANT)
    Q_PROPERTY(QString makerName READ makerName CONSTANT)
    Q_PROPERTY(QUrl makerWebsiteUrl READ makerWebsiteUrl CONSTANT)
    Q_PROPERTY(QUrl privacyPolicyUrl READ privacyPolicyUrl CONSTANT)
public:
    // Opens a web page; returns false when nothing could open it.
    using UrlOpener = std::function<bool(const QUrl &)>;

    // `opener` empty means the desktop's default browser.
    explicit AboutModel(const kestrelkit::BundleInfo &bundle, UrlOpener opener = {},
                        QObject *parent = nullptr);

    [[nodiscard]] QString appName() const;
    // "version (build)", each part "Error" when the bundle lacks it.
    [[nodiscard]] QString versionText() const;
    [[nodiscard]] static QString makerName();
    [[nodiscard]] static QUrl makerWebsiteUrl();
    [[nodiscard]] static QUrl privacyPolicyUrl();

    Q_INVOKABLE bool openPrivacyPolicy() const;
    Q_INVOKABLE bool openMakerWebsite() const;
    // The icon was double-clicked: the shell shows the onboarding again.
    Q_INVOKABLE void requestOnboarding();

signals:
    void onboardingRequested();

private:
    bool open(const QUrl &url) const;

    const kestrelkit::BundleInfo &m_bundle;
    UrlOpener m_opener;
};

} // namespace velmora
