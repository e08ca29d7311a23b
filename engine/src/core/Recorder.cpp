#include <vessik/core/Recorder.h>

#include <vessik/core/Config.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/display/Color.h>
#include <vessik/display/DisplayManager.h>
#include <vessik/display/InputManager.h>
#include <vessik/services/PathManager.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/WorldManager.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace vk {

namespace {

// Node expansions a path search may spend per step while steps must repeat
// exactly: about what a step leaves it on an ordinary machine.
constexpr int PATH_WORK_PER_STEP = 1000;
constexpr int MAX_CHECK_EVERY = 1000000;

std::string formatted(const char *p_format, ...) __attribute__((format(printf, 1, 2)));
std::string formatted(const char *p_format, ...) {
    char text[512];
    va_list args;
    va_start(args, p_format);
    std::vsnprintf(text, sizeof text, p_format, args);
    va_end(args);
    return text;
}

} // namespace

Recorder &Recorder::getInstance() {
    static Recorder recorder;
    return recorder;
}

void Recorder::setGame(std::string name, std::string version) {
    m_game_name = std::move(name);
    m_game_version = std::move(version);
}

std::string Recorder::behaviourConfig() {
    const Config &config = Config::getInstance();
    return formatted("window_horizontal_chars:%d,window_vertical_chars:%d,frame_time:%d,grid_width:%d,"
                     "grid_height:%d,networking:%s,",
                     config.getWindowHorizontalChars(), config.getWindowVerticalChars(), config.getFrameTime(),
                     config.getGridWidth(), config.getGridHeight(), config.getNetworking() ? "true" : "false");
}

int Recorder::startRecording(const std::string &path, int check_every) {
    LogManager &log = LogManager::getInstance();
    if (m_recording || m_record_pending) {
        log.writeLog("Recorder::startRecording(): Error! Already recording into '%s'.", m_out_path.c_str());
        return -1;
    }
    if (check_every < 0 || check_every > MAX_CHECK_EVERY) {
        log.writeLog("Recorder::startRecording(): Error! Check interval %d not in range [0,%d].", check_every,
                     MAX_CHECK_EVERY);
        return -1;
    }
    m_out.open(path, std::ios::binary | std::ios::trunc);
    if (!m_out) {
        log.writeLog("Recorder::startRecording(): Error! Cannot create record '%s'.", path.c_str());
        return -1;
    }
    m_out_path = path;
    m_header = Recording{};
    m_header.check_every = check_every;
    m_record_pending = true;
    log.writeLog(1, "Recorder::startRecording(): Recording into '%s'.", path.c_str());
    return 0;
}

void Recorder::stopRecording() {
    if (!m_recording && !m_record_pending)
        return;
    const bool started = m_recording;
    m_recording = false;
    m_record_pending = false;
    InputManager::getInstance().setSink({});
    updateWorkBudget();
    LogManager &log = LogManager::getInstance();
    if (!started) {
        // nothing was recorded: no record rather than an empty one
        m_out.close();
        std::remove(m_out_path.c_str());
        return;
    }
    m_out << Recording::encodeFinish(m_record_step);
    m_out.close();
    if (m_out.fail())
        log.writeLog("Recorder::stopRecording(): Error! Writing record '%s' failed.", m_out_path.c_str());
    else
        log.writeLog(1, "Recorder::stopRecording(): Recorded %d steps into '%s'.", m_record_step, m_out_path.c_str());
}

int Recorder::startReplay(const std::string &path, bool verify, bool headless) {
    LogManager &log = LogManager::getInstance();
    const auto refuse = [&](const std::string &why) {
        m_result = Result::FAILED;
        m_message = why;
        log.writeLog("Recorder::startReplay(): Error! %s", why.c_str());
        return -1;
    };
    if (m_replaying || m_replay_pending)
        return refuse("A replay is running.");

    std::string error;
    Recording record;
    if (record.load(path, error) != 0)
        return refuse(formatted("Record '%s': %s.", path.c_str(), error.c_str()));
    if (!m_game_name.empty() && record.game_name != m_game_name)
        return refuse(formatted("Record '%s' is of the game '%s', not '%s'.", path.c_str(), record.game_name.c_str(),
                                m_game_name.c_str()));
    const bool started = GameManager::getInstance().isStarted();
    if (started && record.config != behaviourConfig())
        return refuse(formatted("Record '%s' was made with the settings '%s', not '%s'.", path.c_str(),
                                record.config.c_str(), behaviourConfig().c_str()));
    if (record.game_version != m_game_version || record.engine_version != VK_VERSION)
        log.writeLog(1, "Recorder::startReplay(): Warning! Record '%s' is of %s %s on Vessik %s; this is %s %s on %s.",
                     path.c_str(), record.game_name.c_str(), record.game_version.c_str(),
                     record.engine_version.c_str(), m_game_name.c_str(), m_game_version.c_str(), VK_VERSION);

    m_replay = std::move(record);
    m_verify = verify;
    m_headless = headless && !started;
    m_replay_pending = true;
    m_result = Result::RUNNING;
    m_message.clear();
    log.writeLog(1, "Recorder::startReplay(): Replaying %d steps of '%s'.", m_replay.step_count, path.c_str());
    return 0;
}

void Recorder::stopReplay() {
    const bool was_replaying = m_replaying;
    m_replay_pending = false;
    m_replaying = false;
    m_on_start = nullptr;
    m_on_end = nullptr;
    m_on_key = nullptr;
    m_caption.clear();
    if (!was_replaying)
        return;
    InputManager::getInstance().setSource({});
    updateWorkBudget();
}

void Recorder::setReplayEnd(std::function<void(bool matched)> on_end) { m_on_end = std::move(on_end); }

void Recorder::setReplayKey(std::function<void()> on_key) { m_on_key = std::move(on_key); }

bool Recorder::isUnpaced() const noexcept { return m_replaying && Config::getInstance().getHeadless(); }

void Recorder::configure() const {
    if (!m_replay_pending)
        return;
    std::string settings = m_replay.config + formatted("random_seed:%d,", static_cast<int>(m_replay.seed));
    if (m_headless)
        settings += "headless:true,";
    Config::getInstance().loadConfig(settings);
}

void Recorder::updateWorkBudget() const {
    PathManager::getInstance().setWorkBudget(m_recording || m_replaying ? PATH_WORK_PER_STEP : 0);
}

std::vector<Recording::Input> Recorder::stepInputs() {
    std::vector<Recording::Input> step;
    for (; m_next_input < m_replay.inputs.size() && m_replay.inputs[m_next_input].step == m_replay_step;
         m_next_input++)
        step.push_back(m_replay.inputs[m_next_input]);
    return step;
}

void Recorder::activate() {
    if (m_replay_pending) {
        m_replay_pending = false;
        m_replaying = true;
        m_replay_step = 0;
        m_next_input = 0;
        m_next_check = 0;
        m_seed = m_replay.seed;
        InputManager::getInstance().setSource([this] { return stepInputs(); },
                                              [this] {
                                                  // a copy: the handler may end the replay, which drops it
                                                  if (const std::function<void()> on_key = m_on_key)
                                                      on_key();
                                              });
    } else if (m_record_pending) {
        m_seed = GameManager::getInstance().getRandomSeed();
    }
    if (m_record_pending) {
        m_record_pending = false;
        m_recording = true;
        m_record_step = 0;
        m_header.engine_version = VK_VERSION;
        m_header.game_name = m_game_name;
        m_header.game_version = m_game_version;
        m_header.config = behaviourConfig();
        m_header.seed = m_seed;
        m_out << m_header.encodeHeader();
        InputManager::getInstance().setSink(
            [this](const Recording::Input &input) { m_out << Recording::encodeInput(input); });
    }
    if (const std::function<void()> on_start = m_on_start; on_start && m_replaying) {
        m_on_start = nullptr;
        on_start();
    }
    LogManager::getInstance().writeLog(10, "Recorder::activate(): srand() seed with %u", m_seed);
    std::srand(m_seed);
    updateWorkBudget();
}

void Recorder::beginStep() {
    if (m_replay_pending || m_record_pending)
        activate();
}

void Recorder::verify(std::uint64_t frame_hash, int object_count) {
    if (m_next_check >= m_replay.checks.size() || m_replay.checks[m_next_check].step != m_replay_step)
        return;
    const Recording::Check &expected = m_replay.checks[m_next_check++];
    if (!m_verify || (expected.frame_hash == frame_hash && expected.object_count == object_count))
        return;
    std::string message = formatted("Replay diverged at step %d: frame hash %016llx, expected %016llx.",
                                     m_replay_step, static_cast<unsigned long long>(frame_hash),
                                     static_cast<unsigned long long>(expected.frame_hash));
    if (expected.object_count != object_count)
        LogManager::getInstance().writeLog("Replay diverged at step %d: %d objects, expected %d.", m_replay_step,
                                           object_count, expected.object_count);
    finishReplay(Result::DIVERGED, message);
}

void Recorder::writeCheck(std::uint64_t frame_hash, int object_count) {
    if (m_header.check_every == 0 || m_record_step % m_header.check_every != 0)
        return;
    m_out << Recording::encodeCheck({m_record_step, frame_hash, object_count});
}

void Recorder::finishReplay(Result result, const std::string &message) {
    std::function<void(bool)> on_end = m_on_end;
    stopReplay();
    m_result = result;
    m_message = message;
    LogManager::getInstance().writeLog("%s", message.c_str());
    if (on_end)
        on_end(result == Result::MATCHED);
    else
        GameManager::getInstance().setGameOver();
}

void Recorder::endStep() {
    if (!m_replaying && !m_recording)
        return;
    const std::uint64_t frame_hash = DisplayManager::getInstance().getFrameText().hash();
    const int object_count = WorldManager::getInstance().getAllObjects(true).getCount();
    const bool replaying = m_replaying;
    if (!m_caption.empty())
        DisplayManager::getInstance().drawString(WorldManager::getInstance().getView().getCorner() + Vector(1, 0),
                                                 m_caption, LEFT_JUSTIFIED, WHITE);

    if (m_recording) {
        writeCheck(frame_hash, object_count);
        m_out << Recording::encodeStepEnd();
        m_record_step++;
        if (!m_out) {
            LogManager::getInstance().writeLog("Recorder::endStep(): Error! Writing record '%s' failed.",
                                               m_out_path.c_str());
            stopRecording();
        }
    }

    if (!replaying)
        return;
    verify(frame_hash, object_count);
    if (!m_replaying)
        return;
    m_replay_step++;
    if (m_replay_step >= m_replay.step_count)
        finishReplay(Result::MATCHED,
                     m_verify ? formatted("Replay verified: %d steps matched their record.", m_replay_step)
                              : formatted("Replay finished: %d steps.", m_replay_step));
    else if (GameManager::getInstance().getGameOver())
        finishReplay(Result::ENDED_EARLY, formatted("Replay ended at step %d of %d: the game ended before its record.",
                                                    m_replay_step, m_replay.step_count));
}

void Recorder::shutDown() {
    stopRecording();
    stopReplay();
}

} // namespace vk
