#pragma once
// TMapEditor: a level pack being edited, without a window. Maps are shared,
// unchanging values: a change makes a new map and a new pack state, so every
// earlier state is kept cheaply and undo and redo reach back without limit.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/pack_reader.h"
#include "world/pack_writer.h"

class TMaps;
class TXMap;

class TMapEditor {
 public:
  // A pack of one empty map.
  TMapEditor();
  // The maps, name and author of a loaded pack (Maps is copied, not kept).
  explicit TMapEditor(const TMaps& Pack);
  // The maps, name and author of a pack as its file holds them.
  explicit TMapEditor(const TStoredPack& Pack);

  // A 20x12 map of empty cells.
  static std::shared_ptr<TXMap> EmptyMap();

  int MapCount() const { return static_cast<int>(FState.Maps.size()); }
  int Current() const { return FCurrent; }
  void SetCurrent(int MapNo);
  const TXMap& Map(int MapNo) const { return *FState.Maps[static_cast<size_t>(MapNo)]; }
  const TXMap& CurrentMap() const { return Map(FCurrent); }
  const std::vector<std::shared_ptr<const TXMap>>& Maps() const { return FState.Maps; }
  int32_t TileAt(int X, int Y) const;
  const std::string& PackName() const { return FState.Name; }
  const std::string& PackAuthor() const { return FState.Author; }

  // Each change below is one step of the undo history (a stroke gathers its
  // paints into one); a call that changes nothing leaves no step and
  // returns false.
  // Writes Code at the cell of the current map; the elf moves there (one
  // elf a map). Codes that are no tile are refused.
  bool Paint(int X, int Y, int32_t Code);
  bool ClearCell(int X, int Y);
  // A new empty map after the current one, which it becomes.
  void AddMap();
  // Deletes the current map; the last one left becomes an empty map.
  void DeleteMap();
  // Moves the current map Delta places (it stays current).
  bool MoveMap(int Delta);
  bool SetMapName(const std::string& Name);
  bool SetMapAuthor(const std::string& Author);
  bool SetPackName(const std::string& Name);
  bool SetPackAuthor(const std::string& Author);

  // Paints between these make one undo step (a drag of the mouse).
  void BeginStroke();
  void EndStroke();

  bool CanUndo() const { return !FUndo.empty(); }
  bool CanRedo() const { return !FRedo.empty(); }
  bool Undo();
  bool Redo();

  // Anything differs from the pack as last saved (or loaded).
  bool Modified() const;
  // Maps were added, deleted or moved since: players' progress, kept by map
  // number, now points at other maps. True as well while the file's map
  // numbers have a gap, which a save closes.
  bool Renumbered() const;
  // The map number missing in the file as read (0 when none): the maps
  // after it take the numbers one lower once saved.
  int FileGap() const { return FFileGap; }

  // Writes the pack with Extras (members carried over) through the pack
  // writer; on success the current state counts as saved. Cause as for
  // WritePack.
  bool Save(const std::string& FileName, const std::vector<TPackMember>& Extras, std::string& Error,
            std::string* Cause = nullptr);

  // Puts copies of the maps, name and author into World (to play or solve).
  void FillWorld(TMaps& World) const;

 private:
  struct TState {
    std::string Name, Author;
    std::vector<std::shared_ptr<const TXMap>> Maps;
    // Which map each place holds, to tell a renumbering from an edit.
    std::vector<uint64_t> Ids;
    int Current = 0;
  };
  // Records the state before a change; the redo history ends.
  void Remember();
  void Start(std::string Name, std::string Author, const std::vector<std::shared_ptr<TXMap>>& Maps);
  std::shared_ptr<TXMap> EditableCurrent() const;
  void Replace(std::shared_ptr<TXMap> Map);
  bool SetText(std::string TState::*Field, const std::string& Value);
  bool SetMapText(std::string TXMap::*Field, const std::string& Value);

  TState FState, FSaved;
  std::vector<TState> FUndo, FRedo;
  int FCurrent = 0;
  int FFileGap = 0;
  uint64_t FNextId = 1;
  bool FInStroke = false, FStrokeRemembered = false;
};
