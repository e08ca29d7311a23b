// Cost of particle bursts: making a sparks burst, and a step of the world
// while bursts keep coming, as the number of live particles grows.
#include <vessik/core/EventStep.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/presentation/particles.h>
#include <vessik/world/Box.h>
#include <vessik/world/Vector.h>
#include <vessik/world/WorldManager.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

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

} // namespace

BENCHMARK_MAIN();
