#include <vessik/presentation/particles.h>

#include <vessik/core/LogManager.h>
#include <vessik/presentation/Firework.h>
#include <vessik/presentation/Particle.h>

#include <cstdlib>
#include <new>

namespace vk {

namespace {

// A random number in [0, 1]. Dividing by the generator's own maximum keeps
// the range where the generator's maximum is larger than 32767.
float randomFraction() { return static_cast<float>(std::rand() / static_cast<double>(RAND_MAX)); }

// `value` moved by a random amount in [-spread/2, spread/2].
float spreadAround(float value, float spread) { return value + randomFraction() * spread - spread * 0.5f; }

unsigned char clampByte(int value) {
    if (value < 0)
        return 0;
    if (value > 255)
        return 255;
    return static_cast<unsigned char>(value);
}

struct EffectParameters {
    int count = 0;
    int count_spread = 0;
    float position_spread = 0;
    Vector direction;
    float direction_spread = 0;
    float size = 0;
    float size_spread = 0;
    float speed = 0;
    float speed_spread = 0;
    int age = 0;
    int age_spread = 0;
    unsigned char opacity = 0;
    unsigned char opacity_spread = 0;
    unsigned char r = 0;
    unsigned char g = 0;
    unsigned char b = 0;
    unsigned char color_spread = 0;
    int kind = PLAIN_PARTICLE;
};

EffectParameters effectParameters(ParticleEffect effect, float s) {
    EffectParameters p;
    switch (effect) {
    case SMOKE:
        p.count = static_cast<int>(s * 20);
        p.direction = Vector(0, -1);
        p.direction_spread = s * 0.3f * 0.5f;
        p.size = s * 5 / 1.5f;
        p.size_spread = s * 0.15f;
        p.speed = 0.2f;
        p.speed_spread = 0.05f;
        p.age = static_cast<int>(s * 20);
        p.age_spread = static_cast<int>(s * 5);
        p.opacity = 128;
        p.opacity_spread = 50;
        p.r = p.g = p.b = 128;
        p.color_spread = 50;
        break;
    case SPARKS:
        p.count = static_cast<int>(s * 50);
        p.count_spread = static_cast<int>(s * 20);
        p.size = s * 1.5f;
        p.speed = (s * 0.25f + 1) * 0.08f;
        p.speed_spread = p.speed;
        p.age = static_cast<int>(s * 15);
        p.age_spread = static_cast<int>(s * 15);
        p.opacity = 255;
        p.opacity_spread = 75;
        p.r = 255;
        p.g = 69;
        p.b = 0;
        break;
    case RING:
        p.count = static_cast<int>(s * 50);
        p.size = s * 2.5f;
        p.speed = (s * 0.25f + 1) * 0.08f;
        p.age = static_cast<int>(s * 10);
        p.opacity = 255;
        p.opacity_spread = 75;
        p.r = 255;
        p.g = 20;
        p.b = 147;
        break;
    case FIREWORKS:
        p.count = static_cast<int>(s * 4);
        p.count_spread = static_cast<int>(s * 5);
        p.direction = Vector(0, -1);
        p.direction_spread = 1.5f;
        p.size = s + s;
        p.speed = (s / 3 + 1) * 0.1f;
        p.speed_spread = p.speed;
        p.age = static_cast<int>(s * 20);
        p.age_spread = static_cast<int>(s * 20);
        p.opacity = 255;
        p.opacity_spread = 75;
        p.r = 255;
        p.g = 69;
        p.b = 0;
        p.color_spread = 255;
        p.kind = FIREWORK_PARTICLE;
        break;
    default:
        break; // no particles
    }
    return p;
}

} // namespace

int addParticles(int count, int /*count_spread*/, Vector position, float position_spread, Vector direction,
                 float direction_spread, float size, float size_spread, float speed, float speed_spread, int age,
                 int age_spread, unsigned char opacity, unsigned char opacity_spread, unsigned char r,
                 unsigned char g, unsigned char b, unsigned char color_spread, int kind) {
    LogManager &log = LogManager::getInstance();
    // the spread counts on 8 bits as a signed byte: the wrap-around of the
    // opacity is part of the look
    const int signed_opacity_spread = static_cast<signed char>(opacity_spread);

    for (int i = 0; i < count; i++) {
        unsigned char p_opacity = opacity;
        if (opacity_spread != 0)
            p_opacity = static_cast<unsigned char>(opacity + std::rand() % signed_opacity_spread -
                                                   signed_opacity_spread / 2);

        int p_age = age;
        if (age_spread != 0)
            p_age = age + std::rand() % age_spread - age_spread / 2;

        float p_size = size;
        if (size_spread != 0)
            p_size = spreadAround(size, size_spread);

        unsigned char p_r = r;
        unsigned char p_g = g;
        unsigned char p_b = b;
        if (color_spread != 0) {
            const int offset = std::rand() % color_spread - color_spread / 2;
            if (p_r != 0)
                p_r = clampByte(p_r + offset);
            if (p_g != 0)
                p_g = clampByte(p_g + offset);
            if (p_b != 0)
                p_b = clampByte(p_b + offset);
        }

        Particle *p_particle = nullptr;
        if (kind == PLAIN_PARTICLE) {
            p_particle = new (std::nothrow) Particle(p_size, p_age, p_opacity, p_r, p_g, p_b);
        } else if (kind == FIREWORK_PARTICLE) {
            p_particle = new (std::nothrow) Firework(p_size, p_age, p_opacity, p_r, p_g, p_b);
        } else {
            log.writeLog("addParticles(): Type %d not defined.", kind);
            return -1;
        }
        if (!p_particle) {
            log.writeLog("addParticles(): Error!  Unable to create new Particle!");
            return -1;
        }

        Vector p_direction = direction;
        if (direction.isZero()) {
            // first call minus second, x before y
            const int x1 = std::rand();
            const int x2 = std::rand();
            const int y1 = std::rand();
            const int y2 = std::rand();
            p_direction = Vector(static_cast<float>((x1 - x2) / static_cast<double>(RAND_MAX)),
                                 static_cast<float>((y1 - y2) / static_cast<double>(RAND_MAX)));
        } else if (direction_spread != 0) {
            const float x = spreadAround(direction.getX(), direction_spread);
            const float y = spreadAround(direction.getY(), direction_spread);
            p_direction = Vector(x, y);
        }

        p_direction.normalize();
        const float p_speed = speed_spread != 0 ? spreadAround(speed, speed_spread) : speed;
        p_direction.scale(p_speed);

        Vector p_position = position;
        if (position_spread != 0) {
            const float x = spreadAround(position.getX(), position_spread);
            const float y = spreadAround(position.getY(), position_spread);
            p_position = Vector(x, y);
        }

        p_particle->setPosition(p_position);
        p_particle->setVelocity(p_direction);
    }
    return 0;
}

int addParticleEffect(ParticleEffect effect, Vector position, float scale, Color color) {
    EffectParameters p = effectParameters(effect, scale);
    // leaves the effect's own colour for CUSTOM and unknown colours
    colorToRGB(color, p.r, p.g, p.b);
    return addParticles(p.count, p.count_spread, position, p.position_spread, p.direction, p.direction_spread,
                        p.size, p.size_spread, p.speed, p.speed_spread, p.age, p.age_spread, p.opacity,
                        p.opacity_spread, p.r, p.g, p.b, p.color_spread, p.kind);
}

} // namespace vk
