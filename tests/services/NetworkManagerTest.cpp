#include "EventNetwork.h"
#include "EventStep.h"
#include "GameManager.h"
#include "LogManager.h"
#include "NetworkManager.h"
#include "Object.h"
#include "TestEnv.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

using vk::NetworkManager;
using Events = std::vector<std::pair<int, int>>;

namespace {

// The other end of a connection: a plain blocking client socket on loopback.
struct Peer {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    explicit Peer(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    }
    ~Peer() { hangUp(); }
    Peer(const Peer &) = delete;
    Peer &operator=(const Peer &) = delete;
    void hangUp() {
        if (fd != -1)
            ::close(fd);
        fd = -1;
    }
    // What arrives within `timeout_ms`, stopping early at `bytes` bytes or at
    // the end of the stream.
    [[nodiscard]] std::string read(std::size_t bytes, int timeout_ms = 2000) const {
        std::string text;
        char buffer[4096];
        pollfd entry{fd, POLLIN, 0};
        while (text.size() < bytes && poll(&entry, 1, timeout_ms) == 1) {
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }
    [[nodiscard]] bool seesEndOfStream() const {
        char c = 0;
        pollfd entry{fd, POLLIN, 0};
        return poll(&entry, 1, 2000) == 1 && ::recv(fd, &c, 1, 0) == 0;
    }
};

// Records every network event it hears as (label, index).
struct Listener : vk::Object {
    Events events;
    Listener() { registerInterest(vk::NETWORK_EVENT); }
    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() != vk::NETWORK_EVENT)
            return 0;
        const auto *p_network = dynamic_cast<const vk::EventNetwork *>(p_event);
        events.emplace_back(p_network->getLabel(), p_network->getSocketIndex());
        return 1;
    }
};

// Runs `body` at every step; the game ends when it returns false.
struct StepAction : vk::Object {
    std::function<bool(int)> body;
    explicit StepAction(std::function<bool(int)> step_body) : body(std::move(step_body)) {
        registerInterest(vk::STEP_EVENT);
    }
    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() == vk::STEP_EVENT &&
            !body(dynamic_cast<const vk::EventStep *>(p_event)->getStepCount()))
            vk::GameManager::getInstance().setGameOver();
        return 1;
    }
};

// Polls accept() a bounded number of times for a connection on its way.
int acceptOne() {
    for (int tries = 0; tries < 2000; tries++) {
        const int index = NetworkManager::getInstance().accept();
        if (index != -1)
            return index;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return -1;
}

// A started log at verbosity 20 and a started network manager.
struct NetworkTest : ::testing::Test {
    vktest::TestEnv env;
    NetworkManager &nm = NetworkManager::getInstance();
    void SetUp() override {
        ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0);
        vk::LogManager::getInstance().setLogLevel(20);
        ASSERT_EQ(nm.startUp(), 0);
    }
    void TearDown() override {
        if (nm.isStarted())
            nm.shutDown();
        nm.setMaxConnections(3);
        vk::LogManager::getInstance().shutDown();
        vk::LogManager::getInstance().setLogLevel(0);
    }
    int listen() {
        EXPECT_EQ(nm.setServer("0"), 0);
        return nm.getServerPort();
    }
};

// The whole engine, headless, started from `config` and stopped at the end.
// The first entry for a key wins, so networking is on unless `config` says.
struct Engine {
    vktest::TestEnv env;
    explicit Engine(const std::string &config) : env("headless:true,\n" + config + "\nnetworking:true,") {
        setenv("VESSIK_LOG_LEVEL", "5", 1);
        EXPECT_EQ(vk::GameManager::getInstance().startUp(), 0);
    }
    ~Engine() {
        if (vk::GameManager::getInstance().isStarted())
            vk::GameManager::getInstance().shutDown();
        unsetenv("VESSIK_LOG_LEVEL");
    }
};

int indexOf(const std::vector<std::string> &lines, const std::string &line) {
    for (std::size_t i = 0; i < lines.size(); i++)
        if (lines[i] == line)
            return static_cast<int>(i);
    return -1;
}

} // namespace

TEST_F(NetworkTest, StartingOpensNoSocketAndOnlyNetworkNamesAreServed) {
    EXPECT_EQ(nm.startUp(), -1);
    EXPECT_TRUE(env.logHas("NetworkManager::startup(): Warning! NetworkManager already started."));
    EXPECT_FALSE(nm.isServer());
    EXPECT_EQ(nm.accept(), -2);
    EXPECT_EQ(nm.accept(), -2);
    EXPECT_EQ(env.logCount("NetworkManager::accept(): Error! Not setup as server."), 2);

    vk::Object object;
    for (const std::string &name :
         {vk::NETWORK_EVENT, vk::KEYBOARD_NETWORK_EVENT, vk::MSE_NETWORK_EVENT, vk::NETWORK_CREATE_EVENT,
          vk::CUSTOM_NETWORK_EVENT, vk::NETWORK_DELETE_EVENT, vk::NETWORK_GAME_OVER_EVENT, vk::NETWORK_SYNC_EVENT})
        EXPECT_EQ(object.registerInterest(name), 0) << name;
    EXPECT_EQ(nm.registerInterest(&object, vk::STEP_EVENT), -1);
    EXPECT_TRUE(env.logHas("NetworkManager::isValid(): Error! NetworkManager does not handle vk-step."));

    nm.shutDown();
    EXPECT_EQ(nm.setServer("0"), -1);
    EXPECT_EQ(nm.connect("127.0.0.1", "1"), -1);
    EXPECT_EQ(env.logCount("NetworkManager not started!"), 2);
}

TEST_F(NetworkTest, ServerRefusesBadPortsABusyPortAndASecondServer) {
    EXPECT_EQ(nm.setServer("99999"), -1);
    EXPECT_TRUE(env.logHas("\tport '99999' is not a number from 0 to 65535"));
    EXPECT_EQ(nm.setServer("http"), -1);
    EXPECT_GT(listen(), 0);
    EXPECT_EQ(nm.setServer("0"), -1);
    EXPECT_TRUE(env.logHas("NetworkManager::setServer(): Error! Already setup as server."));
    EXPECT_EQ(nm.closeServer(), 0);
    EXPECT_EQ(nm.closeServer(), -1);

    const int other = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_EQ(::listen(other, 1), 0); // on a free port of the system's choice
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(other, reinterpret_cast<sockaddr *>(&address), &length);
    const std::string busy = std::to_string(ntohs(address.sin_port));
    EXPECT_EQ(nm.setServer(busy), -1);
    EXPECT_TRUE(env.logHas("NetworkManager::setServer(): Error! Unable to listen on port " + busy + ":"));
    EXPECT_TRUE(env.logHas("\t98 - Address already in use"));
    EXPECT_FALSE(nm.isServer());
    ::close(other);
}

TEST_F(NetworkTest, AcceptsUpToTheMaximumAndAnnouncesEachNewIndex) {
    Listener listener;
    const int port = listen();
    EXPECT_EQ(nm.accept(), -1);
    EXPECT_TRUE(env.logHas("NetworkManager::accept(): No new connection. Not blocking."));

    Peer a(port), b(port), c(port), d(port);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(acceptOne(), i);
    EXPECT_EQ(nm.accept(), -1);
    EXPECT_TRUE(env.logHas("NetworkManager::accept(): Won't check for new connetions since at max."));
    EXPECT_TRUE(env.logHas("\tUse NM.setMaxConnections() to change max."));

    EXPECT_EQ(nm.setMaxConnections(-1), -1);
    EXPECT_EQ(nm.setMaxConnections(4), 0);
    EXPECT_EQ(acceptOne(), 3);
    EXPECT_TRUE(env.logHas("NetworkManager::accept(): New connection, socket 3."));
    EXPECT_EQ(listener.events, (Events{{0, 0}, {0, 1}, {0, 2}, {0, 3}}));
}

TEST_F(NetworkTest, ClosingShiftsLaterConnectionsDownAndDropsOnlyTheirOwnQueue) {
    Listener listener;
    const int port = listen();
    Peer a(port), b(port), c(port);
    for (int i = 0; i < 3; i++)
        ASSERT_EQ(acceptOne(), i);
    EXPECT_FALSE(nm.isConnected(3));
    EXPECT_FALSE(nm.isConnected(-2));
    EXPECT_TRUE(env.logHas("NetworkManager::isConnected(): Warning! Sock less than -1."));

    ASSERT_EQ(nm.queueMessage("to-a", 4, 0, 0), 0);
    ASSERT_EQ(nm.queueMessage("to-b", 4, 1, 0), 0);
    EXPECT_EQ(nm.close(0), 0);
    EXPECT_TRUE(a.seesEndOfStream());
    // the former connections 1 and 2 are now 0 and 1, with their queues
    ASSERT_EQ(nm.send("to-c", 4, 1), 0);
    EXPECT_EQ(nm.flushQueues(), 0);
    EXPECT_EQ(b.read(4), "to-b");
    EXPECT_EQ(c.read(4), "to-c");

    EXPECT_EQ(nm.close(2), -1);
    EXPECT_TRUE(env.logHas("NetworkManager::close(): Error! Socket 2 not connected. Unable to close."));
    EXPECT_EQ(nm.close(-1), 0);
    EXPECT_TRUE(b.seesEndOfStream());
    EXPECT_TRUE(c.seesEndOfStream());
    EXPECT_FALSE(nm.isConnected(-1));
    EXPECT_EQ(nm.close(-1), 0);
    EXPECT_EQ(listener.events, (Events{{0, 0}, {0, 1}, {0, 2}, {2, 0}, {2, 0}, {2, 1}}));
}

TEST_F(NetworkTest, AClientAndItsServerTalkThroughTheSameManager) {
    Listener listener;
    const std::string port = std::to_string(listen());
    EXPECT_EQ(nm.connect("localhost", port), 0);
    EXPECT_EQ(acceptOne(), 1);
    EXPECT_EQ(listener.events, (Events{{1, 0}, {0, 1}}));

    ASSERT_EQ(nm.send("hello", 5, 0), 0);
    char buffer[16] = {};
    for (int tries = 0; tries < 2000 && nm.receive(buffer, 3, 1, true) == 0; tries++)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(std::string(buffer, 3), "hel");
    EXPECT_EQ(nm.receive(buffer, sizeof buffer, 1), 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");

    // -1 asks about any connection, but data goes to one
    EXPECT_EQ(nm.send("x", 1, -1), -1);
    EXPECT_TRUE(env.logHas("NetworkManager::send(): Error! Socket -1 not connected. Unable to send."));
    EXPECT_EQ(nm.send("x", -5, 0), -1);
    EXPECT_TRUE(env.logHas("NetworkManager::send(): Error! -5 bytes not valid."));
    EXPECT_EQ(nm.queueMessage("x", 1, 2, 0), -1);
    EXPECT_EQ(nm.receive(buffer, 0, 1), -1);
    EXPECT_EQ(nm.receive(buffer, 4, -1), -1);
    EXPECT_EQ(nm.receive(buffer, sizeof buffer, 1), 0);

    // the server end going away shows up at the client end as a close
    EXPECT_EQ(nm.close(1), 0);
    int result = 0;
    for (int tries = 0; tries < 2000 && result == 0; tries++)
        result = nm.receive(buffer, sizeof buffer, 0);
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(env.logHas("NetworkManager::receive(): Socket 0 closed by peer."));
    EXPECT_EQ(nm.connect("127.0.0.1", "70000"), -1);
    EXPECT_TRUE(env.logHas("NetworkManager::connect(): Error! Unable to connect to 127.0.0.1:70000."));
    nm.closeServer();
    EXPECT_EQ(nm.connect("127.0.0.1", port), -1);
    EXPECT_TRUE(env.logHas("\t111 - Connection refused"));
    EXPECT_EQ(nm.getNumConnections(), 0);
}

TEST_F(NetworkTest, APeerThatHangsUpMidSendIsClosedAndTheProgramCarriesOn) {
    std::signal(SIGPIPE, SIG_DFL); // a broken pipe would end the process
    Listener listener;
    const int port = listen();
    Peer a(port), b(port), c(port);
    for (int i = 0; i < 3; i++)
        ASSERT_EQ(acceptOne(), i);
    const std::string chunk(1024, 'x');
    for (int i = 0; i < 16; i++)
        ASSERT_EQ(nm.queueMessage(chunk.data(), 1024, 0, 0), 0);
    ASSERT_EQ(nm.queueMessage("b", 1, 1, 0), 0);
    ASSERT_EQ(nm.queueMessage("c", 1, 2, 0), 0);
    a.hangUp();
    EXPECT_LT(nm.flushQueues(), 0);

    EXPECT_TRUE(env.logHas("NetworkManager::send(): Error! Return is -1."));
    EXPECT_TRUE(env.logHas("\tsocket is closed"));
    EXPECT_EQ(nm.getNumConnections(), 2);
    EXPECT_EQ(listener.events.back(), std::make_pair(2, 0));
    // b moved into the closed slot within the same flush and still got its message
    EXPECT_EQ(b.read(1), "b");
    EXPECT_EQ(c.read(1), "c");
}

TEST_F(NetworkTest, SilentAndFloodingPeersNeitherStallNorCorruptAConnection) {
    const int port = listen();
    Peer silent(port), flood(port);
    ASSERT_EQ(acceptOne(), 0);
    ASSERT_EQ(acceptOne(), 1);

    char buffer[65536];
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 100; i++)
        EXPECT_EQ(nm.receive(buffer, sizeof buffer, 0), 0);
    // a peer that reads nothing takes what fits; the rest is reported, not waited for
    const std::string big(32 << 20, 'z');
    EXPECT_EQ(nm.send(big.data(), static_cast<int>(big.size()), 0), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    std::string megabyte(1 << 20, '\0');
    for (std::size_t i = 0; i < megabyte.size(); i++)
        megabyte[i] = static_cast<char>(i * 7 + i / 251);
    std::thread writer([&] { ::send(flood.fd, megabyte.data(), megabyte.size(), MSG_NOSIGNAL); });
    std::string received;
    for (int tries = 0; tries < 20000 && received.size() < megabyte.size(); tries++) {
        const int got = nm.receive(buffer, sizeof buffer, 1);
        ASSERT_GE(got, 0);
        received.append(buffer, static_cast<std::size_t>(got));
        if (got == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    writer.join();
    EXPECT_TRUE(received == megabyte) << received.size() << " bytes received";
    EXPECT_EQ(nm.getNumConnections(), 2);
}

TEST_F(NetworkTest, AFailedCloseStillTakesTheConnectionOutAndGoesOn) {
    Listener listener;
    const int port = listen();
    Peer a(port), b(port);
    ASSERT_EQ(acceptOne(), 0);
    ASSERT_EQ(acceptOne(), 1);

    // release connection 0's descriptor behind the manager's back
    sockaddr_in mine{}, theirs{};
    socklen_t length = sizeof mine;
    getsockname(a.fd, reinterpret_cast<sockaddr *>(&mine), &length);
    int stolen = -1;
    for (int fd = 3; fd < 1024 && stolen == -1; fd++) {
        length = sizeof theirs;
        if (fd != a.fd && getpeername(fd, reinterpret_cast<sockaddr *>(&theirs), &length) == 0 &&
            theirs.sin_family == AF_INET && theirs.sin_port == mine.sin_port)
            stolen = fd;
    }
    ASSERT_NE(stolen, -1);
    ::close(stolen);

    EXPECT_EQ(nm.close(-1), -1);
    EXPECT_TRUE(env.logHas("NetworkManager::close(): Error! close() returned:"));
    EXPECT_TRUE(env.logHas("\t9 - Bad file descriptor"));
    EXPECT_FALSE(nm.isConnected(-1));
    EXPECT_TRUE(b.seesEndOfStream());
    EXPECT_EQ(listener.events, (Events{{0, 0}, {0, 1}, {2, 0}, {2, 1}}));
}

TEST(NetworkEngine, StartsOnlyWithNetworkingOnAndThenTheLoopAccepts) {
    for (const bool networking : {true, false}) {
        Engine engine(std::string("frame_time:1,\nnetworking:") + (networking ? "true," : "false,"));
        NetworkManager &nm = NetworkManager::getInstance();
        EXPECT_EQ(nm.isStarted(), networking);
        const std::vector<std::string> log = engine.env.logMessages();
        const int started = indexOf(log, "Network manager started.");
        if (networking) {
            EXPECT_GT(started, indexOf(log, "GameManager::startUp(): frame time is 1 milliseconds"));
            EXPECT_LT(started, indexOf(log, "GameManager successfully started."));
            EXPECT_FALSE(nm.isServer());
        } else {
            EXPECT_EQ(started, -1);
            ASSERT_EQ(nm.startUp(), 0);
        }
        ASSERT_EQ(nm.setServer("0"), 0);
        Peer peer(nm.getServerPort());
        {
            StepAction stop([](int step) { return step < 20; });
            vk::GameManager::getInstance().run();
        }
        EXPECT_EQ(nm.getNumConnections(), networking ? 1 : 0);

        vk::GameManager::getInstance().shutDown();
        EXPECT_EQ(nm.isStarted(), !networking);
        EXPECT_EQ(engine.env.readLog().find("Network manager stopped") != std::string::npos, networking);
        if (!networking)
            nm.shutDown();
    }
}

TEST(NetworkEngine, QueuedMessagesLeaveAtTheirStepInTheOrderQueued) {
    Engine engine("frame_time:1,");
    NetworkManager &nm = NetworkManager::getInstance();
    ASSERT_EQ(nm.setServer("0"), 0);
    Peer peer(nm.getServerPort());
    ASSERT_EQ(acceptOne(), 0);

    // C is due before B but queued behind it, so it waits for B
    const std::pair<char, int> due[] = {{'A', 0}, {'B', 3}, {'C', 2}, {'D', 6}};
    for (const auto &[letter, step] : due)
        ASSERT_EQ(nm.queueMessage(&letter, 1, 0, step), 0);
    std::string stream;
    StepAction watch([&](int step) {
        for (const char letter : peer.read(4, 0)) {
            for (const auto &[name, due_step] : due) {
                if (name == letter) {
                    EXPECT_GT(step, due_step) << letter << " arrived before its step";
                }
            }
            stream += letter;
        }
        return step < 12;
    });
    vk::GameManager::getInstance().run();
    stream += peer.read(4 - stream.size());
    EXPECT_EQ(stream, "ABCD");
}

TEST(NetworkEngine, AThousandPeersThatConnectAndHangUpLeaveTheTableConsistent) {
    Engine engine("frame_time:0,");
    NetworkManager &nm = NetworkManager::getInstance();
    ASSERT_EQ(nm.setServer("0"), 0);
    const int port = nm.getServerPort();
    Listener listener;
    int made = 0;
    bool within_max = true;
    StepAction churn([&](int step) {
        char buffer[64];
        for (int i = nm.getNumConnections() - 1; i >= 0; i--)
            nm.receive(buffer, sizeof buffer, i);
        if (made < 1000) {
            Peer peer(port);
            made++;
        }
        within_max = within_max && nm.getNumConnections() <= nm.getMaxConnections();
        return step < 20000 && (made < 1000 || nm.isConnected(-1) || listener.events.size() < 2000);
    });
    vk::GameManager::getInstance().run();

    EXPECT_TRUE(within_max);
    EXPECT_EQ(nm.getNumConnections(), 0);
    ASSERT_EQ(listener.events.size(), 2000u);
    // an accepted connection takes the next index; a closed one had an index in use
    int open = 0;
    for (const auto &[label, index] : listener.events) {
        if (label == vk::NETWORK_ACCEPT) {
            EXPECT_EQ(index, open++);
        } else {
            EXPECT_EQ(label, vk::NETWORK_CLOSE);
            EXPECT_TRUE(index >= 0 && index < open--) << index;
        }
    }
}
