#pragma once

#include <QString>
#include <QVariantMap>

#include <optional>

namespace kestrelkit {

// The application's information dictionary (CFBundleName, CFBundleDisplayName,
// CFBundleShortVersionString, CFBundleVersion, CFBundleIdentifier), compiled in.
class BundleInfo {
public:
    explicit BundleInfo(QVariantMap info);
    static const BundleInfo &main();

    [[nodiscard]] std::optional<QString> bundleName() const;
    [[nodiscard]] std::optional<QString> displayName() const;
    [[nodiscard]] QString appVersion() const; // "Error" when missing
    [[nodiscard]] QString appBuild() const;   // "Error" when missing
    [[nodiscard]] std::optional<QString> bundleIdentifier() const;

private:
    [[nodiscard]] std::optional<QString> string(const char *key) const;
    QVariantMap m_info;
};

// The maker's website.
[[nodiscard]] const QString &makerWebsiteURL();

} // namespace kestrelkit
