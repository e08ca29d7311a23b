#pragma once

#include <vessik/display/ScreenText.h>

#include <cstddef>
#include <termios.h>
#include <string>
#include <vector>

namespace vk {

// The text terminal the game plays in: raw mode, the alternate screen, the
// hidden cursor and mouse reports while it is open, and each frame written
// as the difference from the last one shown. The world's cells sit centred
// in the terminal; a terminal smaller than the world shows a message asking
// for the world's size instead.
//
// Signals only set flags, read by the game loop's thread: SIGINT, SIGTERM
// and SIGHUP ask to quit (the caller ends the game, and shutting down
// restores the terminal), SIGTSTP suspends at the next frame (terminal
// restored first), SIGCONT and SIGWINCH redraw. restore(), also run by the
// destructor, puts back the terminal settings and the signal handlers found
// at open().
class TerminalScreen {
  public:
    TerminalScreen() = default;
    ~TerminalScreen();
    TerminalScreen(const TerminalScreen &) = delete;
    TerminalScreen &operator=(const TerminalScreen &) = delete;

    // Takes over the terminal on `in_fd` and `out_fd`; -1, with the reason
    // in `error`, when they are not a terminal. `background` is the
    // colour index (0 to 7) of every cell's background.
    int open(int in_fd, int out_fd, int background, std::string &error);
    // Gives the terminal back as open() found it; safe twice.
    void restore();
    [[nodiscard]] bool isOpen() const noexcept { return m_open; }

    // Handles a pending suspension, resumption or resize, then writes what
    // changed since the last frame in one write. -1 when the terminal
    // cannot be written (which also asks to quit).
    int show(const ScreenText &frame);
    // The bytes that bring the screen from what it shows to `frame`;
    // afterwards it is taken to show `frame`.
    [[nodiscard]] std::string render(const ScreenText &frame);

    // Reads what the terminal sent, without waiting; 0 when nothing.
    std::size_t read(char *p_buffer, std::size_t size);
    // Writes bytes now, e.g. a request for key release reports.
    int write(const std::string &bytes);

    // The terminal's size in cells; changes are noticed by show().
    void setSize(int columns, int rows);
    [[nodiscard]] int getColumns() const noexcept { return m_columns; }
    [[nodiscard]] int getRows() const noexcept { return m_rows; }
    // Where the world's top-left cell is on the terminal.
    [[nodiscard]] int getOffsetX() const noexcept { return m_offset_x; }
    [[nodiscard]] int getOffsetY() const noexcept { return m_offset_y; }
    // Forgets what the screen shows: the next frame is drawn whole.
    void invalidate() noexcept { m_valid = false; }
    // Whether the game was suspended (and resumed) since the last call.
    [[nodiscard]] bool takeResumed() noexcept;

    // Switches the terminal's key release reports on (see TerminalKeys),
    // again after every resume; they go off with restore().
    int enableKeyReleases();

    // Whether a signal asked the program to end.
    [[nodiscard]] static bool quitRequested() noexcept;
    static void requestQuit() noexcept;

  private:
    // What one cell shows: a blank has no colour of its own.
    struct Cell {
        char ch = ' ';
        signed char fg = -1;
        bool operator==(const Cell &other) const noexcept { return ch == other.ch && fg == other.fg; }
        bool operator!=(const Cell &other) const noexcept { return !(*this == other); }
    };

    void enter();
    void leave();
    void handleSignals();
    void layOut(const ScreenText &frame);
    void moveTo(std::string &out, int x, int y) const;
    [[nodiscard]] bool rewritable(int y, int from, int to) const;
    [[nodiscard]] std::size_t forwardCost(int y, int from, int to) const;
    void forward(std::string &out, int y, int from, int to) const;

    int m_in_fd = -1;
    int m_out_fd = -1;
    bool m_open = false;
    int m_background = 0;
    int m_columns = 0;
    int m_rows = 0;
    int m_offset_x = 0;
    int m_offset_y = 0;
    bool m_valid = false;
    bool m_resumed = false;
    // what the terminal shows and what it is to show, row by row
    std::vector<Cell> m_shown;
    std::vector<Cell> m_target;
    // where the cursor is, -1 when not known; the foreground colour in use
    int m_cursor_x = -1;
    int m_cursor_y = -1;
    int m_fg = -1;
    bool m_key_releases = false;
    // the terminal settings found at open()
    termios m_saved{};
};

} // namespace vk
