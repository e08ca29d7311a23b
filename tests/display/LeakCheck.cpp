// Under AddressSanitizer, checks for leaks when the tests are done, before
// the process exits: at exit the system's GL driver tears itself down and
// unloads, and what it leaves behind could no longer be told from a leak of
// ours.
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>

namespace {

struct LeakCheckBeforeExit : ::testing::Environment {
    void TearDown() override { __lsan_do_leak_check(); }
};

const auto *const p_leak_check = ::testing::AddGlobalTestEnvironment(new LeakCheckBeforeExit);

} // namespace
#endif
