#pragma once

#include <vessik/export.h>

#include <vessik/world/Grid.h>
#include <vessik/world/Object.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/OrderedObjectSet.h>
#include <vessik/world/Solidness.h>
#include <vessik/world/Vector.h>

#include <map>
#include <string>

namespace vk {

// The world manager's indexes of its objects: every active object, the
// active solid ones, the active visible ones by altitude, the inactive ones,
// the active ones by type, and the grid of the active solid ones.
//
// An object is either active or inactive; an inactive object is in no index
// but the inactive list. Objects call the update operations from their
// setters while they still hold the old value, so the indexes follow every
// change. Each index keeps the order in which objects entered it (drawing
// within an altitude follows it) and hands out copies. Indexes hold
// non-owning pointers. Once the game is over, a missing entry found during an
// update or a removal is accepted silently.
class VK_API SceneGraph {
  public:
    SceneGraph() = default;
    SceneGraph(const SceneGraph &) = delete;
    SceneGraph &operator=(const SceneGraph &) = delete;

    // Clears the type map and starts the grid for the world manager's current
    // boundary; objects already listed are entered again in the type map and,
    // when solid, in the new grid. 0 or -1.
    int startUp();
    // Clears the type map and frees the grid; the object lists stay.
    void shutDown();

    int insertObject(Object *p_o);
    int removeObject(Object *p_o);

    [[nodiscard]] ObjectList activeObjects() const;
    [[nodiscard]] ObjectList inactiveObjects() const;
    [[nodiscard]] ObjectList solidObjects() const;
    // Empty, with a warning, for an altitude outside 0 to MAX_ALTITUDE.
    [[nodiscard]] ObjectList visibleObjects(int altitude) const;
    [[nodiscard]] ObjectList objectsOfType(std::string type);
    [[nodiscard]] ObjectList getCollisions(const Object *p_o, Vector where) const;
    [[nodiscard]] const Grid &getGrid() const noexcept { return m_grid; }

    int updateActive(Object *p_o, bool active);
    int updateVisible(Object *p_o, bool visible);
    int updateAltitude(Object *p_o, int altitude);
    int updateSolidness(Object *p_o, Solidness solidness);
    int updateType(Object *p_o, const std::string &type);
    int updatePosition(Object *p_o, Vector where);

  private:
    OrderedObjectSet m_objects;
    OrderedObjectSet m_solid_objects;
    OrderedObjectSet m_visible_objects[MAX_ALTITUDE + 1];
    OrderedObjectSet m_inactive_objects;
    std::map<std::string, OrderedObjectSet> m_type_map;
    Grid m_grid;
};

} // namespace vk
