#pragma once

#include <cstddef>
#include <string>

// The TCP socket services the network manager needs, over POSIX sockets.
// Every socket these functions hand out is non-blocking, so no call stalls
// the game loop, and sending never raises a broken-pipe signal: a closed
// peer shows up as an error code instead.
//
// Functions that fail return -1 and leave the reason in lastSocketError().
namespace vk::platform {

// Start and release the socket library. POSIX needs neither: both succeed.
int socketStartup() noexcept;
int socketCleanup() noexcept;

// The error code of the last failed socket call of this thread.
[[nodiscard]] int lastSocketError() noexcept;

// The system's text for a socket error code.
[[nodiscard]] std::string socketErrorText(int code);

// Whether `code` only means "nothing to do right now" on a non-blocking socket.
[[nodiscard]] bool socketWouldBlock(int code) noexcept;

// Whether `code` means that the peer or the connection is gone for good.
[[nodiscard]] bool socketConnectionLost(int code) noexcept;

// A listening socket on every IPv4 interface at `port` (decimal; "0" picks a
// free port). When the port text cannot be used, -1 is returned with
// `lookup_error` set to a text saying why; otherwise `lookup_error` is cleared.
int listenSocket(const std::string &port, int backlog, std::string &lookup_error);

// The local port a socket is bound to, or -1.
[[nodiscard]] int socketPort(int sock) noexcept;

// Takes one pending connection from a listening socket; -1 when there is none
// (lastSocketError() then says "would block") or on error.
int acceptSocket(int server_sock) noexcept;

// Connects to `host` at `port`, trying each address the name resolves to and
// waiting at most `timeout_ms` for each. As for listenSocket, a name or port
// that cannot be resolved sets `lookup_error`.
int connectSocket(const std::string &host, const std::string &port, int timeout_ms, std::string &lookup_error);

// Releases a socket. POSIX releases the descriptor even when this reports an
// error, so the socket must not be used again either way.
int closeSocket(int sock) noexcept;

// Sends what the socket takes now; returns the number of bytes sent or -1.
long sendSocket(int sock, const void *p_buffer, std::size_t bytes) noexcept;

// Receives what has arrived, up to `bytes`; returns the count, 0 when the peer
// has closed the connection, or -1 (with "would block" when nothing waits).
long receiveSocket(int sock, void *p_buffer, std::size_t bytes, bool peek) noexcept;

} // namespace vk::platform
