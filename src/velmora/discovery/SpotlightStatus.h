#pragma once

namespace velmora {

// Whether the volume's index is usable: indexed, being indexed, or switched off.
enum class SpotlightStatus {
    ready,
    indexing,
    disabled,
};

} // namespace velmora
