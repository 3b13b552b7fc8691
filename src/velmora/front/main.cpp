#include "HandOver.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// A running launcher answers within this time; a dead socket fails at once.
constexpr int kHandOverTimeoutMs = 2000;

std::string selfPath(const char *argv0)
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (n > 0)
        return std::string(buffer, std::size_t(n));
    return argv0 ? argv0 : "velmora";
}

} // namespace

int main(int argc, char *argv[])
{
    using namespace velmora::front;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string message = messageFor(arguments);
    if (!message.empty() && handOver(socketPath(), message, kHandOverTimeoutMs))
        return 0;

    // Nothing running to take it, or a request only the full program serves.
    const std::string self = selfPath(argc > 0 ? argv[0] : nullptr);
    const std::string program = fullProgram(self);
    if (program.empty()) {
        std::fprintf(stderr, "velmora: the launcher program is missing (looked beside %s)\n", self.c_str());
        return 127;
    }
    ::execv(program.c_str(), argv);
    std::fprintf(stderr, "velmora: cannot start %s: %s\n", program.c_str(), std::strerror(errno));
    return 127;
}
