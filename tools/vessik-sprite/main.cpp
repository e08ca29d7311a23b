// vessik-sprite: checks sprite files with the engine's own reader, shows
// their frames in the terminal and converts between the two formats.

#include <vessik/vessik.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char *const USAGE = "usage: vessik-sprite check FILE...\n"
                          "       vessik-sprite show FILE\n"
                          "       vessik-sprite convert FILE --to robust|simple [-o OUT]\n";

// The width of the time and step columns that start every log line.
constexpr std::size_t LOG_PREFIX = std::strlen("hh:mm:ss ") + std::strlen("   0 ");

// What loading one file gave: the sprite (null when refused) and the messages
// the reader wrote.
struct Loaded {
    const vk::Sprite *p_sprite = nullptr;
    std::vector<std::string> messages;
};

// The reader reports through the engine's log, which here writes into a
// scratch file; the messages are read back without their columns. Each load
// starts the resource manager afresh, so only the file's own sprite is kept.
Loaded load(const std::string &file, const std::string &log_path) {
    vk::LogManager &log = vk::LogManager::getInstance();
    vk::ResourceManager &resources = vk::ResourceManager::getInstance();
    if (resources.isStarted())
        resources.shutDown();
    Loaded loaded;
    if (log.startUp() != 0 || resources.startUp() != 0) {
        loaded.messages.push_back("cannot start the engine's log in '" + log_path + "'");
        return loaded;
    }
    const bool ok = resources.loadSprite(file, file) == 0;
    log.shutDown();
    if (ok)
        loaded.p_sprite = resources.getSprite(file);
    std::ifstream in(log_path);
    for (std::string line; std::getline(in, line);)
        loaded.messages.push_back(line.size() >= LOG_PREFIX ? line.substr(LOG_PREFIX) : line);
    return loaded;
}

// The file's rows of frame `index`, cut from the frame's string.
std::vector<std::string> rows(const vk::Sprite &sprite, int index) {
    const std::string text = sprite.getFrame(index).getString();
    const std::size_t width = static_cast<std::size_t>(sprite.getWidth());
    std::vector<std::string> out;
    for (std::size_t at = 0; at + width <= text.size(); at += width)
        out.push_back(text.substr(at, width));
    return out;
}

std::string colorName(vk::Color color) {
    std::string name = vk::toString(color);
    for (char &c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

int check(const std::vector<std::string> &files, const std::string &log_path) {
    int failed = 0;
    for (const std::string &file : files) {
        const Loaded loaded = load(file, log_path);
        for (const std::string &message : loaded.messages)
            std::printf("%s: %s\n", file.c_str(), message.c_str());
        std::printf("%s: %s\n", file.c_str(), loaded.p_sprite ? "ok" : "failed");
        failed += loaded.p_sprite ? 0 : 1;
    }
    return failed > 0 ? 1 : 0;
}

// Each frame in the sprite's colour (ANSI), the transparent character left
// blank as the display leaves it.
void show(const vk::Sprite &sprite) {
    const int ansi = 30 + static_cast<int>(sprite.getColor());
    for (int i = 0; i < sprite.getFrameCount(); i++) {
        std::printf("frame %d of %d, %d x %d, slowdown %d\n", i + 1, sprite.getFrameCount(), sprite.getWidth(),
                    sprite.getHeight(), sprite.getSlowdown());
        for (std::string row : rows(sprite, i)) {
            for (char &c : row)
                c = c == sprite.getTransparency() ? ' ' : c;
            std::printf("\033[%dm%s\033[0m\n", ansi, row.c_str());
        }
    }
}

// The sprite in the chosen format, or "" with the reason in `why` when the
// format cannot hold it.
std::string convert(const vk::Sprite &sprite, bool robust, std::string &why) {
    if (!robust && sprite.getTransparency() != 0) {
        why = std::string("the simple format has no transparent character (this sprite's is '") +
              sprite.getTransparency() + "')";
        return "";
    }
    if (!robust && sprite.getSlowdown() < 0) {
        why = "the simple format has no negative slowdown (this sprite's is " + std::to_string(sprite.getSlowdown()) +
              ")";
        return "";
    }
    std::ostringstream out;
    if (robust) {
        out << "<HEADER>\nframes " << sprite.getFrameCount() << "\nwidth " << sprite.getWidth() << "\nheight "
            << sprite.getHeight() << "\ncolor " << colorName(sprite.getColor()) << "\nslowdown "
            << sprite.getSlowdown() << "\n";
        if (sprite.getTransparency() == ' ')
            out << "transparency \" \"\n";
        else if (sprite.getTransparency() != 0)
            out << "transparency " << sprite.getTransparency() << "\n";
        out << "</HEADER>\n<BODY>\n";
    } else {
        out << sprite.getFrameCount() << "\n" << sprite.getWidth() << "\n" << sprite.getHeight() << "\n"
            << sprite.getSlowdown() << "\n" << colorName(sprite.getColor()) << "\n";
    }
    for (int i = 0; i < sprite.getFrameCount(); i++) {
        for (const std::string &row : rows(sprite, i)) {
            // a reader takes one carriage return off every line, and the
            // robust one ends the body at its closing tag
            if (row.back() == '\r' || (robust && row == "</BODY>")) {
                why = "frame " + std::to_string(i + 1) + " has a row that the " + (robust ? "robust" : "simple") +
                      " format would read differently";
                return "";
            }
            out << row << "\n";
        }
        if (robust)
            out << "end\n";
    }
    if (robust)
        out << "</BODY>\n<FOOTER>\nversion 1\n</FOOTER>\n";
    return out.str();
}

int run(int argc, char **argv, const std::string &log_path) {
    const std::string command = argc > 1 ? argv[1] : "";
    std::vector<std::string> args(argv + std::min(argc, 2), argv + argc);
    if (command == "check" && !args.empty())
        return check(args, log_path);

    std::string target;
    std::string out_path;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); i++) {
        if (args[i] == "--to" && i + 1 < args.size())
            target = args[++i];
        else if (args[i] == "-o" && i + 1 < args.size())
            out_path = args[++i];
        else
            files.push_back(args[i]);
    }
    const bool is_show = command == "show" && target.empty() && out_path.empty();
    const bool is_convert = command == "convert" && (target == "robust" || target == "simple");
    if (files.size() != 1 || (!is_show && !is_convert)) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    const Loaded loaded = load(files[0], log_path);
    if (!loaded.p_sprite) {
        for (const std::string &message : loaded.messages)
            std::fprintf(stderr, "%s: %s\n", files[0].c_str(), message.c_str());
        return 1;
    }
    if (is_show) {
        show(*loaded.p_sprite);
        return 0;
    }
    std::string why;
    const std::string text = convert(*loaded.p_sprite, target == "robust", why);
    if (text.empty()) {
        std::fprintf(stderr, "%s: cannot convert to the %s format: %s\n", files[0].c_str(), target.c_str(),
                     why.c_str());
        return 1;
    }
    if (out_path.empty()) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    std::ofstream out(out_path, std::ios::binary);
    if (!(out << text) || !out.flush()) {
        std::fprintf(stderr, "%s: cannot write '%s'\n", files[0].c_str(), out_path.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    // the tool plays nothing: keep the resource manager's audio probe quiet
    setenv("ALSOFT_DRIVERS", "null", 0);
    std::string log_path = (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
    log_path += "/vessik-sprite-XXXXXX";
    const int fd = mkstemp(log_path.data());
    if (fd < 0) {
        std::perror("vessik-sprite: scratch log");
        return 1;
    }
    close(fd);
    setenv("VESSIK_LOG", log_path.c_str(), 1);
    // warnings too: unused header lines, keywords given twice
    vk::LogManager::getInstance().setLogLevel(1);
    const int result = run(argc, argv, log_path);
    vk::ResourceManager::getInstance().shutDown();
    std::remove(log_path.c_str());
    return result;
}
