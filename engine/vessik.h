#pragma once

// Every public header of the engine.
#include "Clock.h"
#include "Color.h"
#include "Config.h"
#include "Event.h"
#include "EventStep.h"
#include "GameManager.h"
#include "LogManager.h"
#include "Manager.h"
#include "Object.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "Platform.h"
#include "Solidness.h"
#include "Transform.h"
#include "ViewObjectLocation.h"
#include "utility.h"
