// What the X11 window side tells the X11 desktop port about the keyboard: an ESC press that
// reached the window. The keymap query alone misses a press and release that both fall between
// two queries; the window's own key events do not.
#pragma once

// True when the window saw an ESC press since the previous call; clears the latch.
bool FbwTakeEscapePress();
