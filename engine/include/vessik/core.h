#pragma once

// The engine's core: the manager base with its event interests, the game manager
// and its loop, the clock, the log, the configuration, the text utilities and
// the event base with the step event.
#include <vessik/core/Clock.h>
#include <vessik/core/Config.h>
#include <vessik/core/Event.h>
#include <vessik/core/EventStep.h>
#include <vessik/core/GameManager.h>
#include <vessik/core/LogManager.h>
#include <vessik/core/Manager.h>
#include <vessik/core/Recorder.h>
#include <vessik/core/Recording.h>
#include <vessik/core/utility.h>
