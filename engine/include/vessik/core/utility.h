#pragma once

#include <vessik/presentation/ViewObjectLocation.h>
#include <vessik/resources/Transform.h>
#include <vessik/world/Solidness.h>

#include <ios>
#include <string>

namespace vk {

// Parses `text` as comma-separated key:value entries (whitespace removed) and
// returns the value of the first entry named `key`, or "" when there is none.
// An empty `text` searches the entries of the previous parse.
std::string match(std::string text, std::string key);

// 0 if the stream is good; otherwise logs why, naming `where`, and returns -1.
int checkStream(const char *where, const std::ios &stream);

std::string toString(Solidness solidness);
std::string toString(Transform transform);
std::string toString(ViewObjectLocation location);
std::string toString(int value);
std::string toString(float value);

// True when min <= value <= max.
[[nodiscard]] bool valueInRange(float value, float min, float max) noexcept;

} // namespace vk
