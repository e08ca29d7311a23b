#pragma once

#include <vessik/export.h>

#include <vessik/core/Manager.h>
#include <vessik/display/Color.h>
#include <vessik/display/ScreenText.h>
#include <vessik/world/Vector.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sf {
class Color;
class Drawable;
class Font;
class RectangleShape;
class RenderWindow;
class Text;
class Transformable;
class Vertex;
class VideoMode;
} // namespace sf

namespace vk {

class TerminalScreen;

enum Justification : int {
    LEFT_JUSTIFIED = 0,
    CENTER_JUSTIFIED,
    RIGHT_JUSTIFIED,
};

// The engine's only path to the screen: one window showing the world as a
// grid of character cells. Characters are drawn at cell positions and shown
// by swapBuffers(), once per game-loop step.
//
// The characters of a frame are collected and drawn together in
// swapBuffers() (or flush()), in the order they were drawn. Whoever draws
// into the window directly must therefore go through draw(), or call flush()
// first, so that overlaps keep their order.
//
// The manager owns the window, the font and the drawing objects; the window
// pointer it hands out stays valid until shutDown(). In headless mode it
// creates none of them, drawing refuses, and the cell geometry still holds;
// the frame text is still kept, so that a headless replay can check frames.
//
// With the configuration's display "terminal" the frames go to the text
// terminal on standard input and output instead (TerminalScreen), and no
// window, font or graphics object exists: the frame text is what is shown.
class VK_API DisplayManager : public Manager {
  public:
    static DisplayManager &getInstance();
    ~DisplayManager() override;

    // Opens the window from the configuration, holding a connection of its
    // own to the display from before the window is made until shutDown().
    // -1 without a reachable display, with no character cells, or when the
    // window or font fails.
    int startUp() override;
    // Closes the window and releases every graphics object; safe twice.
    void shutDown() override;

    // Draws one character at a world position in an explicit colour, over a
    // box of the background colour that erases what the cell held.
    // Rotation in degrees, about the character's top-left corner.
    int drawCh(Vector world_pos, char ch, unsigned char r, unsigned char g, unsigned char b, float rotation = 0);
    // The same in one of the eight colours; CUSTOM and unknown values draw
    // white.
    int drawCh(Vector world_pos, char ch, Color color, float rotation = 0);
    // Draws a string on one row, starting at, centred on or ending at the
    // position.
    int drawString(Vector world_pos, const std::string &str, Justification just, Color color);

    // Shows what was drawn since the last call, then clears for the next
    // frame.
    int swapBuffers();
    // Draws the characters collected so far into the window now, for a
    // caller that then draws into the window itself.
    int flush();
    // Draws an SFML drawable into the window after the characters drawn
    // before it.
    int draw(const sf::Drawable &drawable);

    // Makes the window anew, filling the screen or as configured, and
    // divides it into the same cells: positions, the frame text and input
    // carry on. What was drawn since the last swapBuffers() is dropped. -1
    // without a window; should the new window fail, the old one is made
    // again.
    int setFullScreen(bool full_screen);
    [[nodiscard]] bool isFullScreen() const noexcept { return m_full_screen; }

    // Whether holding a key repeats its press; kept for every window made.
    void setKeyRepeatEnabled(bool enabled);

    // The window size in character cells.
    [[nodiscard]] int getHorizontal() const noexcept { return m_window_horizontal_chars; }
    [[nodiscard]] int getVertical() const noexcept { return m_window_vertical_chars; }
    // The window size in pixels.
    [[nodiscard]] int getHorizontalPixels() const noexcept { return m_window_horizontal_pixels; }
    [[nodiscard]] int getVerticalPixels() const noexcept { return m_window_vertical_pixels; }
    // The character size of the glyphs, in pixels; 0 without a window.
    [[nodiscard]] unsigned getCharacterSize() const noexcept;

    // The window; null before start-up, in headless mode, in a terminal and
    // after shutDown().
    [[nodiscard]] sf::RenderWindow *getWindow() const noexcept { return m_p_window.get(); }
    // The terminal; null unless the game is shown in one.
    [[nodiscard]] TerminalScreen *getTerminal() const noexcept { return m_p_terminal.get(); }
    // The font; null whenever there is no window.
    [[nodiscard]] const sf::Font *getFont() const noexcept { return m_p_font.get(); }

    // What the frame being drawn shows so far, cell by cell.
    [[nodiscard]] const ScreenText &getFrameText() const noexcept { return m_frame_text; }
    // What the last swapBuffers() put on the screen.
    [[nodiscard]] const ScreenText &getShownText() const noexcept { return m_shown_text; }

  private:
    // False, after logging, when not started; false too without a window
    // (headless, or the window could not be made).
    [[nodiscard]] bool canDraw() const;
    // False, after logging, when not started.
    [[nodiscard]] bool checkStarted() const;

    // A rectangle of the window where a glyph of this frame may have drawn.
    struct Ink {
        float left, top, right, bottom;
        int stamp;
    };
    // One ink reaching into a tile, and the next one reaching into it.
    struct InkLink {
        int ink;
        int next;
    };
    // The tiles from col0 to col1 and row0 to row1, ends included.
    struct TileSpan {
        int col0, col1, row0, row1;
    };

    DisplayManager();
    int startTerminal();
    // Opens (or reopens) the window with our settings and takes its size;
    // false when it did not open.
    bool createWindow(const sf::VideoMode &mode, std::uint32_t style);
    // Sizes the cell boxes and the glyphs to the window.
    void fitCells();
    void drawBatch();
    void startFrame();
    void layOutTiles();
    // The tiles a rectangle of the window touches; false when it touches
    // none (also for NaN).
    bool tilesOf(float left, float top, float right, float bottom, TileSpan &span) const;
    void addQuad(float left, float top, float right, float bottom);
    void addInk(float left, float top, float right, float bottom);
    void addBox(float x, float y, float rotation);
    void addGlyph(float x, float y, char ch, unsigned char r, unsigned char g, unsigned char b, float rotation);
    void release();

    std::unique_ptr<sf::Font> m_p_font;
    std::unique_ptr<sf::RenderWindow> m_p_window;
    // the geometry of the default configuration until start-up
    int m_window_horizontal_pixels = 1024;
    int m_window_vertical_pixels = 768;
    int m_window_horizontal_chars = 80;
    int m_window_vertical_chars = 24;
    bool m_full_screen = false;
    bool m_key_repeat = true;
    // the cell background: its size and fill colour
    std::unique_ptr<sf::RectangleShape> m_p_rectangle;
    // the clear colour, which is also the boxes' fill colour
    unsigned char m_background_r = 0;
    unsigned char m_background_g = 0;
    unsigned char m_background_b = 0;
    // the glyph settings: font, character size and bold style
    std::unique_ptr<sf::Text> m_p_text;
    // places boxes and glyphs as a transformable object would
    std::unique_ptr<sf::Transformable> m_p_placer;
    // the frame's boxes and glyph quads in drawing order, drawn whenever a
    // batch is full and at the end of the frame
    std::vector<sf::Vertex> m_vertices;
    // A box only needs drawing where it covers ink of an earlier glyph:
    // elsewhere it paints background over background. The ink is found by
    // tiles of the window: the cells, or squares of a few pixels where cells
    // are smaller, so that the index never outgrows the window. The ink of
    // the frame; for each tile the last of its links (-1 for none), each link
    // naming an ink and the tile's link before it; and the tiles that have
    // links, so that a frame costs what was drawn in it.
    float m_tile_width = 1;
    float m_tile_height = 1;
    int m_tile_cols = 0;
    int m_tile_rows = 0;
    std::vector<Ink> m_ink;
    std::vector<int> m_ink_head;
    std::vector<InkLink> m_ink_links;
    std::vector<int> m_inked_tiles;
    int m_box_stamp = 0;
    // set when more than characters was drawn: every box is then drawn whole
    bool m_window_dirty = false;
    ScreenText m_frame_text;
    ScreenText m_shown_text;
    std::unique_ptr<TerminalScreen> m_p_terminal;
};

// Pixels per cell column and per cell row.
[[nodiscard]] VK_API float charWidth();
[[nodiscard]] VK_API float charHeight();

// Cell position to pixel position, and back.
[[nodiscard]] VK_API Vector spacesToPixels(Vector spaces);
[[nodiscard]] VK_API Vector pixelsToSpaces(Vector pixels);

// The colour as an opaque SFML colour; CUSTOM and unknown values give white.
// Callers include <SFML/Graphics/Color.hpp>.
[[nodiscard]] VK_API sf::Color colorToSFML(Color color);

} // namespace vk
