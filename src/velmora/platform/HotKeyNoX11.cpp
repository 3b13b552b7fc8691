#include "velmora/platform/HotKey.h"

namespace velmora {

// Built without Xlib: no X11 grabs.
std::unique_ptr<HotKey> createX11HotKey()
{
    return nullptr;
}

} // namespace velmora
