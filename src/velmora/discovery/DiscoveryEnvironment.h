#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// Every folder and program the discovery service looks at, so tests can point it at a
// temporary tree. fromProcess() reads the real environment.
struct DiscoveryEnvironment {
    QString homePath;
    // The fixed application folders, searched first and in this order.
    QStringList fixedScopes{QStringLiteral("/Applications"), QStringLiteral("/System/Applications"),
                            QStringLiteral("/System/Library/CoreServices")};
    QString xdgDataHome;     // empty: $HOME/.local/share
    QStringList xdgDataDirs; // empty: /usr/local/share, /usr/share
    // Flatpak (system, user) and Snap exports; used only when they exist and are not listed.
    QStringList exportFolders;
    QString currentDesktop;  // XDG_CURRENT_DESKTOP, colon-separated
    QString mdutilProgram = QStringLiteral("/usr/bin/mdutil");
    int coalesceMilliseconds = 250;
    int maxDepth = 8;

    [[nodiscard]] static DiscoveryEnvironment fromProcess();

    // The XDG application folders in precedence order (highest first), without duplicates.
    [[nodiscard]] QStringList xdgApplicationFolders() const;
    // All search scopes in order: fixed scopes, home/Applications, XDG application folders,
    // then `userFolders`; duplicates (by cleaned path) keep their first place.
    [[nodiscard]] QStringList searchScopes(const QStringList &userFolders) const;
};

} // namespace velmora
