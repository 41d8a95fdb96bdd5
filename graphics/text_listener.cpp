#include "graphics/text_listener.h"

#include <algorithm>
#include <utility>

namespace {
TTextListener Listener;
int Muted = 0;
}  // namespace

TTextBox TTextBox::Union(const TTextBox& Other) const {
  if (Other.Empty()) return *this;
  if (Empty()) return Other;
  const int L = std::min(X, Other.X), T = std::min(Y, Other.Y);
  return {L, T, std::max(Right(), Other.Right()) - L, std::max(Bottom(), Other.Bottom()) - T};
}

bool TTextBox::Overlaps(const TTextBox& Other) const {
  return !Empty() && !Other.Empty() && X < Other.Right() && Other.X < Right() && Y < Other.Bottom() &&
         Other.Y < Bottom();
}

TTextListener SetTextListener(TTextListener New) { return std::exchange(Listener, std::move(New)); }

bool TextListenerHears() { return Listener && Muted == 0; }

void TellTextListener(std::string_view Text, const TTextBox& Box, const TImage* Target) {
  if (TextListenerHears()) Listener(Text, Box, Target);
}

TTextListenerMute::TTextListenerMute() { ++Muted; }
TTextListenerMute::~TTextListenerMute() { --Muted; }
