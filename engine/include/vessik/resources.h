#pragma once

// Resources and audio: frames, sprites and animations, the resource manager,
// sounds and music.
#include <vessik/resources/Animation.h>
#include <vessik/resources/Frame.h>
#include <vessik/resources/Music.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/resources/Sound.h>
#include <vessik/resources/Sprite.h>
#include <vessik/resources/Transform.h>
