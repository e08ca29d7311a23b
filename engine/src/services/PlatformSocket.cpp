#include "services/PlatformSocket.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vk::platform {

namespace {

#ifdef MSG_NOSIGNAL
constexpr int SEND_FLAGS = MSG_NOSIGNAL;
#else
constexpr int SEND_FLAGS = 0; // SO_NOSIGPIPE is set on every socket instead
#endif

// Non-blocking, closed on exec, and no broken-pipe signal where the system
// needs a socket option for that. False (errno set) when any of it fails.
bool prepareSocket(int sock) noexcept {
    const int flags = fcntl(sock, F_GETFL, 0);
    if (flags == -1 || fcntl(sock, F_SETFL, flags | O_NONBLOCK) == -1)
        return false;
    if (fcntl(sock, F_SETFD, FD_CLOEXEC) == -1)
        return false;
#ifdef SO_NOSIGPIPE
    const int on = 1;
    if (setsockopt(sock, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on) == -1)
        return false;
#endif
    return true;
}

// Closes `sock` without disturbing the errno of the failure being reported.
void discard(int sock) noexcept {
    const int saved = errno;
    ::close(sock);
    errno = saved;
}

// A port is 1 to 5 decimal digits up to 65535; the resolver would take
// service names and wrap large numbers around.
bool validPort(const std::string &port) noexcept {
    if (port.empty() || port.size() > 5)
        return false;
    long value = 0;
    for (const char c : port) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value <= 65535;
}

// Resolves `host` (null for every local interface) and `port`; on failure
// fills `lookup_error` and returns null. The caller frees the list.
addrinfo *resolve(const char *host, const std::string &port, int family, int flags, std::string &lookup_error) {
    lookup_error.clear();
    if (!validPort(port)) {
        lookup_error = "port '" + port + "' is not a number from 0 to 65535";
        return nullptr;
    }
    addrinfo hints{};
    hints.ai_family = family;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags | AI_NUMERICSERV;
    addrinfo *p_list = nullptr;
    const int result = getaddrinfo(host, port.c_str(), &hints, &p_list);
    if (result != 0) {
        lookup_error = result == EAI_SYSTEM ? std::strerror(errno) : gai_strerror(result);
        return nullptr;
    }
    return p_list;
}

// Waits for a non-blocking connect to finish; 0 when connected, else -1
// with errno set.
int finishConnect(int sock, int timeout_ms) noexcept {
    pollfd entry{sock, POLLOUT, 0};
    int ready = 0;
    do
        ready = poll(&entry, 1, timeout_ms);
    while (ready == -1 && errno == EINTR);
    if (ready == 0)
        errno = ETIMEDOUT;
    if (ready <= 0)
        return -1;
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(sock, SOL_SOCKET, SO_ERROR, &error, &length) == -1)
        return -1;
    if (error != 0) {
        errno = error;
        return -1;
    }
    return 0;
}

} // namespace

int socketStartup() noexcept { return 0; }

int socketCleanup() noexcept { return 0; }

int lastSocketError() noexcept { return errno; }

std::string socketErrorText(int code) { return std::strerror(code); }

bool socketWouldBlock(int code) noexcept { return code == EAGAIN || code == EWOULDBLOCK; }

bool socketConnectionLost(int code) noexcept {
    return code == ENOTCONN || code == EBADF || code == EPIPE || code == ECONNRESET;
}

int listenSocket(const std::string &port, int backlog, std::string &lookup_error) {
    addrinfo *p_list = resolve(nullptr, port, AF_INET, AI_PASSIVE, lookup_error);
    if (!p_list)
        return -1;
    const int sock = socket(p_list->ai_family, p_list->ai_socktype, p_list->ai_protocol);
    if (sock == -1) {
        freeaddrinfo(p_list);
        return -1;
    }
    // a restarted server may take its port back while old connections linger
    const int on = 1;
    const bool ok = setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0 && prepareSocket(sock) &&
                    bind(sock, p_list->ai_addr, p_list->ai_addrlen) == 0 && listen(sock, backlog) == 0;
    freeaddrinfo(p_list);
    if (!ok) {
        discard(sock);
        return -1;
    }
    return sock;
}

int socketPort(int sock) noexcept {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(sock, reinterpret_cast<sockaddr *>(&address), &length) == -1)
        return -1;
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in *>(&address)->sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6 *>(&address)->sin6_port);
    return -1;
}

int acceptSocket(int server_sock) noexcept {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    int sock = -1;
    do
        sock = ::accept(server_sock, reinterpret_cast<sockaddr *>(&address), &length);
    while (sock == -1 && errno == EINTR);
    if (sock == -1)
        return -1;
    // accepted sockets do not inherit the listening socket's non-blocking mode here
    if (!prepareSocket(sock)) {
        discard(sock);
        return -1;
    }
    return sock;
}

int connectSocket(const std::string &host, const std::string &port, int timeout_ms, std::string &lookup_error) {
    addrinfo *p_list = resolve(host.c_str(), port, AF_UNSPEC, 0, lookup_error);
    if (!p_list)
        return -1;
    int sock = -1;
    for (const addrinfo *p_a = p_list; p_a; p_a = p_a->ai_next) {
        sock = socket(p_a->ai_family, p_a->ai_socktype, p_a->ai_protocol);
        if (sock == -1)
            continue;
        if (prepareSocket(sock) &&
            (::connect(sock, p_a->ai_addr, p_a->ai_addrlen) == 0 ||
             ((errno == EINPROGRESS || errno == EINTR) && finishConnect(sock, timeout_ms) == 0)))
            break;
        discard(sock);
        sock = -1;
    }
    freeaddrinfo(p_list);
    return sock;
}

int closeSocket(int sock) noexcept { return ::close(sock); }

long sendSocket(int sock, const void *p_buffer, std::size_t bytes) noexcept {
    ssize_t sent = 0;
    do
        sent = ::send(sock, p_buffer, bytes, SEND_FLAGS);
    while (sent == -1 && errno == EINTR);
    return static_cast<long>(sent);
}

long receiveSocket(int sock, void *p_buffer, std::size_t bytes, bool peek) noexcept {
    ssize_t received = 0;
    do
        received = ::recv(sock, p_buffer, bytes, peek ? MSG_PEEK : 0);
    while (received == -1 && errno == EINTR);
    return static_cast<long>(received);
}

} // namespace vk::platform
