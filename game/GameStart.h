#pragma once

// Sets up a run: the speed back to 1 without boost, the speed display, the
// surfer, the first obstacles, the spawner and the score, with the game music.
void startGame();
