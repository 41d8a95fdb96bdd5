#pragma once
// F12 opens the options screen from the menu screens and the map selection.

// When F12 is held: runs the options screen and returns true; the caller
// then clears what it reads (key states or typed characters), so that the
// key that closed the options does not act again on the screen behind.
bool OptionsOnF12();
