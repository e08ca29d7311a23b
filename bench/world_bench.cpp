// Cost of the world's step and of its collision queries as the number of
// moving solid objects grows at a constant density.
#include <vessik/core/Event.h>
#include <vessik/core/LogManager.h>
#include <vessik/world/Box.h>
#include <vessik/world/EventCollision.h>
#include <vessik/world/Object.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/Vector.h>
#include <vessik/world/WorldManager.h>
#include <vessik/world/geometry.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// One object per this many character cells.
constexpr float CELLS_PER_OBJECT = 50;

// Turns back when it leaves the world or runs into something while moving.
class Swimmer : public vk::Object {
  public:
    int eventHandler(const vk::Event *p_event) override {
        const std::string type = p_event->getType();
        if (type == vk::OUT_EVENT) {
            setVelocity(Vector(-getVelocity().getX(), -getVelocity().getY()));
            return 1;
        }
        if (type == vk::COLLISION_EVENT &&
            static_cast<const vk::EventCollision *>(p_event)->getObject1() == this) {
            setVelocity(Vector(-getVelocity().getX(), -getVelocity().getY()));
            return 1;
        }
        return 0;
    }

  private:
    using Vector = vk::Vector;
};

// A started world of `count` HARD objects at random places and headings,
// 3:1 wide, one object per CELLS_PER_OBJECT cells.
class Sea {
  public:
    explicit Sea(int count) {
        static const std::string log_file = "/tmp/vk-bench-world-" + std::to_string(getpid()) + ".log";
        setenv("VESSIK_LOG", log_file.c_str(), 1);
        setenv("VESSIK_CONFIG", "/nonexistent", 1);
        vk::LogManager &log = vk::LogManager::getInstance();
        if (!log.isStarted())
            log.startUp();
        vk::WorldManager &world = vk::WorldManager::getInstance();
        world.startUp();
        const float height = std::sqrt(CELLS_PER_OBJECT * static_cast<float>(count) / 3);
        const float width = 3 * height;
        world.setBoundary(vk::Box(vk::Vector(0, 0), width, height));
        world.setView(vk::Box(vk::Vector(0, 0), 80, 24));

        std::mt19937 random(12345);
        std::uniform_real_distribution<float> x(0, width), y(0, height), angle(0, 6.2831853f);
        for (int i = 0; i < count; i++) {
            auto *p = new Swimmer();
            p->setPosition(vk::Vector(x(random), y(random)));
            const float a = angle(random);
            p->setVelocity(vk::Vector(0.5f * std::cos(a), 0.5f * std::sin(a)));
        }
    }
    ~Sea() { vk::WorldManager::getInstance().shutDown(); }
    Sea(const Sea &) = delete;
    Sea &operator=(const Sea &) = delete;
};

void BM_Update(benchmark::State &state) {
    const int count = static_cast<int>(state.range(0));
    Sea sea(count);
    vk::WorldManager &world = vk::WorldManager::getInstance();
    for (int warm = 0; warm < 5; warm++)
        world.update();
    for (auto _ : state)
        world.update();
    state.SetComplexityN(count);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_Update)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

std::vector<vk::Object *> bruteForce(const vk::ObjectList &solid, const vk::Object *p_o, vk::Box target) {
    std::vector<vk::Object *> hits;
    for (int i = 0; i < solid.getCount(); i++)
        if (solid[i] != p_o && vk::boxIntersectsBox(vk::getWorldBox(solid[i]), target))
            hits.push_back(solid[i]);
    return hits;
}

// The grid's query, timed by the framework; then the same queries as a scan
// of every solid object, for the speed-up in the same run.
void BM_GetCollisions(benchmark::State &state) {
    const int count = static_cast<int>(state.range(0));
    Sea sea(count);
    vk::WorldManager &world = vk::WorldManager::getInstance();
    const vk::ObjectList all = world.getAllObjects();
    const int queries = std::min(count, 1000);

    std::size_t found = 0;
    for (auto _ : state) {
        for (int i = 0; i < queries; i++) {
            const vk::Object *p_o = all[i];
            found += static_cast<std::size_t>(world.getCollisions(p_o, p_o->predictPosition()).getCount());
        }
    }
    state.SetItemsProcessed(state.iterations() * queries);

    const vk::ObjectList solid = world.getSceneGraph().solidObjects();
    std::size_t brute_found = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < queries; i++) {
        const vk::Object *p_o = all[i];
        const std::vector<vk::Object *> hits =
            bruteForce(solid, p_o, vk::getWorldBox(p_o, p_o->predictPosition()));
        brute_found += hits.size();
        // both must find the same objects
        const vk::ObjectList grid_hits = world.getCollisions(p_o, p_o->predictPosition());
        if (static_cast<std::size_t>(grid_hits.getCount()) != hits.size()) {
            state.SkipWithError("grid and scan disagree");
            return;
        }
    }
    const double brute_ns =
        std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / queries;
    benchmark::DoNotOptimize(found);
    benchmark::DoNotOptimize(brute_found);
    state.counters["grid_ns"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * queries,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["scan_ns"] = brute_ns;
}
BENCHMARK(BM_GetCollisions)->Arg(100)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
