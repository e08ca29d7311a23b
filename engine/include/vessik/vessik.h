#pragma once

// Every public header of the engine, one layer after another; each layer's
// own header (<vessik/world.h>, ...) brings in just that layer.
#include <vessik/core.h>
#include <vessik/world.h>
#include <vessik/display.h>
#include <vessik/resources.h>
#include <vessik/presentation.h>
#include <vessik/services.h>
