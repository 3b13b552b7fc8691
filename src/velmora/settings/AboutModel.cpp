#include "velmora/settings/AboutModel.h"

#include "kestrelkit/BundleInfo.h"
#include "kestrelkit/Logger.h"

#include <QDesktopServices>

namespace velmora {

AboutModel::AboutModel(const kestrelkit::BundleInfo &bundle, UrlOpener opener, QObject *parent)
    : QObject(parent)
    , m_bundle(bundle)
    , m_opener(std::move(opener))
{
    if (!m_opener)
        m_opener = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
}

QString AboutModel::appName() const
{
    return m_bundle.displayName().value_or(QStringLiteral("Velmora Launcher"));
}

QString AboutModel::versionText() const
{
    return m_bundle.appVersion() + QStringLiteral(" (") + m_bundle.appBuild() + u')';
}

QString AboutModel::makerName()
{
    return QStringLiteral("The Velmora Project");
}

QUrl AboutModel::makerWebsiteUrl()
{
    return QUrl(kestrelkit::makerWebsiteURL());
}

QUrl AboutModel::privacyPolicyUrl()
{
    return QUrl(kestrelkit::makerWebsiteURL() + QStringLiteral("/privacy"));
}

bool AboutModel::openPrivacyPolicy() const
{
    return open(privacyPolicyUrl());
}

bool AboutModel::openMakerWebsite() const
{
    return open(makerWebsiteUrl());
}

void AboutModel::requestOnboarding()
{
    emit onboardingRequested();
}

bool AboutModel::open(const QUrl &url) const
{
    const bool opened = m_opener(url);
    if (!opened)
        kestrelkit::Logger(QStringLiteral("AboutModel"))
            .error(QStringLiteral("Cannot open %1").arg(url.toString()));
    return opened;
}

} // namespace velmora
