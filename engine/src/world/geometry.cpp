#include <vessik/world/geometry.h>

#include <vessik/core/LogManager.h>
#include <vessik/core/utility.h>
#include <vessik/world/Object.h>
#include <vessik/world/WorldManager.h>

#include <cmath>

namespace vk {

float distance(Vector p1, Vector p2) { return (p1 - p2).getMagnitude(); }

bool boxContainsPosition(Box b, Vector p) {
    const Vector c = b.getCorner();
    return valueInRange(p.getX(), c.getX(), c.getX() + b.getHorizontal()) &&
           valueInRange(p.getY(), c.getY(), c.getY() + b.getVertical());
}

bool boxIntersectsBox(Box a, Box b) {
    const float ax = a.getCorner().getX();
    const float ay = a.getCorner().getY();
    const float bx = b.getCorner().getX();
    const float by = b.getCorner().getY();
    const bool x_overlap =
        valueInRange(ax, bx, bx + b.getHorizontal()) || valueInRange(bx, ax, ax + a.getHorizontal());
    const bool y_overlap = valueInRange(ay, by, by + b.getVertical()) || valueInRange(by, ay, ay + a.getVertical());
    return x_overlap && y_overlap;
}

Box getWorldBox(const Object *p_o) {
    if (!p_o)
        return {};
    return getWorldBox(p_o, p_o->getPosition());
}

Box getWorldBox(const Object *p_o, Vector where) {
    if (!p_o)
        return {};
    Box box = p_o->getBox();
    box.setCorner(box.getCorner() + where);
    return box;
}

Vector worldToView(Vector world_pos) { return world_pos - WorldManager::getInstance().getView().getCorner(); }

Vector viewToWorld(Vector view_pos) { return view_pos + WorldManager::getInstance().getView().getCorner(); }

Vector getNormal(const Object *p_mover, const Object *p_obstacle) {
    if (p_mover && p_obstacle) {
        // bisect along the velocity for the last position free of the obstacle;
        // the scalings of the velocity accumulate from one pass to the next
        Vector velocity = p_mover->getVelocity();
        const Vector position = p_mover->getPosition();
        Vector last_free = position;
        const Box obstacle = getWorldBox(p_obstacle);
        float t = 0.5f;
        float step = 1.0f;
        for (int i = 1; i <= 7; i++) {
            velocity.scale(t);
            const Vector candidate = position + velocity;
            step *= 0.5f;
            if (boxIntersectsBox(getWorldBox(p_mover, candidate), obstacle)) {
                t -= step;
            } else {
                t += step;
                last_free = candidate;
            }
        }

        const Box free_box = getWorldBox(p_mover, last_free);
        const float x = obstacle.getCorner().getX();
        const float y = obstacle.getCorner().getY();
        const float h = obstacle.getHorizontal();
        const float v = obstacle.getVertical();
        struct Side {
            float x, y;
            Vector normal;
        };
        const Side sides[] = {
            {x, y - v, Vector(0, -1)},      {x, y + v, Vector(0, 1)},       {x - h, y, Vector(-1, 0)},
            {x + h, y, Vector(1, 0)},       {x - h, y - v, Vector(-1, -1)}, {x + h, y - v, Vector(1, -1)},
            {x - h, y + v, Vector(-1, 1)},  {x + h, y + v, Vector(1, 1)},
        };
        for (const Side &side : sides)
            if (boxIntersectsBox(Box(Vector(side.x, side.y), h, v), free_box))
                return side.normal;
    }
    LogManager::getInstance().writeLog(1, "getNormal(): No collision detected. Returning (0,0).");
    return {};
}

bool isFinite(Vector v) noexcept { return std::isfinite(v.getX()) && std::isfinite(v.getY()); }

} // namespace vk
