#include <vessik/services/NetworkManager.h>

#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/services/EventNetwork.h>

#include "services/PlatformSocket.h"

#include <algorithm>
#include <utility>

namespace vk {

namespace {

// Connections waiting to be accepted; accept() takes one per step.
constexpr int LISTEN_BACKLOG = 16;

const std::string NETWORK_EVENTS[] = {NETWORK_EVENT,           KEYBOARD_NETWORK_EVENT, MSE_NETWORK_EVENT,
                                      NETWORK_CREATE_EVENT,    CUSTOM_NETWORK_EVENT,   NETWORK_DELETE_EVENT,
                                      NETWORK_GAME_OVER_EVENT, NETWORK_SYNC_EVENT};

} // namespace

void logSocketError(int code) {
    LogManager::getInstance().writeLog("\t%d - %s", code, platform::socketErrorText(code).c_str());
}

NetworkManager::NetworkManager() { setType("NetworkManager"); }

NetworkManager::~NetworkManager() {
    // at exit the objects that would hear close events may be gone already
    for (const int sock : m_sock)
        platform::closeSocket(sock);
    if (m_server_sock != -1)
        platform::closeSocket(m_server_sock);
}

NetworkManager &NetworkManager::getInstance() {
    static NetworkManager network_manager;
    return network_manager;
}

bool NetworkManager::isValid(std::string event_type) const {
    for (const std::string &name : NETWORK_EVENTS)
        if (event_type == name)
            return true;
    LogManager::getInstance().writeLog("NetworkManager::isValid(): Error! NetworkManager does not handle %s.",
                                       event_type.c_str());
    return false;
}

int NetworkManager::startUp() {
    LogManager &log = LogManager::getInstance();
    if (isStarted()) {
        log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(), getType().c_str());
        return -1;
    }
    if (platform::socketStartup() != 0) {
        log.writeLog("NetworkManager::startUp(): Error! WSAStartup() code : %d", platform::lastSocketError());
        return 1;
    }
    Manager::startUp();
    log.writeLog(5, "NetworkManager::startUp(): successfully started.");
    return 0;
}

void NetworkManager::shutDown() {
    close(-1);
    if (isServer())
        closeServer();
    if (platform::socketCleanup() != 0)
        logSocketError(platform::lastSocketError());
    Manager::shutDown();
    LogManager::getInstance().writeLog(5, "NetworkManager::shutDown(): successfully stopped.");
}

int NetworkManager::setServer(std::string port) {
    LogManager &log = LogManager::getInstance();
    if (!isStarted()) {
        log.writeLog("%s not started!", getType().c_str());
        return -1;
    }
    if (isServer()) {
        log.writeLog("NetworkManager::setServer(): Error! Already setup as server.");
        return -1;
    }
    std::string lookup_error;
    const int sock = platform::listenSocket(port, LISTEN_BACKLOG, lookup_error);
    if (sock == -1) {
        const int code = platform::lastSocketError();
        log.writeLog("NetworkManager::setServer(): Error! Unable to listen on port %s:", port.c_str());
        if (!lookup_error.empty())
            log.writeLog("\t%s", lookup_error.c_str());
        else
            logSocketError(code);
        return -1;
    }
    m_server_sock = sock;
    log.writeLog(1, "NetworkManager::setServer(): Listening on port %d.", getServerPort());
    return 0;
}

int NetworkManager::closeServer() {
    LogManager &log = LogManager::getInstance();
    if (!isServer()) {
        log.writeLog("NetworkManager::closeServer(): Error! Not setup as server.");
        return -1;
    }
    const int sock = m_server_sock;
    m_server_sock = -1;
    if (platform::closeSocket(sock) != 0) {
        const int code = platform::lastSocketError();
        log.writeLog("NetworkManager::closeServer(): Error! close() returned:");
        logSocketError(code);
        return -1;
    }
    log.writeLog(1, "NetworkManager::closeServer(): Server closed.");
    return 0;
}

int NetworkManager::getServerPort() const noexcept {
    return isServer() ? platform::socketPort(m_server_sock) : -1;
}

int NetworkManager::addConnection(int sock, bool accepted) {
    m_sock.push_back(sock);
    m_queue.emplace_back();
    m_accepted.push_back(accepted);
    return getNumConnections() - 1;
}

void NetworkManager::announce(int label, int index) const {
    EventNetwork event(label);
    event.setSocketIndex(index);
    event.setBytes(0);
    onEvent(&event);
}

int NetworkManager::accept() {
    LogManager &log = LogManager::getInstance();
    if (!isServer()) {
        log.writeLog("NetworkManager::accept(): Error! Not setup as server.");
        return -2;
    }
    if (std::count(m_accepted.begin(), m_accepted.end(), true) >= m_max_connections) {
        log.writeLog(20, "NetworkManager::accept(): Won't check for new connetions since at max.");
        log.writeLog(20, "\tUse NM.setMaxConnections() to change max.");
        return -1;
    }
    const int sock = platform::acceptSocket(m_server_sock);
    if (sock == -1) {
        const int code = platform::lastSocketError();
        if (platform::socketWouldBlock(code)) {
            log.writeLog(15, "NetworkManager::accept(): No new connection. Not blocking.");
            return -1;
        }
        log.writeLog("NetworkManager::accept(): Error! accept() returned:");
        logSocketError(code);
        return -2;
    }
    const int index = addConnection(sock, true);
    log.writeLog(1, "NetworkManager::accept(): New connection, socket %d.", index);
    announce(NETWORK_ACCEPT, index);
    return index;
}

int NetworkManager::connect(std::string host, std::string port) {
    LogManager &log = LogManager::getInstance();
    if (!isStarted()) {
        log.writeLog("%s not started!", getType().c_str());
        return -1;
    }
    std::string lookup_error;
    const int sock = platform::connectSocket(host, port, CONNECT_TIMEOUT_MS, lookup_error);
    if (sock == -1) {
        const int code = platform::lastSocketError();
        log.writeLog("NetworkManager::connect(): Error! Unable to connect to %s:%s.", host.c_str(), port.c_str());
        if (!lookup_error.empty())
            log.writeLog("\t%s", lookup_error.c_str());
        else
            logSocketError(code);
        return -1;
    }
    const int index = addConnection(sock, false);
    log.writeLog(1, "NetworkManager::connect(): Connected to %s:%s, socket %d.", host.c_str(), port.c_str(), index);
    announce(NETWORK_CONNECT, index);
    return index;
}

int NetworkManager::setMaxConnections(int max_connections) {
    if (max_connections < 0) {
        LogManager::getInstance().writeLog("NetworkManager::setMaxConnections(): Error! %d is less than 0.",
                                           max_connections);
        return -1;
    }
    m_max_connections = max_connections;
    return 0;
}

int NetworkManager::close(int index) {
    LogManager &log = LogManager::getInstance();
    const int count = getNumConnections();
    if (index < -1 || index >= count) {
        log.writeLog("NetworkManager::close(): Error! Socket %d not connected. Unable to close.", index);
        return -1;
    }
    const int first = index == -1 ? 0 : index;
    const int end = index == -1 ? count : index + 1;

    // out of the table before any handler runs: a handler that sends or
    // closes again must not reach a released socket
    const std::vector<int> closing(m_sock.begin() + first, m_sock.begin() + end);
    m_sock.erase(m_sock.begin() + first, m_sock.begin() + end);
    m_queue.erase(m_queue.begin() + first, m_queue.begin() + end);
    m_accepted.erase(m_accepted.begin() + first, m_accepted.begin() + end);

    int result = 0;
    for (std::size_t i = 0; i < closing.size(); i++) {
        if (platform::closeSocket(closing[i]) != 0) {
            const int code = platform::lastSocketError();
            log.writeLog("NetworkManager::close(): Error! close() returned:");
            logSocketError(code);
            result = -1;
        }
        announce(NETWORK_CLOSE, first + static_cast<int>(i));
    }
    return result;
}

bool NetworkManager::isConnected(int index) const {
    if (index < -1) {
        LogManager::getInstance().writeLog("NetworkManager::isConnected(): Warning! Sock less than -1.");
        return false;
    }
    return !m_sock.empty() && index < getNumConnections();
}

int NetworkManager::send(const void *p_buffer, int bytes, int index) {
    LogManager &log = LogManager::getInstance();
    // -1 means "any connection" to isConnected, but a message goes to one
    if (index == -1 || !isConnected(index)) {
        log.writeLog("NetworkManager::send(): Error! Socket %d not connected. Unable to send.", index);
        return -1;
    }
    if (bytes < 0 || (!p_buffer && bytes > 0)) {
        log.writeLog("NetworkManager::send(): Error! %d bytes not valid.", bytes);
        return -1;
    }
    const int sock = m_sock[static_cast<std::size_t>(index)];
    log.writeLog(15, "NetworkManager::send(): Socket %d (m_sock[] is %d). Calling ::send()...", index, sock);

    const long sent = platform::sendSocket(sock, p_buffer, static_cast<std::size_t>(bytes));
    if (sent == bytes)
        return 0;
    if (sent >= 0) {
        log.writeLog("NetworkManager::send(): Warning! %d of %d bytes sent.", static_cast<int>(sent), bytes);
        return -1;
    }
    const int code = platform::lastSocketError();
    log.writeLog("NetworkManager::send(): Error! Return is -1.");
    logSocketError(code);
    if (platform::socketConnectionLost(code)) {
        log.writeLog(1, "\tsocket is closed");
        close(index);
    }
    return -1;
}

int NetworkManager::queueMessage(const void *p_buffer, int bytes, int index, int due_step) {
    LogManager &log = LogManager::getInstance();
    if (index == -1 || !isConnected(index)) {
        log.writeLog("NetworkManager::queueMessage(): Error! Socket %d not connected. Unable to queue.", index);
        return -1;
    }
    if (bytes < 0 || (!p_buffer && bytes > 0)) {
        log.writeLog("NetworkManager::queueMessage(): Error! %d bytes not valid.", bytes);
        return -1;
    }
    Message message;
    const char *p_bytes = static_cast<const char *>(p_buffer);
    message.bytes.assign(p_bytes, p_bytes + bytes);
    message.due_step = due_step;
    m_queue[static_cast<std::size_t>(index)].push_back(std::move(message));
    return 0;
}

int NetworkManager::flushQueues() {
    const int step = GameManager::getInstance().getStepCount();
    int result = 0;
    for (std::size_t i = 0; i < m_queue.size(); i++) {
        // a failed send may close connection i: the next one then moves into
        // slot i and its queue is flushed here too
        while (i < m_queue.size() && !m_queue[i].empty()) {
            if (m_queue[i].front().due_step > step)
                break;
            const Message message = std::move(m_queue[i].front());
            m_queue[i].pop_front();
            result += send(message.bytes.data(), static_cast<int>(message.bytes.size()), static_cast<int>(i));
        }
    }
    return result;
}

int NetworkManager::receive(void *p_buffer, int bytes, int index, bool peek) {
    LogManager &log = LogManager::getInstance();
    if (index == -1 || !isConnected(index)) {
        log.writeLog("NetworkManager::receive(): Error! Socket %d not connected. Unable to receive.", index);
        return -1;
    }
    if (bytes <= 0 || !p_buffer) {
        log.writeLog("NetworkManager::receive(): Error! %d bytes not valid.", bytes);
        return -1;
    }
    const long received =
        platform::receiveSocket(m_sock[static_cast<std::size_t>(index)], p_buffer, static_cast<std::size_t>(bytes),
                                peek);
    if (received > 0)
        return static_cast<int>(received);
    if (received == 0) {
        log.writeLog(1, "NetworkManager::receive(): Socket %d closed by peer.", index);
        close(index);
        return -1;
    }
    const int code = platform::lastSocketError();
    if (platform::socketWouldBlock(code))
        return 0;
    log.writeLog("NetworkManager::receive(): Error! Return is -1.");
    logSocketError(code);
    if (platform::socketConnectionLost(code)) {
        log.writeLog(1, "\tsocket is closed");
        close(index);
    }
    return -1;
}

} // namespace vk
