// Under AddressSanitizer, checks for leaks when the tests are done, before
// the process exits: at exit the system's GL driver tears itself down and
// unloads, and what it leaves behind could no longer be told from a leak of
// ours. Every test executable links this, since any test may open a window.
//
// With VK_PLANT_LEAK set, one block of 4242 bytes is leaked on purpose, so
// that a test can show that a leak of ours is still reported.
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <cstdlib>

#include <sanitizer/lsan_interface.h>

namespace {

// volatile: the compiler must neither drop the allocation nor keep its
// address anywhere the leak checker would find it
void *volatile p_planted = nullptr;

struct LeakCheckBeforeExit : ::testing::Environment {
    void SetUp() override {
        if (std::getenv("VK_PLANT_LEAK") != nullptr) {
            p_planted = std::malloc(4242);
            p_planted = nullptr;
        }
    }
    void TearDown() override { __lsan_do_leak_check(); }
};

const auto *const p_leak_check = ::testing::AddGlobalTestEnvironment(new LeakCheckBeforeExit);

} // namespace
#endif
