#pragma once

// The world: vectors, boxes and geometry, objects and their lists, the world
// manager with its scene graph and collision grid, and the collision and
// out-of-world events.
#include <vessik/world/Box.h>
#include <vessik/world/EventCollision.h>
#include <vessik/world/EventOut.h>
#include <vessik/world/Grid.h>
#include <vessik/world/GridCell.h>
#include <vessik/world/Object.h>
#include <vessik/world/ObjectList.h>
#include <vessik/world/ObjectListIterator.h>
#include <vessik/world/OrderedObjectSet.h>
#include <vessik/world/SceneGraph.h>
#include <vessik/world/Solidness.h>
#include <vessik/world/Vector.h>
#include <vessik/world/WorldManager.h>
#include <vessik/world/geometry.h>
