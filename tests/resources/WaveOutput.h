#pragma once

#include "TestEnv.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vktest {

// Makes a 440 Hz tone of `seconds` in the test's scratch folder with sox and
// returns its path. A name ending in ".ogg" is encoded with oggenc.
std::string makeTone(const TestEnv &env, const std::string &name, double seconds);

// Sends everything the audio library plays into a WAV file in the test's
// scratch folder instead of a sound card. Create it before anything opens the
// audio device (that is, before the first sound or music is loaded).
class WaveOutput {
  public:
    explicit WaveOutput(const TestEnv &env);

    // What has been written so far, mixed to mono 16-bit samples at 44.1 kHz.
    [[nodiscard]] std::vector<std::int16_t> samples() const;

    static constexpr double RATE = 44100.0;

  private:
    std::string m_wav;
    std::string m_raw;
};

// Where sound is in a recording: the seconds from the first to the last
// sample louder than a faint threshold (0 when all is silent), and the
// seconds of silence after the last loud sample.
struct Loudness {
    double span = 0;
    double silent_tail = 0;
};
[[nodiscard]] Loudness loudness(const std::vector<std::int16_t> &samples);

} // namespace vktest
