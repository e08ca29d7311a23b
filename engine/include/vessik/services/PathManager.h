#pragma once

#include <vessik/export.h>

#include <vessik/core/Manager.h>
#include <vessik/world/Vector.h>

#include <vector>

namespace vk {

class Object;
class PathFind;

// Runs the pending path searches a cell at a time within the time the game
// loop leaves it in each step, and hands each finished search's result to its
// object as a path event ("vk-path"). Serves no event types.
//
// The searches belong to their objects (Object::setPathFind); the manager
// only lists them while they run.
class VK_API PathManager : public Manager {
  public:
    static PathManager &getInstance();
    ~PathManager() override;

    // The smallest budget of a cycle becomes a tenth of the frame time.
    int startUp() override;
    // Forgets the pending searches; their objects still own them.
    void shutDown() override;

    // Starts a search for a way for `p_o` from its cell to the cell of `goal`
    // (whole cells counted from the world boundary's corner, wherever that
    // lies; positions in between are truncated). With `p_target`, the search
    // also ends as soon as the object would touch the target placed at the
    // goal. The object holds the search, dropping one it already had, and
    // receives the result as a path event. -1 when not started, for a null
    // object, or when the world or either cell is unusable.
    int findPath(Object *p_o, Vector goal, Object *p_target = nullptr);

    // Advances the pending searches for at least `time_limit` milliseconds,
    // and never less than the smallest budget, until none is left.
    void cycle(int time_limit);

    // While `expansions` is above 0, each cycle expands that many search
    // nodes at most, whatever the time: a recorded run then finds the same
    // paths in the same steps when it is replayed. 0 goes back to timing.
    void setWorkBudget(int expansions) noexcept { m_work_budget = expansions; }

    // Takes `p` off the list without deleting it. -1 for null or unlisted.
    int remove(PathFind *p);

    [[nodiscard]] int getCycleTime() const noexcept { return m_cycle_time; }
    [[nodiscard]] int getSearchCount() const noexcept { return static_cast<int>(m_searches.size()); }

  private:
    PathManager();

    std::vector<PathFind *> m_searches;
    int m_cycle_time = 0;
    int m_work_budget = 0;
};

} // namespace vk
