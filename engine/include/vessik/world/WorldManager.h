#pragma once

#include <vessik/export.h>

#include <vessik/core/Manager.h>
#include <vessik/world/Box.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/OrderedObjectSet.h>
#include <vessik/world/SceneGraph.h>
#include <vessik/world/Vector.h>

#include <string>

namespace vk {

class Object;

// Owns every game object: keeps them in its scene graph, moves them once per
// step with collisions and out-of-world events, deletes the ones marked for
// deletion at the end of the step, and draws the visible ones layer by layer
// inside the view. Game-defined events (any name no other manager serves) are
// registered and delivered here.
class VK_API WorldManager : public Manager {
  public:
    static WorldManager &getInstance();

    // Starts with an empty world: boundary, view and view slack zero, no view
    // following. -1 when already started or the scene graph cannot start.
    int startUp() override;
    // Deletes every object, then frees the indexes.
    void shutDown() override;

    // False, with a log line, for the events other managers serve and for
    // collision and out-of-world events, which go straight to the objects.
    [[nodiscard]] bool isValid(std::string event_type) const override;

    // Called by the object's constructor and destructor.
    int insertObject(Object *p_o);
    int removeObject(Object *p_o);

    // Copies: the active objects, followed by the inactive ones on request.
    [[nodiscard]] ObjectList getAllObjects(bool inactive = false) const;
    [[nodiscard]] ObjectList objectsOfType(std::string type);
    // The solid objects, other than `p_o`, that its box placed at `where`
    // intersects.
    [[nodiscard]] ObjectList getCollisions(const Object *p_o, Vector where) const;

    // The object is deleted at the end of the current update; marking it
    // again changes nothing. -1 for an object the world refused.
    int markForDelete(Object *p_o);

    // Moves the object to `where` unless a collision blocks it: 0 when it
    // moved, -1 when it did not. Sends collision events to both objects of
    // every collision and an out event when the object leaves the boundary.
    int moveObject(Object *p_o, Vector where);

    // One step: moves the active objects by their velocities, steers the
    // ones that follow a path, applies their accelerations and deletes the
    // marked objects.
    void update();
    // Draws the visible objects in the view, altitude 0 first.
    void draw();

    [[nodiscard]] Box getBoundary() const noexcept { return m_boundary; }
    // A new boundary rebuilds the grid. -1 for negative or non-finite extents.
    int setBoundary(Box boundary);
    [[nodiscard]] Box getView() const noexcept { return m_view; }
    // -1 for negative or non-finite extents.
    int setView(Box view);
    // Centres the view on `centre`, kept inside the boundary.
    int setViewPosition(Vector centre);
    // The part of the view, per axis from 0 to 1, in which the followed
    // object moves without the view following it.
    int setViewSlack(Vector slack);
    [[nodiscard]] Vector getViewSlack() const noexcept { return m_view_slack; }
    // The view keeps this object in its slack zone whenever it moves; null
    // stops following. Deleting the object stops it too. -1 for an object
    // the world refused.
    int setViewFollowing(Object *p_o);
    [[nodiscard]] Object *getViewFollowing() const noexcept { return m_p_view_following; }

    [[nodiscard]] SceneGraph &getSceneGraph() noexcept { return m_scene_graph; }

  private:
    WorldManager();
    void followWithView(const Object *p_o);

    SceneGraph m_scene_graph;
    OrderedObjectSet m_deletions;
    Object *m_p_view_following = nullptr;
    Box m_boundary;
    Box m_view;
    Vector m_view_slack;
};

} // namespace vk
