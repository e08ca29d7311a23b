#pragma once

// Where the demo the start screen plays is kept, relative to the working
// directory, like the sprites and sounds.
inline constexpr const char *DEMO_FILE = "replays/demo.vkr";

// Plays the demo in place of the start screen: the music muted, "DEMO" in
// the corner, the record checked as it plays. Any key, the end of the demo or
// a frame that differs from the record brings a fresh start screen back.
// False, with the reason in the log, when the demo cannot be played; the
// start screen then stays.
bool startDemo();

// Clears the world and opens a fresh start screen with its music.
void showStartScreen();
