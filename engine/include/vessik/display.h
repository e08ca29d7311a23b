#pragma once

// Display and input: the character-cell window, colours, screen text, and the
// keyboard and mouse with their events.
#include <vessik/display/Color.h>
#include <vessik/display/DisplayManager.h>
#include <vessik/display/EventKeyboard.h>
#include <vessik/display/EventMouse.h>
#include <vessik/display/InputManager.h>
#include <vessik/display/Keyboard.h>
#include <vessik/display/Mouse.h>
#include <vessik/display/ScreenText.h>
#include <vessik/display/TerminalKeys.h>
