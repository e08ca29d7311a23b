// netpong: two players, one paddle each, over a TCP connection. The host
// moves the ball and keeps the score; every step each side sends the other
// its paddle, the host the ball and the score as well.
//
//   netpong --host PORT [--headless] [--steps N]
//   netpong --join HOST PORT [--headless] [--steps N]
//
// Up and Down move your paddle, Escape quits; headless, the paddle follows
// the ball by itself. Exits with 1 when the other side was never heard from.

#include <vessik/vessik.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int WIDTH = 40;
constexpr int HEIGHT = 16;
// Every message: paddle row, ball x and y in tenths of a cell, both scores.
constexpr int FIELDS = 5;
constexpr int MESSAGE_BYTES = FIELDS * 4;

class Paddle : public vk::Object {
  public:
    explicit Paddle(float x) {
        setType("Paddle");
        setSolidness(vk::SPECTRAL);
        setPosition(vk::Vector(x, HEIGHT / 2));
    }
    int draw() override {
        for (int dy = -1; dy <= 1; dy++)
            vk::DisplayManager::getInstance().drawCh(getPosition() + vk::Vector(0, dy), '|', vk::WHITE);
        return 0;
    }
    // Keeps the paddle's three rows on the field.
    void moveTo(float y) { setPosition(vk::Vector(getPosition().getX(), y < 1 ? 1 : y > HEIGHT - 2 ? HEIGHT - 2 : y)); }
};

// Runs the match: reads the keys, sends and receives the messages, moves the
// ball (when hosting) and ends the game after --steps.
class Match : public vk::Object {
  public:
    Match(bool host, bool autopilot, int steps) : m_host(host), m_autopilot(autopilot), m_steps(steps) {
        setType("Match");
        setSolidness(vk::SPECTRAL);
        setPosition(vk::Vector(WIDTH / 2, HEIGHT / 2));
        m_p_mine = new Paddle(host ? 2 : WIDTH - 3);
        m_p_theirs = new Paddle(host ? WIDTH - 3 : 2);
        registerInterest(vk::STEP_EVENT);
        registerInterest(vk::KEYBOARD_EVENT);
        registerInterest(vk::NETWORK_EVENT);
    }
    int draw() override { return vk::DisplayManager::getInstance().drawCh(getPosition(), 'O', vk::YELLOW); }
    [[nodiscard]] int heard() const { return m_heard; }

    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() == vk::KEYBOARD_EVENT) {
            const auto *p_key = static_cast<const vk::EventKeyboard *>(p_event);
            if (p_key->getKey() == vk::Keyboard::ESCAPE)
                vk::GameManager::getInstance().setGameOver();
            else if (p_key->getKeyboardAction() != vk::KEY_RELEASED && p_key->getKey() == vk::Keyboard::UP_ARROW)
                m_p_mine->moveTo(m_p_mine->getPosition().getY() - 1);
            else if (p_key->getKeyboardAction() != vk::KEY_RELEASED && p_key->getKey() == vk::Keyboard::DOWN_ARROW)
                m_p_mine->moveTo(m_p_mine->getPosition().getY() + 1);
            return 1;
        }
        if (p_event->getType() == vk::NETWORK_EVENT) {
            // the other side left: the match is over
            if (static_cast<const vk::EventNetwork *>(p_event)->getLabel() == vk::NETWORK_CLOSE)
                vk::GameManager::getInstance().setGameOver();
            return 1;
        }
        if (p_event->getType() != vk::STEP_EVENT)
            return vk::Object::eventHandler(p_event);
        const int step = static_cast<const vk::EventStep *>(p_event)->getStepCount();
        if (step + 1 == m_steps)
            vk::GameManager::getInstance().setGameOver();
        if (!vk::NetworkManager::getInstance().isConnected(0))
            return 1;
        if (m_autopilot)
            m_p_mine->moveTo(getPosition().getY());
        if (m_host)
            moveBall();
        exchange();
        return 1;
    }

  private:
    void moveBall() {
        const vk::Vector at = getPosition();
        if (at.getY() + m_velocity.getY() < 1 || at.getY() + m_velocity.getY() > HEIGHT - 2)
            m_velocity = vk::Vector(m_velocity.getX(), -m_velocity.getY());
        // the paddle the ball is heading for sends it back when in its way
        const Paddle *p_paddle = (m_velocity.getX() < 0) == m_host ? m_p_mine : m_p_theirs;
        const vk::Vector paddle = p_paddle->getPosition();
        if (std::abs(paddle.getX() - at.getX()) <= std::abs(m_velocity.getX()) && std::abs(paddle.getY() - at.getY()) < 2)
            m_velocity = vk::Vector(-m_velocity.getX(), m_velocity.getY());
        const vk::Vector next = at + m_velocity;
        if (next.getX() >= 0 && next.getX() <= WIDTH - 1) {
            setPosition(next);
            return;
        }
        m_score[next.getX() < 0 ? 1 : 0]++;
        setPosition(vk::Vector(WIDTH / 2, HEIGHT / 2));
    }

    // Sends this side's message and applies every complete one received.
    void exchange() {
        vk::NetworkManager &net = vk::NetworkManager::getInstance();
        const std::int32_t out[FIELDS] = {static_cast<std::int32_t>(m_p_mine->getPosition().getY()),
                                          static_cast<std::int32_t>(getPosition().getX() * 10),
                                          static_cast<std::int32_t>(getPosition().getY() * 10), m_score[0],
                                          m_score[1]};
        unsigned char bytes[MESSAGE_BYTES];
        for (int i = 0; i < MESSAGE_BYTES; i++) // little-endian whatever the machine
            bytes[i] = static_cast<unsigned char>(static_cast<std::uint32_t>(out[i / 4]) >> (8 * (i % 4)));
        net.send(bytes, MESSAGE_BYTES, 0);
        // a message may arrive in pieces: take it only once it is whole
        while (net.receive(bytes, MESSAGE_BYTES, 0, true) == MESSAGE_BYTES) {
            net.receive(bytes, MESSAGE_BYTES, 0);
            std::int32_t in[FIELDS] = {};
            for (int i = 0; i < MESSAGE_BYTES; i++)
                in[i / 4] = static_cast<std::int32_t>(static_cast<std::uint32_t>(in[i / 4]) |
                                                      static_cast<std::uint32_t>(bytes[i]) << (8 * (i % 4)));
            m_heard++;
            m_p_theirs->moveTo(static_cast<float>(in[0]));
            if (!m_host) {
                setPosition(vk::Vector(in[1] / 10.0f, in[2] / 10.0f));
                m_score[0] = in[3];
                m_score[1] = in[4];
            }
        }
        const vk::EventView left("Left", m_score[0]);
        const vk::EventView right("Right", m_score[1]);
        vk::WorldManager::getInstance().onEvent(&left);
        vk::WorldManager::getInstance().onEvent(&right);
    }

    bool m_host;
    bool m_autopilot;
    int m_steps;
    int m_heard = 0;
    std::int32_t m_score[2] = {0, 0};
    vk::Vector m_velocity = vk::Vector(0.5f, 0.25f);
    Paddle *m_p_mine;
    Paddle *m_p_theirs;
};

void addScore(const char *label, int location) {
    auto *p_score = new vk::ViewObject;
    p_score->setViewString(label);
    p_score->setBorder(false);
    p_score->setLocation(location);
}

} // namespace

int main(int argc, char **argv) {
    std::string config = "window_horizontal_chars:40,window_vertical_chars:16,"
                         "window_horizontal_pixels:640,window_vertical_pixels:512,";
    std::string host;
    std::string port;
    bool hosting = false;
    bool headless = false;
    int steps = 0;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--host") == 0 && i + 1 < argc) {
            hosting = true;
            port = argv[++i];
        } else if (std::strcmp(argv[i], "--join") == 0 && i + 2 < argc) {
            host = argv[++i];
            port = argv[++i];
        } else if (std::strcmp(argv[i], "--headless") == 0) {
            headless = true;
        } else if (std::strcmp(argv[i], "--steps") == 0 && i + 1 < argc) {
            steps = std::atoi(argv[++i]);
        }
    }
    if (port.empty()) {
        std::fprintf(stderr, "usage: netpong --host PORT | --join HOST PORT [--headless] [--steps N]\n");
        return 2;
    }
    config += headless ? "headless:true," : "";
    config += hosting ? "window_title:netpong-host," : "window_title:netpong-join,";
    vk::Config::getInstance().loadConfig(config);

    vk::GameManager &game = vk::GameManager::getInstance();
    vk::NetworkManager &net = vk::NetworkManager::getInstance();
    if (game.startUp() != 0 || (hosting ? net.setServer(port) : net.connect(host, port)) < 0) {
        std::fprintf(stderr, "netpong: cannot start; see the log\n");
        game.shutDown();
        return 1;
    }
    // one opponent only
    net.setMaxConnections(1);
    const Match *p_match = new Match(hosting, headless, steps);
    addScore("Left", vk::TOP_LEFT);
    addScore("Right", vk::TOP_RIGHT);

    game.run();
    const int heard = p_match->heard();
    std::printf("netpong: %d messages from the other side\n", heard);
    game.shutDown();
    return heard > 0 ? 0 : 1;
}
