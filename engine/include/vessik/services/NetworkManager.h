#pragma once

#include <vessik/export.h>

#include <vessik/core/Manager.h>

#include <deque>
#include <string>
#include <vector>

namespace vk {

// The port a server listens on unless told otherwise.
inline const std::string DEFAULT_PORT = "9876";

// TCP connections for games that play over the network. The manager can act
// as a server (listen on a port and accept a connection per game-loop step)
// and connect to servers as a client; every connection, accepted or made, is
// known by its index in one table. Indices shift down when an earlier
// connection closes. Objects interested in "vk-network" hear of every
// connection opened and closed.
//
// All sockets are non-blocking: no call stalls the game loop except connect,
// which waits a bounded time for the peer to answer. Sending to a peer that
// has gone closes the connection; it never ends the program.
class VK_API NetworkManager : public Manager {
  public:
    static NetworkManager &getInstance();
    // Releases the sockets quietly; raises no events.
    ~NetworkManager() override;

    // True for "vk-network" and the seven other network event names.
    [[nodiscard]] bool isValid(std::string event_type) const override;

    // Starting opens no socket: a manager becomes a server or client only
    // through setServer or connect.
    int startUp() override;
    // Closes every connection (raising their events) and the server socket.
    void shutDown() override;

    // Listens on `port` on every IPv4 interface ("0": any free port, see
    // getServerPort). 0 on success; -1 when not started, already a server,
    // or the port cannot be used.
    int setServer(std::string port = DEFAULT_PORT);
    // Stops listening; connections stay open. 0, or -1 when not a server.
    int closeServer();
    [[nodiscard]] bool isServer() const noexcept { return m_server_sock != -1; }
    // The port the server listens on, or -1 when not a server.
    [[nodiscard]] int getServerPort() const noexcept;

    // Takes one pending connection, raising a "vk-network" event with label 0
    // and the new index. Returns that index, -1 when there is nothing to
    // accept (or the maximum is reached), -2 on error or when not a server.
    int accept();

    // Connects to a server, waiting at most CONNECT_TIMEOUT_MS, and raises a
    // "vk-network" event with label 1 and the new index. Returns that index,
    // or -1 when not started or the connection fails. The maximum applies to
    // accepted connections only.
    int connect(std::string host, std::string port = DEFAULT_PORT);

    // Most accepted connections open at once (3 unless set); connections made
    // with connect() do not count. Lowering it below the current count closes
    // nothing. 0, or -1 for a negative value.
    int setMaxConnections(int max_connections);
    [[nodiscard]] int getMaxConnections() const noexcept { return m_max_connections; }
    [[nodiscard]] int getNumConnections() const noexcept { return static_cast<int>(m_sock.size()); }

    // Closes connection `index`, or all of them when -1, raising a
    // "vk-network" event with label 2 for each, in ascending order, with the
    // index it had. Queued messages of closed connections are dropped.
    // 0, or -1 when `index` is not a connection or a close reported an error
    // (the connection is gone from the table either way).
    int close(int index);

    // Whether `index` is a connection; -1 asks whether there is any.
    [[nodiscard]] bool isConnected(int index) const;

    // Sends `bytes` bytes now. 0 when all went out; -1 otherwise, nothing is
    // retried. A connection found gone is closed (later indices shift).
    int send(const void *p_buffer, int bytes, int index);

    // Copies `bytes` bytes into connection `index`'s queue, to be sent by
    // flushQueues() once the game loop's step count reaches `due_step`.
    // Messages of one connection go out in the order queued: one that is not
    // due yet holds back those behind it. 0, or -1 for a bad connection or size.
    int queueMessage(const void *p_buffer, int bytes, int index, int due_step);
    // Sends the queued messages that are due; the sum of the send results.
    int flushQueues();

    // Reads up to `bytes` bytes that have arrived on connection `index` into
    // `p_buffer` (left in place for a later read when `peek`). Returns the
    // count, 0 when nothing is waiting, -1 on error or when the peer has
    // closed the connection (which is then closed here).
    int receive(void *p_buffer, int bytes, int index, bool peek = false);

    // How long connect waits for a peer to answer.
    static constexpr int CONNECT_TIMEOUT_MS = 3000;

  private:
    NetworkManager();

    struct Message {
        std::vector<char> bytes;
        int due_step = 0;
    };

    // Appends a connection with an empty queue; returns its index.
    int addConnection(int sock, bool accepted);
    // Tells the interested objects that connection `index` opened or closed.
    void announce(int label, int index) const;

    int m_server_sock = -1;
    int m_max_connections = 3;
    std::vector<int> m_sock;
    std::vector<std::deque<Message>> m_queue;
    // whether each connection came in through accept(): only those count
    // against the maximum
    std::vector<bool> m_accepted;
};

// Writes the system's text for a socket error code as "\t<code> - <text>".
VK_API void logSocketError(int code);

} // namespace vk
