#pragma once

// What the engine's shared library exports: the classes and functions of the
// public headers. The library is built with hidden visibility, so everything
// else (the platform and socket layers, file-local helpers) stays inside it.
// In a static build the mark changes nothing.
#define VK_API __attribute__((visibility("default")))
