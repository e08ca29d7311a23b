#pragma once

#include <functional>

namespace vktest {

// Runs `body` in a fresh process: this test program started again for the
// running test alone, in which this call runs `body` and ends the process.
// For tests that need a process of their own by nature: the audio back end
// reads its configuration once per process, the graphics library keeps to
// the first X server it reaches, the id counter never goes back. What the
// test does before the call is done again in the new process, so it belongs
// at the top of the test. The new process reports the body's failures, and
// this call one more; whether the body passed.
bool inFreshProcess(const std::function<void()> &body);

} // namespace vktest
