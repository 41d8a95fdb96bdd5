#include "game/shared_maps.h"

#include <memory>
#include <vector>

#include "maps/xmap.h"
#include "shell/toolbox.h"
#include "world/pack_reader.h"
#include "world/pack_ways.h"
#include "world/pack_writer.h"

namespace {

bool SameMap(const TXMap& A, const TXMap& B) {
  return A.Width == B.Width && A.Height == B.Height && A.LogicalTiles == B.LogicalTiles && A.MapName == B.MapName &&
         A.Author == B.Author;
}

}  // namespace

int KeepSharedMap(const TXMap& Map, const std::string& Way, std::string& Error, const std::string& File) {
  TStoredPack Pack;
  Pack.Name = kSharedPackName;
  Pack.Author = kSharedPackAuthor;
  // A pack the player has that cannot be read is theirs to mend: it is
  // never written over.
  if (VXToolbox::FileExists(File) && !ReadStoredPack(File, Pack, Error)) {
    Error = "the pack " + File + " cannot be read: " + Error;
    return -1;
  }
  size_t At = 0;
  while (At < Pack.Maps.size() && !SameMap(*Pack.Maps[At], Map)) ++At;
  const bool Known = At < Pack.Maps.size();
  // Map numbers in the file run on from 1 once it is written: the ways
  // carried go by those numbers.
  const int Number = static_cast<int>(At) + 1;
  const bool NewWay = !Way.empty() && CarriedWay(Pack.Extras, Number).empty();
  if (Known && !NewWay) return static_cast<int>(At);
  if (!Known && static_cast<int>(Pack.Maps.size()) >= kMaxPackMaps) {
    Error = "the pack " + File + " is full (" + std::to_string(kMaxPackMaps) + " maps)";
    return -1;
  }
  std::vector<std::shared_ptr<const TXMap>> Maps(Pack.Maps.begin(), Pack.Maps.end());
  if (!Known) {
    auto Added = std::make_shared<TXMap>(Map);
    Added->Tiles = Added->LogicalTiles;
    Added->LogicalWraps.clear();
    Maps.push_back(std::move(Added));
  }
  if (NewWay) Pack.Extras.push_back(WayMember(Number, Way));
  if (!WritePack(File, Pack.Name, Pack.Author, Maps, Pack.Extras, Error)) {
    Error = "the pack " + File + " cannot be written: " + Error;
    return -1;
  }
  return static_cast<int>(At);
}
