// The whole game, played through the real program in a window of a private X
// server, driven with xdotool, its sound written to a file. Screenshots of
// every screen are kept in build/test-artifacts/<test>/.
#include "TestEnv.h"
#include "WaveOutput.h"
#include "XServer.h"

#include <gtest/gtest.h>
#include <SFML/Graphics/Image.hpp>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Generous bounds: a loaded machine runs the game slowly, never wrongly.
constexpr int STARTUP_MS = 30000;
constexpr int SCREEN_MS = 20000;

const sf::Color GREEN(0, 255, 0);
const sf::Color YELLOW(255, 255, 0);
const sf::Color RED(255, 0, 0);
const sf::Color MAGENTA(255, 0, 255);
const sf::Color CYAN(0, 255, 255);

// Where the pixels of exactly one colour are in a window's picture.
struct Ink {
    int count = 0;
    int width = 0; // leftmost to rightmost
    double mean_y = -1;
};
Ink ink(const sf::Image &image, sf::Color color) {
    Ink found;
    unsigned left = ~0u;
    unsigned right = 0;
    double sum_y = 0;
    for (unsigned y = 0; y < image.getSize().y; y++)
        for (unsigned x = 0; x < image.getSize().x; x++)
            if (image.getPixel(x, y) == color) {
                found.count++;
                sum_y += y;
                left = std::min(left, x);
                right = std::max(right, x);
            }
    if (found.count > 0)
        found = {found.count, static_cast<int>(right - left + 1), sum_y / found.count};
    return found;
}

// The game running in its own process with `workdir` as working directory.
class Game {
  public:
    Game(const vktest::TestEnv &env, const std::string &workdir) : m_env(env) {
        const ::testing::TestInfo *p_info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_artifacts = std::string(VK_ARTIFACT_DIR) + "/" + p_info->test_suite_name() + "." + p_info->name();
        fs::remove_all(m_artifacts);
        fs::create_directories(m_artifacts);
        const std::string output = env.path("swellrun.out");
        m_pid = fork();
        if (m_pid == 0) {
            if (chdir(workdir.c_str()) != 0)
                _exit(126);
            std::freopen(output.c_str(), "w", stdout);
            std::freopen(output.c_str(), "a", stderr);
            // progress lines mark the screens
            setenv("VESSIK_LOG_LEVEL", "10", 1);
            // under the leak checker, the GL driver leaves blocks behind at
            // exit: leaks are reported but judged by leaksOfOurs()
            setenv("LSAN_OPTIONS", "exitcode=0", 1);
            execl(SWELLRUN, SWELLRUN, static_cast<char *>(nullptr));
            _exit(127);
        }
    }
    ~Game() {
        if (m_pid > 0 && !m_exited) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }

    // Finds the window and gives it the keyboard, once it is on the screen.
    [[nodiscard]] bool findWindow() {
        bool focused = false;
        vktest::waitFor(
            [&] {
                FILE *p_pipe = popen("xdotool search --onlyvisible --name '^Vessik$' 2>/dev/null", "r");
                char line[64] = {};
                if (p_pipe && std::fgets(line, sizeof line, p_pipe))
                    m_window = std::to_string(std::strtoul(line, nullptr, 10));
                if (p_pipe)
                    pclose(p_pipe);
                focused = !m_window.empty() && xdotool("windowfocus --sync " + m_window + " 2>/dev/null");
                return focused || exited();
            },
            STARTUP_MS);
        return focused;
    }

    // The xdotool command, e.g. "key space" or "keydown w".
    bool xdotool(const std::string &args) const { return vktest::run("xdotool " + args) == 0; }

    [[nodiscard]] int logCount(const std::string &message) const { return m_env.logCount(message); }
    // Waits until the log holds `message` `count` times.
    [[nodiscard]] bool awaitLog(const std::string &message, int count = 1) {
        return vktest::waitFor([&] { return logCount(message) >= count || exited(); }, SCREEN_MS) &&
               logCount(message) >= count;
    }

    // Takes screenshots until one shows what `wanted` looks for, and keeps
    // it as `name`; whether one did.
    template <typename Wanted> bool awaitScreen(const std::string &name, Wanted wanted) {
        const std::string file = m_artifacts + "/" + name + ".png";
        bool seen = false;
        vktest::waitFor(
            [&] {
                if (exited())
                    return true;
                sf::Image picture;
                seen = vktest::run("import -window " + m_window + " '" + file + "' 2>/dev/null") == 0 &&
                       picture.loadFromFile(file) && wanted(picture);
                return seen;
            },
            SCREEN_MS);
        return seen;
    }

    // Presses `key` every quarter second until `done` holds.
    template <typename Done> bool pressUntil(const std::string &key, Done done) {
        return vktest::waitFor(
            [&] {
                if (done())
                    return true;
                xdotool("key " + key);
                usleep(250000);
                return done();
            },
            SCREEN_MS);
    }

    [[nodiscard]] bool exited() {
        if (m_exited)
            return true;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_exited = true;
            m_exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return m_exited;
    }
    [[nodiscard]] int exitCode() const noexcept { return m_exit_code; }
    [[nodiscard]] std::string output() const { return vktest::readFile(m_env.path("swellrun.out")); }
    // The leak report, if any of its blocks were allocated by the program's
    // own code (the program and its sources are under the repository).
    [[nodiscard]] std::string leaksOfOurs() const {
        const std::string out = output();
        const std::size_t report = out.find("LeakSanitizer");
        return report != std::string::npos && out.find(vktest::sourceDir(), report) != std::string::npos
                   ? out.substr(report)
                   : "";
    }

  private:
    const vktest::TestEnv &m_env;
    std::string m_artifacts;
    std::string m_window;
    pid_t m_pid = -1;
    bool m_exited = false;
    int m_exit_code = -1;
};

const char *const RUN_STARTS = "startGame(): A new run begins.";

} // namespace

TEST(Swellrun, PlaysSplashStartScreenRunsGameOverAndRestartsAndQuits) {
    vktest::XServer x_server;
    ASSERT_TRUE(x_server.ok()) << x_server.error();
    vktest::TestEnv env;
    const vktest::WaveOutput sound(env);
    Game game(env, vktest::sourceDir());
    ASSERT_TRUE(game.findWindow()) << game.output();

    EXPECT_TRUE(game.awaitScreen("1-splash", [](const sf::Image &p) { return ink(p, GREEN).count > 300; }));
    ASSERT_TRUE(game.awaitLog("splash(): Finished.")) << game.output();
    EXPECT_TRUE(game.awaitScreen("2-start", [](const sf::Image &p) { return ink(p, YELLOW).count > 2000; }));

    ASSERT_TRUE(game.xdotool("key space"));
    ASSERT_TRUE(game.awaitLog(RUN_STARTS));
    double surfer_y = -1;
    ASSERT_TRUE(game.awaitScreen("3-run", [&](const sf::Image &p) {
        surfer_y = ink(p, MAGENTA).mean_y;
        return ink(p, CYAN).count > 2000 && surfer_y > 0;
    }));
    // held keys move the surfer a row every other step
    ASSERT_TRUE(game.xdotool("keydown w"));
    EXPECT_TRUE(game.awaitScreen("4-up", [&](const sf::Image &p) { return ink(p, MAGENTA).mean_y < surfer_y - 100; }));
    ASSERT_TRUE(game.xdotool("keyup w keydown s"));
    EXPECT_TRUE(
        game.awaitScreen("5-down", [&](const sf::Image &p) { return ink(p, MAGENTA).mean_y > surfer_y + 100; }));
    ASSERT_TRUE(game.xdotool("keyup s key space key space key space"));

    ASSERT_TRUE(game.xdotool("key q"));
    ASSERT_TRUE(game.awaitLog("GAMEOVER"));
    // the wipe-out on a sea standing still: after its first frame it is
    // wider than the surfer's five columns
    EXPECT_TRUE(game.awaitScreen("6-failure", [&](const sf::Image &p) {
        return ink(p, MAGENTA).width > 7 * 12.8 && ink(p, CYAN).count > 2000;
    }));
    EXPECT_TRUE(game.awaitScreen(
        "7-game-over", [](const sf::Image &p) { return ink(p, RED).count > 2000 && ink(p, GREEN).count > 200; }));

    ASSERT_TRUE(game.pressUntil("Return", [&] { return game.logCount(RUN_STARTS) == 2; }));
    EXPECT_TRUE(game.awaitScreen("8-second-run", [](const sf::Image &p) { return ink(p, CYAN).count > 2000; }));
    ASSERT_TRUE(game.xdotool("key q"));
    ASSERT_TRUE(game.awaitLog("GAMEOVER", 2));
    ASSERT_TRUE(game.pressUntil("q", [&] { return game.exited(); })) << game.output();

    EXPECT_EQ(game.exitCode(), 0) << game.output();
    EXPECT_EQ(game.leaksOfOurs(), "");
    EXPECT_EQ(game.logCount("** Vessik version 4.25 **"), 1);
    EXPECT_EQ(game.logCount(RUN_STARTS), 2);
    // both runs kept in the test's own data folder (TestEnv's XDG_DATA_HOME)
    const std::string scores = vktest::readFile(env.path("data/swellrun/scores"));
    EXPECT_EQ(std::count(scores.begin(), scores.end(), '\n'), 2) << scores;
    // music, clicks, crashes and the voice
    EXPECT_GT(sound.listenUntil([](const vktest::Loudness &heard) { return heard.span > 5.0; }).span, 5.0);
}

TEST(Swellrun, RunsSilentWithInvisibleSpritesWithoutItsAssets) {
    vktest::XServer x_server;
    ASSERT_TRUE(x_server.ok()) << x_server.error();
    vktest::TestEnv env;
    const vktest::WaveOutput sound(env);
    const std::string workdir = env.path("bare");
    fs::create_directories(workdir);
    fs::copy_file(vktest::sourceDir() + "/vk-font.ttf", workdir + "/vk-font.ttf");
    Game game(env, workdir);
    ASSERT_TRUE(game.findWindow()) << game.output();

    ASSERT_TRUE(game.awaitLog("splash(): Finished.")) << game.output();
    EXPECT_TRUE(game.awaitScreen("1-start", [](const sf::Image &p) { return ink(p, YELLOW).count > 2000; }));
    ASSERT_TRUE(game.xdotool("key space"));
    ASSERT_TRUE(game.awaitLog(RUN_STARTS));
    // the sea, but neither the surfer nor a buoy to be seen
    EXPECT_TRUE(game.awaitScreen("2-run", [](const sf::Image &p) {
        return ink(p, CYAN).count > 2000 && ink(p, MAGENTA).count == 0 && ink(p, RED).count == 0;
    }));
    ASSERT_TRUE(game.xdotool("key q"));
    ASSERT_TRUE(game.awaitLog("GAMEOVER"));
    EXPECT_TRUE(game.awaitScreen("3-game-over", [](const sf::Image &p) { return ink(p, RED).count > 2000; }));
    ASSERT_TRUE(game.pressUntil("Escape", [&] { return game.exited(); })) << game.output();

    EXPECT_EQ(game.exitCode(), 0) << game.output();
    EXPECT_EQ(game.leaksOfOurs(), "");
    EXPECT_EQ(game.logCount("RM::loadSprite(): Sprite 'surfer' not loaded."), 1);
    EXPECT_EQ(sound.listenUntil([](const vktest::Loudness &) { return true; }).span, 0.0);
}
