#pragma once

#include <QString>

#include <functional>

namespace velmora {

// How the launcher's windows are drawn. Qt Quick renders through OpenGL by default;
// without a usable GPU that is Mesa's llvmpipe, which loads LLVM (some 55 MB resident)
// and rasterises more slowly than Qt Quick's own software renderer. So without a GPU
// render node this process can open, the software renderer is chosen, unless the user
// picked a backend (QT_QUICK_BACKEND, QSG_RHI_BACKEND).
enum class GraphicsBackend { gpu, software, userChoice };

// `driFolder` is /dev/dri; `environment` reads a variable (empty: unset).
[[nodiscard]] GraphicsBackend chooseGraphicsBackend(
    const QString &driFolder, const std::function<QString(const char *)> &environment);

// Decides for this process; call before the application object exists.
void applyGraphicsBackend();

} // namespace velmora
