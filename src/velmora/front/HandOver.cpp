#include "HandOver.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace velmora::front {

namespace {

constexpr const char *kSocketName = "org.velmora.Launcher.socket";

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    [[nodiscard]] int get() const { return m_fd; }

private:
    int m_fd;
};

bool isExecutableFile(const std::string &path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string folderOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

} // namespace

std::string messageFor(const std::vector<std::string> &arguments)
{
    if (arguments.empty())
        return "reopen";
    if (arguments.size() == 1) {
        for (const char *action : {"toggle", "show", "hide"}) {
            if (arguments.front() == std::string("--") + action)
                return action;
        }
    }
    return {};
}

std::string socketPath()
{
    const char *dir = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (!dir || !*dir || ::stat(dir, &info) != 0 || !S_ISDIR(info.st_mode))
        return {};
    std::string path(dir);
    if (path.back() != '/')
        path += '/';
    return path + kSocketName;
}

bool handOver(const std::string &socketPath, const std::string &message, int timeoutMs)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.empty() || socketPath.size() >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);

    const Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    // A socket file without a listener refuses at once: a launcher that is gone.
    if (socket.get() < 0
        || ::connect(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0)
        return false;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    const auto waitFor = [&](short events) {
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            pollfd descriptor{socket.get(), events, 0};
            const int ready = ::poll(&descriptor, 1, int(left.count()));
            if (ready > 0)
                return true;
            if (ready < 0 && errno != EINTR)
                return false;
        }
    };

    const std::string line = message + '\n';
    std::size_t written = 0;
    while (written < line.size()) {
        if (!waitFor(POLLOUT))
            return false;
        const ssize_t n = ::send(socket.get(), line.data() + written, line.size() - written, MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return false;
        if (n > 0)
            written += std::size_t(n);
    }
    // The acknowledgement tells us the launcher read the message, not just the kernel.
    std::string answer;
    while (answer.find('\n') == std::string::npos && answer.size() < 64) {
        if (!waitFor(POLLIN))
            return false;
        char buffer[64];
        const ssize_t n = ::recv(socket.get(), buffer, sizeof(buffer), 0);
        if (n == 0)
            return false;
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return false;
        }
        answer.append(buffer, std::size_t(n));
    }
    return answer.rfind("ok\n", 0) == 0;
}

std::string fullProgram(const std::string &frontPath)
{
    const std::string folder = folderOf(frontPath);
    for (const std::string &candidate :
         {folder + "/velmora-app", folder + "/" + VELMORA_APP_FROM_FRONT}) {
        if (isExecutableFile(candidate))
            return candidate;
    }
    return {};
}

} // namespace velmora::front
