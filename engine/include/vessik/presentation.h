#pragma once

// Presentation: view objects and the view event, shapes, particles, fireworks and
// the splash screen.
#include <vessik/presentation/EventView.h>
#include <vessik/presentation/Firework.h>
#include <vessik/presentation/Particle.h>
#include <vessik/presentation/Shape.h>
#include <vessik/presentation/Splash.h>
#include <vessik/presentation/SplashVessik.h>
#include <vessik/presentation/ViewObject.h>
#include <vessik/presentation/ViewObjectLocation.h>
#include <vessik/presentation/particles.h>
