// Cost of logging and the pacing of the game loop.
#include <vessik/core/Clock.h>
#include <vessik/core/Config.h>
#include <vessik/core/Event.h>
#include <vessik/core/EventStep.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/world/Object.h>

#include "core/Platform.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>
#include <unistd.h>

namespace {

std::string scratchLog() { return "/tmp/vk-bench-" + std::to_string(getpid()) + ".log"; }

void openLog(bool flush) {
    vk::LogManager &log = vk::LogManager::getInstance();
    if (!log.isStarted()) {
        setenv("VESSIK_LOG", scratchLog().c_str(), 1);
        log.startUp();
    }
    log.setFlush(flush);
}

void BM_WriteLogAboveThreshold(benchmark::State &state) {
    openLog(false);
    const vk::LogManager &log = vk::LogManager::getInstance();
    for (auto _ : state)
        benchmark::DoNotOptimize(log.writeLog(20, "trace %d %s", 42, "never written"));
}
BENCHMARK(BM_WriteLogAboveThreshold);

void BM_WriteLogLine(benchmark::State &state) {
    openLog(state.range(0) != 0);
    const vk::LogManager &log = vk::LogManager::getInstance();
    for (auto _ : state)
        benchmark::DoNotOptimize(log.writeLog("Object::setAltitude(): Altitude %d not in range [%d,%d].  Ignored.", 5, 0, 4));
    state.SetLabel(state.range(0) ? "flush on" : "flush off");
}
BENCHMARK(BM_WriteLogLine)->Arg(0)->Arg(1);

// Notes when each step starts and ends the loop after a number of steps.
class StepTimer : public vk::Object {
  public:
    explicit StepTimer(int steps) : m_steps(steps) { registerInterest(vk::STEP_EVENT); }
    int eventHandler(const vk::Event *p_event) override {
        if (p_event->getType() != vk::STEP_EVENT)
            return 0;
        m_starts.push_back(vk::platform::nowMicroseconds());
        if (static_cast<int>(m_starts.size()) > m_steps)
            vk::GameManager::getInstance().setGameOver();
        return 1;
    }
    [[nodiscard]] const std::vector<std::int64_t> &starts() const { return m_starts; }

  private:
    int m_steps;
    std::vector<std::int64_t> m_starts;
};

void BM_RunPacing(benchmark::State &state) {
    setenv("VESSIK_LOG", scratchLog().c_str(), 1);
    setenv("VESSIK_CONFIG", "/nonexistent", 1);
    vk::GameManager &game = vk::GameManager::getInstance();
    if (vk::LogManager::getInstance().isStarted())
        vk::LogManager::getInstance().shutDown();
    game.startUp();
    std::vector<double> periods;
    for (auto _ : state) {
        StepTimer timer(300);
        game.run();
        const auto &starts = timer.starts();
        for (std::size_t i = 1; i < starts.size(); i++)
            periods.push_back(static_cast<double>(starts[i] - starts[i - 1]) / 1000.0);
    }
    game.shutDown();
    const double frame_ms = game.getFrameTime();
    std::vector<double> errors;
    double sum = 0;
    for (double p : periods) {
        sum += p;
        errors.push_back(std::fabs(p - frame_ms));
    }
    const auto p99 = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() * 99 / 100];
    };
    std::sort(periods.begin(), periods.end());
    state.counters["frame_ms"] = frame_ms;
    state.counters["mean_ms"] = sum / static_cast<double>(periods.size());
    state.counters["p50_ms"] = periods[periods.size() / 2];
    state.counters["p99_ms"] = p99(periods);
    // how far single steps stray from the frame time, either way
    state.counters["p99_error_ms"] = p99(errors);
}
BENCHMARK(BM_RunPacing)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
