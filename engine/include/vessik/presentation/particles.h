#pragma once

#include <vessik/export.h>

#include <vessik/display/Color.h>
#include <vessik/world/Vector.h>

namespace vk {

// The named effects of addParticleEffect.
enum ParticleEffect : int {
    SMOKE = 0,
    SPARKS,
    RING,
    FIREWORKS,
};

// The kinds of particle addParticles makes.
inline constexpr int PLAIN_PARTICLE = 0;
inline constexpr int FIREWORK_PARTICLE = 1;

// Creates a burst of `count` particles (fireworks when `kind` is 1), each
// randomised around the centre values by the spreads: the opacity wraps
// around on 8 bits, the colour offset is clamped to 0..255 and leaves zero
// components alone, and a direction of (0,0) means a random one. The order of
// the rand() calls is fixed, so a seeded generator gives the same burst.
// `count_spread` is accepted and not used. 0 when all particles were made
// (also for a count below 1); -1 for an unknown kind or a failed creation,
// leaving the particles made so far.
VK_API int addParticles(int count, int count_spread, Vector position, float position_spread, Vector direction,
                 float direction_spread, float size, float size_spread, float speed, float speed_spread, int age,
                 int age_spread, unsigned char opacity, unsigned char opacity_spread, unsigned char r,
                 unsigned char g, unsigned char b, unsigned char color_spread, int kind = PLAIN_PARTICLE);

// One of the four effects at a position, scaled by `scale`, in one of the
// eight named colours; CUSTOM (and any unknown colour) keeps the effect's own.
// An unknown effect creates nothing.
VK_API int addParticleEffect(ParticleEffect effect, Vector position, float scale, Color color = CUSTOM);

} // namespace vk
