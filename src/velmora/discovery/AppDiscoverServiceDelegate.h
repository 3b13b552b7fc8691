#pragma once

#include "velmora/discovery/MDSearchItem.h"
#include "velmora/discovery/SpotlightStatus.h"

namespace velmora {

// Receives the discovery service's results on the main thread. The service holds its
// delegate weakly when the delegate is also a QObject (tracked through QPointer);
// a delegate that is not a QObject must clear itself with setDelegate(nullptr).
class AppDiscoverServiceDelegate {
public:
    virtual ~AppDiscoverServiceDelegate() = default;

    // The complete, filtered and sorted list.
    virtual void discoverServiceDidUpdate(const MDSearchItemList &items) = 0;
    virtual void discoverServiceDidUpdateStatus(SpotlightStatus status) = 0;
};

} // namespace velmora
