#pragma once

#include <string>
#include <vector>

// The `velmora` command's front: the requests a running launcher can take over are
// handed to it straight through its socket, without loading any of the GUI's libraries;
// everything else runs the full program. Plain C++ and POSIX only, so it starts in a
// couple of milliseconds.
namespace velmora::front {

// The message for a running launcher ("reopen", "toggle", "show", "hide"), or empty when
// the arguments need the full program.
[[nodiscard]] std::string messageFor(const std::vector<std::string> &arguments);

// $XDG_RUNTIME_DIR/org.velmora.Launcher.socket, or empty when that folder is not set or
// not a folder (the full program knows the fallbacks).
[[nodiscard]] std::string socketPath();

// Delivers `message` and waits for the launcher's "ok". False when nobody listens, the
// socket is left over from a dead launcher, or no answer came within `timeoutMs`.
[[nodiscard]] bool handOver(const std::string &socketPath, const std::string &message, int timeoutMs);

// The full program beside this front (in the build tree) or at its installed place
// relative to it; empty when neither exists.
[[nodiscard]] std::string fullProgram(const std::string &frontPath);

} // namespace velmora::front
