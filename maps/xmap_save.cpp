// Writing the four XMAP formats.
#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "maps/xmap.h"
#include "shell/file_stream.h"
#include "shell/logger.h"
#include "shell/toolbox.h"

namespace {

constexpr const char* kSaveHeading = "XMapUnit, TXMap.Save";

void PutU8(std::string& Out, uint32_t V) { Out += static_cast<char>(V & 0xFF); }
void PutU16(std::string& Out, uint32_t V) {
  Out += static_cast<char>(V & 0xFF);
  Out += static_cast<char>((V >> 8) & 0xFF);
}

// A byte-length string; the binary formats hold at most 255 bytes.
void PutShortString(std::string& Out, const std::string& Text) {
  const size_t N = std::min<size_t>(Text.size(), 255);
  if (N < Text.size()) Log->Warning("A text longer than 255 bytes is cut: " + Text.substr(0, 40) + "...", kSaveHeading);
  PutU8(Out, static_cast<uint32_t>(N));
  Out.append(Text, 0, N);
}

void PutName(std::string& Out, const std::string& Name) {
  if (Name == "Unknown") PutU8(Out, 0);
  else PutShortString(Out, Name);
}

// A line feed inside a name or extra line would start a new line of a text
// map (and could inject rows); it is written as a space.
std::string OneLine(const std::string& Text) {
  std::string Out = Text;
  std::replace(Out.begin(), Out.end(), '\n', ' ');
  return Out;
}

}  // namespace

char TXMap::ChooseMode(char Mode) const {
  char M = static_cast<char>(std::toupper(static_cast<unsigned char>(Mode)));
  if (std::string_view("ABTWX").find(M) == std::string_view::npos || M == 0) {
    Log->Warning("Unknown mode specified, using automatic mode determination.", kSaveHeading);
    Log->Warning("(Always binary, using 8 or 16 bit mode depending tile IDs in map.)", kSaveHeading);
    M = 'A';
  }
  // Wraps must fit the 8-bit formats as well as the tiles.
  const bool WrapsFit8 =
      LogicalWraps.size() <= 255 && std::all_of(LogicalWraps.begin(), LogicalWraps.end(), [](const TLogicalWrap& W) {
        return W.From >= 0 && W.From < 256 && W.To >= 0 && W.To < 256;
      });
  if ((!AllTilesBelow256() || !WrapsFit8) && (M == 'A' || M == 'B' || M == 'T')) {
    Log->Warning("The tile map contains tiles with ID above 255,", kSaveHeading);
    Log->Warning("so cannot use file formats with 8 bit tile size.", kSaveHeading);
    Log->Warning("Using 16 bit binary mode.", kSaveHeading);
    M = 'W';
  } else if (M == 'A') {
    Log->Warning("The tile map contains tiles only with ID below 256,", kSaveHeading);
    Log->Warning("so 8 bit binary mode will be used.", kSaveHeading);
    M = 'B';
  }
  // The binary formats keep the size in one byte each.
  if ((M == 'B' || M == 'W') && (Width > 255 || Height > 255)) {
    Log->Warning("The map is larger than 255 cells, using the MAPX text mode.", kSaveHeading);
    M = 'X';
  }
  // A line feed or carriage return tile would break a MAPT line.
  if (M == 'T') {
    const auto Breaks = [](int32_t T) { return T == 10 || T == 13; };
    const bool Bad =
        std::any_of(Tiles.begin(), Tiles.end(), Breaks) ||
        std::any_of(LogicalWraps.begin(), LogicalWraps.end(), [&](const TLogicalWrap& W) { return Breaks(W.From); });
    if (Bad) {
      Log->Warning("The tile map contains line break tile IDs, using the MAPX text mode.", kSaveHeading);
      M = 'X';
    }
  }
  return M;
}

std::string TXMap::SaveBinary(bool Wide) const {
  const auto Put = Wide ? PutU16 : PutU8;
  std::string Out = Wide ? "MAPW" : "MAPB";
  PutU8(Out, static_cast<uint32_t>(Width));
  PutU8(Out, static_cast<uint32_t>(Height));
  for (const int32_t T : Tiles) Put(Out, static_cast<uint32_t>(T));
  PutName(Out, Author);
  PutName(Out, MapName);
  PutName(Out, GameName);
  const size_t Count = std::min<size_t>(LogicalWraps.size(), Wide ? 65535 : 255);
  Put(Out, static_cast<uint32_t>(Count));
  for (size_t I = 0; I < Count; ++I) {
    Put(Out, static_cast<uint32_t>(LogicalWraps[I].From));
    Put(Out, static_cast<uint32_t>(LogicalWraps[I].To));
  }
  for (const std::string& Line : Extra) {
    // A zero length would end the file early.
    if (Line.empty()) {
      Log->Warning("An empty extra line cannot be stored in binary mode; left out.", kSaveHeading);
      continue;
    }
    PutShortString(Out, Line);
  }
  PutU8(Out, 0);
  return Out;
}

std::string TXMap::SaveText(bool Hex) const {
  const std::string Eol = "\r\n";
  std::string Out = std::string(Hex ? "MAPX" : "MAPT") + Eol;
  Out += "WI" + std::to_string(Width) + Eol;
  Out += "HE" + std::to_string(Height) + Eol;
  if (Author != "Unknown") Out += "AU" + OneLine(Author) + Eol;
  if (MapName != "Unknown") Out += "MN" + OneLine(MapName) + Eol;
  if (GameName != "Unknown") Out += "GM" + OneLine(GameName) + Eol;

  const size_t PerLine = Hex ? 24 : 60;
  for (size_t I = 0; I < LogicalWraps.size(); I += PerLine) {
    Out += "LW";
    for (size_t J = I; J < std::min(I + PerLine, LogicalWraps.size()); ++J) {
      const TLogicalWrap& W = LogicalWraps[J];
      if (Hex) {
        Out += VXToolbox::PaddedNumber(W.From, 5, '0') + VXToolbox::PaddedNumber(W.To, 5, '0');
      } else {
        Out += static_cast<char>(W.From);
        Out += VXToolbox::PaddedNumber(W.To, 3, '0');
      }
    }
    Out += Eol;
  }

  static const char Digits[] = "0123456789ABCDEF";
  for (int32_t Y = 0; Y < Height; ++Y) {
    const int32_t* Row = Tiles.data() + static_cast<size_t>(Y) * static_cast<size_t>(Width);
    std::string Line = Hex ? "MP " : "MP";
    for (int32_t X = 0; X < Width; ++X) {
      if (Hex) {
        const uint32_t T = static_cast<uint32_t>(Row[X]);
        for (int Shift = 12; Shift >= 0; Shift -= 4) Line += Digits[(T >> Shift) & 15];
        Line += ' ';
      } else {
        Line += static_cast<char>(Row[X]);
      }
    }
    while (Line.size() > 2 && Line.back() == ' ') Line.pop_back();
    Out += Line + Eol;
  }
  for (const std::string& Line : Extra) Out += "EX" + OneLine(Line) + Eol;
  Out += "XX" + Eol;
  return Out;
}

char TXMap::Save(TVXStreamBase& Stream, char Mode) {
  const char M = ChooseMode(Mode);
  const std::string Bytes = M == 'B' ? SaveBinary(false) : M == 'W' ? SaveBinary(true) : SaveText(M == 'X');
  if (!Stream.WriteString(Bytes)) throw std::runtime_error("The map could not be written completely.");
  return M;
}

char TXMap::SaveToFile(const std::string& FileName, char Mode) {
  auto File = TFileStream::Open(FileName, TFileStream::TMode::Create);
  if (!File) throw std::runtime_error("Cannot create " + FileName);
  return Save(*File, Mode);
}
