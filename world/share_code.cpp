#include "world/share_code.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <vector>

// The contents, before deflating: a kind byte ('M' a map, 'R' a run), the
// width and height (a byte each), the map's name and author (a length byte
// and the bytes; "Unknown" is written as no bytes, as MAPB does), for a run
// the player's name likewise, the cells (a byte each, row by row), then the
// number of keys (16 bits, little-endian) and the keys.
//
// The code: the version character, then URL-safe base64 without padding of
// the raw deflate stream followed by the CRC-32 (little-endian) of the
// version character and that stream. Checking the stream before inflating
// it means a damaged code never reaches the inflater, and a CRC-32 catches
// every change within 32 bits: any one character changed.

namespace {

constexpr char kMapKind = 'M';
constexpr char kRunKind = 'R';
constexpr const char* kUnknown = "Unknown";
constexpr size_t kCrcBytes = 4;
// The largest contents a code can hold: nothing longer is inflated.
constexpr size_t kMaxContents = 3 + 3 * (1 + kMaxShareName) + kMaxShareSide * kMaxShareSide + 2 + kMaxShareSteps;

constexpr const char* kDamaged = "The code is damaged or cut short.";

constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

int DigitValue(char C) {
  if (C >= 'A' && C <= 'Z') return C - 'A';
  if (C >= 'a' && C <= 'z') return C - 'a' + 26;
  if (C >= '0' && C <= '9') return C - '0' + 52;
  if (C == '-') return 62;
  if (C == '_') return 63;
  return -1;
}

std::string ToBase64(const std::vector<uint8_t>& Bytes) {
  std::string Text;
  uint32_t Bits = 0;
  int Held = 0;
  for (uint8_t B : Bytes) {
    Bits = (Bits << 8) | B;
    Held += 8;
    while (Held >= 6) {
      Held -= 6;
      Text += kDigits[(Bits >> Held) & 63];
    }
  }
  if (Held > 0) Text += kDigits[(Bits << (6 - Held)) & 63];
  return Text;
}

// Strict: a digit outside the alphabet, a length no byte count gives, or
// bits left over that are not zero make it no code (so that no two texts
// read as the same bytes).
bool FromBase64(std::string_view Text, std::vector<uint8_t>& Bytes) {
  if (Text.size() % 4 == 1) return false;
  uint32_t Bits = 0;
  int Held = 0;
  for (char C : Text) {
    const int V = DigitValue(C);
    if (V < 0) return false;
    Bits = (Bits << 6) | static_cast<uint32_t>(V);
    Held += 6;
    if (Held >= 8) {
      Held -= 8;
      Bytes.push_back(static_cast<uint8_t>(Bits >> Held));
    }
  }
  return (Bits & ((1u << Held) - 1)) == 0;
}

uint32_t Crc(char Version, const uint8_t* Bytes, size_t Count) {
  uLong C = crc32(0L, Z_NULL, 0);
  const auto V = static_cast<Bytef>(Version);
  C = crc32(C, &V, 1);
  return static_cast<uint32_t>(crc32(C, Bytes, static_cast<uInt>(Count)));
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& Data) {
  z_stream Z{};
  // Raw deflate: the code's own CRC checks it, a zlib header would only add bytes.
  if (deflateInit2(&Z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) return {};
  std::vector<uint8_t> Out(deflateBound(&Z, static_cast<uLong>(Data.size())));
  Z.next_in = const_cast<Bytef*>(Data.data());
  Z.avail_in = static_cast<uInt>(Data.size());
  Z.next_out = Out.data();
  Z.avail_out = static_cast<uInt>(Out.size());
  const int Result = deflate(&Z, Z_FINISH);
  Out.resize(Z.total_out);
  deflateEnd(&Z);
  return Result == Z_STREAM_END ? Out : std::vector<uint8_t>{};
}

// False unless Data is one whole raw deflate stream of at most kMaxContents bytes.
bool Inflate(const uint8_t* Data, size_t Count, std::vector<uint8_t>& Out) {
  z_stream Z{};
  if (inflateInit2(&Z, -15) != Z_OK) return false;
  Out.assign(kMaxContents + 1, 0);
  Z.next_in = const_cast<Bytef*>(Data);
  Z.avail_in = static_cast<uInt>(Count);
  Z.next_out = Out.data();
  Z.avail_out = static_cast<uInt>(Out.size());
  const int Result = inflate(&Z, Z_FINISH);
  const bool Whole = Result == Z_STREAM_END && Z.avail_in == 0 && Z.total_out <= kMaxContents;
  Out.resize(Z.total_out);
  inflateEnd(&Z);
  return Whole;
}

bool PlainName(const std::string& Name) {
  return Name.size() <= kMaxShareName && std::none_of(Name.begin(), Name.end(), [](char C) {
           const auto B = static_cast<uint8_t>(C);
           return B < 0x20 || B == 0x7F;
         });
}

bool ValidKeys(std::string_view Keys) {
  return Keys.size() <= kMaxShareSteps && std::all_of(Keys.begin(), Keys.end(), [](char C) {
           return C == 'U' || C == 'D' || C == 'L' || C == 'R' || C == '.';
         });
}

// Reads the contents back, every field checked; false on anything else.
class TReader {
 public:
  explicit TReader(const std::vector<uint8_t>& Bytes) : FBytes(Bytes) {}
  bool Byte(uint8_t& B) {
    if (FAt >= FBytes.size()) return false;
    B = FBytes[FAt++];
    return true;
  }
  bool Text(size_t Count, std::string& S) {
    if (FBytes.size() - FAt < Count) return false;
    S.assign(reinterpret_cast<const char*>(FBytes.data() + FAt), Count);
    FAt += Count;
    return true;
  }
  bool Name(std::string& S) {
    uint8_t N;
    return Byte(N) && Text(N, S) && PlainName(S);
  }
  bool AtEnd() const { return FAt == FBytes.size(); }

 private:
  const std::vector<uint8_t>& FBytes;
  size_t FAt = 0;
};

void PutText(std::vector<uint8_t>& Out, const std::string& Stored) {
  Out.push_back(static_cast<uint8_t>(Stored.size()));
  Out.insert(Out.end(), Stored.begin(), Stored.end());
}

void PutName(std::vector<uint8_t>& Out, const std::string& Name) { PutText(Out, Name == kUnknown ? "" : Name); }

std::string TakenName(const std::string& Stored) { return Stored.empty() ? kUnknown : Stored; }

// Why the contents of Code cannot be written; "" when they can.
std::string Unshareable(const TShareCode& Code) {
  const TXMap& M = Code.Map;
  if (M.Width < 1 || M.Height < 1) return "the map is empty";
  if (M.Width > kMaxShareSide || M.Height > kMaxShareSide)
    return "the map is larger than " + std::to_string(kMaxShareSide) + " cells a side";
  const std::vector<int32_t>& Cells = M.LogicalTiles.size() == M.Tiles.size() ? M.LogicalTiles : M.Tiles;
  if (std::any_of(Cells.begin(), Cells.end(), [](int32_t C) { return C < 0 || C > 255; }))
    return "the map holds a tile above 255";
  for (const std::string* Name : {&M.MapName, &M.Author, &Code.Player})
    if (!PlainName(*Name))
      return "a name is longer than " + std::to_string(kMaxShareName) + " bytes or holds a control character";
  if (!ValidKeys(Code.Keys))
    return Code.Keys.size() > kMaxShareSteps ? "the way is longer than " + std::to_string(kMaxShareSteps) + " steps"
                                             : "a key is none of U, D, L, R and .";
  if (Code.Kind == TShareKind::Run && Code.Keys.empty()) return "the run has no steps";
  return "";
}

}  // namespace

std::string EncodeShareCode(const TShareCode& Code, std::string& Error) {
  Error = Unshareable(Code);
  if (!Error.empty()) return "";
  const TXMap& M = Code.Map;
  const std::vector<int32_t>& Cells = M.LogicalTiles.size() == M.Tiles.size() ? M.LogicalTiles : M.Tiles;
  std::vector<uint8_t> Contents;
  Contents.push_back(Code.Kind == TShareKind::Run ? kRunKind : kMapKind);
  Contents.push_back(static_cast<uint8_t>(M.Width));
  Contents.push_back(static_cast<uint8_t>(M.Height));
  PutName(Contents, M.MapName);
  PutName(Contents, M.Author);
  if (Code.Kind == TShareKind::Run) PutText(Contents, Code.Player);
  for (int32_t C : Cells) Contents.push_back(static_cast<uint8_t>(C));
  Contents.push_back(static_cast<uint8_t>(Code.Keys.size() & 0xFF));
  Contents.push_back(static_cast<uint8_t>(Code.Keys.size() >> 8));
  Contents.insert(Contents.end(), Code.Keys.begin(), Code.Keys.end());

  std::vector<uint8_t> Bytes = Deflate(Contents);
  if (Bytes.empty()) {
    Error = "the map could not be compressed";
    return "";
  }
  const uint32_t Check = Crc(kShareCodeVersion, Bytes.data(), Bytes.size());
  for (size_t I = 0; I < kCrcBytes; ++I) Bytes.push_back(static_cast<uint8_t>(Check >> (8 * I)));
  return kShareCodeVersion + ToBase64(Bytes);
}

bool DecodeShareCode(std::string_view Text, TShareCode& Code, std::string& Error) {
  const auto Blank = [](char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; };
  while (!Text.empty() && Blank(Text.front())) Text.remove_prefix(1);
  while (!Text.empty() && Blank(Text.back())) Text.remove_suffix(1);
  if (Text.empty()) {
    Error = "There is no code.";
    return false;
  }
  if (Text.front() != kShareCodeVersion) {
    // A later version would begin with a later character of the alphabet.
    Error = DigitValue(Text.front()) > DigitValue(kShareCodeVersion)
                ? "The code was made by a newer version of Starquarry."
                : "This is not a Starquarry code.";
    return false;
  }
  std::vector<uint8_t> Bytes;
  if (!FromBase64(Text.substr(1), Bytes) || Bytes.size() <= kCrcBytes) {
    Error = kDamaged;
    return false;
  }
  const size_t Body = Bytes.size() - kCrcBytes;
  uint32_t Stored = 0;
  for (size_t I = 0; I < kCrcBytes; ++I) Stored |= uint32_t{Bytes[Body + I]} << (8 * I);
  std::vector<uint8_t> Contents;
  if (Stored != Crc(Text.front(), Bytes.data(), Body) || !Inflate(Bytes.data(), Body, Contents)) {
    Error = kDamaged;
    return false;
  }

  TReader In(Contents);
  TShareCode Read;
  uint8_t Kind, Width, Height, Low, High;
  std::string Name, Author, Player;
  bool Ok = In.Byte(Kind) && (Kind == kMapKind || Kind == kRunKind) && In.Byte(Width) && In.Byte(Height) && Width > 0 &&
            Height > 0 && In.Name(Name) && In.Name(Author) && (Kind == kMapKind || In.Name(Player));
  std::string Cells;
  Ok = Ok && In.Text(size_t{Width} * Height, Cells) && In.Byte(Low) && In.Byte(High);
  Ok = Ok && In.Text(Low | (size_t{High} << 8), Read.Keys) && In.AtEnd() && ValidKeys(Read.Keys) &&
       (Kind == kMapKind || !Read.Keys.empty());
  if (!Ok) {
    Error = kDamaged;
    return false;
  }
  Read.Kind = Kind == kRunKind ? TShareKind::Run : TShareKind::Map;
  Read.Player = Player;
  Read.Map.SetSize(Width, Height);
  for (size_t I = 0; I < Cells.size(); ++I)
    Read.Map.Tiles[I] = Read.Map.LogicalTiles[I] = static_cast<uint8_t>(Cells[I]);
  Read.Map.MapName = TakenName(Name);
  Read.Map.Author = TakenName(Author);
  Code = std::move(Read);
  Error.clear();
  return true;
}

std::string_view ShareCodeOfLink(std::string_view Text) {
  for (std::string_view Part : {"#map=", "#run="}) {
    const size_t At = Text.rfind(Part);
    if (At != std::string_view::npos) return Text.substr(At + Part.size());
  }
  return Text;
}
