#include "Pty.h"
#include "Vt.h"

#include "display/TerminalScreen.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <string>

using vk::ScreenText;
using vk::TerminalScreen;

namespace {

void put(ScreenText &frame, int x, int y, char ch, unsigned char r, unsigned char g, unsigned char b) {
    frame.put(vk::Vector(static_cast<float>(x), static_cast<float>(y)), ch, r, g, b);
}

// The colour index a cell of the frame is shown in: one bit per channel.
int colorOf(const vk::ScreenCell &cell) { return (cell.r >= 128) | (cell.g >= 128) << 1 | (cell.b >= 128) << 2; }

// Checks that the emulator shows `frame` centred, as the screen should.
void expectShows(const vktest::Vt &vt, const ScreenText &frame) {
    const int left = (vt.columns() - frame.getWidth()) / 2;
    const int top = (vt.rows() - frame.getHeight()) / 2;
    for (int y = 0; y < vt.rows(); y++) {
        const std::string row = vt.row(y);
        for (int x = 0; x < vt.columns(); x++) {
            const vk::ScreenCell cell = frame.at(x - left, y - top);
            const auto byte = static_cast<unsigned char>(cell.ch);
            const char expected = !cell.drawn || byte <= ' ' ? ' ' : byte < 127 ? cell.ch : '?';
            ASSERT_EQ(row[static_cast<std::size_t>(x)], expected) << x << "," << y << "\n" << vt.text();
            if (expected != ' ') {
                ASSERT_EQ(vt.fg(x, y), colorOf(cell)) << x << "," << y;
            }
        }
    }
}

} // namespace

TEST(TerminalScreen, EachFrameWritesOnlyWhatChangedWithTheShortestMoves) {
    TerminalScreen screen;
    screen.setSize(80, 24);
    vktest::Vt vt(80, 24);
    ScreenText frame(80, 24);
    put(frame, 3, 3, 'o', 255, 0, 255);
    vt.feed(screen.render(frame));
    expectShows(vt, frame);
    EXPECT_EQ(screen.render(frame), "") << "nothing changed, nothing written";

    const struct {
        int x, y;
        char ch;
        unsigned char r, g, b;
        std::string bytes;
    } steps[] = {
        {10, 5, 'X', 255, 0, 0, "\x1b[6;11H\x1b[31mX"},
        // the next cell follows without a move; a custom colour is the nearest
        {11, 5, 'Y', 200, 30, 0, "Y"},
        {12, 5, 'Z', 0, 255, 0, "\x1b[32mZ"},
        // two blanks are shorter to write again than to skip
        {15, 5, 'A', 0, 255, 0, "  A"},
        {40, 5, 'b', 0, 255, 0, "\x1b[24Cb"},
        {0, 0, 'c', 0, 255, 0, "\x1b[1Hc"},
        // a line feed keeps the column, a carriage return goes to the first
        {1, 1, 'd', 0, 255, 0, "\nd"},
        {0, 2, 'e', 0, 255, 0, "\r\ne"},
        // a blank needs no colour; a colour change writes the character again
        {10, 5, ' ', 0, 255, 0, "\x1b[6;11H "},
        {11, 5, 'Y', 255, 255, 255, "\x1b[37mY"},
        // control bytes never reach the terminal: this one shows as a blank
        {11, 5, '\x1b', 255, 255, 255, "\x1b[6;12H "},
    };
    for (const auto &step : steps) {
        put(frame, step.x, step.y, step.ch, step.r, step.g, step.b);
        const std::string bytes = screen.render(frame);
        EXPECT_EQ(bytes, step.bytes) << ::testing::PrintToString(bytes);
        vt.feed(bytes);
        expectShows(vt, frame);
    }
}

TEST(TerminalScreen, RandomFramesOnAnySizeShowCentredOrAskForRoom) {
    std::mt19937 rng(17);
    TerminalScreen screen;
    screen.setSize(80, 24);
    vktest::Vt vt(80, 24);
    ScreenText frame(40, 12);
    const std::string characters = "ab#/\\|_- ~\x1b\t\xe9";
    for (int round = 0; round < 300; round++) {
        if (rng() % 40 == 0) {
            const int columns = 30 + static_cast<int>(rng() % 30);
            const int rows = 8 + static_cast<int>(rng() % 10);
            vt.resize(columns, rows);
            screen.setSize(columns, rows);
        }
        if (rng() % 10 == 0)
            frame.clear();
        const auto byte = [&] { return static_cast<unsigned char>(rng()); };
        for (int n = static_cast<int>(rng() % 30); n > 0; n--)
            put(frame, static_cast<int>(rng() % 40), static_cast<int>(rng() % 12),
                characters[rng() % characters.size()], byte(), byte(), byte());
        vt.feed(screen.render(frame));
        if (vt.columns() >= 40 && vt.rows() >= 12) {
            expectShows(vt, frame);
        } else {
            std::string shown;
            for (int y = 0; y < vt.rows(); y++)
                shown += vt.row(y);
            EXPECT_NE(shown.find("Please make the terminal at least 40 x 12 characters (it is " +
                                 std::to_string(vt.columns()) + " x " + std::to_string(vt.rows()) + ")."),
                      std::string::npos)
                << vt.text();
        }
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

TEST(TerminalScreen, TakesTheTerminalOverAndGivesItBackAsItWas) {
    vktest::Pty pty(80, 24);
    TerminalScreen screen;
    std::string error;
    EXPECT_EQ(screen.open(-1, -1, 0, error), -1);
    EXPECT_EQ(error, "standard input and output are not a terminal");

    const termios before = pty.modes();
    ASSERT_EQ(screen.open(pty.slave(), pty.slave(), 4, error), 0) << error;
    pty.pump();
    const termios raw = pty.modes();
    EXPECT_EQ(raw.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_NE(raw.c_lflag & ISIG, 0u) << "Ctrl-C and Ctrl-Z stay signals";
    EXPECT_TRUE(pty.screen().altScreen());
    EXPECT_FALSE(pty.screen().cursorVisible());
    EXPECT_NE(pty.screen().mouseMode(), 0);

    ScreenText frame(80, 24);
    put(frame, 0, 0, 'A', 255, 255, 0);
    ASSERT_EQ(screen.show(frame), 0);
    pty.pump();
    expectShows(pty.screen(), frame);

    // a resize is a signal, heard at the next frame, which is redrawn centred
    pty.resize(100, 30);
    std::raise(SIGWINCH);
    ASSERT_EQ(screen.show(frame), 0);
    pty.pump();
    EXPECT_EQ(screen.getOffsetX(), 10);
    EXPECT_EQ(screen.getOffsetY(), 3);
    expectShows(pty.screen(), frame);

    EXPECT_FALSE(TerminalScreen::quitRequested());
    std::raise(SIGTERM);
    EXPECT_TRUE(TerminalScreen::quitRequested());

    screen.restore();
    screen.restore();
    pty.pump();
    EXPECT_FALSE(pty.screen().altScreen());
    EXPECT_TRUE(pty.screen().cursorVisible());
    EXPECT_EQ(pty.screen().mouseMode(), 0);
    EXPECT_EQ(pty.modes().c_lflag, before.c_lflag);
    EXPECT_EQ(pty.modes().c_iflag, before.c_iflag);
}
