#include "registry/player_registry.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "shell/logger.h"
#include "shell/memory_stream.h"
#include "shell/toolbox.h"

namespace {
constexpr const char* kUnit = "PlayerRegistryUnit, TPlayerRegistry.";
constexpr int64_t kMaxBlock = std::numeric_limits<int32_t>::max();

std::string Heading(const char* Method) { return std::string(kUnit) + Method; }

bool ReadText(TVXStreamBase& Stream, std::string& Text) {
  uint16_t Length;
  if (!Stream.ReadU16(Length)) return false;
  Text.resize(Length);
  return Stream.ReadExact(Text.data(), Length);
}

void WriteText(TVXStreamBase& Stream, const std::string& Text) {
  Stream.WriteU16(static_cast<uint16_t>(Text.size()));
  Stream.WriteString(Text);
}

// Trailing zero bytes are not stored; reading pads them back.
size_t StoredLength(const std::vector<uint8_t>& Block) {
  size_t N = Block.size();
  while (N > 0 && Block[N - 1] == 0) --N;
  return N;
}
}  // namespace

bool TPlayerRegistry::AddPlayer(const std::string& Name) { return AddPlayer(Name, ""); }

bool TPlayerRegistry::AddPlayer(const std::string& Name, const std::string& Info) {
  const std::string H = Heading("AddPlayer");
  if (Logging) Log->Status("Addplayer('" + Name + "','" + Info + "')", H);
  const bool Fits = Name.size() <= kMaxTextLength && Info.size() <= kMaxTextLength && Players.size() < kMaxCount;
  if (Fits && !FindPlayer(Name)) {
    Players.push_back({NewID(), Name, Info});
    if (Logging) Log->Status("Player added. ID=" + std::to_string(Players.back().ID), H);
    return true;
  }
  if (Logging) Log->Warning("AddPlayer failed.", H);
  return false;
}

bool TPlayerRegistry::DeletePlayer(const std::string& Name) {
  TPlayerData* P = FindPlayer(Name);
  if (!P) return false;
  Players.erase(Players.begin() + (P - Players.data()));
  return true;
}

int32_t TPlayerRegistry::PlayerCount() const { return static_cast<int32_t>(Players.size()); }

void TPlayerRegistry::GetPlayerName(int32_t Index, std::string& Name) const {
  if (Index >= 0 && Index < PlayerCount()) Name = Players[static_cast<size_t>(Index)].Name;
}

bool TPlayerRegistry::RenamePlayer(int32_t Index, const std::string& NewName) {
  if (Index < 0 || Index >= PlayerCount() || NewName.size() > kMaxTextLength) return false;
  Players[static_cast<size_t>(Index)].Name = NewName;
  return true;
}

bool TPlayerRegistry::AddLevelPack(const std::string& Name) {
  if (Name.size() > kMaxTextLength || LevelPacks.size() >= kMaxCount || FindLevelPack(Name)) return false;
  LevelPacks.push_back({NewID(), Name});
  return true;
}

bool TPlayerRegistry::DeleteLevelPack(const std::string& Name) {
  TLevelPackData* L = FindLevelPack(Name);
  if (!L) return false;
  LevelPacks.erase(LevelPacks.begin() + (L - LevelPacks.data()));
  return true;
}

bool TPlayerRegistry::WriteData(const std::string& Player, const std::string& LevelPack, int32_t Offset, int32_t Count,
                                const uint8_t* Source) {
  const std::string H = Heading("WriteData");
  if (Logging)
    Log->Status(
        "WriteData('" + Player + "','" + LevelPack + "'," + std::to_string(Offset) + "," + std::to_string(Count) + ")",
        H);
  // A block must stay addressable by the file's signed 32-bit length.
  if (Offset < 0 || Count < 0 || int64_t{Offset} + Count > kMaxBlock || (Count > 0 && !Source)) return false;
  const TPlayerData* P = FindPlayer(Player);
  if (!P) return false;
  const int32_t PID = P->ID;
  if (Logging) Log->Status("PlayerID=" + std::to_string(PID), H);
  const TLevelPackData* L = FindLevelPack(LevelPack);
  if (!L) return false;
  const int32_t LID = L->ID;
  if (Logging) Log->Status("LevelPackID=" + std::to_string(LID), H);
  TPlayerPackData* D = FindData(PID, LID);
  if (!D) {
    if (Datas.size() >= kMaxCount) return false;
    if (Logging) Log->Status("No data record for this combination, creating a new one.", H);
    Datas.push_back({PID, LID, {}});
    D = &Datas.back();
  }
  std::vector<uint8_t>& Block = D->Data;
  if (Logging) Log->Status("Data current size: " + std::to_string(Block.size()), H);
  const size_t At = static_cast<size_t>(Offset);
  if (Block.size() < At) {
    if (Logging) Log->Status("Padding with " + std::to_string(At - Block.size()) + " bytes of zeroes.", H);
    Block.resize(At, 0);
  }
  if (Logging) Log->Status("Writing data.", H);
  if (Block.size() < At + static_cast<size_t>(Count)) Block.resize(At + static_cast<size_t>(Count), 0);
  if (Count > 0) std::memcpy(Block.data() + At, Source, static_cast<size_t>(Count));
  if (Logging) Log->Status("Data size after writing: " + std::to_string(Block.size()), H);
  return true;
}

bool TPlayerRegistry::ReadData(const std::string& Player, const std::string& LevelPack, int32_t Offset, int32_t Count,
                               uint8_t* Destination) {
  const std::string H = Heading("ReadData");
  const std::string Pair = "(" + Player + ", " + LevelPack + ")";
  const TPlayerData* P = FindPlayer(Player);
  if (!P) {
    Log->Warning("Player not found. " + Pair, H);
    return false;
  }
  const TLevelPackData* L = FindLevelPack(LevelPack);
  if (!L) {
    Log->Warning("LevelPack not found. " + Pair, H);
    return false;
  }
  TPlayerPackData* D = FindData(P->ID, L->ID);
  if (!D) {
    Log->Warning("Data record not found. " + Pair, H);
    return false;
  }
  if (Offset < 0 || Count < 0 || int64_t{Offset} + Count > kMaxBlock || (Count > 0 && !Destination)) return false;
  const size_t End = static_cast<size_t>(Offset) + static_cast<size_t>(Count);
  if (D->Data.size() < End) D->Data.resize(End, 0);
  if (Count > 0) std::memcpy(Destination, D->Data.data() + Offset, static_cast<size_t>(Count));
  return true;
}

bool TPlayerRegistry::ClearData(const std::string& Player, const std::string& LevelPack) {
  const TPlayerData* P = FindPlayer(Player);
  const TLevelPackData* L = FindLevelPack(LevelPack);
  if (!P || !L) return false;
  TPlayerPackData* D = FindData(P->ID, L->ID);
  if (!D) return false;
  D->Data.clear();
  return true;
}

TPlayerData* TPlayerRegistry::FindPlayer(const std::string& Name) {
  for (TPlayerData& P : Players)
    if (VXToolbox::SameText(P.Name, Name)) return &P;
  return nullptr;
}

TLevelPackData* TPlayerRegistry::FindLevelPack(const std::string& Name) {
  for (TLevelPackData& L : LevelPacks)
    if (VXToolbox::SameText(L.Name, Name)) return &L;
  return nullptr;
}

int32_t TPlayerRegistry::PlayerID(const std::string& Name) {
  const TPlayerData* P = FindPlayer(Name);
  return P ? P->ID : -1;
}

int32_t TPlayerRegistry::LevelPackID(const std::string& Name) {
  const TLevelPackData* L = FindLevelPack(Name);
  return L ? L->ID : -1;
}

TPlayerPackData* TPlayerRegistry::FindData(int32_t PlayerID, int32_t LevelPackID) {
  for (TPlayerPackData& D : Datas)
    if (D.PlayerID == PlayerID && D.LevelPackID == LevelPackID) return &D;
  return nullptr;
}

int32_t TPlayerRegistry::NewID() {
  if (NextID >= 0 && NextID < kTopID) return NextID++;
  // Counting on would overflow into negative identifiers, which name no
  // player: the gaps below serve instead (with at most 65535 players and
  // level packs, there always is one).
  std::vector<int32_t> IDs;
  UsedIDs(IDs);
  std::sort(IDs.begin(), IDs.end());
  int32_t Free = 0;
  for (int32_t ID : IDs) {
    if (ID > Free) break;
    if (ID == Free) ++Free;
  }
  return Free;
}

void TPlayerRegistry::UsedIDs(std::vector<int32_t>& IDs) {
  for (const TPlayerData& P : Players) IDs.push_back(P.ID);
  for (const TLevelPackData& L : LevelPacks) IDs.push_back(L.ID);
  for (const TPlayerPackData& D : Datas) {
    IDs.push_back(D.PlayerID);
    IDs.push_back(D.LevelPackID);
  }
}

bool TPlayerRegistry::WriteTo(TVXStreamBase& Stream) const {
  if (Players.size() > kMaxCount || LevelPacks.size() > kMaxCount || Datas.size() > kMaxCount) return false;
  for (const TPlayerData& P : Players)
    if (P.Name.size() > kMaxTextLength || P.Info.size() > kMaxTextLength) return false;
  for (const TLevelPackData& L : LevelPacks)
    if (L.Name.size() > kMaxTextLength) return false;
  for (const TPlayerPackData& D : Datas)
    if (D.Data.size() > static_cast<size_t>(kMaxBlock)) return false;

  Stream.WriteString("PREG");
  Stream.WriteI32(NextID);
  Stream.WriteU16(static_cast<uint16_t>(Players.size()));
  for (const TPlayerData& P : Players) {
    Stream.WriteI32(P.ID);
    WriteText(Stream, P.Name);
    WriteText(Stream, P.Info);
  }
  Stream.WriteU16(static_cast<uint16_t>(LevelPacks.size()));
  for (const TLevelPackData& L : LevelPacks) {
    Stream.WriteI32(L.ID);
    WriteText(Stream, L.Name);
  }
  Stream.WriteU16(static_cast<uint16_t>(Datas.size()));
  for (const TPlayerPackData& D : Datas) {
    const size_t N = StoredLength(D.Data);
    Stream.WriteI32(D.PlayerID);
    Stream.WriteI32(D.LevelPackID);
    Stream.WriteI32(static_cast<int32_t>(N));
    Stream.WriteExact(D.Data.data(), N);
  }
  return true;
}

bool TPlayerRegistry::ReadPlayers(TVXStreamBase& Stream) {
  uint16_t Count;
  if (!Stream.ReadU16(Count)) return false;
  for (uint16_t I = 0; I < Count; ++I) {
    TPlayerData P;
    if (!Stream.ReadI32(P.ID) || !ReadText(Stream, P.Name) || !ReadText(Stream, P.Info)) return false;
    Players.push_back(std::move(P));
  }
  return true;
}

bool TPlayerRegistry::ReadLevelPacks(TVXStreamBase& Stream) {
  uint16_t Count;
  if (!Stream.ReadU16(Count)) return false;
  for (uint16_t I = 0; I < Count; ++I) {
    TLevelPackData L;
    if (!Stream.ReadI32(L.ID) || !ReadText(Stream, L.Name)) return false;
    LevelPacks.push_back(std::move(L));
  }
  return true;
}

bool TPlayerRegistry::ReadDatas(TVXStreamBase& Stream) {
  uint16_t Count;
  if (!Stream.ReadU16(Count)) return false;
  for (uint16_t I = 0; I < Count; ++I) {
    TPlayerPackData D;
    int32_t Length;
    if (!Stream.ReadI32(D.PlayerID) || !Stream.ReadI32(D.LevelPackID) || !Stream.ReadI32(Length)) return false;
    // A length past the end is damage, never a reason to allocate.
    if (Length > 0) {
      if (Length > Stream.Remaining()) return false;
      D.Data.resize(static_cast<size_t>(Length));
      if (!Stream.ReadExact(D.Data.data(), D.Data.size())) return false;
    }
    Datas.push_back(std::move(D));
  }
  return true;
}

bool TPlayerRegistry::ReadPREG(TVXStreamBase& Stream) {
  return Stream.ReadI32(NextID) && ReadPlayers(Stream) && ReadLevelPacks(Stream) && ReadDatas(Stream);
}

bool TPlayerRegistry::Load(const std::string& FileName) {
  const std::string H = Heading("Load");
  std::vector<uint8_t> Bytes;
  std::string Error;
  switch (ReadWholeFile(FileName, Bytes, &Error)) {
    case TFileRead::Missing: return false;
    case TFileRead::Unreadable:
      Log->Error("Cannot read " + FileName + " (" + Error +
                     "); it is not replaced unless it can first be kept aside as " + FileName + ".bad (or .bad.N)",
                 H);
      FFile.MarkDamaged(FileName);
      return false;
    case TFileRead::Read: break;
  }
  const std::string FourCC(Bytes.begin(),
                           Bytes.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(4, Bytes.size())));
  if (FourCC == "MAD4") return LoadOlderForm(FileName);
  if (FourCC != "PREG") {
    Log->Error("Unknown file format! (FourCC=" + FourCC + "\")", H);
    MarkDamaged(FileName, "its format is unknown");
    return false;
  }
  // Parsed from memory: a bounds check there cannot be fooled by a file
  // that changes underneath.
  Bytes.erase(Bytes.begin(), Bytes.begin() + 4);
  TMemoryStream Body(std::move(Bytes));
  if (!ReadPREG(Body)) MarkDamaged(FileName, "it ends inside a record");
  RaiseNextID(true);
  return true;
}

void TPlayerRegistry::MarkDamaged(const std::string& FileName, const std::string& Reason) {
  Log->Error("Damaged player registry " + FileName + ": " + Reason +
                 "; whole records kept, the file will be kept aside as " + FileName + ".bad (or .bad.N)",
             Heading("Load"));
  FFile.MarkDamaged(FileName);
}

int64_t TPlayerRegistry::FollowingID() const {
  bool Any = false;
  int64_t Highest = 0;
  const auto Note = [&](int32_t ID) {
    Highest = Any ? std::max<int64_t>(Highest, ID) : ID;
    Any = true;
  };
  for (const TPlayerData& P : Players) Note(P.ID);
  for (const TLevelPackData& L : LevelPacks) Note(L.ID);
  for (const TPlayerPackData& D : Datas) {
    Note(D.PlayerID);
    Note(D.LevelPackID);
  }
  return Any ? Highest + 1 : 0;
}

void TPlayerRegistry::RaiseNextID(bool Warn) {
  const int64_t Following = std::max<int64_t>(FollowingID(), 0);
  if (NextID >= Following) return;
  const int32_t Raised = static_cast<int32_t>(std::min<int64_t>(Following, kTopID));
  if (Following > kTopID)
    Log->Warning("Identifier " + std::to_string(kTopID) +
                     " is in use, at the top of the range; new identifiers are the lowest unused ones",
                 Heading("Load"));
  else if (Warn)
    Log->Warning("NextID " + std::to_string(NextID) + " is not above the identifiers in use; raised to " +
                     std::to_string(Raised),
                 Heading("Load"));
  NextID = Raised;
}

bool TPlayerRegistry::Save(const std::string& FileName) {
  TMemoryStream Bytes;
  if (!WriteTo(Bytes)) {
    Log->Error("Not saved: a count or name exceeds the file's 16-bit fields (" + FileName + ")", Heading("Save"));
    return false;
  }
  return FFile.Save(FileName, Bytes.Data());
}
