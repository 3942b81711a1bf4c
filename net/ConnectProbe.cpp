// A non-blocking connect, waited for with poll().
#include "net/ConnectProbe.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

class TDescriptor {
public:
    explicit TDescriptor(int fd) : Fd(fd) {}
    ~TDescriptor() {
        if (Fd >= 0) close(Fd);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    [[nodiscard]] int Get() const { return Fd; }

private:
    int Fd;
};

} // namespace

bool PeerAnswers(uint32_t host, uint16_t port, int32_t timeoutMs) {
    const TDescriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.Get() < 0) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = host;
    address.sin_port = port;
    if (connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return true;
    if (errno != EINPROGRESS) return false;

    using TSteady = std::chrono::steady_clock;
    const TSteady::time_point deadline = TSteady::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TSteady::now()).count();
        if (left <= 0) return false;
        pollfd waiting{socket.Get(), POLLOUT, 0};
        const int ready = poll(&waiting, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) return false;
        return error == 0;
    }
}
