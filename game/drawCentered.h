#pragma once

#include <vessik/display/Color.h>

#include <string>

// Draws `text` on world row `row`, centred in the world's width: it starts at
// column W / 2 - length / 2 (integer halves). Blanks are skipped rather than
// drawn, so whatever lies beneath shows through them.
void drawCentered(int row, const std::string &text, vk::Color color);

// The same, starting at column `column`: for lines laid out as one block.
void drawFrom(int column, int row, const std::string &text, vk::Color color);

// The column a line of `length` characters starts at when centred in the
// world's width.
[[nodiscard]] int centredColumn(int length);
