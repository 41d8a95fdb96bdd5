#pragma once
// Share codes: one map (its name, author and cells) with a way through it,
// or a player's run of a map, as a short text that fits in a link and a chat
// message. A code is its version character, then the URL-safe base64 of the
// deflated contents followed by their CRC-32: a code cut short or with a
// character changed is refused, never read as another map.
//
// The keys of a way or a run are a key script as the run store keeps it:
// one of 'U', 'D', 'L', 'R' (that arrow held) or '.' (none) per step.
#include <cstddef>
#include <string>
#include <string_view>

#include "maps/xmap.h"

enum class TShareKind { Map, Run };

struct TShareCode {
  TShareKind Kind = TShareKind::Map;
  // The map as the game plays it: its cells (wraps already applied, none
  // left), name and author.
  TXMap Map;
  // A map: the way through it, "" when none is known. A run: its keys.
  std::string Keys;
  // A run: whose run it is.
  std::string Player;
};

// The version character every code begins with.
inline constexpr char kShareCodeVersion = '1';
// The longest way or run a code carries (about two hours of play).
inline constexpr size_t kMaxShareSteps = 65535;
// Names, authors and players: at most this many bytes, no control characters.
inline constexpr size_t kMaxShareName = 255;
// The largest width or height of a shared map.
inline constexpr int kMaxShareSide = 255;

// The code for Code; "" with Error set when it cannot be shared (an empty or
// too large map, a cell above 255, a name too long or with a control
// character, a run without keys, a key outside the script's five).
std::string EncodeShareCode(const TShareCode& Code, std::string& Error);

// Reads Text (white space around it ignored); false with Error set, a
// sentence for the player, when it is no sound code of this version. Code
// is changed only on success.
bool DecodeShareCode(std::string_view Text, TShareCode& Code, std::string& Error);

// The code inside a link ("...#map=CODE", "...#run=CODE") or Text itself
// when it holds no such part.
std::string_view ShareCodeOfLink(std::string_view Text);
