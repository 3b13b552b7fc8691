#include "velmora/launcher/GridScroller.h"

namespace velmora {

GridScroller::~GridScroller() = default;

void ProxyGridScroller::scrollTo(const ScrollId &id, Alignment alignment, bool animated)
{
    m_proxy.scrollTo(id, alignment, animated);
}

} // namespace velmora
