#pragma once

// Every public header of the game.
#include "Buoy.h"
#include "Countdown.h"
#include "EventPoint.h"
#include "GameStart.h"
#include "Iceberg.h"
#include "Obstacle.h"
#include "Points.h"
#include "Powerup.h"
#include "Shark.h"
#include "Spawner.h"
#include "SpeedManager.h"
#include "Surfer.h"
#include "SurferFail.h"
#include "Trash.h"
#include "randomBelow.h"
