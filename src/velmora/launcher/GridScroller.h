#pragma once

#include "velmora/launcher/ScrollId.h"
#include "velmora/launcher/ScrollViewProxy.h"

namespace velmora {

// What the keyboard moves need from the grid's scroll area: bring a registered cell into
// view. The screen passes its ScrollViewProxy (through ProxyGridScroller); tests record.
class GridScroller {
public:
    virtual ~GridScroller();
    virtual void scrollTo(const ScrollId &id, Alignment alignment, bool animated) = 0;
};

// Forwards to a ScrollViewProxy (a copy shares the proxy's registry and scroll view).
class ProxyGridScroller final : public GridScroller {
public:
    explicit ProxyGridScroller(ScrollViewProxy proxy) : m_proxy(std::move(proxy)) {}
    void scrollTo(const ScrollId &id, Alignment alignment, bool animated) override;

private:
    ScrollViewProxy m_proxy;
};

} // namespace velmora
