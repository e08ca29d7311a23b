#include "display/TerminalScreen.h"

#include <vessik/display/TerminalKeys.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vk {

namespace {

// Set by the signal handler, read and cleared by the game loop's thread.
volatile std::sig_atomic_t g_quit = 0;
volatile std::sig_atomic_t g_suspend = 0;
volatile std::sig_atomic_t g_continued = 0;
volatile std::sig_atomic_t g_resized = 0;

constexpr int HANDLED_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGTSTP, SIGCONT, SIGWINCH};
constexpr std::size_t SIGNAL_COUNT = sizeof HANDLED_SIGNALS / sizeof HANDLED_SIGNALS[0];
struct sigaction g_previous[SIGNAL_COUNT];

extern "C" void onTerminalSignal(int signal) {
    switch (signal) {
    case SIGTSTP:
        g_suspend = 1;
        break;
    case SIGCONT:
        g_continued = 1;
        break;
    case SIGWINCH:
        g_resized = 1;
        break;
    default:
        g_quit = 1;
        break;
    }
}

// Alternate screen, hidden cursor, no line wrap (a character written in
// the last column must not scroll the screen), mouse clicks and moves as
// SGR reports.
const char *const ENTER = "\x1b[?1049h\x1b[?25l\x1b[?7l\x1b[?1000h\x1b[?1003h\x1b[?1006h";
const char *const LEAVE = "\x1b[?1006l\x1b[?1003l\x1b[?1000l\x1b[?7h\x1b[0m\x1b[?25h\x1b[?1049l";

// The nearest of the eight colours, whose numbers are the terminal's: one
// bit each for red, green and blue.
signed char colorIndex(const ScreenCell &cell) {
    return static_cast<signed char>((cell.r >= 128 ? 1 : 0) | (cell.g >= 128 ? 2 : 0) | (cell.b >= 128 ? 4 : 0));
}

int digits(int n) { return n >= 100 ? 3 + (n >= 1000) : n >= 10 ? 2 : 1; }

// The length of "ESC [ n C", which moves the cursor n cells right ("ESC [ C"
// for one).
std::size_t forwardMoveLength(int n) { return n == 1 ? 3 : 3 + static_cast<std::size_t>(digits(n)); }

} // namespace

TerminalScreen::~TerminalScreen() { restore(); }

int TerminalScreen::open(int in_fd, int out_fd, int background, std::string &error) {
    if (m_open) {
        error = "already open";
        return -1;
    }
    if (!isatty(in_fd) || !isatty(out_fd) || tcgetattr(in_fd, &m_saved) != 0) {
        error = "standard input and output are not a terminal";
        return -1;
    }
    m_in_fd = in_fd;
    m_out_fd = out_fd;
    m_background = background & 7;
    m_key_releases = false;
    g_quit = g_suspend = g_continued = g_resized = 0;

    struct sigaction action {};
    action.sa_handler = onTerminalSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < SIGNAL_COUNT; i++)
        sigaction(HANDLED_SIGNALS[i], &action, &g_previous[i]);

    m_open = true;
    enter();
    return 0;
}

void TerminalScreen::restore() {
    if (!m_open)
        return;
    leave();
    for (std::size_t i = 0; i < SIGNAL_COUNT; i++)
        sigaction(HANDLED_SIGNALS[i], &g_previous[i], nullptr);
    m_open = false;
}

void TerminalScreen::enter() {
    termios raw = m_saved;
    raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
    raw.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    // ISIG stays: Ctrl-C and Ctrl-Z remain signals, handled as such
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | IEXTEN);
    raw.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    raw.c_cflag |= CS8;
    // reads return at once with what is there
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 0;
    tcsetattr(m_in_fd, TCSANOW, &raw);

    write(std::string(ENTER) + (m_key_releases ? TerminalKeys::RELEASES_ON : TerminalKeys::QUERY));
    winsize size{};
    if (ioctl(m_out_fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0)
        setSize(size.ws_col, size.ws_row);
    invalidate();
}

void TerminalScreen::leave() {
    write(std::string(m_key_releases ? TerminalKeys::RELEASES_OFF : "") + LEAVE);
    tcsetattr(m_in_fd, TCSANOW, &m_saved);
}

void TerminalScreen::handleSignals() {
    if (g_suspend) {
        g_suspend = 0;
        leave();
        // stop as the terminal's suspend key would, and carry on here when
        // continued
        struct sigaction stop {};
        struct sigaction mine {};
        stop.sa_handler = SIG_DFL;
        sigemptyset(&stop.sa_mask);
        sigaction(SIGTSTP, &stop, &mine);
        raise(SIGTSTP);
        sigaction(SIGTSTP, &mine, nullptr);
        g_continued = 1;
    }
    if (g_continued) {
        g_continued = 0;
        // whoever had the terminal meanwhile may have changed everything
        enter();
        m_resumed = true;
    }
    if (g_resized) {
        g_resized = 0;
        winsize size{};
        if (ioctl(m_out_fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0)
            setSize(size.ws_col, size.ws_row);
        // a terminal may rewrap or clear what it showed when resized
        invalidate();
    }
}

int TerminalScreen::show(const ScreenText &frame) {
    if (!m_open)
        return -1;
    handleSignals();
    const std::string bytes = render(frame);
    return bytes.empty() ? 0 : write(bytes);
}

void TerminalScreen::setSize(int columns, int rows) {
    if (columns == m_columns && rows == m_rows)
        return;
    m_columns = columns > 0 ? columns : 0;
    m_rows = rows > 0 ? rows : 0;
    m_valid = false;
}

bool TerminalScreen::takeResumed() noexcept {
    const bool resumed = m_resumed;
    m_resumed = false;
    return resumed;
}

int TerminalScreen::enableKeyReleases() {
    m_key_releases = true;
    return write(TerminalKeys::RELEASES_ON);
}

bool TerminalScreen::quitRequested() noexcept { return g_quit != 0; }

void TerminalScreen::requestQuit() noexcept { g_quit = 1; }

std::size_t TerminalScreen::read(char *p_buffer, std::size_t size) {
    const ssize_t count = ::read(m_in_fd, p_buffer, size);
    if (count > 0)
        return static_cast<std::size_t>(count);
    // a terminal that hung up has nothing more to say
    if (count < 0 && errno != EAGAIN && errno != EINTR)
        requestQuit();
    return 0;
}

int TerminalScreen::write(const std::string &bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::write(m_out_fd, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            // nobody sees the game any more
            requestQuit();
            return -1;
        }
        done += static_cast<std::size_t>(count);
    }
    return 0;
}

void TerminalScreen::layOut(const ScreenText &frame) {
    const int width = frame.getWidth();
    const int height = frame.getHeight();
    m_target.assign(static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows), Cell{});
    if (m_columns >= width && m_rows >= height) {
        m_offset_x = (m_columns - width) / 2;
        m_offset_y = (m_rows - height) / 2;
        for (int y = 0; y < height; y++) {
            for (int x = 0; x < width; x++) {
                const ScreenCell cell = frame.at(x, y);
                const auto byte = static_cast<unsigned char>(cell.ch);
                // control bytes would be commands to the terminal, and other
                // bytes above 127 are not characters on their own in UTF-8
                if (!cell.drawn || byte <= ' ')
                    continue;
                const char ch = byte < 127 ? cell.ch : '?';
                m_target[static_cast<std::size_t>((y + m_offset_y) * m_columns + x + m_offset_x)] =
                    Cell{ch, colorIndex(cell)};
            }
        }
        return;
    }

    // too small: the message, broken into lines as wide as the terminal
    char text[128];
    std::snprintf(text, sizeof text, "Please make the terminal at least %d x %d characters (it is %d x %d).", width,
                  height, m_columns, m_rows);
    const std::string message(text);
    if (m_columns == 0)
        return;
    const int lines = static_cast<int>((message.size() + static_cast<std::size_t>(m_columns) - 1) /
                                       static_cast<std::size_t>(m_columns));
    const int top = m_rows > lines ? (m_rows - lines) / 2 : 0;
    for (std::size_t i = 0; i < message.size(); i++) {
        const int y = top + static_cast<int>(i) / m_columns;
        if (y >= m_rows)
            break;
        if (message[i] != ' ')
            m_target[static_cast<std::size_t>(y * m_columns) + i % static_cast<std::size_t>(m_columns)] =
                Cell{message[i], 7};
    }
}

bool TerminalScreen::rewritable(int y, int from, int to) const {
    // writing cells over again moves the cursor as well, if they look the
    // same in the colour in use
    for (int x = from; x < to; x++) {
        const Cell &cell = m_shown[static_cast<std::size_t>(y * m_columns + x)];
        if (cell.fg >= 0 && cell.fg != m_fg)
            return false;
    }
    return true;
}

std::size_t TerminalScreen::forwardCost(int y, int from, int to) const {
    const int gap = to - from;
    if (gap <= 0)
        return 0;
    const std::size_t move = forwardMoveLength(gap);
    return static_cast<std::size_t>(gap) < move && rewritable(y, from, to) ? static_cast<std::size_t>(gap) : move;
}

void TerminalScreen::forward(std::string &out, int y, int from, int to) const {
    const int gap = to - from;
    if (gap <= 0)
        return;
    if (forwardCost(y, from, to) < forwardMoveLength(gap)) {
        for (int x = from; x < to; x++)
            out += m_shown[static_cast<std::size_t>(y * m_columns + x)].ch;
        return;
    }
    out += gap == 1 ? "\x1b[C" : "\x1b[" + std::to_string(gap) + "C";
}

void TerminalScreen::moveTo(std::string &out, int x, int y) const {
    if (m_cursor_y == y && m_cursor_x == x)
        return;
    std::string best = "\x1b[" + std::to_string(y + 1) + (x > 0 ? ";" + std::to_string(x + 1) : "") + "H";
    const auto consider = [&](const std::string &lead, int from) {
        if (lead.size() + forwardCost(y, from, x) < best.size()) {
            best = lead;
            forward(best, y, from, x);
        }
    };
    if (m_cursor_y == y && m_cursor_x >= 0 && m_cursor_x < x)
        consider("", m_cursor_x);
    if (m_cursor_y == y - 1 && m_cursor_y >= 0) {
        consider("\r\n", 0);
        if (m_cursor_x >= 0 && m_cursor_x <= x)
            consider("\n", m_cursor_x);
    }
    out += best;
}

std::string TerminalScreen::render(const ScreenText &frame) {
    layOut(frame);
    std::string out;
    const std::size_t cells = m_target.size();
    if (!m_valid || m_shown.size() != cells) {
        // bold like the window's glyphs, on the background, everywhere
        out += "\x1b[0;1;4" + std::to_string(m_background) + "m\x1b[2J";
        m_shown.assign(cells, Cell{});
        m_cursor_x = -1;
        m_cursor_y = -1;
        m_fg = -1;
        m_valid = true;
    }
    for (int y = 0; y < m_rows; y++) {
        for (int x = 0; x < m_columns; x++) {
            const std::size_t i = static_cast<std::size_t>(y * m_columns + x);
            const Cell &cell = m_target[i];
            if (cell == m_shown[i])
                continue;
            moveTo(out, x, y);
            if (cell.fg >= 0 && cell.fg != m_fg) {
                out += "\x1b[3" + std::to_string(cell.fg) + "m";
                m_fg = cell.fg;
            }
            out += cell.ch;
            m_shown[i] = cell;
            // without line wrap the cursor stays in the last column
            m_cursor_x = x + 1 < m_columns ? x + 1 : -1;
            m_cursor_y = y;
        }
    }
    return out;
}

} // namespace vk
