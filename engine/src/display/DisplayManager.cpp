#include <vessik/display/DisplayManager.h>

#include <vessik/core/Config.h>
#include <vessik/core/LogManager.h>
#include <vessik/world/geometry.h>

#include "core/Platform.h"
#include "display/TerminalScreen.h"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <unistd.h>

namespace vk {

namespace {

constexpr unsigned WINDOW_BITS_PER_PIXEL = 32;
constexpr unsigned INITIAL_CHARACTER_SIZE = 30;
// more cells than a screen has pixels in a row are never useful
constexpr int MAX_CHARS = 4096;
// glyphs larger than this are never useful and cost a lot of memory
constexpr float MAX_CHARACTER_SIZE = 512;
// the font texture reserves a white block at its top-left corner; sampling
// its centre gives pure white, so boxes can share the glyphs' texture
const sf::Vector2f WHITE_TEXEL(1, 1);
// text pads each glyph quad by one pixel to keep its smoothed edge
constexpr float GLYPH_PADDING = 1;
// vertices drawn in one call: enough to make the calls cheap, few enough
// that a frame of a large grid does not hold all of its vertices at once
constexpr std::size_t BATCH_VERTICES = 1 << 16;
// the smallest tile of the ink index: a glyph's ink, with its padding and
// margin, is a few pixels wide however small the cells
constexpr float MIN_TILE_PIXELS = 4;

// The character as the code point the font knows it by, converted through
// the current locale as text does.
sf::Uint32 codePoint(char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte < 128)
        return byte;
    const sf::String converted(ch);
    return converted.isEmpty() ? 0 : converted[0];
}

// The configured window size, where 0 stands for the screen's.
sf::VideoMode windowedMode() {
    const Config &config = Config::getInstance();
    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    const int width = config.getWindowHorizontalPixels();
    const int height = config.getWindowVerticalPixels();
    return sf::VideoMode(width == 0 ? desktop.width : static_cast<unsigned>(width),
                         height == 0 ? desktop.height : static_cast<unsigned>(height), WINDOW_BITS_PER_PIXEL);
}

} // namespace

DisplayManager::DisplayManager() { setType("DisplayManager"); }

DisplayManager::~DisplayManager() = default;

DisplayManager &DisplayManager::getInstance() {
    static DisplayManager display_manager;
    return display_manager;
}

unsigned DisplayManager::getCharacterSize() const noexcept { return m_p_text ? m_p_text->getCharacterSize() : 0; }

int DisplayManager::startUp() {
    LogManager &log = LogManager::getInstance();
    if (isStarted()) {
        log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(), getType().c_str());
        return -1;
    }

    const Config &config = Config::getInstance();
    m_window_horizontal_pixels = config.getWindowHorizontalPixels();
    m_window_vertical_pixels = config.getWindowVerticalPixels();
    m_window_horizontal_chars = config.getWindowHorizontalChars();
    m_window_vertical_chars = config.getWindowVerticalChars();

    // every cell size is a division by these counts
    if (m_window_horizontal_chars < 1 || m_window_vertical_chars < 1) {
        log.writeLog("DisplayManager::startUp(): Error! Window of %d x %d characters has no cells.",
                     m_window_horizontal_chars, m_window_vertical_chars);
        return -1;
    }
    // the frame copies and the drawing keep a few bytes per cell
    if (m_window_horizontal_chars > MAX_CHARS || m_window_vertical_chars > MAX_CHARS) {
        log.writeLog("DisplayManager::startUp(): Error! Window of %d x %d characters has more than %d in a row or "
                     "column.",
                     m_window_horizontal_chars, m_window_vertical_chars, MAX_CHARS);
        return -1;
    }
    if (m_window_horizontal_pixels < 0 || m_window_vertical_pixels < 0) {
        log.writeLog("DisplayManager::startUp(): Error! Window of %d x %d pixels is negative.",
                     m_window_horizontal_pixels, m_window_vertical_pixels);
        return -1;
    }
    m_frame_text = ScreenText(m_window_horizontal_chars, m_window_vertical_chars);
    m_shown_text = ScreenText(m_window_horizontal_chars, m_window_vertical_chars);

    if (config.getHeadless()) {
        log.writeLog(1, "DisplayManager::startUp(): no graphics in headless mode.");
        Manager::startUp();
        log.writeLog(5, "DisplayManager::startUp(): successfully started.");
        return 0;
    }
    if (config.getTerminal())
        return startTerminal();

    // the graphics library ends the process if it finds no display; the
    // connection stays open until shutDown()
    if (!platform::holdGraphicsDisplay()) {
        const char *p_display = std::getenv("DISPLAY");
        if (!p_display || !*p_display)
            log.writeLog("DisplayManager::startUp(): Error! No display: DISPLAY is not set (headless mode runs "
                         "without one).");
        else
            log.writeLog("DisplayManager::startUp(): Error! Unable to open display '%s'.", p_display);
        return -1;
    }

    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    log.writeLog(5, "DisplayManager::startUp(): window resolution (%d, %d) pixels.", static_cast<int>(desktop.width),
                 static_cast<int>(desktop.height));

    // SFML 2.5 has no window state: its full-screen style bit serves
    const sf::VideoMode mode = windowedMode();
    std::uint32_t style = static_cast<std::uint32_t>(config.getWindowStyle());
    if (config.getWindowState() == 1)
        style |= sf::Style::Fullscreen;
    if (!createWindow(mode, style)) {
        log.writeLog("DisplayManager::startUp(): Unable to allocate window!");
        return -1;
    }
    if (m_window_horizontal_pixels != static_cast<int>(mode.width) ||
        m_window_vertical_pixels != static_cast<int>(mode.height))
        log.writeLog(1, "DisplayManager::startUp(): Warning! Window is %d x %d pixels, not %u x %u.",
                     m_window_horizontal_pixels, m_window_vertical_pixels, mode.width, mode.height);

    m_p_font.reset(new (std::nothrow) sf::Font);
    if (!m_p_font || !m_p_font->loadFromFile(config.getFontFile())) {
        log.writeLog("DisplayManager::startUp(): Error! Unable to open font from file '%s'.",
                     config.getFontFile().c_str());
        return -1;
    }

    m_p_rectangle.reset(new (std::nothrow) sf::RectangleShape(sf::Vector2f(charWidth(), charHeight())));
    if (!m_p_rectangle) {
        log.writeLog("DisplayManager::startUp(): Error! Unable to allocate rectangle.");
        return -1;
    }

    m_p_text.reset(new (std::nothrow) sf::Text("", *m_p_font, INITIAL_CHARACTER_SIZE));
    if (!m_p_text) {
        log.writeLog("DisplayManager::startUp(): Error! Unable to allocate text.");
        return -1;
    }
    m_p_text->setFont(*m_p_font);
    m_p_text->setStyle(sf::Text::Bold);
    fitCells();

    const sf::Color background = colorToSFML(config.getWindowBackgroundColor());
    m_background_r = background.r;
    m_background_g = background.g;
    m_background_b = background.b;
    m_p_rectangle->setFillColor(background);

    m_p_placer = std::make_unique<sf::Transformable>();
    layOutTiles();
    // the first frame starts from the background too
    m_p_window->clear(background);
    startFrame();

    Manager::startUp();
    log.writeLog(5, "DisplayManager::startUp(): successfully started.");
    return 0;
}

int DisplayManager::startTerminal() {
    LogManager &log = LogManager::getInstance();
    auto p_terminal = std::make_unique<TerminalScreen>();
    std::string error;
    if (p_terminal->open(STDIN_FILENO, STDOUT_FILENO, Config::getInstance().getWindowBackgroundColor(), error) != 0) {
        log.writeLog("DisplayManager::startUp(): Error! Cannot play in the terminal: %s.", error.c_str());
        return -1;
    }
    m_p_terminal = std::move(p_terminal);
    Manager::startUp();
    log.writeLog(5, "DisplayManager::startUp(): successfully started.");
    return 0;
}

bool DisplayManager::createWindow(const sf::VideoMode &mode, std::uint32_t style) {
    const std::string title = Config::getInstance().getWindowTitle();
    if (m_p_window)
        m_p_window->create(mode, title, style);
    else
        m_p_window.reset(new (std::nothrow) sf::RenderWindow(mode, title, style));
    if (!m_p_window || !m_p_window->isOpen())
        return false;

    // a full-screen window takes a mode the screen offers, which may not be
    // the size asked for: the cells divide the window as it is
    const sf::Vector2u size = m_p_window->getSize();
    m_window_horizontal_pixels = static_cast<int>(size.x);
    m_window_vertical_pixels = static_cast<int>(size.y);
    m_full_screen = (style & sf::Style::Fullscreen) != 0;

    // a window made anew forgets all of these
    m_p_window->setMouseCursorVisible(Config::getInstance().getShowMouse());
    m_p_window->setVerticalSyncEnabled(true);
    m_p_window->setKeyRepeatEnabled(m_key_repeat);
    return true;
}

void DisplayManager::fitCells() {
    m_p_rectangle->setSize(sf::Vector2f(charWidth(), charHeight()));
    float size = Config::getInstance().getFontScale() * std::min(charWidth(), charHeight());
    // NaN, negative or huge scales would make sizes the font cannot render
    if (!(size >= 1 && size <= MAX_CHARACTER_SIZE)) {
        const float clamped = size > MAX_CHARACTER_SIZE ? MAX_CHARACTER_SIZE : 1;
        LogManager::getInstance().writeLog("DisplayManager::startUp(): Warning! Character size %.2f out of range, "
                                           "using %.0f.",
                                           static_cast<double>(size), static_cast<double>(clamped));
        size = clamped;
    }
    m_p_text->setCharacterSize(static_cast<unsigned>(size));
}

int DisplayManager::setFullScreen(bool full_screen) {
    // a terminal has no window to make anew
    if (!canDraw() || !m_p_window)
        return -1;
    if (full_screen == m_full_screen)
        return 0;
    LogManager &log = LogManager::getInstance();
    const std::uint32_t style = static_cast<std::uint32_t>(Config::getInstance().getWindowStyle());
    const sf::VideoMode old_mode(static_cast<unsigned>(m_window_horizontal_pixels),
                                 static_cast<unsigned>(m_window_vertical_pixels), WINDOW_BITS_PER_PIXEL);
    const std::uint32_t old_style = m_full_screen ? style | sf::Style::Fullscreen : style & ~sf::Style::Fullscreen;
    const bool made = full_screen ? createWindow(sf::VideoMode::getDesktopMode(), style | sf::Style::Fullscreen)
                                  : createWindow(windowedMode(), style & ~sf::Style::Fullscreen);
    if (!made) {
        log.writeLog("DisplayManager::setFullScreen(): Error! Unable to recreate the window.");
        if (!createWindow(old_mode, old_style))
            log.writeLog("DisplayManager::setFullScreen(): Error! Unable to restore the window.");
        return -1;
    }
    fitCells();
    // what was drawn so far was placed for the old cells
    m_frame_text.clear();
    m_p_window->clear(sf::Color(m_background_r, m_background_g, m_background_b));
    startFrame();
    log.writeLog(1, "DisplayManager::setFullScreen(): Window is %d x %d pixels%s.", m_window_horizontal_pixels,
                 m_window_vertical_pixels, m_full_screen ? ", full screen" : "");
    return 0;
}

void DisplayManager::setKeyRepeatEnabled(bool enabled) {
    m_key_repeat = enabled;
    if (m_p_window)
        m_p_window->setKeyRepeatEnabled(enabled);
}

void DisplayManager::release() {
    // the terminal is given back as it was found
    m_p_terminal.reset();
    if (m_p_window) {
        m_p_window->close();
        m_p_window.reset();
    }
    m_p_text.reset();
    m_p_rectangle.reset();
    m_p_placer.reset();
    std::vector<sf::Vertex>().swap(m_vertices);
    std::vector<Ink>().swap(m_ink);
    std::vector<int>().swap(m_ink_head);
    std::vector<InkLink>().swap(m_ink_links);
    std::vector<int>().swap(m_inked_tiles);
    // the font's textures go with the window rather than at process exit
    m_p_font.reset();
    platform::releaseGraphicsDisplay();
}

void DisplayManager::shutDown() {
    release();
    // as a new window has it
    m_key_repeat = true;
    m_frame_text.clear();
    m_shown_text.clear();
    Manager::shutDown();
    LogManager::getInstance().writeLog(5, "DisplayManager::shutDown(): successfully stopped.");
}

void DisplayManager::layOutTiles() {
    m_tile_width = std::max(charWidth(), MIN_TILE_PIXELS);
    m_tile_height = std::max(charHeight(), MIN_TILE_PIXELS);
    m_tile_cols = static_cast<int>(std::ceil(static_cast<float>(m_window_horizontal_pixels) / m_tile_width));
    m_tile_rows = static_cast<int>(std::ceil(static_cast<float>(m_window_vertical_pixels) / m_tile_height));
    m_ink_head.assign(static_cast<std::size_t>(m_tile_cols) * static_cast<std::size_t>(m_tile_rows), -1);
}

bool DisplayManager::tilesOf(float left, float top, float right, float bottom, TileSpan &span) const {
    const float cols = static_cast<float>(m_tile_cols);
    const float rows = static_cast<float>(m_tile_rows);
    if (!(right > 0 && bottom > 0 && left < cols * m_tile_width && top < rows * m_tile_height))
        return false;
    span.col0 = static_cast<int>(std::max(0.f, std::floor(left / m_tile_width)));
    span.col1 = static_cast<int>(std::min(cols - 1, std::floor(right / m_tile_width)));
    span.row0 = static_cast<int>(std::max(0.f, std::floor(top / m_tile_height)));
    span.row1 = static_cast<int>(std::min(rows - 1, std::floor(bottom / m_tile_height)));
    return true;
}

void DisplayManager::startFrame() {
    m_vertices.clear();
    m_ink.clear();
    for (const int tile : m_inked_tiles)
        m_ink_head[static_cast<std::size_t>(tile)] = -1;
    m_inked_tiles.clear();
    m_ink_links.clear();
    m_window_dirty = false;
    m_box_stamp = 0;
}

void DisplayManager::addQuad(float left, float top, float right, float bottom) {
    const sf::Color color(m_background_r, m_background_g, m_background_b);
    m_vertices.emplace_back(sf::Vector2f(left, top), color, WHITE_TEXEL);
    m_vertices.emplace_back(sf::Vector2f(right, top), color, WHITE_TEXEL);
    m_vertices.emplace_back(sf::Vector2f(left, bottom), color, WHITE_TEXEL);
    m_vertices.emplace_back(sf::Vector2f(left, bottom), color, WHITE_TEXEL);
    m_vertices.emplace_back(sf::Vector2f(right, top), color, WHITE_TEXEL);
    m_vertices.emplace_back(sf::Vector2f(right, bottom), color, WHITE_TEXEL);
}

void DisplayManager::addInk(float left, float top, float right, float bottom) {
    // a pixel of margin: a box clipped to the ink then surely covers every
    // pixel the glyph touched, whatever the rounding
    const Ink ink{left - 1, top - 1, right + 1, bottom + 1, 0};
    // ink wholly outside the window leaves nothing to cover
    TileSpan span{};
    if (!tilesOf(ink.left, ink.top, ink.right, ink.bottom, span))
        return;
    const int index = static_cast<int>(m_ink.size());
    m_ink.push_back(ink);
    for (int row = span.row0; row <= span.row1; row++) {
        for (int col = span.col0; col <= span.col1; col++) {
            const int tile = row * m_tile_cols + col;
            int &head = m_ink_head[static_cast<std::size_t>(tile)];
            if (head == -1)
                m_inked_tiles.push_back(tile);
            m_ink_links.push_back(InkLink{index, head});
            head = static_cast<int>(m_ink_links.size()) - 1;
        }
    }
}

void DisplayManager::addBox(float x, float y, float rotation) {
    const float w = charWidth();
    const float h = charHeight();
    if (rotation != 0) {
        m_p_placer->setPosition(x, y);
        m_p_placer->setRotation(rotation);
        const sf::Transform &transform = m_p_placer->getTransform();
        const sf::Color color(m_background_r, m_background_g, m_background_b);
        for (const sf::Vector2f &corner : {sf::Vector2f(0, 0), sf::Vector2f(w, 0), sf::Vector2f(0, h),
                                           sf::Vector2f(0, h), sf::Vector2f(w, 0), sf::Vector2f(w, h)})
            m_vertices.emplace_back(transform.transformPoint(corner), color, WHITE_TEXEL);
        return;
    }
    const float right = x + w;
    const float bottom = y + h;
    if (m_window_dirty) {
        addQuad(x, y, right, bottom);
        return;
    }

    // only over the ink the box covers: the rest is background already. One
    // quad around all of it: where it covers no ink it paints background on
    // background, which changes nothing
    TileSpan span{};
    if (!tilesOf(x, y, right, bottom, span))
        return;
    m_box_stamp++;
    float left = right;
    float top = bottom;
    float covered_right = x;
    float covered_bottom = y;
    for (int row = span.row0; row <= span.row1; row++) {
        for (int col = span.col0; col <= span.col1; col++) {
            for (int link = m_ink_head[static_cast<std::size_t>(row * m_tile_cols + col)]; link != -1;
                 link = m_ink_links[static_cast<std::size_t>(link)].next) {
                Ink &ink = m_ink[static_cast<std::size_t>(m_ink_links[static_cast<std::size_t>(link)].ink)];
                if (ink.stamp == m_box_stamp)
                    continue;
                ink.stamp = m_box_stamp;
                if (ink.left < right && ink.right > x && ink.top < bottom && ink.bottom > y) {
                    left = std::min(left, std::max(x, ink.left));
                    top = std::min(top, std::max(y, ink.top));
                    covered_right = std::max(covered_right, std::min(right, ink.right));
                    covered_bottom = std::max(covered_bottom, std::min(bottom, ink.bottom));
                }
            }
        }
    }
    if (left < covered_right && top < covered_bottom)
        addQuad(left, top, covered_right, covered_bottom);
}

void DisplayManager::addGlyph(float x, float y, char ch, unsigned char r, unsigned char g, unsigned char b,
                              float rotation) {
    const sf::Uint32 code = codePoint(ch);
    // text lays out blanks without drawing them and skips carriage returns
    if (code == ' ' || code == '\t' || code == '\n' || code == '\r')
        return;
    const unsigned size = m_p_text->getCharacterSize();
    const bool bold = (m_p_text->getStyle() & sf::Text::Bold) != 0;
    const sf::Glyph &glyph = m_p_font->getGlyph(code, size, bold);

    // the quad as text lays out one character: its baseline one character
    // size below the top, padded by a pixel on every side
    const float baseline = static_cast<float>(size);
    const float left = glyph.bounds.left - GLYPH_PADDING;
    const float top = baseline + (glyph.bounds.top - GLYPH_PADDING);
    const float right = glyph.bounds.left + glyph.bounds.width + GLYPH_PADDING;
    const float bottom = baseline + (glyph.bounds.top + glyph.bounds.height + GLYPH_PADDING);
    const float u1 = static_cast<float>(glyph.textureRect.left) - GLYPH_PADDING;
    const float v1 = static_cast<float>(glyph.textureRect.top) - GLYPH_PADDING;
    const float u2 = static_cast<float>(glyph.textureRect.left + glyph.textureRect.width) + GLYPH_PADDING;
    const float v2 = static_cast<float>(glyph.textureRect.top + glyph.textureRect.height) + GLYPH_PADDING;

    const sf::Color color(r, g, b);
    const sf::Vertex quad[6] = {
        {{left, top}, color, {u1, v1}},     {{right, top}, color, {u2, v1}},  {{left, bottom}, color, {u1, v2}},
        {{left, bottom}, color, {u1, v2}},  {{right, top}, color, {u2, v1}},  {{right, bottom}, color, {u2, v2}},
    };
    if (rotation == 0) {
        for (const sf::Vertex &vertex : quad)
            m_vertices.emplace_back(sf::Vector2f(x + vertex.position.x, y + vertex.position.y), vertex.color,
                                    vertex.texCoords);
        addInk(x + left, y + top, x + right, y + bottom);
        return;
    }
    m_p_placer->setPosition(x, y);
    m_p_placer->setRotation(rotation);
    const sf::Transform &transform = m_p_placer->getTransform();
    for (const sf::Vertex &vertex : quad)
        m_vertices.emplace_back(transform.transformPoint(vertex.position), vertex.color, vertex.texCoords);
    const sf::FloatRect bounds = transform.transformRect(sf::FloatRect(left, top, right - left, bottom - top));
    addInk(bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height);
}

bool DisplayManager::checkStarted() const {
    if (!isStarted()) {
        LogManager::getInstance().writeLog("%s not started!", getType().c_str());
        return false;
    }
    return true;
}

bool DisplayManager::canDraw() const { return checkStarted() && (m_p_window != nullptr || m_p_terminal != nullptr); }

int DisplayManager::drawCh(Vector world_pos, char ch, unsigned char r, unsigned char g, unsigned char b,
                           float rotation) {
    if (!checkStarted())
        return -1;
    // the frame text is kept without a window too: a headless replay checks
    // it, and a terminal shows it
    const Vector view_pos = worldToView(world_pos);
    m_frame_text.put(view_pos, ch, r, g, b);
    if (!m_p_window)
        return m_p_terminal ? 0 : -1;

    const Vector pixel = spacesToPixels(view_pos);
    // the box reaches a little left of and below the glyph's corner, where
    // the glyph's ink is
    addBox(pixel.getX() - charWidth() / 10, pixel.getY() + charHeight() / 5, rotation);
    addGlyph(pixel.getX(), pixel.getY(), ch, r, g, b, rotation);
    if (m_vertices.size() >= BATCH_VERTICES)
        drawBatch();
    return 0;
}

int DisplayManager::drawCh(Vector world_pos, char ch, Color color, float rotation) {
    // CUSTOM and unknown colours have no bytes of their own: they draw white
    unsigned char r = 255;
    unsigned char g = 255;
    unsigned char b = 255;
    colorToRGB(color, r, g, b);
    return drawCh(world_pos, ch, r, g, b, rotation);
}

int DisplayManager::drawString(Vector world_pos, const std::string &str, Justification just, Color color) {
    if (!checkStarted())
        return -1;

    const int length = static_cast<int>(str.size());
    Vector start = world_pos;
    if (just == CENTER_JUSTIFIED)
        start.setX(start.getX() - static_cast<float>(length / 2));
    else if (just == RIGHT_JUSTIFIED)
        start.setX(start.getX() - static_cast<float>(length));

    for (int i = 0; i < length; i++)
        drawCh(Vector(start.getX() + static_cast<float>(i), start.getY()), str[static_cast<std::size_t>(i)], color,
               0);
    return m_p_window || m_p_terminal ? 0 : -1;
}

void DisplayManager::drawBatch() {
    if (m_vertices.empty())
        return;
    sf::RenderStates states;
    states.texture = &m_p_font->getTexture(m_p_text->getCharacterSize());
    m_p_window->draw(m_vertices.data(), m_vertices.size(), sf::Triangles, states);
    m_vertices.clear();
}

int DisplayManager::flush() {
    // a terminal has nothing but characters
    if (!canDraw() || !m_p_window)
        return -1;
    drawBatch();
    // the caller may draw into the window next, where boxes cannot see it
    m_window_dirty = true;
    return 0;
}

int DisplayManager::draw(const sf::Drawable &drawable) {
    if (flush() != 0)
        return -1;
    m_p_window->draw(drawable);
    return 0;
}

int DisplayManager::swapBuffers() {
    if (!checkStarted())
        return -1;

    if (m_p_terminal) {
        m_p_terminal->show(m_frame_text);
    } else if (m_p_window) {
        drawBatch();
        m_p_window->display();
    }
    std::swap(m_shown_text, m_frame_text);
    m_frame_text.clear();
    if (!m_p_window)
        return m_p_terminal ? 0 : -1;
    m_p_window->clear(sf::Color(m_background_r, m_background_g, m_background_b));
    startFrame();
    return 0;
}

float charWidth() {
    const DisplayManager &display = DisplayManager::getInstance();
    return static_cast<float>(display.getHorizontalPixels()) / static_cast<float>(display.getHorizontal());
}

float charHeight() {
    const DisplayManager &display = DisplayManager::getInstance();
    return static_cast<float>(display.getVerticalPixels()) / static_cast<float>(display.getVertical());
}

Vector spacesToPixels(Vector spaces) {
    const Vector pixels(spaces.getX() * charWidth(), spaces.getY() * charHeight());
    LogManager::getInstance().writeLog(30, "spacesToPixels(int): spaces (%.2f,%.2f) = pixels (%.2f,%.2f)",
                                       static_cast<double>(spaces.getX()), static_cast<double>(spaces.getY()),
                                       static_cast<double>(pixels.getX()), static_cast<double>(pixels.getY()));
    return pixels;
}

Vector pixelsToSpaces(Vector pixels) {
    const Vector spaces(pixels.getX() / charWidth(), pixels.getY() / charHeight());
    LogManager::getInstance().writeLog(30, "pixelsToSpaces(): pixels (%.2f,%.2f) = spaces (%.2f,%.2f)",
                                       static_cast<double>(pixels.getX()), static_cast<double>(pixels.getY()),
                                       static_cast<double>(spaces.getX()), static_cast<double>(spaces.getY()));
    return spaces;
}

sf::Color colorToSFML(Color color) {
    if (color >= BLACK && color <= WHITE) {
        unsigned char r = 0;
        unsigned char g = 0;
        unsigned char b = 0;
        colorToRGB(color, r, g, b);
        return sf::Color(r, g, b, 255);
    }
    if (color == CUSTOM)
        LogManager::getInstance().writeLog(5, "colorToSFML(): Color is CUSTOM.");
    else
        LogManager::getInstance().writeLog(5, "colorToSFML(): Color %d not supported.", static_cast<int>(color));
    return sf::Color(255, 255, 255, 255);
}

} // namespace vk
