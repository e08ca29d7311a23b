#pragma once

#include <cstddef>

namespace alloctest {

// Watches the allocations made through operator new while it lives and
// remembers the largest single one. One at a time.
class AllocationProbe {
  public:
    AllocationProbe();
    ~AllocationProbe();
    AllocationProbe(const AllocationProbe &) = delete;
    AllocationProbe &operator=(const AllocationProbe &) = delete;

    [[nodiscard]] std::size_t largest() const;
};

} // namespace alloctest
