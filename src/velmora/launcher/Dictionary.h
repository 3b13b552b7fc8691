#pragma once

#include <QString>

#include <optional>

namespace velmora {

// Definitions from the WordNet database (the system dictionary on this platform).
// WordNet keeps global state and static result buffers, so every lookup in the process
// is serialised; a lookup may be made from any thread.
class Dictionary {
public:
    // A plain-text definition of `term`, or nothing when the term is unknown, unsuitable
    // (empty, over-long, control characters) or the database is not installed.
    [[nodiscard]] static std::optional<QString> definition(const QString &term);

    // Whether the database could be opened (tried once per process).
    [[nodiscard]] static bool isAvailable();
};

} // namespace velmora
