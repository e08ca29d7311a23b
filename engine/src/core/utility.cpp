#include <vessik/core/utility.h>

#include <vessik/core/LogManager.h>

#include <cstdio>
#include <vector>

namespace vk {

namespace {

struct Entry {
    std::string key;
    std::string value;
};

// The entries of the text parsed last; an empty text searches them again.
std::vector<Entry> g_entries;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Splits at `separator`, skipping empty pieces, as a tokenizer would.
std::vector<std::string> tokens(const std::string &text, char separator) {
    std::vector<std::string> pieces;
    std::string::size_type start = 0;
    while (start <= text.size()) {
        std::string::size_type end = text.find(separator, start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

void parse(std::string text) {
    const LogManager &log = LogManager::getInstance();
    std::string squeezed;
    squeezed.reserve(text.size());
    for (char c : text)
        if (!isBlank(c))
            squeezed.push_back(c);

    std::size_t slots = 1;
    for (char c : squeezed)
        if (c == ',')
            slots++;
    g_entries.clear();
    g_entries.reserve(slots);
    log.writeLog(25, "match(): number of elements allocated is %d", static_cast<int>(slots));

    for (const std::string &piece : tokens(squeezed, ',')) {
        log.writeLog(25, "\titem number %d", static_cast<int>(g_entries.size()));
        log.writeLog(28, "\tp_element is '%s' (%p)", piece.c_str(), static_cast<const void *>(piece.c_str()));
        const std::vector<std::string> parts = tokens(piece, ':');
        if (parts.empty())
            break; // a piece of colons only ends the parse
        log.writeLog(28, "\ttoken is '%s' (%p)", parts[0].c_str(), static_cast<const void *>(parts[0].c_str()));
        Entry entry{parts[0], parts.size() > 1 ? parts[1] : std::string()};
        log.writeLog(25, "\tkey %s", entry.key.c_str());
        log.writeLog(25, "\tval %s", entry.value.c_str());
        g_entries.push_back(std::move(entry));
    }

    log.writeLog(25, "match(): parsed.");
    for (std::size_t i = 0; i < g_entries.size(); i++)
        log.writeLog(28, "\t%d  %s : %s", static_cast<int>(i), g_entries[i].key.c_str(), g_entries[i].value.c_str());
}

} // namespace

std::string match(std::string text, std::string key) {
    const LogManager &log = LogManager::getInstance();
    log.writeLog(25, "match(\"%s\", \"%s\")", text.c_str(), key.c_str());
    if (!text.empty())
        parse(std::move(text));

    log.writeLog(25, "match(): Looking for match '%s' among %d items.", key.c_str(),
                 static_cast<int>(g_entries.size()));
    for (std::size_t i = 0; i < g_entries.size(); i++) {
        log.writeLog(28, "match(): %d: %s == %s?", static_cast<int>(i), g_entries[i].key.c_str(), key.c_str());
        if (g_entries[i].key == key)
            return g_entries[i].value;
    }
    return "";
}

int checkStream(const char *where, const std::ios &stream) {
    if (stream.good())
        return 0;
    const LogManager &log = LogManager::getInstance();
    // test the bits themselves: fail() is also true for a bad stream
    const std::ios::iostate state = stream.rdstate();
    if (state & std::ios::eofbit)
        log.writeLog("%s: Error! Stream eof.", where);
    else if (state & std::ios::failbit)
        log.writeLog("%s: Error! Stream fail.", where);
    else if (state & std::ios::badbit)
        log.writeLog("%s: Error! Stream bad.", where);
    else
        log.writeLog("%s: Error! Stream error.", where);
    return -1;
}

std::string toString(Solidness solidness) {
    switch (solidness) {
    case HARD:
        return "hard";
    case SOFT:
        return "soft";
    case SPECTRAL:
        return "spectral";
    }
    return "undefined";
}

std::string toString(Transform transform) {
    switch (transform) {
    case NONE:
        return "NONE";
    case VERTICAL:
        return "VERTICAL";
    case HORIZONTAL:
        return "HORIZONTAL";
    case BOTH:
        return "BOTH";
    }
    return "UNKNOWN";
}

std::string toString(ViewObjectLocation location) {
    static const char *const names[] = {"top-left",     "top-center", "top-right",  "center-left", "center-center",
                                        "center-right", "bot-left",   "bot-center", "bot-right"};
    const int i = static_cast<int>(location);
    return (i >= 0 && i < 9) ? names[i] : "unknown";
}

std::string toString(int value) { return std::to_string(value); }

std::string toString(float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(value));
    return buffer;
}

bool valueInRange(float value, float min, float max) noexcept { return min <= value && value <= max; }

} // namespace vk
