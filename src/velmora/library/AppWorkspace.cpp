#include "velmora/library/AppWorkspace.h"

namespace velmora {

namespace {
AppWorkspace *g_current = nullptr;
}

AppWorkspace::~AppWorkspace() = default;

AppWorkspace *AppWorkspace::current() {
    return g_current;
}

void AppWorkspace::setCurrent(AppWorkspace *workspace) {
    g_current = workspace;
}

} // namespace velmora
