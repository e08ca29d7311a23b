// Cost of a full frame of characters: the display manager's batched drawing
// against drawing each character as its own text object and background
// rectangle. Both draw a full 80 x 24 frame of changing characters and
// colours and show it. Runs in a private Xvfb, where everything is drawn by
// the CPU.
//
// The batched drawing also runs for grids of 80 x 24 and 1024 x 1024 cells
// in the same window, empty and full, and an empty one of 4096 x 4096 cells,
// with the peak memory of the process.
//
// Afterwards both ways draw the same frame (overlaps and rotations included)
// and ImageMagick's compare counts the pixels in which the screenshots
// differ, exactly and with a fuzz of 1 %. Rotated characters are placed by
// the CPU in one way and by the renderer in the other, which may round a
// smoothed edge pixel by one step of 255; the program fails on any larger
// difference.
#include "XServer.h"

#include <vessik/core/Clock.h>
#include <vessik/core/Config.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/display/DisplayManager.h>

#include <SFML/Graphics.hpp>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int COLUMNS = 80;
constexpr int ROWS = 24;

// The character and colour of a cell in frame `frame`: every cell changes in
// every frame.
char cellChar(int frame, int x, int y) { return static_cast<char>('!' + (frame + x * 7 + y * 13) % 94); }
vk::Color cellColor(int frame, int x, int y) { return static_cast<vk::Color>(1 + (frame + x + y) % 7); }

// The way the display manager drew before batching: one text object and one
// rectangle, set up for every character and drawn one after the other.
class PerCharacterPainter {
  public:
    PerCharacterPainter() {
        vk::DisplayManager &display = vk::DisplayManager::getInstance();
        m_p_window = display.getWindow();
        m_rectangle.setSize(sf::Vector2f(vk::charWidth(), vk::charHeight()));
        m_rectangle.setFillColor(vk::colorToSFML(vk::Config::getInstance().getWindowBackgroundColor()));
        m_text.setFont(*display.getFont());
        m_text.setStyle(sf::Text::Bold);
        m_text.setCharacterSize(display.getCharacterSize());
    }

    void drawCh(vk::Vector pos, char ch, vk::Color color, float rotation) {
        const vk::Vector pixel = vk::spacesToPixels(pos);
        m_rectangle.setPosition(pixel.getX() - vk::charWidth() / 10, pixel.getY() + vk::charHeight() / 5);
        m_rectangle.setRotation(rotation);
        m_p_window->draw(m_rectangle);
        m_text.setString(std::string(1, ch));
        m_text.setPosition(pixel.getX(), pixel.getY());
        m_text.setFillColor(vk::colorToSFML(color));
        m_text.setRotation(rotation);
        m_p_window->draw(m_text);
    }

  private:
    sf::RenderWindow *m_p_window = nullptr;
    sf::RectangleShape m_rectangle;
    sf::Text m_text;
};

void drawFrame(int frame, int columns = COLUMNS, int rows = ROWS) {
    vk::DisplayManager &display = vk::DisplayManager::getInstance();
    for (int y = 0; y < rows; y++)
        for (int x = 0; x < columns; x++)
            display.drawCh(vk::Vector(static_cast<float>(x), static_cast<float>(y)), cellChar(frame, x, y),
                           cellColor(frame, x, y), 0);
}

void drawFramePerCharacter(PerCharacterPainter &painter, int frame) {
    for (int y = 0; y < ROWS; y++)
        for (int x = 0; x < COLUMNS; x++)
            painter.drawCh(vk::Vector(static_cast<float>(x), static_cast<float>(y)), cellChar(frame, x, y),
                           cellColor(frame, x, y), 0);
}

// The folder of the log and the configuration.
std::string benchDir() { return "/tmp/vk-display-bench-" + std::to_string(getpid()); }

// Starts the engine afresh with a grid of `columns` x `rows` cells in the
// default 1024 x 768 window; false when it did not start.
bool startEngine(int columns, int rows) {
    vk::GameManager &game = vk::GameManager::getInstance();
    if (game.isStarted())
        game.shutDown();
    {
        std::ofstream config(benchDir() + "/vk-config.txt");
        config << "font_file:" << VK_SOURCE_DIR << "/vk-font.ttf,\nnetworking:false,\nframe_time:0,\n"
               << "window_horizontal_chars:" << columns << ",\nwindow_vertical_chars:" << rows << ",\n";
    }
    return game.startUp() == 0;
}

// The most memory the process has held so far, in megabytes.
double peakMb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    double kb = 0;
    while (status >> key)
        if (key == "VmHWM:" && status >> kb)
            break;
    return kb / 1024;
}

// Frames of a grid of range(0) x range(1) cells, empty, or every cell drawn
// when range(2) is 1. `peak_mb` is the most memory the process has held so
// far: run one grid per process (--benchmark_filter) for that grid's own.
void BM_Frame(benchmark::State &state) {
    const int columns = static_cast<int>(state.range(0));
    const int rows = static_cast<int>(state.range(1));
    const bool full = state.range(2) != 0;
    if (!startEngine(columns, rows)) {
        state.SkipWithError("the engine did not start");
        return;
    }
    vk::DisplayManager &display = vk::DisplayManager::getInstance();
    int frame = 0;
    for (auto _ : state) {
        if (full)
            drawFrame(frame++, columns, rows);
        display.swapBuffers();
    }
    state.counters["peak_mb"] = peakMb();
    state.SetLabel(full ? "full" : "empty");
    if (!startEngine(COLUMNS, ROWS))
        state.SkipWithError("the engine did not start again");
}
BENCHMARK(BM_Frame)
    ->Args({COLUMNS, ROWS, 0})
    ->Args({COLUMNS, ROWS, 1})
    ->Args({1024, 1024, 0})
    ->Args({1024, 1024, 1})
    ->Args({4096, 4096, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

void BM_FrameTextObjectPerCharacter(benchmark::State &state) {
    PerCharacterPainter painter;
    int frame = 0;
    for (auto _ : state) {
        drawFramePerCharacter(painter, frame++);
        vk::DisplayManager::getInstance().swapBuffers();
    }
}
BENCHMARK(BM_FrameTextObjectPerCharacter)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Milliseconds per frame over `frames` frames, drawn one way or the other.
double msPerFrame(bool batched, int frames) {
    PerCharacterPainter painter;
    vk::Clock clock;
    for (int frame = 0; frame < frames; frame++) {
        if (batched)
            drawFrame(frame);
        else
            drawFramePerCharacter(painter, frame);
        vk::DisplayManager::getInstance().swapBuffers();
    }
    return static_cast<double>(clock.split()) / 1000.0 / frames;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A test picture: a full frame, characters drawn over others, rotated
// characters, every colour, a few control and non-ASCII characters.
template <typename Draw> void drawPicture(Draw draw) {
    for (int y = 0; y < ROWS; y++)
        for (int x = 0; x < COLUMNS; x++)
            draw(vk::Vector(static_cast<float>(x), static_cast<float>(y)), cellChar(3, x, y), cellColor(3, x, y),
                 0.0f);
    for (int i = 0; i < 20; i++) {
        draw(vk::Vector(static_cast<float>(5 + i), 5), 'W', vk::RED, 0.0f);
        draw(vk::Vector(static_cast<float>(5 + i) + 0.5f, 5.25f), 'o', vk::WHITE, static_cast<float>(i * 18));
        draw(vk::Vector(static_cast<float>(40 + i), 10), static_cast<char>(i + 1), vk::CYAN, 0.0f);
        draw(vk::Vector(static_cast<float>(40 + i), 12), static_cast<char>(200 + i), vk::YELLOW, 0.0f);
    }
}

sf::Image windowImage() {
    sf::RenderWindow *p_window = vk::DisplayManager::getInstance().getWindow();
    sf::Texture texture;
    texture.create(p_window->getSize().x, p_window->getSize().y);
    texture.update(*p_window);
    return texture.copyToImage();
}

// Has ImageMagick count the pixels in which two pictures differ by more than
// `fuzz`; -1 when compare could not run.
long differingPixels(const std::string &dir, const std::string &fuzz) {
    const std::string out = dir + "/compare.txt";
    // compare writes its count to standard error and exits 1 on a difference
    const std::string command = "compare -metric AE -fuzz " + fuzz + " " + dir + "/batched.png " + dir +
                                "/per-character.png " + dir + "/difference.png 2>" + out;
    const int status = std::system(command.c_str());
    std::ifstream in(out);
    long differing = -1;
    if (status != -1 && (in >> differing))
        return differing;
    return -1;
}

// Saves both ways' pictures of the test picture.
void savePictures(const std::string &dir) {
    vk::DisplayManager &display = vk::DisplayManager::getInstance();
    display.swapBuffers();
    drawPicture([&display](vk::Vector pos, char ch, vk::Color color, float rotation) {
        display.drawCh(pos, ch, color, rotation);
    });
    display.flush();
    windowImage().saveToFile(dir + "/batched.png");
    display.swapBuffers();

    PerCharacterPainter painter;
    drawPicture([&painter](vk::Vector pos, char ch, vk::Color color, float rotation) {
        painter.drawCh(pos, ch, color, rotation);
    });
    windowImage().saveToFile(dir + "/per-character.png");
    display.swapBuffers();
}

} // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);

    vktest::XServer x_server;
    if (!x_server.ok()) {
        std::fprintf(stderr, "display_bench: no X server: %s\n", x_server.error().c_str());
        return 1;
    }
    const std::string dir = benchDir();
    std::system(("mkdir -p " + dir).c_str());
    setenv("VESSIK_LOG", (dir + "/bench.log").c_str(), 1);
    setenv("VESSIK_CONFIG", (dir + "/vk-config.txt").c_str(), 1);
    vk::GameManager &game = vk::GameManager::getInstance();
    if (!startEngine(COLUMNS, ROWS)) {
        std::fprintf(stderr, "display_bench: the engine did not start; see %s/bench.log\n", dir.c_str());
        game.shutDown();
        return 1;
    }

    benchmark::RunSpecifiedBenchmarks();

    // both ways in one run, in alternating rounds so that a busy machine
    // slows both alike; the median round of each
    constexpr int ROUNDS = 15;
    constexpr int FRAMES = 20;
    std::vector<double> per_character_rounds;
    std::vector<double> batched_rounds;
    msPerFrame(true, FRAMES);
    for (int round = 0; round < ROUNDS; round++) {
        per_character_rounds.push_back(msPerFrame(false, FRAMES));
        batched_rounds.push_back(msPerFrame(true, FRAMES));
    }
    const double per_character = median(per_character_rounds);
    const double batched = median(batched_rounds);
    std::printf("\nfull %d x %d frame with swapBuffers, median of %d alternating rounds of %d frames:\n", COLUMNS,
                ROWS, ROUNDS, FRAMES);
    std::printf("  one text object per character: %.2f ms per frame\n", per_character);
    std::printf("  batched:                       %.2f ms per frame\n", batched);
    std::printf("  speed-up:                      %.1fx\n", per_character / batched);

    savePictures(dir);
    const long exact = differingPixels(dir, "0");
    const long fuzzy = differingPixels(dir, "1%");
    std::printf("  pixels differing between the two pictures (compare -metric AE): %ld exactly, %ld by more than "
                "1 %%; pictures in %s\n",
                exact, fuzzy, dir.c_str());
    game.shutDown();
    return fuzzy == 0 ? 0 : 1;
}
