// Cost of path finding on a 200 x 200 world in which a fifth of the cells
// hold a HARD one-cell object: single expansions, and whole searches handed
// to the path manager as the game loop would, corner to corner and between
// random cells.
#include <vessik/core/Event.h>
#include <vessik/core/LogManager.h>
#include <vessik/services/EventPath.h>
#include <vessik/services/PathFind.h>
#include <vessik/services/PathManager.h>
#include <vessik/world/Box.h>
#include <vessik/world/Object.h>
#include <vessik/world/Vector.h>
#include <vessik/world/WorldManager.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr int SIDE = 200;
constexpr float OBSTACLE_SHARE = 0.2f;

// Counts the searches that ended with a path.
class Seeker : public vk::Object {
  public:
    explicit Seeker(vk::Vector where) {
        setPosition(where);
        setSolidness(vk::SPECTRAL);
    }
    int eventHandler(const vk::Event *p_event) override {
        if (const auto *p_path = dynamic_cast<const vk::EventPath *>(p_event)) {
            found += p_path->getResult() == vk::PATH_FOUND;
            waypoints += p_path->getPath().getCount();
        }
        return Object::eventHandler(p_event);
    }
    int found = 0;
    std::size_t waypoints = 0;
};

// The started world with its obstacles, kept for the whole program; the
// corners are always free.
class Field {
  public:
    static Field &get() {
        static Field field;
        return field;
    }
    [[nodiscard]] bool isFree(int x, int y) const { return !m_blocked[static_cast<std::size_t>(y * SIDE + x)]; }
    // A free cell chosen by `random`.
    vk::Vector freeCell(std::mt19937 &random) const {
        std::uniform_int_distribution<int> coordinate(0, SIDE - 1);
        while (true) {
            const int x = coordinate(random);
            const int y = coordinate(random);
            if (isFree(x, y))
                return {static_cast<float>(x), static_cast<float>(y)};
        }
    }

  private:
    Field() : m_blocked(SIDE * SIDE, false) {
        static const std::string log_file = "/tmp/vk-bench-path-" + std::to_string(getpid()) + ".log";
        setenv("VESSIK_LOG", log_file.c_str(), 1);
        setenv("VESSIK_CONFIG", "/nonexistent", 1);
        vk::LogManager::getInstance().startUp();
        vk::WorldManager &world = vk::WorldManager::getInstance();
        world.startUp();
        world.setBoundary(vk::Box(vk::Vector(0, 0), SIDE, SIDE));
        vk::PathManager::getInstance().startUp();

        std::mt19937 random(2024);
        std::uniform_int_distribution<int> coordinate(0, SIDE - 1);
        int placed = 0;
        while (placed < static_cast<int>(OBSTACLE_SHARE * SIDE * SIDE)) {
            const int x = coordinate(random);
            const int y = coordinate(random);
            const bool corner = (x == 0 && y == 0) || (x == SIDE - 1 && y == SIDE - 1);
            if (corner || !isFree(x, y))
                continue;
            m_blocked[static_cast<std::size_t>(y * SIDE + x)] = true;
            auto *p_rock = new vk::Object();
            p_rock->setPosition(vk::Vector(static_cast<float>(x), static_cast<float>(y)));
            placed++;
        }
    }
    std::vector<bool> m_blocked;
};

// Single expansions of a corner-to-corner search, started afresh whenever
// it ends.
void BM_Expansion(benchmark::State &state) {
    Field::get();
    auto *p_seeker = new Seeker(vk::Vector(0, 0));
    const auto fresh = [p_seeker] {
        return std::make_unique<vk::PathFind>(p_seeker, vk::PathFind::Cell{0, 0},
                                              vk::PathFind::Cell{SIDE - 1, SIDE - 1}, nullptr, SIDE, SIDE);
    };
    std::unique_ptr<vk::PathFind> search = fresh();
    std::int64_t expansions = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (search->cycleOnce() != vk::PATH_SEARCHING) {
            state.PauseTiming();
            search = fresh();
            state.ResumeTiming();
        }
        expansions++;
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    state.counters["expansions_per_ms"] = static_cast<double>(expansions) / ms;
    vk::WorldManager::getInstance().markForDelete(p_seeker);
    vk::WorldManager::getInstance().update();
}
BENCHMARK(BM_Expansion)->Unit(benchmark::kNanosecond);

// Whole searches through the path manager, as the game loop runs them:
// `range(0)` searches between random free cells, or one corner-to-corner
// search when it is 0.
void BM_Search(benchmark::State &state) {
    Field &field = Field::get();
    vk::PathManager &paths = vk::PathManager::getInstance();
    const int count = static_cast<int>(state.range(0));
    std::mt19937 random(7);
    std::vector<std::pair<vk::Vector, vk::Vector>> trips;
    if (count == 0)
        trips.emplace_back(vk::Vector(0, 0), vk::Vector(SIDE - 1, SIDE - 1));
    for (int i = 0; i < count; i++)
        trips.emplace_back(field.freeCell(random), field.freeCell(random));

    std::vector<Seeker *> seekers;
    for (const auto &trip : trips)
        seekers.push_back(new Seeker(trip.first));
    for (auto _ : state) {
        for (std::size_t i = 0; i < trips.size(); i++)
            paths.findPath(seekers[i], trips[i].second);
        while (paths.getSearchCount() > 0)
            paths.cycle(1000);
    }
    int found = 0;
    std::size_t waypoints = 0;
    for (Seeker *p_seeker : seekers) {
        found += p_seeker->found;
        waypoints += p_seeker->waypoints;
        vk::WorldManager::getInstance().markForDelete(p_seeker);
    }
    vk::WorldManager::getInstance().update();
    const double searches = static_cast<double>(state.iterations()) * static_cast<double>(trips.size());
    state.counters["found_share"] = found / searches;
    state.counters["waypoints"] = static_cast<double>(waypoints) / searches;
    state.counters["searches"] = static_cast<double>(trips.size());
}
BENCHMARK(BM_Search)->Arg(0)->Arg(32)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
