#pragma once

#include "velmora/library/AppWorkspace.h"

#include <QImage>
#include <QString>

#include <optional>

namespace velmora {

// The desktop's workspace: starts applications and finds their icons.
// `.desktop` entries start through GIO; `.app` bundles through an `open` program when
// the system has one. Icons come from a desktop entry's Icon= (a file or a theme name)
// or a bundle's CFBundleIconFile. Main thread only (icons from the theme need the GUI).
class Workspace : public AppWorkspace {
public:
    [[nodiscard]] QImage loadIcon(const QString &path, int size) override;
    OperationResult open(const QString &path) override;

    // The target of a symbolic link (all links followed), the path itself otherwise;
    // none with a reason when the link leads nowhere.
    [[nodiscard]] static std::optional<QString> resolveAlias(const QString &path,
                                                             QString *error = nullptr);
    // One image of at most `size` x `size` from an image file, picking the best of the
    // sizes the file holds (.icns, .ico); null when the file cannot be read.
    [[nodiscard]] static QImage imageFromFile(const QString &file, int size);
};

} // namespace velmora
