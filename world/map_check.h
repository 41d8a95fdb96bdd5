#pragma once
// What makes a map of a pack unplayable, as sqtool pack check reports it and
// the editor's status line warns of it: the size, the elves, the exits, the
// blocks no image would show, a member that could not be read.
#include <string>

class TMaps;
class TXMap;

struct TMapCheck {
  bool SizeOk = false;
  int Elves = 0;
  int Exits = 0;
  int Diamonds = 0;
  std::string Missing;  // block characters without an image
  std::string Error;    // why the member could not be read; empty when it was

  bool Ok() const { return SizeOk && Elves == 1 && Exits >= 1 && Missing.empty() && Error.empty(); }
  // The first thing wrong, in words ("no elf", "no exit", "more than one
  // elf", "no image for X", the size, the read error); empty when Ok.
  std::string Problem() const;
};

// Checks Map against the block images in use (loaded with Pack) and Pack's
// numbered looks.
TMapCheck CheckMap(const TMaps& Pack, const TXMap& Map);

// The block characters of Map that no image would show.
std::string MissingImages(const TMaps& Pack, const TXMap& Map);
int CountTiles(const TXMap& Map, int Code);
