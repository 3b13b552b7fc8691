#pragma once

#include "velmora/library/OperationResult.h"

#include <QImage>
#include <QString>

namespace velmora {

// What the library needs from the desktop: an application's icon and a way to start it.
// The platform layer supplies the real one (platform/Workspace); tests supply their own.
class AppWorkspace {
public:
    virtual ~AppWorkspace();

    // The icon of the application at `path` (symbolic links followed), one image of
    // about `size` x `size` pixels; a null image when there is none.
    [[nodiscard]] virtual QImage loadIcon(const QString &path, int size) = 0;
    // Starts the application at `path`; the failure carries the platform's message.
    virtual OperationResult open(const QString &path) = 0;

    // The workspace AppRecord::loadIcon() and open() use; not owned. Main thread only.
    [[nodiscard]] static AppWorkspace *current();
    static void setCurrent(AppWorkspace *workspace);
};

} // namespace velmora
