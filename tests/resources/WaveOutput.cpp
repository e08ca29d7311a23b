#include "WaveOutput.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace vktest {

namespace {

// Quiet enough to be silence, far below the tones the tests play.
constexpr int THRESHOLD = 300;

int run(const std::string &command) { return std::system(command.c_str()); }

} // namespace

std::string makeTone(const TestEnv &env, const std::string &name, double seconds) {
    const bool ogg = name.size() > 4 && name.compare(name.size() - 4, 4, ".ogg") == 0;
    const std::string wav = env.path(ogg ? name + ".wav" : name);
    // 16-bit samples: oggenc reads nothing else
    const std::string synth = "sox -V1 -n -r 44100 -b 16 -c 1 '" + wav + "' synth " + std::to_string(seconds) +
                              " sine 440 vol 0.5";
    EXPECT_EQ(run(synth), 0) << synth;
    if (!ogg)
        return wav;
    const std::string encode = "oggenc -Q -o '" + env.path(name) + "' '" + wav + "'";
    EXPECT_EQ(run(encode), 0) << encode;
    return env.path(name);
}

WaveOutput::WaveOutput(const TestEnv &env) : m_wav(env.path("played.wav")), m_raw(env.path("played.raw")) {
    env.writeFile("alsoft.conf", "[general]\ndrivers=wave\n[wave]\nfile=" + m_wav + "\n");
    // the test environment picks the silent back end by name; that would win
    unsetenv("ALSOFT_DRIVERS");
    setenv("ALSOFT_CONF", env.path("alsoft.conf").c_str(), 1);
}

std::vector<std::int16_t> WaveOutput::samples() const {
    // the header's lengths are only filled in when the device closes
    const std::string convert = "sox -V1 --ignore-length '" + m_wav + "' -t raw -e signed-integer -b 16 -c 1 -r 44100 '" +
                                m_raw + "'";
    EXPECT_EQ(run(convert), 0) << convert;
    std::ifstream in(m_raw, std::ios::binary);
    std::vector<std::int16_t> samples;
    std::int16_t sample = 0;
    while (in.read(reinterpret_cast<char *>(&sample), sizeof sample))
        samples.push_back(sample);
    return samples;
}

Loudness loudness(const std::vector<std::int16_t> &samples) {
    long first = -1;
    long last = -1;
    for (std::size_t i = 0; i < samples.size(); i++) {
        if (std::abs(static_cast<int>(samples[i])) > THRESHOLD) {
            if (first < 0)
                first = static_cast<long>(i);
            last = static_cast<long>(i);
        }
    }
    Loudness result;
    if (first >= 0) {
        result.span = static_cast<double>(last - first + 1) / WaveOutput::RATE;
        result.silent_tail = static_cast<double>(static_cast<long>(samples.size()) - 1 - last) / WaveOutput::RATE;
    } else {
        result.silent_tail = static_cast<double>(samples.size()) / WaveOutput::RATE;
    }
    return result;
}

} // namespace vktest
