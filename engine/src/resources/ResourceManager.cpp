#include <vessik/resources/ResourceManager.h>

#include <vessik/core/LogManager.h>
#include <vessik/display/Color.h>
#include <vessik/resources/Frame.h>

#include <cctype>
#include <climits>
#include <cstring>
#include <fstream>
#include <istream>
#include <new>
#include <vector>

namespace vk {

namespace {

// The number of the sprite-file line read last; every message of the readers
// quotes it. Reset at the start of each loadSprite().
int g_line_number = 0;

// Reads one line without its line feed and one trailing carriage return. At
// the end of the stream, or after an error, it logs why and returns "". A line
// longer than MAX_SPRITE_LINE is refused: it is logged, the stream is put in
// its failed state and "" is returned, so the reader stops as at an end of file.
std::string getLine(std::istream &in, bool count) {
    LogManager &log = LogManager::getInstance();
    if (!in.good()) {
        log.writeLog("getLine(): Error! Unexpected end of file.");
        return "";
    }
    // room for the longest line and its carriage return; reading stops at
    // the first character beyond that
    const std::size_t most = static_cast<std::size_t>(MAX_SPRITE_LINE) + 1;
    std::string line;
    std::streambuf *p_buf = in.rdbuf();
    bool got_any = false;
    bool too_long = false;
    while (true) {
        const int c = p_buf->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(got_any ? std::ios::eofbit : std::ios::eofbit | std::ios::failbit);
            break;
        }
        got_any = true;
        if (c == '\n')
            break;
        if (line.size() == most) {
            too_long = true;
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (too_long || line.size() > static_cast<std::size_t>(MAX_SPRITE_LINE)) {
        log.writeLog("getLine(): Error! Line %d is longer than %d characters.", g_line_number + 1, MAX_SPRITE_LINE);
        in.setstate(std::ios::failbit);
        return "";
    }
    if (count)
        g_line_number++;
    return line;
}

// Reads a number as atoi would: leading blanks, an optional sign, then digits
// up to the first other character; no digits read as 0. Unlike atoi it cannot
// overflow: values beyond an int's range stop at its limits.
int toInt(const std::string &text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        i++;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); i++) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

bool startsWith(const std::string &line, const char *keyword) {
    return line.compare(0, std::strlen(keyword), keyword) == 0;
}

// Reads "<tag>", the lines up to "</tag>" and that closing line, and returns
// the lines in between; an empty list when the section is broken or empty.
std::vector<std::string> readData(std::istream &in, const std::string &tag) {
    LogManager &log = LogManager::getInstance();
    const std::string begin = "<" + tag + ">";
    const std::string end = "</" + tag + ">";
    std::string line = getLine(in, true);
    if (line != begin) {
        log.writeLog("readData(): Error line %d! Expected '%s', have '%s'.", g_line_number, begin.c_str(),
                     line.c_str());
        return {};
    }
    std::vector<std::string> data;
    line = getLine(in, true);
    while (line != end) {
        if (line.empty()) {
            log.writeLog("readData(): Error! Stop at line %d, never encountered '%s'.", g_line_number, end.c_str());
            return {};
        }
        data.push_back(std::move(line));
        line = getLine(in, true);
    }
    return data;
}

// Takes every line starting with `keyword` out of `lines`, keeping the order
// of the rest, and calls `take` with each one's value: the text after the
// keyword and its one separator character, "" when there is none. One pass,
// however many lines match.
template <typename Take> void takeKeywordLines(std::vector<std::string> &lines, const char *keyword, Take take) {
    const std::size_t length = std::strlen(keyword);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < lines.size(); i++) {
        if (startsWith(lines[i], keyword)) {
            take(lines[i], lines[i].size() > length + 1 ? lines[i].substr(length + 1) : std::string());
            continue;
        }
        // a string moved onto itself may come out empty
        if (kept != i)
            lines[kept] = std::move(lines[i]);
        kept++;
    }
    lines.resize(kept);
}

// The integer of the last line starting with `keyword`, or -1 when none does.
// A keyword with no value after it counts as absent (-1).
int matchLineInt(std::vector<std::string> &lines, const char *keyword) {
    int value = -1;
    bool matched = false;
    takeKeywordLines(lines, keyword, [&](const std::string &line, const std::string &text) {
        if (matched)
            LogManager::getInstance().writeLog(1, "matchLineInt(): Warning! '%s' matches multiple lines.",
                                               line.c_str());
        matched = true;
        value = text.empty() ? -1 : toInt(text);
    });
    return value;
}

// The text after the keyword of the last line starting with it; "" when none
// does or when that line has no value.
std::string matchLineStr(std::vector<std::string> &lines, const char *keyword) {
    std::string value;
    takeKeywordLines(lines, keyword, [&](const std::string &line, const std::string &text) {
        if (!value.empty())
            LogManager::getInstance().writeLog(1, "matchLineStr(): Warning! '%s' matches multiple lines.",
                                               line.c_str());
        value = text;
    });
    return value;
}

void logValidColors(const char *last_word) {
    LogManager &log = LogManager::getInstance();
    log.writeLog("  Valid colors are: black, red, green, yellow,");
    log.writeLog("                    blue, magenta, cyan %s white.", last_word);
}

std::unique_ptr<Sprite> newSprite(int frames) { return std::unique_ptr<Sprite>(new (std::nothrow) Sprite(frames)); }

std::unique_ptr<Sprite> loadSimpleSprite(std::istream &in) {
    LogManager &log = LogManager::getInstance();
    static const char *const MISSING[] = {"\tMissing frames (an integer).", "\tMissing width (an integer).",
                                          "\tMissing height (an integer).", "\tMissing slowdown (an integer).",
                                          "\tMissing color (a string)."};
    int values[4] = {0, 0, 0, 0};
    Color color = COLOR_DEFAULT;
    for (int i = 0; i < 5; i++) {
        const std::string line = getLine(in, true);
        if (line.empty()) {
            log.writeLog("RM::loadSimpleSprite(): Error! Unexpected end of file.");
            log.writeLog("%s", MISSING[i]);
            return nullptr;
        }
        log.writeLog(20, "\tLine %2d: '%s'", g_line_number, line.c_str());
        if (i == 4) {
            const int found = colorFromName(line);
            if (found < 0) {
                log.writeLog("RM::loadSimpleSprite(): Error line %d! Unrecognized color '%s'.", g_line_number,
                             line.c_str());
                logValidColors("or");
                return nullptr;
            }
            color = static_cast<Color>(found);
            continue;
        }
        values[i] = toInt(line);
        if (i == 0 && values[i] < 1) {
            log.writeLog("RM::loadSimpleSprite(): Error line %d! Number of frames is %d.", g_line_number, values[i]);
            return nullptr;
        }
        if (i == 1 && values[i] < 1) {
            log.writeLog("RM::loadSimpleSprite(): Error line %d! Width is '%s'.", g_line_number, line.c_str());
            return nullptr;
        }
        if (i == 2 && values[i] < 1) {
            log.writeLog("RM::loadSimpleSprite(): Error line %d! Height is '%s'.", g_line_number, line.c_str());
            return nullptr;
        }
        if (i == 3 && values[i] < 0) {
            log.writeLog("RM::loadSimpleSprite(): Error line %d! Slowdown is '%s'.", g_line_number, line.c_str());
            return nullptr;
        }
    }
    const int frames = values[0];
    const int width = values[1];
    const int height = values[2];
    const int slowdown = values[3];
    log.writeLog(5, "\t      Frames: %d", frames);
    log.writeLog(5, "\t       Width: %d", width);
    log.writeLog(5, "\t      Height: %d", height);
    log.writeLog(5, "\t    Slowdown: %d", slowdown);
    log.writeLog(5, "\t       Color: %s", toString(color).c_str());

    std::unique_ptr<Sprite> p_sprite = newSprite(frames);
    if (!p_sprite) {
        log.writeLog("RM::loadSimpleSprite(): Error! Unable to create Sprite.");
        return nullptr;
    }
    p_sprite->setWidth(width);
    p_sprite->setHeight(height);
    p_sprite->setSlowdown(slowdown);
    p_sprite->setColor(color);
    p_sprite->setTransparency(0);

    // the count in the file is only a claim: frames are read while rows exist
    for (int f = 1; f <= frames; f++) {
        log.writeLog(15, "RM::loadSimpleSprite(): Reading frame %d of %d.", f, frames);
        std::string frame;
        for (int row = 1; row <= height; row++) {
            const std::string line = getLine(in, true);
            if (line.empty()) {
                log.writeLog("RM::loadSimpleSprite(): Error! Unexpected end of file.");
                log.writeLog("\tReading frame %d of %d, row %d of %d.", f, frames, row, height);
                return nullptr;
            }
            if (line.size() != static_cast<std::size_t>(width)) {
                log.writeLog("RM::loadSimpleSprite(): Error line %d!", g_line_number);
                log.writeLog("\tLine %2d: '%s'", g_line_number, line.c_str());
                log.writeLog("\tWidth is %d, expected %d.", static_cast<int>(line.size()), width);
                return nullptr;
            }
            log.writeLog(20, "\tLine %2d: '%s'", g_line_number, line.c_str());
            frame += line;
        }
        if (p_sprite->pushFrame(Frame(width, height, std::move(frame))) != 0) {
            log.writeLog("RM::loadSimpleSprite(): Error! Cannot add Frame.");
            log.writeLog("\tFramecount is %d, max is %d.", p_sprite->getFrameCount() + 1, frames);
            return nullptr;
        }
    }

    // the file ends here: one final line feed is fine, anything more is not
    if (!in.eof()) {
        const std::string line = getLine(in, true);
        if (!line.empty() || !in.eof()) {
            log.writeLog("RM::loadSimpleSprite(): Error line %d!", g_line_number);
            log.writeLog("\tExtra file data: '%s'", line.c_str());
            return nullptr;
        }
    }
    return p_sprite;
}

// Takes one frame of `width` x `height` rows and its "end" line from the
// front of the body, which starts at `next`; body line i is line
// `first_line + i` of the file. An empty frame when the rows are broken.
Frame readFrame(const std::vector<std::string> &body, std::size_t &next, int first_line, int width, int height) {
    LogManager &log = LogManager::getInstance();
    const auto lineNumber = [&]() { return first_line + static_cast<int>(next); };
    std::string frame;
    for (int row = 0; row < height; row++) {
        if (next >= body.size()) {
            log.writeLog("\tError! Line %d: No more frame data before 'end'.", lineNumber());
            return Frame();
        }
        const std::string &line = body[next];
        log.writeLog(20, "\tLine %2d: '%s'", lineNumber(), line.c_str());
        if (line.size() != static_cast<std::size_t>(width)) {
            log.writeLog("\tError! Line %d: Line length is %d (frame width is %d).", lineNumber(),
                         static_cast<int>(line.size()), width);
            log.writeLog("\tLine %d: '%s'", lineNumber(), line.c_str());
            return Frame();
        }
        frame += line;
        next++;
    }
    if (next >= body.size()) {
        log.writeLog("\tError! Line %d: No more frame data before 'end'.", lineNumber());
        return Frame();
    }
    if (body[next] != "end") {
        log.writeLog("\tError! Line %d: Expected '%s'.", lineNumber(), "end");
        log.writeLog("\tLine %d: '%s'", lineNumber(), body[next].c_str());
        return Frame();
    }
    next++;
    return Frame(width, height, std::move(frame));
}

std::unique_ptr<Sprite> loadRobustSprite(std::istream &in) {
    LogManager &log = LogManager::getInstance();
    std::vector<std::string> header = readData(in, "HEADER");
    if (header.empty())
        return nullptr;
    log.writeLog(20, "ResourceManager::loadRobustSprite(): After header, line number: '%d'", g_line_number);

    const int frames = matchLineInt(header, "frames");
    const int width = matchLineInt(header, "width");
    const int height = matchLineInt(header, "height");
    const struct {
        const char *keyword;
        int value;
    } required[] = {{"frames", frames}, {"width", width}, {"height", height}};
    for (const auto &r : required) {
        if (r.value == -1) {
            log.writeLog("RM::loadRobustSprite(): Error! Missing '%s' in header.", r.keyword);
            return nullptr;
        }
    }
    // a frame needs at least one row and one column, or its box would be
    // empty or inside out
    for (int i = 1; i < 3; i++) {
        if (required[i].value < 1) {
            log.writeLog("RM::loadRobustSprite(): Error! '%s' is %d, must be at least 1.", required[i].keyword,
                         required[i].value);
            return nullptr;
        }
    }

    std::string color_name = matchLineStr(header, "color");
    if (color_name.empty()) {
        log.writeLog(5, "RM::loadRobustSprite(): Warning! No '%s' in header.", "color");
        color_name = "default";
    }

    char transparency = 0;
    const std::string transparency_text = matchLineStr(header, "transparency");
    if (transparency_text.empty()) {
        log.writeLog(5, "RM::loadRobustSprite(): Note! No '%s' in header.", "transparency");
    } else if (transparency_text == "\" \"") {
        transparency = ' ';
        log.writeLog(5, "RM::loadRobustSprite(): transparency is 'space'");
    } else {
        transparency = transparency_text[0];
    }

    int slowdown = matchLineInt(header, "slowdown");
    if (slowdown == -1) {
        log.writeLog(5, "RM::loadRobustSprite(): Note! No '%s' in header.", "slowdown");
        slowdown = 0;
    }

    if (!header.empty()) {
        log.writeLog(1, "RM::loadRobustSprite(): Warning! Unused HEADER lines:");
        for (const std::string &line : header)
            log.writeLog(1, "\t'%s'", line.c_str());
    }

    log.writeLog(5, "\t      Frames: %d", frames);
    log.writeLog(5, "\t       Width: %d", width);
    log.writeLog(5, "\t      Height: %d", height);
    log.writeLog(5, "\t    Slowdown: %d", slowdown);
    if (transparency)
        log.writeLog(5, "\tTransparency: '%c'", transparency);
    else
        log.writeLog(5, "\tTransparency: (none)");

    // "<BODY>" is the line after the remembered one, the first row the next
    const int body_first_line = g_line_number + 2;
    const std::vector<std::string> body = readData(in, "BODY");
    if (body.empty())
        return nullptr;
    log.writeLog(20, "ResourceManager::loadRobustSprite(): After reading body: line number is '%d'", g_line_number);

    std::unique_ptr<Sprite> p_sprite = newSprite(frames);
    if (!p_sprite) {
        log.writeLog("RM::loadRobustSprite(): Error! Unable to create Sprite.");
        return nullptr;
    }
    p_sprite->setWidth(width);
    p_sprite->setHeight(height);
    p_sprite->setSlowdown(slowdown);
    p_sprite->setTransparency(transparency);

    const int color = color_name == "default" ? COLOR_DEFAULT : colorFromName(color_name);
    if (color < 0) {
        log.writeLog("RM::loadRobustSprite(): Error! Unrecognized color '%s'.", color_name.c_str());
        logValidColors("and");
        return nullptr;
    }
    p_sprite->setColor(static_cast<Color>(color));
    log.writeLog(5, "\t       Color: %s", toString(static_cast<Color>(color)).c_str());

    // the frame count is only a claim: frames are read while body lines exist
    std::size_t next = 0;
    for (int f = 0; f < frames; f++) {
        const Frame frame = readFrame(body, next, body_first_line, width, height);
        if (frame.isEmpty()) {
            log.writeLog("RM::loadRobustSprite(): Error! No frame data to add.");
            return nullptr;
        }
        if (p_sprite->pushFrame(frame) != 0) {
            log.writeLog("RM::loadRobustSprite(): Error! Cannot add Frame.");
            log.writeLog("\tFramecount is %d, max is %d", p_sprite->getFrameCount() + 1, frames);
            return nullptr;
        }
    }

    if (next < body.size()) {
        log.writeLog("RM::loadRobustSprite(): Error! Extra BODY:");
        for (; next < body.size(); next++)
            log.writeLog("\tLine %d: %s", body_first_line + static_cast<int>(next), body[next].c_str());
        return nullptr;
    }

    std::vector<std::string> footer = readData(in, "FOOTER");
    if (footer.empty())
        return nullptr;
    const std::string version = matchLineStr(footer, "version");
    if (version.empty()) {
        log.writeLog("RM::loadRobustSprite(): Error! Missing '%s' in FOOTER (line %d).", "version", g_line_number);
        return nullptr;
    }
    if (!footer.empty()) {
        log.writeLog(1, "RM::loadRobustSprite(): Warning! Unused FOOTER lines:");
        for (const std::string &line : footer)
            log.writeLog(1, "\t'%s'", line.c_str());
    }
    return p_sprite;
}

void logFrames(const Sprite &sprite) {
    LogManager &log = LogManager::getInstance();
    // cutting every frame into rows costs time: only when it will be seen
    if (log.getLogLevel() < 15)
        return;
    log.writeLog(15, "RM::loadSprite(): Sprite '%s' frames:", sprite.getLabel().c_str());
    const std::size_t width = static_cast<std::size_t>(sprite.getWidth());
    for (int i = 0; i < sprite.getFrameCount(); i++) {
        log.writeLog(15, "\tFrame %d:", i + 1);
        const Frame frame = sprite.getFrame(i);
        const std::string &text = frame.getString();
        for (std::size_t at = 0; width > 0 && at < text.size(); at += width)
            log.writeLog(15, "\t%s", text.substr(at, width).c_str());
    }
}

} // namespace

ResourceManager::ResourceManager() { setType("ResourceManager"); }

ResourceManager::~ResourceManager() = default;

ResourceManager &ResourceManager::getInstance() {
    static ResourceManager resource_manager;
    return resource_manager;
}

int ResourceManager::startUp() {
    LogManager &log = LogManager::getInstance();
    if (isStarted()) {
        log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(), getType().c_str());
        return -1;
    }
    // find out now, once, whether sounds can be heard at all
    (void)audioDeviceAvailable();
    m_sprite_count = 0;
    m_sound_count = 0;
    m_music_count = 0;
    Manager::startUp();
    log.writeLog(5, "RM::startUp(): successfully started.");
    return 0;
}

void ResourceManager::shutDown() {
    for (int i = 0; i < m_sprite_count; i++)
        m_p_sprite[i].reset();
    m_sprite_count = 0;
    for (int i = 0; i < m_sound_count; i++)
        m_sound[i].stop();
    for (int i = 0; i < m_music_count; i++)
        m_music[i].stop();
    m_master_volume = 100;
    m_muted = false;
    applyVolume();
    Manager::shutDown();
    LogManager::getInstance().writeLog(5, "RM::shutDown(): successfully stopped.");
}

void ResourceManager::setMasterVolume(float percent) {
    // the comparisons also turn NaN into silence
    m_master_volume = percent > 100 ? 100 : percent >= 0 ? percent : 0;
    applyVolume();
}

void ResourceManager::setMuted(bool muted) {
    m_muted = muted;
    applyVolume();
}

void ResourceManager::applyVolume() const { setOverallVolume(m_muted ? 0 : m_master_volume); }

int ResourceManager::loadSprite(std::string filename, std::string label) {
    LogManager &log = LogManager::getInstance();
    if (!isStarted()) {
        log.writeLog("%s not started!", getType().c_str());
        return -1;
    }
    if (m_sprite_count == MAX_SPRITES) {
        log.writeLog("RM::loadRobustSprite(): Error! Cannot add more Sprites (max is %d).", MAX_SPRITES);
        log.writeLog("RM::loadRobustSprite(): Sprite '%s' not loaded.", label.c_str());
        return -1;
    }
    log.writeLog(1, "RM::loadSprite(): Loading sprite '%s'.", filename.c_str());

    std::ifstream in(filename);
    if (!in.is_open()) {
        log.writeLog("RM::loadSprite(): Error! Cannot open file '%s'.", filename.c_str());
        log.writeLog("RM::loadSprite(): Sprite '%s' not loaded.", label.c_str());
        return -1;
    }

    g_line_number = 0;
    const std::string first_line = getLine(in, false);
    in.clear();
    in.seekg(0);

    std::unique_ptr<Sprite> p_sprite;
    if (first_line == "<HEADER>") {
        log.writeLog(5, "RM::loadSprite(): assuming robust sprite file format.");
        p_sprite = loadRobustSprite(in);
    } else if (toInt(first_line) >= 1) {
        log.writeLog(5, "RM::loadSprite(): assuming simple sprite file format.");
        p_sprite = loadSimpleSprite(in);
    } else {
        log.writeLog("RM::loadSprite(): Error! Unknown sprite file format.");
        log.writeLog("RM::loadSprite(): First line is '%s'.", first_line.c_str());
    }
    if (!p_sprite) {
        log.writeLog("RM::loadSprite(): Sprite '%s' NOT loaded.", label.c_str());
        return -1;
    }

    p_sprite->setLabel(label);
    logFrames(*p_sprite);
    m_p_sprite[m_sprite_count++] = std::move(p_sprite);
    log.writeLog(5, "RM::loadSprite(): Sprite '%s' loaded.", label.c_str());
    return 0;
}

int ResourceManager::loadSound(std::string filename, std::string label) {
    LogManager &log = LogManager::getInstance();
    if (!isStarted()) {
        log.writeLog("%s not started!", getType().c_str());
        return -1;
    }
    if (m_sound_count == MAX_SOUNDS) {
        log.writeLog("RM::loadSound(): Error! Unable to add more sounds (max is %d).", MAX_SOUNDS);
        return -1;
    }
    Sound &sound = m_sound[m_sound_count];
    if (sound.loadSound(filename) != 0) {
        log.writeLog("RM::loadSound(): Error! Cannot load sound from file '%s'.", filename.c_str());
        return -1;
    }
    sound.setLabel(label);
    log.writeLog(1, "RM::loadSound(): Sound '%s' successfully loaded.", label.c_str());
    m_sound_count++;
    return 0;
}

int ResourceManager::loadMusic(std::string filename, std::string label) {
    LogManager &log = LogManager::getInstance();
    if (!isStarted()) {
        log.writeLog("%s not started!", getType().c_str());
        return -1;
    }
    if (m_music_count == MAX_MUSICS) {
        log.writeLog("RM::loadMusic(): Error! Unable to add more musics (max is %d).", MAX_MUSICS);
        return -1;
    }
    if (label.empty()) {
        log.writeLog("RM::loadMusic(): Error! Must provide label for music.");
        return -1;
    }
    Music &music = m_music[m_music_count];
    if (music.loadMusic(filename) != 0) {
        log.writeLog("RM::loadmusic(): Error! Cannot load music from file '%s'.", filename.c_str());
        return -1;
    }
    music.setLabel(label);
    log.writeLog(1, "RM::loadMusic(): Music '%s' successfully loaded.", label.c_str());
    m_music_count++;
    return 0;
}

Sprite *ResourceManager::getSprite(std::string label) const {
    LogManager &log = LogManager::getInstance();
    log.writeLog(5, "RM::getSprite(): Looking for sprite '%s'.", label.c_str());
    for (int i = 0; i < m_sprite_count; i++)
        if (m_p_sprite[i] && m_p_sprite[i]->getLabel() == label)
            return m_p_sprite[i].get();
    log.writeLog("RM::getSprite(): Warning! Sprite '%s' not found.", label.c_str());
    return nullptr;
}

Sound *ResourceManager::getSound(std::string label) {
    LogManager &log = LogManager::getInstance();
    log.writeLog(5, "RM::getSound(): Looking for sound '%s'.", label.c_str());
    for (int i = 0; i < m_sound_count; i++)
        if (m_sound[i].getLabel() == label)
            return &m_sound[i];
    log.writeLog("RM::getSound(): Warning! Sound '%s' not found.", label.c_str());
    return nullptr;
}

Music *ResourceManager::getMusic(std::string label) {
    LogManager &log = LogManager::getInstance();
    log.writeLog(5, "RM::getMusic(): Looking for music '%s'.", label.c_str());
    for (int i = 0; i < m_music_count; i++)
        if (m_music[i].getLabel() == label)
            return &m_music[i];
    log.writeLog("RM::getMusic(): Warning! Music '%s' not found.", label.c_str());
    return nullptr;
}

} // namespace vk
