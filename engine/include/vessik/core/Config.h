#pragma once

#include <vessik/export.h>

#include <vessik/display/Color.h>

#include <string>

namespace vk {

// The engine's start-up settings, each with a built-in default, optionally
// overridden by a configuration file of comma-separated key:value entries.
class VK_API Config {
  public:
    static Config &getInstance();
    Config(const Config &) = delete;

    // Applies the keys present in `config` (the file's text when empty);
    // absent keys keep their current values. Always returns 0.
    int loadConfig(std::string config = "");

    // The configuration file's entries joined into one text; "" when the file
    // (VESSIK_CONFIG, or vk-config.txt) cannot be opened.
    [[nodiscard]] std::string readConfig() const;

    // Returns every setting to its built-in default, as before the first load.
    void reset();

    // Writes every setting into the log at level 1.
    void writeSummary() const;

    [[nodiscard]] std::string getConfig() const { return m_config; }
    [[nodiscard]] int getWindowHorizontalPixels() const noexcept { return m_window_horizontal_pixels; }
    [[nodiscard]] int getWindowVerticalPixels() const noexcept { return m_window_vertical_pixels; }
    [[nodiscard]] int getWindowHorizontalChars() const noexcept { return m_window_horizontal_chars; }
    [[nodiscard]] int getWindowVerticalChars() const noexcept { return m_window_vertical_chars; }
    [[nodiscard]] int getWindowStyle() const noexcept { return m_window_style; }
    [[nodiscard]] int getWindowState() const noexcept { return m_window_state; }
    [[nodiscard]] Color getWindowBackgroundColor() const noexcept { return m_window_background_color; }
    [[nodiscard]] int getFrameTime() const noexcept { return m_frame_time; }
    [[nodiscard]] float getFontScale() const noexcept { return m_font_scale; }
    [[nodiscard]] std::string getWindowTitle() const { return m_window_title; }
    [[nodiscard]] bool getShowMouse() const noexcept { return m_show_mouse; }
    [[nodiscard]] bool getHeadless() const noexcept { return m_headless; }
    // Where the game is shown: "window" or "terminal".
    [[nodiscard]] std::string getDisplay() const { return m_display; }
    [[nodiscard]] bool getTerminal() const noexcept { return m_display == "terminal"; }
    // Chooses the display ahead of the file, whose `display` entry then no
    // longer counts (a command-line choice beats the file's); -1 for
    // anything but "window" and "terminal".
    int setDisplay(const std::string &display);
    [[nodiscard]] std::string getFontFile() const { return m_font_file; }
    [[nodiscard]] std::string getLogfile() const { return m_logfile; }
    [[nodiscard]] int getRandomSeed() const noexcept { return m_random_seed; }
    [[nodiscard]] bool getNetworking() const noexcept { return m_networking; }
    [[nodiscard]] int getQuadtreeThreshold() const noexcept { return m_quadtree_threshold; }
    [[nodiscard]] int getQuadtreeDepth() const noexcept { return m_quadtree_depth; }
    [[nodiscard]] int getGridWidth() const noexcept { return m_grid_width; }
    [[nodiscard]] int getGridHeight() const noexcept { return m_grid_height; }
    [[nodiscard]] bool getSignals() const noexcept { return m_signals; }
    // Seconds a title screen waits without a key before it shows a demo; 0
    // for never.
    [[nodiscard]] int getAttractSeconds() const noexcept { return m_attract_seconds; }

  private:
    Config() = default;
    // only reset() copies: a fresh record over the singleton
    Config &operator=(const Config &) = default;

    std::string m_config;
    int m_window_horizontal_pixels = 1024;
    int m_window_vertical_pixels = 768;
    int m_window_horizontal_chars = 80;
    int m_window_vertical_chars = 24;
    int m_window_style = 5;
    int m_window_state = 0;
    Color m_window_background_color = BLACK;
    int m_frame_time = 33;
    float m_font_scale = 2.0f;
    std::string m_window_title = "Vessik";
    bool m_show_mouse = false;
    bool m_headless = false;
    std::string m_display = "window";
    bool m_display_chosen = false;
    std::string m_font_file = "vk-font.ttf";
    std::string m_logfile = "vessik.log";
    int m_random_seed = 0;
    bool m_networking = true;
    int m_quadtree_threshold = 1;
    int m_quadtree_depth = 10;
    int m_grid_width = 20;
    int m_grid_height = 8;
    bool m_signals = true;
    int m_attract_seconds = 30;
};

} // namespace vk
