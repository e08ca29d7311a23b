#pragma once

#include "TestEnv.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace vktest {

// Makes a 440 Hz tone of `seconds` in the test's scratch folder; its path.
inline std::string makeTone(const TestEnv &env, const std::string &name, double seconds) {
    const std::string synth = "sox -V1 -n -r 44100 -b 16 -c 1 '" + env.path(name) + "' synth " +
                              std::to_string(seconds) + " sine 440 vol 0.5";
    EXPECT_EQ(std::system(synth.c_str()), 0) << synth;
    return env.path(name);
}

// Where sound is in a recording: the seconds from the first to the last loud
// sample (0 when all is silent), and the seconds of silence after the last.
struct Loudness {
    double span = 0;
    double silent_tail = 0;
};

// Sends everything the audio library plays into a WAV file in the test's
// scratch folder instead of a sound card. The audio back end reads its
// configuration once per process: create it where no audio was opened yet,
// in a fresh process (inFreshProcess) or before starting a program.
class WaveOutput {
  public:
    explicit WaveOutput(const TestEnv &env) : m_wav(env.path("played.wav")), m_raw(env.path("played.raw")) {
        env.writeFile("alsoft.conf", "[general]\ndrivers=wave\n[wave]\nfile=" + m_wav + "\n");
        // the test environment picks the silent back end by name; that would win
        unsetenv("ALSOFT_DRIVERS");
        setenv("ALSOFT_CONF", env.path("alsoft.conf").c_str(), 1);
    }
    // the tests after this one in the process play into the silent back end
    ~WaveOutput() {
        setenv("ALSOFT_DRIVERS", "null", 1);
        unsetenv("ALSOFT_CONF");
    }
    WaveOutput(const WaveOutput &) = delete;
    WaveOutput &operator=(const WaveOutput &) = delete;

    // Listens to what has been written every 50 ms until `done` holds for it
    // or `seconds` pass, which only a broken player reaches however loaded the
    // machine; what was heard last.
    template <typename Done> Loudness listenUntil(Done done, double seconds = 20) const {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        Loudness heard = loudness();
        for (; !done(heard) && std::chrono::steady_clock::now() < end; heard = loudness())
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return heard;
    }

  private:
    [[nodiscard]] Loudness loudness() const {
        // the header's lengths are only filled in when the device closes, and
        // before the writer's first flush there is no header at all: silence
        const std::string convert = "sox -V0 --ignore-length '" + m_wav + "' -t raw -e signed-integer -b 16 -c 1 " +
                                    "-r 44100 '" + m_raw + "' 2>/dev/null";
        if (std::system(convert.c_str()) != 0)
            return {};
        std::ifstream in(m_raw, std::ios::binary);
        long count = 0, first = -1, last = -1;
        // anything quieter than 300 is silence, far below the tones played
        for (std::int16_t sample = 0; in.read(reinterpret_cast<char *>(&sample), sizeof sample); count++)
            if (std::abs(static_cast<int>(sample)) > 300) {
                first = first < 0 ? count : first;
                last = count;
            }
        return {first < 0 ? 0 : double(last - first + 1) / 44100, double(count - 1 - last) / 44100};
    }

    std::string m_wav;
    std::string m_raw;
};

} // namespace vktest
