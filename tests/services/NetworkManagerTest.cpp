#include "TestEnv.h"

#include <vessik/core/EventStep.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/services/EventNetwork.h>
#include <vessik/services/NetworkManager.h>
#include <vessik/world/Object.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <functional>
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
    // What arrives within `timeout_ms`, up to `bytes` bytes or the end of the stream.
    [[nodiscard]] std::string read(std::size_t bytes, int timeout_ms = 2000) const {
        std::string text;
        char buffer[4096];
        pollfd entry{fd, POLLIN, 0};
        ssize_t n = 1;
        while (text.size() < bytes && n > 0 && poll(&entry, 1, timeout_ms) == 1)
            if ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
                text.append(buffer, static_cast<std::size_t>(n));
        return text;
    }
    [[nodiscard]] bool seesEndOfStream() const {
        char c = 0;
        pollfd entry{fd, POLLIN, 0};
        return poll(&entry, 1, 2000) == 1 && ::recv(fd, &c, 1, 0) == 0;
    }
};

// Records every network event it hears as (label, index) and, with a body,
// runs it at every step; the game ends when the body returns false.
struct Listener : vk::Object {
    Events events;
    std::function<bool(int)> body;
    explicit Listener(std::function<bool(int)> step_body = nullptr) : body(std::move(step_body)) {
        registerInterest(vk::NETWORK_EVENT);
        if (body)
            registerInterest(vk::STEP_EVENT);
    }
    int eventHandler(const vk::Event *p_event) override {
        if (const auto *p_network = dynamic_cast<const vk::EventNetwork *>(p_event))
            events.emplace_back(p_network->getLabel(), p_network->getSocketIndex());
        const auto *p_step = dynamic_cast<const vk::EventStep *>(p_event);
        if (p_step != nullptr && !body(p_step->getStepCount()))
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

// A started log and network manager.
struct NetworkTest : ::testing::Test {
    vktest::TestEnv env;
    NetworkManager &nm = NetworkManager::getInstance();
    void SetUp() override {
        ASSERT_EQ(vk::LogManager::getInstance().startUp(), 0);
        ASSERT_EQ(nm.startUp(), 0);
    }
    void TearDown() override {
        if (nm.isStarted())
            nm.shutDown();
        nm.setMaxConnections(3);
        vk::LogManager::getInstance().shutDown();
    }
    int listen() {
        EXPECT_EQ(nm.setServer("0"), 0);
        return nm.getServerPort();
    }
};

// The whole engine, headless; the first entry for a key wins, so networking
// is on unless `config` says otherwise.
struct Engine {
    vktest::TestEnv env;
    explicit Engine(const std::string &config) : env("headless:true,\n" + config + "\nnetworking:true,") {
        EXPECT_EQ(vk::GameManager::getInstance().startUp(), 0);
    }
    ~Engine() {
        if (vk::GameManager::getInstance().isStarted())
            vk::GameManager::getInstance().shutDown();
    }
};

} // namespace

TEST_F(NetworkTest, RefusesWhatItCannotServe) {
    EXPECT_EQ(nm.accept(), -2); // not a server yet
    vk::Object object;
    EXPECT_EQ(object.registerInterest(vk::NETWORK_EVENT), 0);
    EXPECT_EQ(nm.registerInterest(&object, vk::STEP_EVENT), -1);
    EXPECT_EQ(nm.setServer("99999"), -1);
    const int other = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_EQ(::listen(other, 1), 0); // on a free port of the system's choice
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(other, reinterpret_cast<sockaddr *>(&address), &length);
    EXPECT_EQ(nm.setServer(std::to_string(ntohs(address.sin_port))), -1);
    EXPECT_FALSE(nm.isServer());
    ::close(other);
    EXPECT_GT(listen(), 0);
    EXPECT_EQ(nm.setServer("0"), -1);
    nm.shutDown();
    EXPECT_EQ(nm.connect("127.0.0.1", "1"), -1);
}

// Connections made with connect() do not count against the maximum; closing
// an accepted one makes room for another.
TEST_F(NetworkTest, AcceptsUpToTheMaximumAndAnnouncesEachNewIndex) {
    Listener listener;
    const int port = listen();
    EXPECT_EQ(nm.accept(), -1);
    ASSERT_EQ(nm.connect("127.0.0.1", std::to_string(port)), 0);
    Peer a(port), b(port), c(port), d(port);
    for (int i = 1; i <= 3; i++)
        EXPECT_EQ(acceptOne(), i);
    EXPECT_EQ(nm.accept(), -1);
    EXPECT_EQ(nm.setMaxConnections(-1), -1);
    EXPECT_EQ(nm.setMaxConnections(4), 0);
    EXPECT_EQ(acceptOne(), 4);
    Peer e(port);
    ASSERT_EQ(nm.close(0), 0);
    EXPECT_EQ(nm.accept(), -1);
    ASSERT_EQ(nm.close(1), 0);
    EXPECT_EQ(acceptOne(), 3);
    EXPECT_EQ(listener.events, (Events{{1, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {2, 0}, {2, 1}, {0, 3}}));
}

TEST_F(NetworkTest, ClosingShiftsLaterConnectionsDownWithTheirQueues) {
    Listener listener;
    const int port = listen();
    Peer a(port), b(port), c(port);
    for (int i = 0; i < 3; i++)
        ASSERT_EQ(acceptOne(), i);
    EXPECT_FALSE(nm.isConnected(3));
    EXPECT_FALSE(nm.isConnected(-2));

    ASSERT_EQ(nm.queueMessage("to-a", 4, 0, 0), 0);
    ASSERT_EQ(nm.queueMessage("to-b", 4, 1, 0), 0);
    EXPECT_EQ(nm.close(0), 0);
    EXPECT_TRUE(a.seesEndOfStream());
    // the former connections 1 and 2 are now 0 and 1
    ASSERT_EQ(nm.send("to-c", 4, 1), 0);
    EXPECT_EQ(nm.flushQueues(), 0);
    EXPECT_EQ(b.read(4), "to-b");
    EXPECT_EQ(c.read(4), "to-c");

    EXPECT_EQ(nm.close(2), -1);
    EXPECT_EQ(nm.close(-1), 0);
    EXPECT_TRUE(b.seesEndOfStream() && c.seesEndOfStream());
    EXPECT_FALSE(nm.isConnected(-1));
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
    EXPECT_EQ(std::string(buffer, 3), "hel"); // peeked, so still there
    EXPECT_EQ(nm.receive(buffer, sizeof buffer, 1), 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
    EXPECT_EQ(nm.send("x", 1, -1), -1);

    // the server end going away shows up at the client end as a close
    EXPECT_EQ(nm.close(1), 0);
    int result = 0;
    for (int tries = 0; tries < 2000 && result == 0; tries++)
        result = nm.receive(buffer, sizeof buffer, 0);
    EXPECT_EQ(result, -1);
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
}

TEST(NetworkEngine, QueuedMessagesLeaveAtTheirStepInTheOrderQueued) {
    {
        Engine off("networking:false,");
        EXPECT_FALSE(NetworkManager::getInstance().isStarted());
    }
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
    Listener watch([&](int step) {
        for (const char letter : peer.read(4, 0)) {
            for (const auto &[name, due_step] : due)
                EXPECT_TRUE(name != letter || step > due_step) << letter << " arrived before its step";
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
    int made = 0;
    bool within_max = true;
    Listener listener([&](int step) {
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
        const bool accept = label == vk::NETWORK_ACCEPT;
        EXPECT_TRUE(accept ? index == open++ : label == vk::NETWORK_CLOSE && index >= 0 && index < open--)
            << label << ' ' << index;
    }
}
