#pragma once

// Every public header of the game.
#include "Countdown.h"
