#pragma once

#include <vessik/export.h>

#include <vessik/presentation/ViewObjectLocation.h>
#include <vessik/resources/Transform.h>
#include <vessik/world/Solidness.h>

#include <ios>
#include <string>

namespace vk {

// Parses `text` as comma-separated key:value entries (whitespace removed) and
// returns the value of the first entry named `key`, or "" when there is none.
// An empty `text` searches the entries of the previous parse.
VK_API std::string match(std::string text, std::string key);

// 0 if the stream is good; otherwise logs why, naming `where`, and returns -1.
VK_API int checkStream(const char *where, const std::ios &stream);

VK_API std::string toString(Solidness solidness);
VK_API std::string toString(Transform transform);
VK_API std::string toString(ViewObjectLocation location);
VK_API std::string toString(int value);
VK_API std::string toString(float value);

// True when min <= value <= max.
[[nodiscard]] VK_API bool valueInRange(float value, float min, float max) noexcept;

} // namespace vk
