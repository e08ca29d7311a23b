#include "GameStart.h"
#include "Hotkeys.h"
#include "loadResources.h"
#include "SpeedManager.h"

#include <vessik/core/Config.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/core/Recorder.h>
#include <vessik/presentation/Splash.h>
#include <vessik/resources/Music.h>
#include <vessik/resources/ResourceManager.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char *GAME_NAME = "Swellrun";
constexpr const char *GAME_VERSION = "1.0";

struct Options {
    std::string record;
    std::string replay;
    bool verify = false;
    bool terminal = false;
    bool help = false;
};

struct Option {
    const char *name;
    // the argument's name in the usage; null for a flag
    const char *argument;
    const char *help;
    void (*apply)(Options &options, const char *p_argument);
};

// Adding an option is adding a row.
const Option OPTIONS[] = {
    {"--record", "FILE", "play and record the run into FILE",
     [](Options &o, const char *p_file) { o.record = p_file; }},
    {"--replay", "FILE", "show the run recorded in FILE, at normal speed",
     [](Options &o, const char *p_file) { o.replay = p_file; }},
    {"--verify", nullptr,
     "with --replay: replay without a window, as fast as possible, checking every frame; exit 0 when all match, 1 "
     "otherwise",
     [](Options &o, const char *) { o.verify = true; }},
    {"--terminal", nullptr, "play in the terminal the program was started from, with no window",
     [](Options &o, const char *) { o.terminal = true; }},
    {"--help", nullptr, "show this help", [](Options &o, const char *) { o.help = true; }},
};

void usage(std::FILE *p_out) {
    std::fprintf(p_out, "Usage: swellrun [options]\n");
    for (const Option &option : OPTIONS) {
        const std::string name = std::string(option.name) + (option.argument ? std::string(" ") + option.argument : "");
        std::fprintf(p_out, "  %-15s %s\n", name.c_str(), option.help);
    }
}

// The options, or the exit code when the program is to stop at once: 0
// after the help, 2 for a command line it does not understand.
int parse(int argc, char **argv, Options &options) {
    for (int i = 1; i < argc; i++) {
        const Option *p_option = nullptr;
        for (const Option &option : OPTIONS)
            if (std::strcmp(argv[i], option.name) == 0)
                p_option = &option;
        if (!p_option || (p_option->argument && i + 1 == argc)) {
            std::fprintf(stderr, p_option ? "swellrun: %s needs %s\n" : "swellrun: unknown option '%s'\n", argv[i],
                         p_option ? p_option->argument : "");
            usage(stderr);
            return 2;
        }
        p_option->apply(options, p_option->argument ? argv[++i] : nullptr);
    }
    if (options.help) {
        usage(stdout);
        return 0;
    }
    if (options.verify && options.replay.empty()) {
        std::fprintf(stderr, "swellrun: --verify needs --replay\n");
        usage(stderr);
        return 2;
    }
    return -1;
}

} // namespace

int main(int argc, char **argv) {
    Options options;
    if (const int code = parse(argc, argv, options); code >= 0)
        return code;

    vk::Recorder &recorder = vk::Recorder::getInstance();
    recorder.setGame(GAME_NAME, GAME_VERSION);
    const bool replaying = !options.replay.empty();
    if (replaying && recorder.startReplay(options.replay, options.verify, options.verify) != 0) {
        std::fprintf(stderr, "%s\n", recorder.getMessage().c_str());
        return 1;
    }
    if (options.terminal)
        vk::Config::getInstance().setDisplay("terminal");

    vk::GameManager &game_manager = vk::GameManager::getInstance();
    vk::LogManager &log = vk::LogManager::getInstance();
    if (game_manager.startUp() != 0) {
        log.writeLog("Error starting game manager!");
        game_manager.shutDown();
        return 1;
    }
    log.setFlush(true);

    // records begin at the start screen
    if (!replaying)
        vk::splash();

    // a window closed or a quit signal during the title ends the program,
    // not only the title
    if (!game_manager.quitRequested()) {
        if (SpeedManager::getInstance().startUp() != 0) {
            log.writeLog("Error starting speed manager!");
            game_manager.shutDown();
            return 1;
        }
        loadResources();

        // the world manager owns them from here on
        new Hotkeys;
        new GameStart;
        if (vk::Music *p_music = vk::ResourceManager::getInstance().getMusic("menu music"))
            p_music->play(true);
        if (!options.record.empty() && recorder.startRecording(options.record) != 0) {
            std::fprintf(stderr, "swellrun: cannot record into '%s'\n", options.record.c_str());
            game_manager.shutDown();
            return 1;
        }
        game_manager.run();
    }

    game_manager.shutDown();
    if (replaying) {
        std::printf("%s\n", recorder.getMessage().c_str());
        if (options.verify && recorder.getResult() != vk::Recorder::Result::MATCHED)
            return 1;
    }
    // as shells report a program a signal ended
    const int signal_number = vk::GameManager::getQuitSignal();
    return signal_number != 0 ? 128 + signal_number : 0;
}
