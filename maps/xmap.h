#pragma once
// The XMAP family of map files: MAPT (text, one character per tile), MAPX
// (text, four hexadecimal digits per tile), MAPB (binary, one byte per tile)
// and MAPW (binary, two bytes per tile).
#include <string>

#include "maps/tile_map.h"
#include "shell/stream.h"
#include "shell/toolbox.h"  // EConvertError

class TXMap : public TTileMap {
 public:
  static constexpr const char* kVersion = "XMapUnit, version 1.0";
  // The largest width or height a map file may give.
  static constexpr int32_t kMaxSide = 1024;

  // Reads a map from the stream's position. Bad input never throws except a
  // non-numeric number ("WI", "HE", "LW") or a bad hexadecimal cell, which
  // raise EConvertError after emptying the map; Status tells what went wrong.
  virtual void Load(TVXStreamBase& Stream);
  // Opens the name through the stream opener; a name found nowhere leaves
  // the map as it was.
  virtual void LoadFromFile(const std::string& FileName);
  // Mode (any case): 'A' automatic (MAPB, or MAPW for tile IDs above 255),
  // 'B', 'T', 'W', 'X'. Falls back to a format that can hold the map when the
  // chosen one cannot. Returns the format letter written.
  virtual char Save(TVXStreamBase& Stream, char Mode);
  // Creates (truncating) the file; raises std::runtime_error when it cannot.
  virtual char SaveToFile(const std::string& FileName, char Mode);

  // The format letter Save would write for Mode, with its warnings.
  char ChooseMode(char Mode) const;

  // "OK", or why the last load went wrong.
  std::string Status = "OK";

 private:
  void LoadBinary(TVXStreamBase& Stream, bool Wide);
  void LoadText(TVXStreamBase& Stream, bool Hex);
  std::string SaveBinary(bool Wide) const;
  std::string SaveText(bool Hex) const;
};
