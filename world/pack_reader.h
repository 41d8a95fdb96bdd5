#pragma once
// A level pack read as it stands in its file, for whoever writes it back
// (the editor) or vouches for it (sqtool pack check). The game reads a
// pack's maps as resources, so a loose file of a member's name wins and the
// first missing number ends the list; here every member comes from the pack
// itself and every map member counts, whatever its number. What is read here
// is exactly what a save writes back, so nothing the pack holds is lost.
#include <memory>
#include <string>
#include <vector>

#include "world/pack_writer.h"

class TXMap;
class TVXStreamBase;

struct TStoredPack {
  std::string Name, Author;
  // In member-number order; Numbers[I] is the member number of Maps[I]
  // (1 for 001.mpp). A member that cannot be read is an empty map whose
  // Status says why.
  std::vector<std::shared_ptr<TXMap>> Maps;
  std::vector<int> Numbers;
  // Every other member, decoded, in the archive's order.
  std::vector<TPackMember> Extras;

  // The first map number missing below a map member that exists (the game
  // shows no map from there on); 0 when the numbers run 1, 2, 3, ...
  int FirstGap() const;
};

// False with the reason in Error when the file is no level pack, or is
// damaged as a whole (a chunk cut short, no closing record): members it held
// may be missing from the listing, and a rewrite would drop them.
bool ReadStoredPack(const std::string& FileName, TStoredPack& Pack, std::string& Error);

// One map member's content read into a map. Status tells why it is not a
// map read in full: a stream that could not be opened (null), a format this
// program does not read, or the map reader's own reason.
std::shared_ptr<TXMap> ReadMapMember(TVXStreamBase* Stream, const std::string& Member);
