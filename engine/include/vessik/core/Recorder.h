#pragma once

#include <vessik/export.h>

#include <vessik/core/Recording.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>

namespace vk {

// Records a run, or plays one back, step by step.
//
// A recording keeps every input the input manager delivers in each step,
// with a check of the frame (a hash of the frame text and the number of
// objects) every `check_every` steps. A replay delivers those inputs instead
// of the window's, with the same seed and settings, and can verify each
// check: the first frame that differs ends it. Both begin with the first
// step of the game loop after they are started; the random generator is
// seeded with the record's seed at that moment, and path searches get a
// fixed amount of work per step instead of what the clock leaves them.
// Records hold no network traffic: a run with peers does not replay.
//
// A replay started before GameManager::startUp() also applies the record's
// settings at start-up; one started later refuses a record made with other
// settings. Both may run at once: the replayed inputs are recorded again,
// with fresh checks (how records are re-made after a rule change).
class VK_API Recorder {
  public:
    enum class Result { NONE, RUNNING, MATCHED, DIVERGED, ENDED_EARLY, FAILED };

    static Recorder &getInstance();
    Recorder(const Recorder &) = delete;
    Recorder &operator=(const Recorder &) = delete;

    // The game's name and version, written into records; a record of another
    // game is refused, one of another version only warned about.
    void setGame(std::string name, std::string version);

    // Starts recording into `path`, with a check every `check_every` steps
    // (0: inputs only). -1 when the file cannot be created, the interval is
    // out of range or a recording is running.
    int startRecording(const std::string &path, int check_every = 1);
    // Finishes the record: without its end a record reads as cut short.
    void stopRecording();

    // Loads a record to play back; with `verify`, its checks are compared.
    // With `headless`, the game runs without a window and as fast as it can
    // (only before start-up). -1, with the reason in the log and in
    // getMessage(), when the record is unusable.
    int startReplay(const std::string &path, bool verify, bool headless = false);
    // Ends a replay early; the end handler is not called.
    void stopReplay();
    // Called when the replay begins, at the start of its first step, before
    // any object hears of the step: where a game sets up the world the
    // record starts from.
    void setReplayStart(std::function<void()> on_start) { m_on_start = std::move(on_start); }
    // Called once when a replay ends: true when it reached the end of its
    // record with every check matched. By default the game ends.
    void setReplayEnd(std::function<void(bool matched)> on_end);
    // Called instead of delivering a key pressed in the window during a
    // replay; by default such keys are ignored.
    void setReplayKey(std::function<void()> on_key);
    // Text shown at the top left over a replay, outside the checked frame.
    void setCaption(std::string caption) { m_caption = std::move(caption); }

    [[nodiscard]] bool isRecording() const noexcept { return m_recording; }
    [[nodiscard]] bool isReplaying() const noexcept { return m_replaying; }
    // A headless replay: the loop need not wait for the clock.
    [[nodiscard]] bool isUnpaced() const noexcept;
    [[nodiscard]] Result getResult() const noexcept { return m_result; }
    // What the last replay came to, or why it could not start.
    [[nodiscard]] const std::string &getMessage() const noexcept { return m_message; }

    // The settings that change how a game behaves, as configuration entries.
    [[nodiscard]] static std::string behaviourConfig();

    // Called by the game manager: the record's settings after the
    // configuration file is read; the start and the end of each loop step
    // (the end after drawing); the end of the engine.
    void configure() const;
    void beginStep();
    void endStep();
    void shutDown();

  private:
    Recorder() = default;
    void activate();
    void writeCheck(std::uint64_t frame_hash, int object_count);
    void verify(std::uint64_t frame_hash, int object_count);
    void finishReplay(Result result, const std::string &message);
    [[nodiscard]] std::vector<Recording::Input> stepInputs();
    void updateWorkBudget() const;

    std::string m_game_name;
    std::string m_game_version;

    bool m_record_pending = false;
    bool m_recording = false;
    std::ofstream m_out;
    std::string m_out_path;
    Recording m_header;
    int m_record_step = 0;

    bool m_replay_pending = false;
    bool m_replaying = false;
    bool m_verify = false;
    bool m_headless = false;
    Recording m_replay;
    int m_replay_step = 0;
    std::size_t m_next_input = 0;
    std::size_t m_next_check = 0;
    std::function<void()> m_on_start;
    std::function<void(bool)> m_on_end;
    std::function<void()> m_on_key;
    std::string m_caption;

    std::uint32_t m_seed = 0;
    Result m_result = Result::NONE;
    std::string m_message;
};

} // namespace vk
