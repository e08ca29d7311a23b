// netpong: two players, one paddle each, over TCP. The host moves the ball and
// keeps the score; every step each side sends the other its paddle, the host
// the ball and the score too. Up and Down move your paddle, Escape quits;
// headless, the paddle follows the ball. Exits with 1 when the other side was
// never heard from.
//
//   netpong (--host PORT | --join HOST PORT) [--headless] [--steps N]

#include <vessik/vessik.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

namespace {

constexpr int WIDTH = 40;
constexpr int HEIGHT = 16;
const vk::Vector CENTRE(WIDTH / 2, HEIGHT / 2);
// Paddle columns, left and right; the host plays on the left.
constexpr int PADDLE_X[2] = {2, WIDTH - 3};
// Every message: the sender's paddle row, the ball's x and y, the left and
// the right score, each a float in the engine's record byte form (4 bytes).
constexpr int FIELDS = 5;
constexpr int MESSAGE_BYTES = FIELDS * 4;

// Keeps a paddle's three rows on the field.
float onField(float row) { return std::clamp(row, 1.0f, HEIGHT - 2.0f); }

// The ball, both paddles and the scores: reads the keys, sends and receives
// the messages, moves the ball (when hosting) and ends the game after --steps.
class Match : public vk::Object {
  public:
    Match(bool host, int steps) : m_mine(host ? 0 : 1), m_steps(steps) {
        setSolidness(vk::SPECTRAL);
        setPosition(CENTRE);
        registerInterest(vk::STEP_EVENT);
        registerInterest(vk::KEYBOARD_EVENT);
        for (int side = 0; side < 2; side++) {
            m_p_score[side] = new vk::ViewObject;
            m_p_score[side]->setViewString(side == 0 ? "Left" : "Right");
            m_p_score[side]->setBorder(false);
            m_p_score[side]->setLocation(side == 0 ? vk::TOP_LEFT : vk::TOP_RIGHT);
        }
    }
    [[nodiscard]] int heard() const { return m_heard; }
    int draw() override {
        vk::DisplayManager &display = vk::DisplayManager::getInstance();
        for (int side = 0; side < 2; side++)
            for (int dy = -1; dy <= 1; dy++)
                display.drawCh(vk::Vector(PADDLE_X[side], m_row[side] + dy), '|', vk::WHITE);
        return display.drawCh(getPosition(), 'O', vk::YELLOW);
    }

    int eventHandler(const vk::Event *p_event) override {
        vk::GameManager &game = vk::GameManager::getInstance();
        if (p_event->getType() == vk::KEYBOARD_EVENT) {
            const auto *p_key = static_cast<const vk::EventKeyboard *>(p_event);
            const int key = p_key->getKey();
            if (key == vk::Keyboard::ESCAPE)
                game.setGameOver();
            else if (p_key->getKeyboardAction() != vk::KEY_RELEASED &&
                     (key == vk::Keyboard::UP_ARROW || key == vk::Keyboard::DOWN_ARROW))
                m_row[m_mine] = onField(m_row[m_mine] + (key == vk::Keyboard::UP_ARROW ? -1 : 1));
            return 1;
        }
        if (p_event->getType() != vk::STEP_EVENT)
            return vk::Object::eventHandler(p_event);
        if (static_cast<const vk::EventStep *>(p_event)->getStepCount() + 1 == m_steps)
            game.setGameOver();
        // before the other side comes, wait; once it has left, the match is over
        if (!vk::NetworkManager::getInstance().isConnected(0)) {
            if (m_heard > 0)
                game.setGameOver();
            return 1;
        }
        if (vk::Config::getInstance().getHeadless())
            m_row[m_mine] = onField(getPosition().getY());
        if (m_mine == 0)
            moveBall();
        exchange();
        return 1;
    }

  private:
    void moveBall() {
        const vk::Vector at = getPosition();
        if (at.getY() + m_velocity.getY() < 1 || at.getY() + m_velocity.getY() > HEIGHT - 2)
            m_velocity.setY(-m_velocity.getY());
        // the paddle the ball is heading for sends it back when in its way
        const int side = m_velocity.getX() < 0 ? 0 : 1;
        if (std::abs(PADDLE_X[side] - at.getX()) <= std::abs(m_velocity.getX()) &&
            std::abs(m_row[side] - at.getY()) < 2)
            m_velocity.setX(-m_velocity.getX());
        vk::Vector next = at + m_velocity;
        if (next.getX() < 0 || next.getX() > WIDTH - 1) {
            m_score[next.getX() < 0 ? 1 : 0]++;
            next = CENTRE;
        }
        setPosition(next);
    }

    // Sends this side's message and applies every whole one received.
    void exchange() {
        vk::NetworkManager &net = vk::NetworkManager::getInstance();
        std::ostringstream out;
        for (float field : {m_row[m_mine], getPosition().getX(), getPosition().getY(), m_score[0], m_score[1]})
            vk::writeFloat(out, field);
        net.send(out.str().data(), MESSAGE_BYTES, 0);
        char bytes[MESSAGE_BYTES];
        // a message may arrive in pieces: take it only once it is whole
        while (net.receive(bytes, MESSAGE_BYTES, 0, true) == MESSAGE_BYTES) {
            net.receive(bytes, MESSAGE_BYTES, 0);
            std::istringstream in(std::string(bytes, MESSAGE_BYTES));
            float field[FIELDS] = {};
            for (float &value : field)
                vk::readFloat(in, value);
            m_heard++;
            m_row[1 - m_mine] = onField(field[0]);
            if (m_mine == 1) { // the ball and the score are the host's
                setPosition(vk::Vector(field[1], field[2]));
                m_score[0] = field[3];
                m_score[1] = field[4];
            }
        }
        for (int side = 0; side < 2; side++)
            m_p_score[side]->setValue(static_cast<int>(m_score[side]));
    }

    int m_mine; // this side's paddle: 0 left, 1 right
    int m_steps;
    int m_heard = 0;
    float m_row[2] = {HEIGHT / 2, HEIGHT / 2};
    float m_score[2] = {0, 0};
    vk::Vector m_velocity = vk::Vector(0.5f, 0.25f);
    vk::ViewObject *m_p_score[2] = {};
};

} // namespace

int main(int argc, char **argv) {
    std::string config = "window_horizontal_chars:40,window_vertical_chars:16,"
                         "window_horizontal_pixels:640,window_vertical_pixels:512,";
    std::string host; // empty when hosting
    std::string port;
    int steps = 0;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--host") == 0 && i + 1 < argc) {
            host.clear();
            port = argv[++i];
        } else if (std::strcmp(argv[i], "--join") == 0 && i + 2 < argc) {
            host = argv[++i];
            port = argv[++i];
        } else if (std::strcmp(argv[i], "--headless") == 0) {
            config += "headless:true,";
        } else if (std::strcmp(argv[i], "--steps") == 0 && i + 1 < argc) {
            steps = std::atoi(argv[++i]);
        }
    }
    if (port.empty()) {
        std::fprintf(stderr, "usage: netpong --host PORT | --join HOST PORT [--headless] [--steps N]\n");
        return 2;
    }
    const bool hosting = host.empty();
    config += hosting ? "window_title:netpong-host," : "window_title:netpong-join,";
    vk::Config::getInstance().loadConfig(config);

    vk::GameManager &game = vk::GameManager::getInstance();
    vk::NetworkManager &net = vk::NetworkManager::getInstance();
    if (game.startUp() != 0 || (hosting ? net.setServer(port) : net.connect(host, port)) < 0) {
        std::fprintf(stderr, "netpong: cannot start; see the log\n");
        game.shutDown();
        return 1;
    }
    net.setMaxConnections(1); // one opponent only
    const Match *p_match = new Match(hosting, steps);
    game.run();
    const int heard = p_match->heard();
    std::printf("netpong: %d messages from the other side\n", heard);
    game.shutDown();
    return heard > 0 ? 0 : 1;
}
