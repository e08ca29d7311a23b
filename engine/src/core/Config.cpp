#include <vessik/core/Config.h>

#include <vessik/core/LogManager.h>
#include <vessik/core/utility.h>

#include <cstdlib>
#include <fstream>

namespace vk {

namespace {

const char *const DEFAULT_CONFIG_FILE = "vk-config.txt";
const char *const HYPHENS = "-----------------------------------";

std::string configFileName() {
    const char *p_env = std::getenv("VESSIK_CONFIG");
    return p_env ? std::string(p_env) : std::string(DEFAULT_CONFIG_FILE);
}

const char *boolName(bool value) { return value ? "true" : "false"; }

void applyInt(const std::string &text, const char *key, int &field) {
    const std::string value = match(text, key);
    if (!value.empty())
        field = std::atoi(value.c_str());
}

void applyBool(const std::string &text, const char *key, bool &field) {
    const std::string value = match(text, key);
    if (!value.empty())
        field = value == "true";
}

void applyString(const std::string &text, const char *key, std::string &field) {
    const std::string value = match(text, key);
    if (!value.empty())
        field = value;
}

} // namespace

Config &Config::getInstance() {
    static Config config;
    return config;
}

void Config::reset() { *this = Config(); }

std::string Config::readConfig() const {
    const std::string file_name = configFileName();
    std::ifstream file(file_name);
    if (!file.is_open()) {
        LogManager::getInstance().writeLog(1, "Config::readConfig(): Cannot open Vessik configuration file '%s'.",
                                           file_name.c_str());
        return "";
    }

    // entries may span lines: the non-comment lines are joined with nothing between
    std::string text;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        text += line;
    }
    return text;
}

int Config::loadConfig(std::string config) {
    m_config = config.empty() ? readConfig() : std::move(config);
    // match() given no text searches the entries it parsed last: a missing
    // or empty file would bring back the settings of the file before it
    if (m_config.empty())
        return 0;
    const std::string &text = m_config;
    const LogManager &log = LogManager::getInstance();

    applyInt(text, "frame_time", m_frame_time);
    if (const std::string value = match(text, "font_scale"); !value.empty())
        m_font_scale = static_cast<float>(std::atof(value.c_str()));
    applyInt(text, "window_horizontal_pixels", m_window_horizontal_pixels);
    applyInt(text, "window_vertical_pixels", m_window_vertical_pixels);
    applyInt(text, "window_horizontal_chars", m_window_horizontal_chars);
    applyInt(text, "window_vertical_chars", m_window_vertical_chars);

    if (const std::string value = match(text, "window_background_color"); !value.empty()) {
        const int color = colorFromName(value);
        if (color < 0)
            log.writeLog("loadConfig(): Unsupported window color '%s'", value.c_str());
        else
            m_window_background_color = static_cast<Color>(color);
    }

    if (const std::string value = match(text, "window_style"); !value.empty()) {
        const int style = value == "none" ? 0 : std::atoi(value.c_str());
        if (value == "none" || style != 0)
            m_window_style = style;
        else
            log.writeLog("loadConfig(): Unsupported window style '%s'", value.c_str());
    }

    if (const std::string value = match(text, "window_state"); !value.empty()) {
        if (value == "fullscreen")
            m_window_state = 1;
        else if (value == "default")
            m_window_state = 0;
        else
            log.writeLog("loadConfig(): Unsupported window state '%s'", value.c_str());
    }

    applyString(text, "window_title", m_window_title);
    applyBool(text, "show_mouse", m_show_mouse);
    applyBool(text, "headless", m_headless);
    if (const std::string value = match(text, "display"); !value.empty()) {
        if (value != "window" && value != "terminal")
            log.writeLog("loadConfig(): Unsupported display '%s'", value.c_str());
        else if (!m_display_chosen)
            m_display = value;
    }
    applyString(text, "font_file", m_font_file);
    applyString(text, "logfile", m_logfile);
    applyInt(text, "random_seed", m_random_seed);
    applyBool(text, "networking", m_networking);
    applyInt(text, "grid_width", m_grid_width);
    applyInt(text, "grid_height", m_grid_height);
    applyInt(text, "quadtree_depth", m_quadtree_depth);
    applyInt(text, "quadtree_threshold", m_quadtree_threshold);
    applyBool(text, "signals", m_signals);
    applyInt(text, "attract_seconds", m_attract_seconds);
    return 0;
}

int Config::setDisplay(const std::string &display) {
    if (display != "window" && display != "terminal")
        return -1;
    m_display = display;
    m_display_chosen = true;
    return 0;
}

void Config::writeSummary() const {
    const LogManager &log = LogManager::getInstance();
    log.writeLog(1, "%s", HYPHENS);
    log.writeLog(1, "Vessik configuration:");
    log.writeLog(1, "  Window horizontal pixels: %d", m_window_horizontal_pixels);
    log.writeLog(1, "  Window vertical pixels: %d", m_window_vertical_pixels);
    log.writeLog(1, "  Window horizontal characters: %d", m_window_horizontal_chars);
    log.writeLog(1, "  Window vertical characters: %d", m_window_vertical_chars);
    log.writeLog(1, "  Window background color: %d", static_cast<int>(m_window_background_color));
    log.writeLog(1, "  Frame time: %d", m_frame_time);
    log.writeLog(1, "  Window style: %d", m_window_style);
    log.writeLog(1, "  Window state: %s", m_window_state != 0 ? "fullscreen" : "default");
    log.writeLog(1, "  Window title: %s", m_window_title.c_str());
    log.writeLog(1, "  Show mouse: %s", boolName(m_show_mouse));
    log.writeLog(1, "  Headless: %s", boolName(m_headless));
    log.writeLog(1, "  Display: %s", m_display.c_str());
    log.writeLog(1, "  Font file: %s", m_font_file.c_str());
    log.writeLog(1, "  Log file: %s", m_logfile.c_str());
    log.writeLog(1, "  Random seed: %d", m_random_seed);
    log.writeLog(1, "  Networking: %s", boolName(m_networking));
    log.writeLog(1, "  Scene graph: grid");
    log.writeLog(1, "  Grid width: %d", m_grid_width);
    log.writeLog(1, "  Grid height: %d", m_grid_height);
    log.writeLog(1, "%s", HYPHENS);
}

} // namespace vk
