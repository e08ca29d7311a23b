// Cost of particle bursts: making a sparks burst, a step of the world while
// bursts keep coming, as the number of live particles grows, and the
// turnover of the registries the particles pass through.
#include <vessik/core/EventStep.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/presentation/particles.h>
#include <vessik/world/Box.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/OrderedObjectSet.h>
#include <vessik/world/Vector.h>
#include <vessik/world/WorldManager.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A started 400 x 120 world and log, headless.
class Sky {
  public:
    Sky() {
        static const std::string log_file = "/tmp/vk-bench-particles-" + std::to_string(getpid()) + ".log";
        setenv("VESSIK_LOG", log_file.c_str(), 1);
        setenv("VESSIK_CONFIG", "/nonexistent", 1);
        vk::LogManager &log = vk::LogManager::getInstance();
        if (!log.isStarted())
            log.startUp();
        vk::WorldManager &world = vk::WorldManager::getInstance();
        world.startUp();
        world.setBoundary(vk::Box(vk::Vector(0, 0), 400, 120));
        world.setView(vk::Box(vk::Vector(0, 0), 80, 24));
        std::srand(1);
    }
    ~Sky() { vk::WorldManager::getInstance().shutDown(); }
    Sky(const Sky &) = delete;
    Sky &operator=(const Sky &) = delete;

    // Delivers one step and updates the world, as the game loop does.
    void step() {
        const vk::EventStep event(m_step++);
        vk::GameManager::getInstance().onEvent(&event);
        vk::WorldManager::getInstance().update();
    }

  private:
    int m_step = 0;
};

// One burst of the sparks effect at scale 2 (100 particles), deleted again
// outside the timing.
void BM_SparksBurst(benchmark::State &state) {
    Sky sky;
    vk::WorldManager &world = vk::WorldManager::getInstance();
    for (auto _ : state) {
        vk::addParticleEffect(vk::SPARKS, vk::Vector(200, 60), 2.0f, vk::YELLOW);
        state.PauseTiming();
        const vk::ObjectList made = world.objectsOfType("Particle");
        for (int i = 0; i < made.getCount(); i++)
            world.markForDelete(made[i]);
        world.update();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_SparksBurst)->Unit(benchmark::kMicrosecond);

// A step with `bursts` sparks bursts made every step at scattered places;
// sparks live 15 to 44 steps, so about 30 bursts' worth stay alive.
void BM_StepWithBursts(benchmark::State &state) {
    const int bursts = static_cast<int>(state.range(0));
    Sky sky;
    auto burst = [bursts] {
        for (int b = 0; b < bursts; b++)
            vk::addParticleEffect(vk::SPARKS, vk::Vector(static_cast<float>(20 + (b * 37) % 360), 60), 2.0f,
                                  vk::RED);
    };
    for (int warm = 0; warm < 60; warm++) {
        burst();
        sky.step();
    }
    for (auto _ : state) {
        burst();
        sky.step();
    }
    const int alive = vk::WorldManager::getInstance().objectsOfType("Particle").getCount();
    state.counters["alive"] = alive;
    state.SetItemsProcessed(state.iterations() * alive);
}
BENCHMARK(BM_StepWithBursts)->Arg(1)->Arg(5)->Arg(20)->Unit(benchmark::kMicrosecond);

// The turnover of a registry that `size` particles share: each step a
// thirtieth of them, picked at random, leave and as many newcomers join at
// the end. The same steps for every kind of list.
struct Turnover {
    std::vector<vk::Object *> first;                 // the registry at the start
    std::vector<std::vector<vk::Object *>> leaving; // per step
    std::vector<std::vector<vk::Object *>> joining; // per step

    Turnover(int size, int steps) {
        // distinct addresses that are never dereferenced
        const auto fake = [](int i) {
            return reinterpret_cast<vk::Object *>(static_cast<std::uintptr_t>(0x1000 + 64 * i));
        };
        std::mt19937 random(3);
        int next = 0;
        for (; next < size; next++)
            first.push_back(fake(next));
        std::vector<vk::Object *> alive = first;
        for (int step = 0; step < steps; step++) {
            leaving.emplace_back();
            joining.emplace_back();
            for (int i = 0; i < size / 30; i++) {
                const std::size_t pick = random() % alive.size();
                leaving.back().push_back(alive[pick]);
                alive[pick] = fake(next++);
                joining.back().push_back(alive[pick]);
            }
        }
    }

    // Milliseconds for all the steps on a fresh `List`.
    template <typename List> double run() const {
        List list;
        for (vk::Object *p_o : first)
            list.insert(p_o);
        const auto start = std::chrono::steady_clock::now();
        for (std::size_t step = 0; step < leaving.size(); step++) {
            for (vk::Object *p_o : leaving[step])
                list.remove(p_o);
            for (vk::Object *p_o : joining[step])
                list.insert(p_o);
        }
        benchmark::DoNotOptimize(list.getCount());
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
};

// Removal and insertion in the engine's registries (OrderedObjectSet) against
// a plain ObjectList, which searches and shifts for every removal, in one run
// with the same steps; `ratio` is how many times slower the plain list is.
void BM_RegistryTurnover(benchmark::State &state) {
    constexpr int STEPS = 10;
    const Turnover turnover(static_cast<int>(state.range(0)), STEPS);
    double set_ms = 0;
    for (auto _ : state) {
        const double ms = turnover.run<vk::OrderedObjectSet>();
        set_ms += ms;
        state.SetIterationTime(ms / 1000);
    }
    set_ms /= static_cast<double>(state.iterations()) * STEPS;
    const double list_ms = turnover.run<vk::ObjectList>() / STEPS;
    state.counters["set_us_per_step"] = set_ms * 1000;
    state.counters["list_us_per_step"] = list_ms * 1000;
    state.counters["ratio"] = list_ms / set_ms;
}
BENCHMARK(BM_RegistryTurnover)->Arg(2800)->Arg(14000)->Arg(57000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
