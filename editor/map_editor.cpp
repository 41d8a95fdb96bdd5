#include "editor/map_editor.h"

#include <algorithm>

#include "maps/xmap.h"
#include "world/maps.h"

TMapEditor::TMapEditor() {
  FState.Maps.push_back(EmptyMap());
  FState.Ids.push_back(FNextId++);
  FSaved = FState;
}

TMapEditor::TMapEditor(const TMaps& Pack) { Start(Pack.PackName, Pack.PackAuthor, Pack.Maps); }

TMapEditor::TMapEditor(const TStoredPack& Pack) : FFileGap(Pack.FirstGap()) {
  Start(Pack.Name, Pack.Author, Pack.Maps);
}

void TMapEditor::Start(std::string Name, std::string Author, const std::vector<std::shared_ptr<TXMap>>& Maps) {
  FState.Name = std::move(Name);
  FState.Author = std::move(Author);
  for (const auto& M : Maps) {
    FState.Maps.push_back(std::make_shared<const TXMap>(*M));
    FState.Ids.push_back(FNextId++);
  }
  if (FState.Maps.empty()) {
    FState.Maps.push_back(EmptyMap());
    FState.Ids.push_back(FNextId++);
  }
  FSaved = FState;
}

std::shared_ptr<TXMap> TMapEditor::EmptyMap() {
  auto Map = std::make_shared<TXMap>();
  Map->SetSize(TMaps::kCols, TMaps::kRows);
  std::fill(Map->Tiles.begin(), Map->Tiles.end(), Tile::Empty);
  Map->ApplyLogicalWraps();
  return Map;
}

void TMapEditor::SetCurrent(int MapNo) { FCurrent = std::clamp(MapNo, 0, MapCount() - 1); }

int32_t TMapEditor::TileAt(int X, int Y) const { return CurrentMap().GetTile(X, Y); }

void TMapEditor::Remember() {
  FRedo.clear();
  if (FInStroke && FStrokeRemembered) return;
  FState.Current = FCurrent;
  FUndo.push_back(FState);
  FStrokeRemembered = FInStroke;
}

std::shared_ptr<TXMap> TMapEditor::EditableCurrent() const {
  auto Map = std::make_shared<TXMap>(CurrentMap());
  // A map member that could not be read (or one of another size) becomes a
  // whole field the moment it is edited; what it held stays in place.
  if (Map->Width != TMaps::kCols || Map->Height != TMaps::kRows) {
    auto Field = EmptyMap();
    for (int Y = 0; Y < std::min(Map->Height, TMaps::kRows); ++Y)
      for (int X = 0; X < std::min(Map->Width, TMaps::kCols); ++X)
        Field->Tiles[static_cast<size_t>(Y * TMaps::kCols + X)] = Map->GetTile(X, Y);
    Field->MapName = Map->MapName;
    Field->Author = Map->Author;
    Field->GameName = Map->GameName;
    Field->Extra = Map->Extra;
    Map = Field;
  }
  Map->Status = "OK";
  return Map;
}

void TMapEditor::Replace(std::shared_ptr<TXMap> Map) {
  Map->ApplyLogicalWraps();
  FState.Maps[static_cast<size_t>(FCurrent)] = std::move(Map);
}

bool TMapEditor::Paint(int X, int Y, int32_t Code) {
  if (!IsTile(Code) || X < 0 || X >= TMaps::kCols || Y < 0 || Y >= TMaps::kRows) return false;
  const TXMap& Old = CurrentMap();
  const bool Whole = Old.Width == TMaps::kCols && Old.Height == TMaps::kRows && Old.Status == "OK";
  if (Whole && Old.GetTile(X, Y) == Code) return false;
  auto Map = EditableCurrent();
  if (Code == Tile::Elf)
    for (int32_t& T : Map->Tiles)
      if (T == Tile::Elf) T = Tile::Empty;
  Map->Tiles[static_cast<size_t>(Y * TMaps::kCols + X)] = Code;
  Remember();
  Replace(std::move(Map));
  return true;
}

bool TMapEditor::ClearCell(int X, int Y) { return Paint(X, Y, Tile::Empty); }

void TMapEditor::AddMap() {
  Remember();
  const auto At = static_cast<std::ptrdiff_t>(FCurrent) + 1;
  FState.Maps.insert(FState.Maps.begin() + At, EmptyMap());
  FState.Ids.insert(FState.Ids.begin() + At, FNextId++);
  FCurrent = static_cast<int>(At);
}

void TMapEditor::DeleteMap() {
  Remember();
  const auto At = static_cast<std::ptrdiff_t>(FCurrent);
  FState.Maps.erase(FState.Maps.begin() + At);
  FState.Ids.erase(FState.Ids.begin() + At);
  if (FState.Maps.empty()) {
    FState.Maps.push_back(EmptyMap());
    FState.Ids.push_back(FNextId++);
  }
  SetCurrent(FCurrent);
}

bool TMapEditor::MoveMap(int Delta) {
  const int To = FCurrent + Delta;
  if (Delta == 0 || To < 0 || To >= MapCount()) return false;
  Remember();
  auto& M = FState.Maps;
  auto& I = FState.Ids;
  // Rotating the range keeps the maps between in their order.
  if (To > FCurrent) {
    std::rotate(M.begin() + FCurrent, M.begin() + FCurrent + 1, M.begin() + To + 1);
    std::rotate(I.begin() + FCurrent, I.begin() + FCurrent + 1, I.begin() + To + 1);
  } else {
    std::rotate(M.begin() + To, M.begin() + FCurrent, M.begin() + FCurrent + 1);
    std::rotate(I.begin() + To, I.begin() + FCurrent, I.begin() + FCurrent + 1);
  }
  FCurrent = To;
  return true;
}

bool TMapEditor::SetText(std::string TState::*Field, const std::string& Value) {
  if (FState.*Field == Value) return false;
  Remember();
  FState.*Field = Value;
  return true;
}

bool TMapEditor::SetMapText(std::string TXMap::*Field, const std::string& Value) {
  // An empty name is stored as the map format's "Unknown".
  const std::string Stored = Value.empty() ? "Unknown" : Value;
  if (CurrentMap().*Field == Stored) return false;
  auto Map = EditableCurrent();
  (*Map).*Field = Stored;
  Remember();
  Replace(std::move(Map));
  return true;
}

bool TMapEditor::SetMapName(const std::string& Name) { return SetMapText(&TXMap::MapName, Name); }
bool TMapEditor::SetMapAuthor(const std::string& Author) { return SetMapText(&TXMap::Author, Author); }
bool TMapEditor::SetPackName(const std::string& Name) { return SetText(&TState::Name, Name); }
bool TMapEditor::SetPackAuthor(const std::string& Author) { return SetText(&TState::Author, Author); }

void TMapEditor::BeginStroke() {
  FInStroke = true;
  FStrokeRemembered = false;
}

void TMapEditor::EndStroke() { FInStroke = false; }

bool TMapEditor::Undo() {
  if (FUndo.empty()) return false;
  FState.Current = FCurrent;
  FRedo.push_back(std::move(FState));
  FState = std::move(FUndo.back());
  FUndo.pop_back();
  SetCurrent(FState.Current);
  FStrokeRemembered = false;
  return true;
}

bool TMapEditor::Redo() {
  if (FRedo.empty()) return false;
  FState.Current = FCurrent;
  FUndo.push_back(std::move(FState));
  FState = std::move(FRedo.back());
  FRedo.pop_back();
  SetCurrent(FState.Current);
  return true;
}

bool TMapEditor::Modified() const {
  return FState.Name != FSaved.Name || FState.Author != FSaved.Author || FState.Maps != FSaved.Maps;
}

bool TMapEditor::Renumbered() const { return FState.Ids != FSaved.Ids || FFileGap != 0; }

bool TMapEditor::Save(const std::string& FileName, const std::vector<TPackMember>& Extras, std::string& Error,
                      std::string* Cause) {
  if (!WritePack(FileName, FState.Name, FState.Author, FState.Maps, Extras, Error, Cause)) return false;
  FSaved = FState;
  FFileGap = 0;
  return true;
}

void TMapEditor::FillWorld(TMaps& World) const {
  World.Maps.clear();
  for (const auto& M : FState.Maps) World.Maps.push_back(std::make_shared<TXMap>(*M));
  World.PackName = FState.Name;
  World.PackAuthor = FState.Author;
}
