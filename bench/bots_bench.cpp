// How survivable the sea is: bots play whole runs of the game, headless and
// as fast as the machine goes, over fixed seeds, and the table shows how long
// they last and what they score.
//
// - idle: never touches a key.
// - dodger: every step plans its next key on the obstacles' straight-line
//   paths (current positions and velocities) and keeps off every one of them.
// - booster: plans the same way, but also steers for power-ups and, while a
//   boost runs, rams obstacles for their points.
//
// "no path" counts the seeds where nothing at all survives the first 30 s:
// the run is played with the surfer left out (so sharks run straight and
// nothing is hit), every obstacle's box is recorded at every step, and a
// search over every sequence of W and S finds no row plan that avoids them.
//
// Usage: bots_bench [seeds] (default 50). Run from the repository root, or
// with VK_SOURCE_DIR naming it.
#include "swellrun.h"

#include <vessik/core/Event.h>
#include <vessik/core/GameManager.h>
#include <vessik/display/EventKeyboard.h>
#include <vessik/display/InputManager.h>
#include <vessik/display/Keyboard.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/world/Box.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/WorldManager.h>
#include <vessik/world/geometry.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr float STEP_SECONDS = 0.033f;
// Runs longer than this are stopped and counted at this length.
constexpr int MAX_STEPS = 9091;
constexpr int NO_PATH_STEPS = 909;
// How far ahead the planning bots look, in steps.
constexpr int HORIZON = 120;
constexpr float SURFER_X = 5.0f;

const char *const OBSTACLE_TYPES[] = {"Trash", "Buoy", "Shark", "Iceberg"};

std::string sourceDir() {
    const char *p_dir = std::getenv("VK_SOURCE_DIR");
    return p_dir ? p_dir : ".";
}

// The engine started headless on `seed`, the game's sprites loaded and a run
// begun.
struct Run {
    explicit Run(int seed) {
        const std::string config = "/tmp/bots_bench_" + std::to_string(seed) + ".cfg";
        if (FILE *p_file = std::fopen(config.c_str(), "w")) {
            std::fprintf(p_file, "headless:true,\nnetworking:false,\nframe_time:0,\nrandom_seed:%d,\n", seed);
            std::fclose(p_file);
        }
        setenv("VESSIK_CONFIG", config.c_str(), 1);
        vk::GameManager::getInstance().startUp();
        std::remove(config.c_str());
        SpeedManager::getInstance().startUp();
        const std::pair<const char *, const char *> sprites[] = {
            {"Surfer", "surfer"}, {"Trash", "trash"},     {"Buoy", "buoy"},       {"Iceberg", "iceberg"},
            {"Shark", "shark"},   {"Powerup", "powerup"}, {"ded", "surferFail"}};
        for (const auto &[file, label] : sprites)
            vk::ResourceManager::getInstance().loadSprite(sourceDir() + "/sprites/" + file + "_sprite.txt", label);
        startGame();
    }
    ~Run() { vk::GameManager::getInstance().shutDown(); }
    Run(const Run &) = delete;
    Run &operator=(const Run &) = delete;
};

Surfer *findSurfer() {
    const vk::ObjectList surfers = vk::WorldManager::getInstance().objectsOfType("Surfer");
    return surfers.isEmpty() ? nullptr : dynamic_cast<Surfer *>(surfers[0]);
}

int score() {
    const vk::ObjectList all = vk::WorldManager::getInstance().getAllObjects();
    for (int i = 0; i < all.getCount(); i++)
        if (const auto *p_points = dynamic_cast<const Points *>(all[i]))
            return p_points->getValue();
    return 0;
}

// Hears every step after the game's own objects (it is created after them)
// and hands the step count to `each` until that returns false or the run is
// long enough.
class Watcher : public vk::Object {
  public:
    explicit Watcher(std::function<bool(int)> each) : m_each(std::move(each)) {
        setSolidness(vk::SPECTRAL);
        registerInterest(vk::STEP_EVENT);
    }
    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() != vk::STEP_EVENT)
            return 0;
        if (!m_each(++m_steps) || m_steps >= MAX_STEPS)
            vk::GameManager::getInstance().setGameOver(true);
        return 1;
    }
    [[nodiscard]] int steps() const noexcept { return m_steps; }

  private:
    std::function<bool(int)> m_each;
    int m_steps = 0;
};

// Rows the surfer's centre may take, and its moves: a held key moves it one
// row when its countdown has run out, and the countdown restarts at 2.
struct Rows {
    int top = 4;
    int bottom = 22;
    [[nodiscard]] int count() const { return bottom - top + 1; }
    // (row index, countdown) after one step with direction d
    [[nodiscard]] std::pair<int, int> next(int row, int countdown, int d) const {
        countdown = std::max(0, countdown - 1);
        if (d != 0 && countdown == 0) {
            countdown = 2;
            if (row + d >= 0 && row + d < count())
                row += d;
        }
        return {row, countdown};
    }
};

Rows rowsOfWorld() {
    const int h = static_cast<int>(vk::WorldManager::getInstance().getBoundary().getVertical());
    return Rows{4, h - 2};
}

// Which rows the surfer's box meets a box in: bit r for row index r.
using RowMask = std::uint32_t;
RowMask rowsHit(const vk::Box &surfer_box, const Rows &rows, const vk::Box &world_box) {
    RowMask mask = 0;
    for (int r = 0; r < rows.count(); r++) {
        vk::Box at = surfer_box;
        at.setCorner(at.getCorner() + vk::Vector(SURFER_X, static_cast<float>(rows.top + r)));
        if (vk::boxIntersectsBox(at, world_box))
            mask |= RowMask(1) << r;
    }
    return mask;
}

// Plans one key for the next step. Surviving longest comes first; among
// equally long plans the bot prefers rewards and then rows near the middle.
class Planner {
  public:
    explicit Planner(bool seeks_boosts) : m_seeks_boosts(seeks_boosts) {}

    // -1 for W, +1 for S, 0 for neither.
    int decide(const Surfer &surfer, int countdown) {
        const Rows rows = rowsOfWorld();
        const int row = static_cast<int>(surfer.getPosition().getY()) - rows.top;
        const int boost_left = surfer.isBoosting() ? surfer.getBoostCountdown() : 0;

        // predicted hits after m steps, m = 0 .. HORIZON + 1
        std::vector<RowMask> deadly(HORIZON + 2, 0);
        std::vector<std::vector<float>> reward(HORIZON + 2, std::vector<float>(rows.count(), 0.0f));
        vk::WorldManager &world = vk::WorldManager::getInstance();
        auto track = [&](const char *type, const std::function<void(int, RowMask, const vk::Object *)> &mark) {
            const vk::ObjectList list = world.objectsOfType(type);
            for (int i = 0; i < list.getCount(); i++) {
                const vk::Object *p_o = list[i];
                vk::Vector at = p_o->getPosition();
                for (int m = 0; m <= HORIZON + 1; m++, at += p_o->getVelocity()) {
                    const RowMask hit = rowsHit(surfer.getBox(), rows, vk::getWorldBox(p_o, at));
                    if (hit)
                        mark(m, hit, p_o);
                }
            }
        };
        for (const char *type : OBSTACLE_TYPES)
            track(type, [&](int m, RowMask hit, const vk::Object *p_o) {
                if (m_seeks_boosts && m < boost_left - 2) {
                    addReward(reward[m], hit, static_cast<float>(dynamic_cast<const Obstacle *>(p_o)->getPoints()));
                    return;
                }
                deadly[m] |= hit;
            });
        if (m_seeks_boosts)
            track("PowerUp", [&](int m, RowMask hit, const vk::Object *) {
                addReward(reward[m], hit, 1000.0f - static_cast<float>(m));
            });

        // value[row][countdown] of the plan from step j on, built backwards
        const float middle = static_cast<float>(rows.count() - 1) / 2;
        std::vector<std::array<double, 3>> value(rows.count(), {0, 0, 0});
        std::vector<std::array<double, 3>> later = value;
        for (int j = HORIZON; j >= 1; j--) {
            for (int r = 0; r < rows.count(); r++) {
                const bool dies = ((deadly[j] | deadly[j + 1]) >> r) & 1;
                for (int c = 0; c < 3; c++) {
                    if (dies) {
                        value[r][c] = SURVIVAL * j;
                        continue;
                    }
                    double best = j == HORIZON ? SURVIVAL * (HORIZON + 1) : -1e18;
                    if (j < HORIZON)
                        for (int d = -1; d <= 1; d++) {
                            const auto [r2, c2] = rows.next(r, c, d);
                            best = std::max(best, later[r2][c2]);
                        }
                    value[r][c] = best + reward[j][r] - 0.01 * std::abs(static_cast<float>(r) - middle);
                }
            }
            std::swap(value, later);
        }
        int best_d = 0;
        double best = -1e18;
        for (int d : {0, -1, 1}) {
            const auto [r2, c2] = rows.next(row, countdown, d);
            if (later[r2][c2] > best + 1e-9) {
                best = later[r2][c2];
                best_d = d;
            }
        }
        return best_d;
    }

  private:
    static constexpr double SURVIVAL = 1e7;

    static void addReward(std::vector<float> &row_rewards, RowMask hit, float amount) {
        for (std::size_t r = 0; r < row_rewards.size(); r++)
            if ((hit >> r) & 1)
                row_rewards[r] += amount;
    }

    bool m_seeks_boosts;
};

void sendKey(int key, int action) {
    vk::EventKeyboard event;
    event.setKey(key);
    event.setKeyboardAction(action);
    vk::InputManager::getInstance().onEvent(&event);
}

// Holds W, S or neither, as a player's fingers would.
class Keys {
  public:
    void hold(int d) {
        set(vk::Keyboard::W, m_w, d < 0);
        set(vk::Keyboard::S, m_s, d > 0);
    }

  private:
    static void set(int key, bool &held, bool wanted) {
        if (held != wanted)
            sendKey(key, wanted ? vk::KEY_PRESSED : vk::KEY_RELEASED);
        held = wanted;
    }
    bool m_w = false;
    bool m_s = false;
};

struct Result {
    int steps = 0;
    int score = 0;
};

enum class Bot { IDLE, DODGER, BOOSTER };

Result play(int seed, Bot bot) {
    Run run(seed);
    Planner planner(bot == Bot::BOOSTER);
    Keys keys;
    Result result;
    int countdown = 2;
    float last_y = -1.0f;
    new Watcher([&](int step) {
        Surfer *p_surfer = findSurfer();
        if (!p_surfer || p_surfer->isLeaving()) {
            result = {step, score()};
            return false;
        }
        // the surfer's countdown, mirrored: it restarts whenever it moved
        const float y = p_surfer->getPosition().getY();
        countdown = std::max(0, countdown - 1);
        if (last_y >= 0.0f && y != last_y)
            countdown = 2;
        last_y = y;
        if (bot != Bot::IDLE)
            keys.hold(planner.decide(*p_surfer, countdown));
        result = {step, score()};
        return true;
    });
    vk::GameManager::getInstance().run();
    return result;
}

// Whether any row plan keeps the surfer clear of every obstacle for the first
// NO_PATH_STEPS steps, sharks running straight.
bool survivable(int seed) {
    Run run(seed);
    Surfer *p_surfer = findSurfer();
    const vk::Box surfer_box = p_surfer->getBox();
    const float start_y = p_surfer->getPosition().getY();
    // out of the world's reach: no step, no collision, no shark homes on it
    p_surfer->setActive(false);
    const Rows rows = rowsOfWorld();

    // occupied[i]: rows hit by the obstacles where they are after update i
    // (heard at step i + 1, before that step's update)
    std::vector<RowMask> occupied;
    new Watcher([&](int step) {
        RowMask mask = 0;
        for (const char *type : OBSTACLE_TYPES) {
            const vk::ObjectList list = vk::WorldManager::getInstance().objectsOfType(type);
            for (int i = 0; i < list.getCount(); i++)
                mask |= rowsHit(surfer_box, rows, vk::getWorldBox(list[i]));
        }
        occupied.push_back(mask);
        return step <= NO_PATH_STEPS;
    });
    vk::GameManager::getInstance().run();

    // reachable[row] as countdown bits, step by step
    std::vector<int> reachable(rows.count(), 0);
    reachable[static_cast<int>(start_y) - rows.top] = 1 << 2;
    // in step i a surfer that moved meets the obstacles where they were, then
    // they move onto it
    for (int i = 1; i <= NO_PATH_STEPS && i < static_cast<int>(occupied.size()); i++) {
        std::vector<int> next(rows.count(), 0);
        for (int r = 0; r < rows.count(); r++)
            for (int c = 0; c < 3; c++)
                if ((reachable[r] >> c) & 1)
                    for (int d = -1; d <= 1; d++) {
                        const auto [r2, c2] = rows.next(r, c, d);
                        if (!(((occupied[i - 1] | occupied[i]) >> r2) & 1))
                            next[r2] |= 1 << c2;
                    }
        reachable = next;
        if (std::all_of(reachable.begin(), reachable.end(), [](int bits) { return bits == 0; }))
            return false;
    }
    return true;
}

float median(std::vector<float> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0.0f : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

float mean(const std::vector<float> &values) {
    float sum = 0;
    for (float v : values)
        sum += v;
    return values.empty() ? 0.0f : sum / static_cast<float>(values.size());
}

} // namespace

int main(int argc, char **argv) {
    const int seeds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    // the sharks report every step: that is not what is measured here; nor
    // is there anything to hear
    setenv("VESSIK_LOG", "/dev/null", 1);
    setenv("ALSOFT_DRIVERS", "null", 1);

    int no_path = 0;
    for (int seed = 1; seed <= seeds; seed++)
        no_path += !survivable(seed);

    std::printf("%d seeds, runs stopped at %.0f s; no path in the first %.0f s: %d seeds (%.0f %%)\n\n", seeds,
                MAX_STEPS * STEP_SECONDS, NO_PATH_STEPS * STEP_SECONDS, no_path, 100.0 * no_path / seeds);
    std::printf("%-8s %12s %12s %12s %12s %14s\n", "bot", "median s", "mean s", "median pts", "mean pts",
                "dead < 30 s");
    const std::pair<const char *, Bot> bots[] = {
        {"idle", Bot::IDLE}, {"dodger", Bot::DODGER}, {"booster", Bot::BOOSTER}};
    for (const auto &[name, bot] : bots) {
        std::vector<float> seconds, points;
        int early = 0;
        for (int seed = 1; seed <= seeds; seed++) {
            const Result r = play(seed, bot);
            seconds.push_back(static_cast<float>(r.steps) * STEP_SECONDS);
            points.push_back(static_cast<float>(r.score));
            early += r.steps < NO_PATH_STEPS;
        }
        std::printf("%-8s %12.1f %12.1f %12.0f %12.0f %14d\n", name, median(seconds), mean(seconds), median(points),
                    mean(points), early);
        std::fflush(stdout);
    }
    return 0;
}
