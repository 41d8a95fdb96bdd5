// Reading the four XMAP formats.
#include <stdexcept>

#include "config/str_to_int.h"
#include "maps/xmap.h"
#include "shell/logger.h"
#include "shell/toolbox.h"
#include "storage/stream_opener.h"

namespace {

constexpr const char* kLoadHeading = "XMapUnit, TXMap.Load";

// Allocates both grids for the current size, keeping the names and lines
// read so far.
void AllocateCells(TTileMap& Map) {
  const size_t Cells = static_cast<size_t>(Map.Width) * static_cast<size_t>(Map.Height);
  Map.Tiles.assign(Cells, 0);
  Map.LogicalTiles.assign(Cells, 0);
}

}  // namespace

void TXMap::LoadFromFile(const std::string& FileName) {
  Log->Debug("FileName=" + FileName, kLoadHeading);
  if (!StreamOpener) return;
  TVXStreamPtr Stream;
  try {
    Stream = StreamOpener->OpenStream(FileName);
  } catch (const EOpenStream&) {
    return;  // the opener has logged it; the map stays as it was
  }
  Load(*Stream);
}

void TXMap::Load(TVXStreamBase& Stream) {
  Status = "OK";
  Clear();
  char Magic[4] = {0, 0, 0, 0};
  const size_t Got = Stream.Read(Magic, 4);
  Log->Debug("First 4 char: '" + std::string(Magic, Got) + "'", kLoadHeading);
  if (Got < 3 || std::string_view(Magic, 3) != "MAP") {
    Status = "Not an XMAP file!";
    return;
  }
  const std::string Letter(Magic + 3, Got - 3);
  try {
    if (Letter == "B") {
      LoadBinary(Stream, false);
    } else if (Letter == "W") {
      LoadBinary(Stream, true);
    } else if (Letter == "T") {
      LoadText(Stream, false);
    } else if (Letter == "X") {
      LoadText(Stream, true);
    } else if (Letter == "P" || Letter == "Q" || Letter == "C") {
      Log->Warning("The MAP" + Letter + " and other compressed formats are no longer supported.", kLoadHeading);
    } else {
      Log->Warning("XMAP.Load: Unknown DFS byte! (" + Letter + ")", kLoadHeading);
    }
  } catch (const std::exception& E) {
    // No half-read map survives a conversion error.
    Clear();
    Status = E.what();
    throw;
  }
}

void TXMap::LoadBinary(TVXStreamBase& Stream, bool Wide) {
  const auto Truncated = [&] {
    Log->Warning(std::string("Unexpected end of ") + (Wide ? "MAPW" : "MAPB") + " data.", kLoadHeading);
    Clear();
    Status = "Unexpected end of file!";
  };
  const auto ReadValue = [&](uint32_t& Value) {
    if (Wide) {
      uint16_t V;
      if (!Stream.ReadU16(V)) return false;
      Value = V;
    } else {
      uint8_t V;
      if (!Stream.ReadU8(V)) return false;
      Value = V;
    }
    return true;
  };
  const auto ReadName = [&](std::string& Name) {
    uint8_t N;
    if (!Stream.ReadU8(N)) return false;
    if (N == 0) return true;
    std::string Text(N, '\0');
    if (!Stream.ReadExact(Text.data(), N)) return false;
    Name = std::move(Text);
    return true;
  };

  uint8_t W, H;
  if (!Stream.ReadU8(W) || !Stream.ReadU8(H)) return Truncated();
  SetSize(W, H);
  const size_t Cells = static_cast<size_t>(Width) * static_cast<size_t>(Height);
  std::vector<uint8_t> Bytes(Cells * (Wide ? 2 : 1));
  if (!Stream.ReadExact(Bytes.data(), Bytes.size())) return Truncated();
  for (size_t I = 0; I < Cells; ++I) Tiles[I] = Wide ? Bytes[2 * I] | (Bytes[2 * I + 1] << 8) : Bytes[I];

  if (!ReadName(Author) || !ReadName(MapName) || !ReadName(GameName)) return Truncated();
  uint32_t Count;
  if (!ReadValue(Count)) return Truncated();
  for (uint32_t I = 0; I < Count; ++I) {
    uint32_t From, To;
    if (!ReadValue(From) || !ReadValue(To)) return Truncated();
    AddLogicalWrap(static_cast<int32_t>(From), static_cast<int32_t>(To));
  }
  ApplyLogicalWraps();

  // Extra lines up to a zero length; a stream that simply ends there is fine.
  for (;;) {
    uint8_t N;
    if (!Stream.ReadU8(N) || N == 0) break;
    std::string Line(N, '\0');
    if (!Stream.ReadExact(Line.data(), N)) return Truncated();
    Extra.push_back(std::move(Line));
  }
}

void TXMap::LoadText(TVXStreamBase& Stream, bool Hex) {
  const std::string Format = Hex ? "MAPX" : "MAPT";
  const std::string Heading = "XMapUnit, TXMap.Load" + Format;
  // The rest of the magic line, whether it ends in CR LF or LF alone.
  VXToolbox::ReadLine(Stream);

  const auto SetSide = [&](int32_t& Side, int32_t Other, const std::string& Value, const char* What) {
    const int32_t V = StrToInt32(Value);
    if (V < 1 || V > kMaxSide) {
      Log->Warning(std::string("Map ") + What + " is out of range! (" + Value + ")", Heading);
      Clear();
      Status = std::string("Map ") + What + " is out of range!";
      return false;
    }
    Side = V;
    if (Other != 0) AllocateCells(*this);
    return true;
  };

  int32_t Row = 0;
  bool Ended = false;
  while (!Stream.Eof()) {
    const std::string Line = VXToolbox::ReadLine(Stream);
    const std::string Id = Line.substr(0, 2);
    const std::string Value = Line.size() > 2 ? Line.substr(2) : std::string();
    if (Id == "WI") {
      if (!SetSide(Width, Height, Value, "width")) return;
    } else if (Id == "HE") {
      if (!SetSide(Height, Width, Value, "height")) return;
    } else if (Id == "AU") {
      Author = Value;
    } else if (Id == "GM") {
      GameName = Value;
    } else if (Id == "MN") {
      MapName = Value;
    } else if (Id == "EX") {
      Extra.push_back(Value);
    } else if (Id == "LW") {
      const size_t Group = Hex ? 10 : 4;
      for (size_t P = 0; Value.size() - P >= Group; P += Group) {
        if (Hex) AddLogicalWrap(StrToInt32(Value.substr(P, 5)), StrToInt32(Value.substr(P + 5, 5)));
        else AddLogicalWrap(static_cast<uint8_t>(Value[P]), StrToInt32(Value.substr(P + 1, 3)));
      }
    } else if (Id == "MP") {
      if (Height == 0) {
        Status = "Map height is not specified in file!";
        Log->Warning("Map height is not specified!", Heading);
        Height = 20;
        if (Width != 0) AllocateCells(*this);
      }
      if (Width == 0) {
        Status = "Map width is not specified in file!";
        Log->Warning("Map width is not specified!", Heading);
        Width = 32;
        if (Height != 0) AllocateCells(*this);
      }
      if (Row >= Height) {
        Log->Warning("Too many map lines in " + Format + " mode.", Heading);
        continue;
      }
      int32_t* Cells = Tiles.data() + static_cast<size_t>(Row) * static_cast<size_t>(Width);
      int32_t X = 0;
      if (Hex) {
        const std::string_view Groups = std::string_view(Value).substr(Value.empty() ? 0 : 1);
        for (size_t P = 0; P < Groups.size() && Groups.size() - P > 3 && X < Width; P += 5)
          Cells[X++] = static_cast<int32_t>(VXToolbox::HexToInt(Groups.substr(P, 4)));
      } else {
        for (; X < Width && static_cast<size_t>(X) < Value.size(); ++X) Cells[X] = static_cast<uint8_t>(Value[X]);
      }
      for (; X < Width; ++X) Cells[X] = 32;
      ++Row;
    } else if (Id == "XX") {
      Ended = true;
      break;
    } else {
      Log->Warning("Unknown identifier in " + Format + " mode. (" + Id + ")", Heading);
    }
  }
  if (!Ended) Log->Warning("The map ends without its XX line.", Heading);
  ApplyLogicalWraps();
}
