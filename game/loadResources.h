#pragma once

// Loads the game's sprites, sounds and music under the labels the game looks
// them up by, from sprites/ and sounds/ under the working directory. A file
// that fails to load is reported in the log and its label stays unknown: what
// would use it then goes without a picture or a sound.
void loadResources();
