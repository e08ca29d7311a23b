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
#include <vector>

namespace fs = std::filesystem;

namespace {

// Generous bounds: a loaded machine runs the game slowly, never wrongly.
constexpr int STARTUP_MS = 30000;
constexpr int SCREEN_MS = 20000;
// Asked to end, the program finishes its step and shuts down.
constexpr int PROMPT_MS = 5000;

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
    Game(const vktest::TestEnv &env, const std::string &workdir, std::vector<std::string> args = {}) : m_env(env) {
        const ::testing::TestInfo *p_info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_artifacts = std::string(VK_ARTIFACT_DIR) + "/" + p_info->test_suite_name() + "." + p_info->name();
        // the same test may run in another process at the same time: the
        // folder is only ever copied into
        std::error_code ignored;
        fs::remove_all(m_artifacts, ignored);
        fs::create_directories(m_artifacts, ignored);
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
            // it must catch its quit signals even where the tests run with
            // them ignored
            for (const int signal_number : {SIGINT, SIGTERM, SIGHUP})
                std::signal(signal_number, SIG_DFL);
            std::vector<char *> argv{const_cast<char *>(SWELLRUN)};
            for (std::string &arg : args)
                argv.push_back(arg.data());
            argv.push_back(nullptr);
            execv(SWELLRUN, argv.data());
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
    [[nodiscard]] bool findWindow(const std::string &title = "Vessik") {
        bool focused = false;
        vktest::waitFor(
            [&] {
                FILE *p_pipe = popen(("xdotool search --onlyvisible --name '^" + title + "$' 2>/dev/null").c_str(), "r");
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

    // Closes the window the way a window manager does.
    bool closeWindow() const { return vktest::run(std::string(VK_CLOSE_WINDOW) + " " + m_window) == 0; }
    void signal(int signal_number) const { kill(m_pid, signal_number); }

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
        const std::string file = m_env.path(name + ".png");
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
        std::error_code ignored;
        fs::copy_file(file, m_artifacts + "/" + name + ".png", fs::copy_options::overwrite_existing, ignored);
        return seen;
    }

    // The window's picture now.
    [[nodiscard]] sf::Image picture() const {
        sf::Image image;
        const std::string file = m_artifacts + "/now.png";
        if (vktest::run("import -window " + m_window + " '" + file + "' 2>/dev/null") != 0 || !image.loadFromFile(file))
            ADD_FAILURE() << "no picture of window " << m_window;
        return image;
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
            m_exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
        }
        return m_exited;
    }
    // The exit status, or minus the signal that ended the program.
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
const char *const LOOP_STARTS = "GameManager::run(): starting game loop";
const char *const BACK_TO_START = "showStartScreen(): Back to the start screen.";

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

// Closing the window or a quit signal, during the title or on the start
// screen, ends the program after the step, everything shut down and logged.
TEST(Swellrun, EndsInOrderWhenTheWindowClosesOrAQuitSignalComes) {
    vktest::XServer x_server;
    ASSERT_TRUE(x_server.ok()) << x_server.error();
    struct Case {
        int signal_number; // 0: the window is closed
        int loops;         // the title's, then the start screen's
        int exit_code;
    };
    for (const Case &c : {Case{0, 1, 0}, Case{SIGINT, 1, 130}, Case{SIGTERM, 2, 143}, Case{SIGHUP, 2, 129}}) {
        SCOPED_TRACE(c.signal_number);
        // a slow title cannot end before it is interrupted; the start screen
        // is waited for without a window and at full speed
        vktest::TestEnv env(c.signal_number == 0 ? "frame_time:100,\n"
                            : c.loops == 1       ? "headless:true,\nframe_time:100,\n"
                                                 : "headless:true,\nframe_time:0,\n");
        Game game(env, vktest::sourceDir());
        if (c.signal_number == 0) {
            ASSERT_TRUE(game.findWindow()) << game.output();
            ASSERT_TRUE(game.closeWindow());
        } else {
            ASSERT_TRUE(game.awaitLog(LOOP_STARTS, c.loops)) << game.output();
            game.signal(c.signal_number);
        }
        ASSERT_TRUE(vktest::waitFor([&] { return game.exited(); }, PROMPT_MS)) << env.readLog();

        EXPECT_EQ(game.exitCode(), c.exit_code) << game.output();
        EXPECT_EQ(game.logCount(LOOP_STARTS), c.loops);
        EXPECT_EQ(game.logCount("World manager stopped"), 1);
        EXPECT_EQ(game.logCount("** Game engine stopped **"), 1);
        EXPECT_EQ(env.logMessages().back(), "LogManager::shutDown(): successfully stopped.");
        EXPECT_EQ(game.leaksOfOurs(), "");
    }
}

// Started as `make run` starts it, from the repository with its configuration
// file. Screenshots of the paused run are kept.
TEST(Swellrun, ItsConfigurationTitlesTheWindowAndPauseMuteAndFullScreenWorkInARun) {
    vktest::XServer x_server;
    ASSERT_TRUE(x_server.ok()) << x_server.error();
    vktest::TestEnv env;
    unsetenv("VESSIK_CONFIG");
    const vktest::WaveOutput sound(env);
    Game game(env, vktest::sourceDir());
    ASSERT_TRUE(game.findWindow("Swellrun")) << game.output();
    ASSERT_TRUE(game.awaitLog("splash(): Finished.")) << game.output();
    ASSERT_TRUE(game.pressUntil("space", [&] { return game.logCount(RUN_STARTS) == 1; }));

    // PAUSED in white in the middle of row 12, and nothing else moving
    const auto paused = [](const sf::Image &p) {
        int white = 0;
        for (unsigned y = 12 * 32; y < 13 * 32 && y < p.getSize().y; y++)
            for (unsigned x = 473; x < 551 && x < p.getSize().x; x++)
                white += p.getPixel(x, y) == sf::Color::White;
        return white > 100;
    };
    ASSERT_TRUE(game.xdotool("key p"));
    ASSERT_TRUE(game.awaitLog("GameManager::setPaused(): Game paused."));
    EXPECT_TRUE(game.awaitScreen("1-paused", paused));
    const sf::Image held = game.picture();
    usleep(500000);
    const sf::Image later = game.picture();
    ASSERT_EQ(held.getSize(), later.getSize());
    EXPECT_TRUE(std::equal(held.getPixelsPtr(), held.getPixelsPtr() + held.getSize().x * held.getSize().y * 4,
                           later.getPixelsPtr()))
        << "the paused screen holds still";
    ASSERT_TRUE(game.xdotool("key p"));
    ASSERT_TRUE(game.awaitLog("GameManager::setPaused(): Game resumed."));
    EXPECT_TRUE(game.awaitScreen("2-resumed", [&](const sf::Image &p) { return !paused(p); }));

    // the music plays on, unheard while muted
    const auto playing = [](const vktest::Loudness &heard) { return heard.span > 0 && heard.silent_tail < 0.1; };
    EXPECT_TRUE(playing(sound.listenUntil(playing)));
    ASSERT_TRUE(game.xdotool("key m"));
    const auto quiet = [](const vktest::Loudness &heard) { return heard.silent_tail > 1.0; };
    EXPECT_TRUE(quiet(sound.listenUntil(quiet)));
    ASSERT_TRUE(game.xdotool("key m"));
    EXPECT_TRUE(playing(sound.listenUntil(playing)));

    // full screen and back; the window made anew still takes the keys
    ASSERT_TRUE(game.xdotool("key F11"));
    ASSERT_TRUE(game.awaitLog("DisplayManager::setFullScreen(): Window is 1280 x 1024 pixels, full screen."));
    ASSERT_TRUE(game.findWindow("Swellrun"));
    EXPECT_TRUE(game.awaitScreen(
        "3-full-screen", [](const sf::Image &p) { return p.getSize().x == 1280 && ink(p, CYAN).count > 2000; }));
    ASSERT_TRUE(game.xdotool("key F11"));
    ASSERT_TRUE(game.awaitLog("DisplayManager::setFullScreen(): Window is 1024 x 768 pixels."));
    ASSERT_TRUE(game.findWindow("Swellrun"));

    // losing the keyboard pauses the run
    ASSERT_TRUE(game.xdotool("windowfocus --sync $(xwininfo -root | awk '/Window id/ {print $4}')"));
    ASSERT_TRUE(game.awaitLog("GameManager::setPaused(): Game paused.", 2));
    ASSERT_TRUE(game.findWindow("Swellrun"));
    EXPECT_TRUE(game.awaitScreen("4-paused-unfocused", paused));
    ASSERT_TRUE(game.xdotool("key p key q"));
    ASSERT_TRUE(game.awaitLog("GAMEOVER"));
    ASSERT_TRUE(game.pressUntil("Escape", [&] { return game.exited(); })) << game.output();
    EXPECT_EQ(game.exitCode(), 0) << game.output();
}

TEST(Swellrun, RunRecordedFromRealKeysReplaysExactly) {
    vktest::XServer x_server;
    ASSERT_TRUE(x_server.ok()) << x_server.error();
    vktest::TestEnv env;
    const std::string record = env.path("run.vkr");
    {
        Game game(env, vktest::sourceDir(), {"--record", record});
        ASSERT_TRUE(game.findWindow()) << game.output();
        ASSERT_TRUE(game.awaitLog("splash(): Finished.")) << game.output();
        ASSERT_TRUE(game.xdotool("key space"));
        ASSERT_TRUE(game.awaitLog(RUN_STARTS));
        ASSERT_TRUE(game.xdotool("keydown w sleep 0.3 keyup w key space keydown s sleep 0.2 keyup s key q"));
        ASSERT_TRUE(game.awaitLog("GAMEOVER"));
        ASSERT_TRUE(game.pressUntil("q", [&] { return game.exited(); })) << game.output();
        EXPECT_EQ(game.exitCode(), 0) << game.output();
    }
    const std::string verify = "cd '" + vktest::sourceDir() + "' && " + SWELLRUN + " --replay '" + record +
                               "' --verify > '" + env.path("verify.out") + "' 2>&1";
    EXPECT_EQ(vktest::run(verify), 0) << vktest::readFile(env.path("verify.out"));
    EXPECT_NE(vktest::readFile(env.path("verify.out")).find("Replay verified: "), std::string::npos);
}

TEST(Swellrun, IdleStartScreenPlaysTheDemoUntilAKeyOrItsEnd) {
    vktest::XServer x_server;
    ASSERT_TRUE(x_server.ok()) << x_server.error();
    vktest::TestEnv env("attract_seconds:1,");
    Game game(env, vktest::sourceDir());
    ASSERT_TRUE(game.findWindow()) << game.output();
    ASSERT_TRUE(game.awaitLog("splash(): Finished.")) << game.output();
    const std::string demo_starts = std::string("Recorder::startReplay(): Replaying ");
    const auto demos = [&] {
        int count = 0;
        for (const std::string &line : env.logMessages())
            count += line.rfind(demo_starts, 0) == 0;
        return count;
    };
    ASSERT_TRUE(vktest::waitFor([&] { return demos() == 1; }, SCREEN_MS));
    ASSERT_TRUE(game.xdotool("key x"));
    ASSERT_TRUE(game.awaitLog(BACK_TO_START));

    // left alone, the next demo plays to its end and checks out
    ASSERT_TRUE(vktest::waitFor([&] { return demos() == 2; }, SCREEN_MS));
    ASSERT_TRUE(vktest::waitFor(
        [&] { return game.logCount(BACK_TO_START) == 2 || game.exited(); }, 3 * SCREEN_MS));
    const std::string log = env.readLog();
    EXPECT_NE(log.find("Replay verified: "), std::string::npos) << log;
    EXPECT_EQ(log.find("Replay diverged"), std::string::npos) << log;
    EXPECT_FALSE(game.exited()) << "the demo's end leaves the program running";
}
