#include "kestrelkit/BundleInfo.h"

#include "kestrelkit/BundleInfoData.h"
#include "kestrelkit/Logger.h"

namespace kestrelkit {

BundleInfo::BundleInfo(QVariantMap info)
    : m_info(std::move(info))
{
}

const BundleInfo &BundleInfo::main()
{
    static const BundleInfo info(QVariantMap{
        {QStringLiteral("CFBundleName"), QStringLiteral("Velmora")},
        {QStringLiteral("CFBundleDisplayName"), QStringLiteral("Velmora Launcher")},
        {QStringLiteral("CFBundleIdentifier"), QString::fromLatin1(kBundleIdentifier)},
        {QStringLiteral("CFBundleShortVersionString"), QStringLiteral(VELMORA_VERSION)},
        {QStringLiteral("CFBundleVersion"), QStringLiteral(VELMORA_BUILD)},
    });
    return info;
}

std::optional<QString> BundleInfo::string(const char *key) const
{
    const QVariant value = m_info.value(QLatin1String(key));
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

std::optional<QString> BundleInfo::bundleName() const { return string("CFBundleName"); }
std::optional<QString> BundleInfo::displayName() const { return string("CFBundleDisplayName"); }
std::optional<QString> BundleInfo::bundleIdentifier() const { return string("CFBundleIdentifier"); }

QString BundleInfo::appVersion() const
{
    return string("CFBundleShortVersionString").value_or(QStringLiteral("Error"));
}

QString BundleInfo::appBuild() const
{
    return string("CFBundleVersion").value_or(QStringLiteral("Error"));
}

const QString &makerWebsiteURL()
{
    static const QString url = QStringLiteral("https://velmora.org");
    return url;
}

} // namespace kestrelkit
