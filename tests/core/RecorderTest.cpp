#include "TestEnv.h"

#include <vessik/core/Event.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/Recorder.h>
#include <vessik/core/Recording.h>
#include <vessik/display/DisplayManager.h>
#include <vessik/display/EventKeyboard.h>
#include <vessik/display/InputManager.h>
#include <vessik/display/Keyboard.h>
#include <vessik/world/Object.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

using vk::Recorder;
using vk::Recording;

namespace {

// Draws the last key it heard and a character at a random cell every step,
// so that both the inputs and the random draws show in every frame.
struct Scribbler : vk::Object {
    int last_key = 0;
    Scribbler() {
        setType("Scribbler");
        registerInterest(vk::KEYBOARD_EVENT);
    }
    int eventHandler(const vk::Event *p_event) override {
        if (const auto *p_key = dynamic_cast<const vk::EventKeyboard *>(p_event))
            last_key = p_key->getKey();
        return 1;
    }
    int draw() override {
        vk::DisplayManager &display = vk::DisplayManager::getInstance();
        display.drawCh(vk::Vector(0, 0), static_cast<char>('A' + last_key % 26), vk::GREEN);
        for (int i = 0; i < 4; i++)
            display.drawCh(vk::Vector(static_cast<float>(std::rand() % 80), static_cast<float>(std::rand() % 24)), '*',
                           vk::RED);
        return 0;
    }
};

void save(const std::string &path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

Recording::Input key(int step, int code, int action = vk::KEY_PRESSED) {
    return {step, Recording::KEYBOARD, action, code, 0, 0};
}

// Inputs only, 30 steps: keys at steps 4, 9 and 20.
Recording script() {
    Recording record;
    record.seed = 12345;
    record.check_every = 0;
    record.step_count = 30;
    record.inputs = {key(4, vk::Keyboard::B), key(9, vk::Keyboard::C),
                     {9, Recording::MOUSE, vk::MOVED, -1, 2.5f, 3.0f}, key(20, vk::Keyboard::Q)};
    return record;
}

// Runs the engine headless on `config` with a scribbler until the game ends
// (at `last_step` at the latest), after `prepare` has started a recording
// or a replay.
template <typename Prepare>
void play(const vktest::TestEnv &env, const std::string &config, Prepare prepare, int last_step = 1000) {
    std::ofstream(env.configPath()) << "headless:true,\n" << config;
    prepare();
    vk::GameManager &game = vk::GameManager::getInstance();
    ASSERT_EQ(game.startUp(), 0);
    new Scribbler;
    struct Ender : vk::Object {
        int left;
        explicit Ender(int steps) : left(steps) { registerInterest(vk::STEP_EVENT); }
        int eventHandler(const vk::Event *) override {
            if (--left < 0)
                vk::GameManager::getInstance().setGameOver();
            return 1;
        }
    };
    new Ender(last_step);
    game.run();
    game.shutDown();
}

} // namespace

TEST(Recorder, RecordedRunReplaysExactlyAndATamperedOneDivergesAtTheMovedKey) {
    vktest::TestEnv files;
    const std::string script_path = files.path("script.vkr");
    const std::string record_path = files.path("run.vkr");
    save(script_path, script().encode());
    Recorder &recorder = Recorder::getInstance();
    // the script's inputs are delivered and recorded again, now with checks
    play(files, "", [&] {
        ASSERT_EQ(recorder.startReplay(script_path, false), 0);
        ASSERT_EQ(recorder.startRecording(record_path), 0);
    });
    EXPECT_EQ(recorder.getResult(), Recorder::Result::MATCHED);
    Recording record;
    std::string error;
    ASSERT_EQ(record.load(record_path, error), 0) << error;
    EXPECT_EQ(record.step_count, 30);
    EXPECT_EQ(record.seed, 12345u);
    ASSERT_EQ(record.checks.size(), 30u);
    ASSERT_EQ(record.inputs.size(), 4u);
    EXPECT_EQ(record.inputs[2].x, 2.5f);
    EXPECT_EQ(record.inputs[3].step, 20);

    play(files, "", [&] { ASSERT_EQ(recorder.startReplay(record_path, true), 0); });
    EXPECT_EQ(recorder.getResult(), Recorder::Result::MATCHED);
    EXPECT_EQ(recorder.getMessage(), "Replay verified: 30 steps matched their record.");

    // C one step later: the frame of step 9 shows B where C was recorded
    Recording tampered = record;
    tampered.inputs[1].step = 10;
    save(record_path, tampered.encode());
    play(files, "", [&] { ASSERT_EQ(recorder.startReplay(record_path, true), 0); });
    EXPECT_EQ(recorder.getResult(), Recorder::Result::DIVERGED);
    char expected[64];
    std::snprintf(expected, sizeof expected, ", expected %016llx.",
                  static_cast<unsigned long long>(record.checks[9].frame_hash));
    const std::string message = recorder.getMessage();
    EXPECT_EQ(message.substr(0, 38), "Replay diverged at step 9: frame hash ");
    EXPECT_EQ(message.substr(54), expected);
}

TEST(Recorder, ClockChosenSeedIsRecordedAndReplaysExactly) {
    vktest::TestEnv files;
    const std::string path = files.path("seed0.vkr");
    Recorder &recorder = Recorder::getInstance();
    play(files, "random_seed:0,", [&] { ASSERT_EQ(recorder.startRecording(path), 0); }, 40);
    Recording record;
    std::string error;
    ASSERT_EQ(record.load(path, error), 0) << error;
    EXPECT_NE(record.seed, 0u);
    EXPECT_EQ(record.step_count, 41);

    play(files, "random_seed:0,", [&] { ASSERT_EQ(recorder.startReplay(path, true), 0); });
    EXPECT_EQ(recorder.getResult(), Recorder::Result::MATCHED) << recorder.getMessage();

    // the seed is what makes it so
    record.seed++;
    save(path, record.encode());
    play(files, "random_seed:0,", [&] { ASSERT_EQ(recorder.startReplay(path, true), 0); });
    EXPECT_EQ(recorder.getMessage().substr(0, 32), "Replay diverged at step 0: frame");
}

TEST(Recording, ReaderNamesEveryWayARecordIsUnusable) {
    Recording good = script();
    good.engine_version = "4.25";
    good.game_name = "Game";
    good.config = "frame_time:33,";
    good.check_every = 2;
    good.checks = {{0, 0x0123456789abcdefull, 3}, {2, 42, 4}};
    const std::string bytes = good.encode();
    Recording read;
    std::string error;
    ASSERT_EQ(read.parse(bytes, error), 0) << error;
    EXPECT_EQ(read.encode(), bytes);
    EXPECT_EQ(read.game_name, "Game");
    EXPECT_EQ(read.checks[0].frame_hash, 0x0123456789abcdefull);

    // cut anywhere, it says so
    for (std::size_t length = 4; length < bytes.size(); length++) {
        ASSERT_EQ(read.parse(bytes.substr(0, length), error), -1);
        ASSERT_EQ(error, "truncated after " + std::to_string(length) + " bytes");
    }

    const std::size_t header = good.encodeHeader().size();
    const auto patched = [&](std::size_t at, const std::string &with) {
        std::string b = bytes;
        return b.replace(at, with.size(), with);
    };
    const struct {
        std::string bytes;
        std::string error;
    } bad[] = {
        {"", "not a Vessik record"},
        {"VKRX" + bytes.substr(4), "not a Vessik record"},
        {patched(4, std::string("\x02\x00", 2)), "format version 2, not 1"},
        {patched(6, "\xff\xff"), "corrupt at byte 8: text too long"},
        {patched(header, "\x09"), "corrupt at byte " + std::to_string(header + 1) + ": unknown entry"},
        // a key value no input produces, in the first input (after two
        // checks and four step ends)
        {patched(header + 33, "\x7f"), "corrupt at byte " + std::to_string(header + 43) + ": impossible input"},
        {patched(bytes.size() - 4, "\x05"), "corrupt at byte " + std::to_string(bytes.size()) +
                                                ": step count does not match the steps"},
        {bytes + "x", "corrupt at byte " + std::to_string(bytes.size()) + ": data after the end"},
        {bytes.substr(0, bytes.size() - 5) + Recording::encodeInput(key(0, 1)) + bytes.substr(bytes.size() - 5),
         "corrupt at byte " + std::to_string(bytes.size() + 13) + ": entries after the last step"},
        // a second check in step 0
        {bytes.substr(0, header) + Recording::encodeCheck({}) + bytes.substr(header),
         "corrupt at byte " + std::to_string(header + 13 + 13) + ": unexpected check"},
    };
    for (const auto &c : bad) {
        EXPECT_EQ(read.parse(c.bytes, error), -1);
        EXPECT_EQ(error, c.error);
    }

    // what a game is told
    vktest::TestEnv files;
    save(files.path("cut.vkr"), bytes.substr(0, 20));
    EXPECT_EQ(Recorder::getInstance().startReplay(files.path("cut.vkr"), true), -1);
    EXPECT_EQ(Recorder::getInstance().getMessage(), "Record '" + files.path("cut.vkr") + "': truncated after 20 bytes.");
    EXPECT_EQ(Recorder::getInstance().startReplay(files.path("none.vkr"), true), -1);
    EXPECT_EQ(Recorder::getInstance().getMessage(), "Record '" + files.path("none.vkr") + "': cannot be opened.");
}
