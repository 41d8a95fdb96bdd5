#pragma once
// Two short lines in the middle of the play screen's foot strip, between
// the diamond counter and the map number, in the small font: the map's name
// above, the step counter and what a hint is doing below. The counters'
// own boxes reach under this one: it is drawn after them.
#include <string>

namespace PlayNotes {

// The box the lines fill; the counters at either side stay clear of it.
inline constexpr int kLeft = 214, kRight = 514, kTop = 437, kBottom = 478;
inline constexpr int kTopLine = 440, kBottomLine = 459;

// Text cut to fit the box's width, ".." marking the cut.
std::string Fit(const std::string& Text);
// Clears the box and draws both lines centred in it.
void Draw(const std::string& Upper, const std::string& Lower);

}  // namespace PlayNotes
