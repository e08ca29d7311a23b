// The whole game played through the real program on a pseudo-terminal with
// no X display, its screen read through a terminal emulator.
#include "Pty.h"
#include "Sea.h"
#include "TestEnv.h"
#include "XServer.h"

#include <vessik/core/Config.h>
#include <vessik/display/DisplayManager.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <termios.h>
#include <thread>
#include <vector>

namespace {

// Generous bounds: a loaded machine runs the game slowly, never wrongly.
constexpr int SCREEN_MS = 20000;
const char *const RUN_STARTS = "startGame(): A new run begins.";

// The game on a terminal of `columns` x `rows`.
struct TerminalGame {
    vktest::TestEnv env;
    vktest::Pty pty;
    TerminalGame(int columns, int rows) : pty(columns, rows) {
        // progress lines mark the screens
        EXPECT_TRUE(pty.spawn({SWELLRUN, "--terminal"}, vktest::sourceDir(),
                              {{"DISPLAY", ""}, {"VESSIK_LOG_LEVEL", "10"}}, env.path("swellrun.err")));
    }
    [[nodiscard]] vktest::Vt &screen() { return pty.screen(); }
    template <typename Condition> bool await(Condition condition) {
        return pty.waitFor([&] { return condition() || pty.exited(); }, SCREEN_MS) && condition();
    }
    bool awaitLog(const std::string &message, int count = 1) {
        return await([&] { return env.logCount(message) >= count; });
    }
    // Whether `text` is shown at column x, row y.
    bool at(int x, int y, const std::string &text) { return screen().find(text) == std::make_pair(x, y); }
    // Types `bytes` every `ms` until `done` holds.
    template <typename Done> bool typeUntil(const std::string &bytes, int ms, Done done) {
        return await([&] {
            if (done())
                return true;
            pty.send(bytes);
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            pty.pump();
            return done();
        });
    }
    // Bytes written per second over `ms` milliseconds.
    double bytesPerSecond(int ms) {
        pty.pump();
        const std::size_t before = pty.bytesRead();
        const auto start = std::chrono::steady_clock::now();
        static_cast<void>(pty.waitFor([] { return false; }, ms));
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return static_cast<double>(pty.bytesRead() - before) / seconds;
    }
    // The terminal as the shell wants it back.
    void expectRestored() {
        pty.pump();
        EXPECT_FALSE(screen().altScreen());
        EXPECT_TRUE(screen().cursorVisible());
        EXPECT_EQ(screen().mouseMode(), 0);
        EXPECT_EQ(pty.modes().c_lflag & (ICANON | ECHO), static_cast<tcflag_t>(ICANON | ECHO));
    }
    std::string output() const { return vktest::readFile(env.path("swellrun.err")) + "\n" + env.readLog(); }
};

int countInColor(vktest::Vt &vt, int color) {
    int count = 0;
    for (int y = 0; y < vt.rows(); y++)
        for (int x = 0; x < vt.columns(); x++)
            count += vt.row(y)[static_cast<std::size_t>(x)] != ' ' && vt.fg(x, y) == color;
    return count;
}

// Every cell of the frame last shown: character, colour and whether drawn.
std::string shownCells() {
    const vk::ScreenText &text = vk::DisplayManager::getInstance().getShownText();
    std::string cells;
    for (int y = 0; y < text.getHeight(); y++)
        for (int x = 0; x < text.getWidth(); x++) {
            const vk::ScreenCell cell = text.at(x, y);
            cells += {cell.ch, static_cast<char>(cell.r), static_cast<char>(cell.g), static_cast<char>(cell.b),
                      static_cast<char>(cell.drawn)};
        }
    return cells;
}

// The frames of the start screen and a run started on its 5th step, with
// the game's sprites and a seeded generator; `each_step` runs in every step.
std::vector<std::string> seededFrames(const std::string &config, const std::function<void()> &each_step) {
    seatest::Sea sea(true, false, config);
    new GameStart;
    std::vector<std::string> frames;
    sea.steps(120, [&](int step) {
        if (step == 5)
            seatest::press(seatest::kb::SPACE);
        each_step();
        frames.push_back(shownCells());
    });
    return frames;
}

} // namespace

TEST(TerminalGame, ShowsTheSameFramesAsTheWindowForTheSameSeededSteps) {
    std::vector<std::string> window_frames;
    {
        vktest::XServer x_server;
        ASSERT_TRUE(x_server.ok()) << x_server.error();
        window_frames = seededFrames("", [] {});
    }
    vktest::Pty pty(80, 24);
    std::vector<std::string> terminal_frames;
    bool run_shown = false;
    {
        const vktest::StdioOn on(pty.slave());
        terminal_frames = seededFrames("display:terminal,", [&] {
            pty.pump();
            run_shown = run_shown || pty.screen().find("SPEED").second >= 0;
        });
    }
    // the display's choice outlives the test in the configuration
    vk::Config::getInstance().loadConfig("display:window,");
    ASSERT_EQ(terminal_frames.size(), 120u);
    EXPECT_NE(terminal_frames[3], terminal_frames[100]) << "a run has started";
    EXPECT_TRUE(terminal_frames == window_frames);
    EXPECT_TRUE(run_shown);
}

TEST(TerminalGame, PlaysSplashStartRunGameOverAndQuitsLeavingTheTerminalAsItWas) {
    TerminalGame game(80, 24);
    EXPECT_TRUE(game.await([&] { return countInColor(game.screen(), 2) > 100; })) << game.screen().text();
    ASSERT_TRUE(game.awaitLog("splash(): Finished.")) << game.output();

    // the start screen's text where the frame text has it, in its colours
    ASSERT_TRUE(game.await([&] { return game.at(17, 10, "Dodge the obstacles and ride as far as you can!"); }))
        << game.screen().text();
    EXPECT_TRUE(game.at(34, 12, "- CONTROLS -"));
    EXPECT_EQ(game.screen().fg(34, 12), 6);
    EXPECT_TRUE(game.at(31, 21, "ESC quits the game"));
    const double start_rate = game.bytesPerSecond(2000);

    game.pty.send(" ");
    ASSERT_TRUE(game.awaitLog(RUN_STARTS)) << game.output();
    int surfer_y = -1;
    ASSERT_TRUE(game.await([&] { return (surfer_y = game.screen().find("/|\\").second) > 0; }));
    EXPECT_EQ(game.screen().fg(game.screen().find("/|\\").first, surfer_y), 5);
    // keys repeat as a held key's do
    EXPECT_TRUE(game.typeUntil("w", 40, [&] { return game.screen().find("/|\\").second <= surfer_y - 3; }))
        << game.screen().text();
    EXPECT_TRUE(game.typeUntil("s", 40, [&] { return game.screen().find("/|\\").second >= surfer_y + 3; }))
        << game.screen().text();
    const double run_rate = game.bytesPerSecond(2000);

    game.pty.send("q");
    ASSERT_TRUE(game.awaitLog("GAMEOVER")) << game.output();
    EXPECT_TRUE(game.await([&] { return game.screen().find("FINAL SCORE: ").second == 11; })) << game.screen().text();
    ASSERT_TRUE(game.typeUntil("\x1b", 250, [&] { return game.pty.exited(); })) << game.output();
    EXPECT_EQ(game.pty.exitCode(), 0) << game.output();
    game.expectRestored();

    std::printf("terminal output: start screen %.0f bytes/s (%.0f per frame), a run %.0f bytes/s (%.0f per frame)\n",
                start_rate, start_rate / 30, run_rate, run_rate / 30);
    EXPECT_LT(run_rate, 30000);
}

TEST(TerminalGame, ASmallTerminalAsksForRoomResizesRedrawAndSignalsGiveTheTerminalBack) {
    TerminalGame game(60, 20);
    ASSERT_TRUE(game.await([&] { return game.screen().find("Please make the terminal at least 80 x 24").second >= 0; }))
        << game.screen().text() << game.output();
    game.pty.resize(80, 24);
    ASSERT_TRUE(game.awaitLog("splash(): Finished.")) << game.output();
    ASSERT_TRUE(game.await([&] { return game.at(17, 10, "Dodge the obstacles"); })) << game.screen().text();
    EXPECT_EQ(game.screen().find("Please"), std::make_pair(-1, -1));
    game.pty.resize(100, 30);
    EXPECT_TRUE(game.await([&] { return game.at(27, 13, "Dodge the obstacles"); })) << game.screen().text();

    // Ctrl-Z stops the game with the terminal given back; going on redraws
    game.pty.send("\x1a");
    ASSERT_TRUE(game.await([&] { return game.pty.stopped(); })) << game.output();
    game.expectRestored();
    kill(game.pty.pid(), SIGCONT);
    EXPECT_TRUE(game.await([&] { return game.screen().altScreen() && game.at(27, 13, "Dodge the obstacles"); }))
        << game.screen().text();

    // Ctrl-C ends it as Escape would
    game.pty.send("\x03");
    ASSERT_TRUE(game.await([&] { return game.pty.exited(); })) << game.output();
    EXPECT_EQ(game.pty.exitCode(), 0) << game.output();
    game.expectRestored();
}
