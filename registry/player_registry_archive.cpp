// The older form of the registry file: a MAD4 archive of up to four members.
#include "registry/player_registry.h"
#include "shell/logger.h"
#include "storage/mad4_mid_level.h"

bool TPlayerRegistry::LoadOlderForm(const std::string& FileName) {
  TMAD4MidLevel Archive;
  try {
    Archive.Mount(FileName, true);
  } catch (const std::exception& E) { Log->Error(E.what(), "PlayerRegistryUnit, TPlayerRegistry.Load"); }
  if (Archive.Status() != TMAD4LowLevel::kMountedOk) {
    MarkDamaged(FileName, "its archive does not mount");
    return true;
  }
  // A whole archive ends in its end chunk; a cut or garbled one does not,
  // and members behind the damage are lost.
  const TMAD4ChunkData* Last = Archive.GetChunk(Archive.ChunkCount() - 1);
  std::string Damage = Last && Last->FourCC == kFourCCEnds ? "" : "its archive is cut or garbled";

  const auto ReadMember = [&](const char* Name, auto&& Read) {
    if (!Archive.Exists(Name)) return false;
    TVXStreamPtr Member;
    try {
      Member = Archive.OpenFile(Name);
    } catch (const std::exception&) {}
    if (!Member || !Read(*Member)) {
      if (Damage.empty()) Damage = "its member " + std::string(Name) + " is cut or unreadable";
      return false;
    }
    return true;
  };
  int32_t StoredNextID = 0;
  const bool HasNextID = ReadMember("nextid.dat", [&](TVXStreamBase& S) { return S.ReadI32(StoredNextID); });
  ReadMember("players.dat", [&](TVXStreamBase& S) { return ReadPlayers(S); });
  ReadMember("levelpacks.dat", [&](TVXStreamBase& S) { return ReadLevelPacks(S); });
  ReadMember("datas.dat", [&](TVXStreamBase& S) { return ReadDatas(S); });
  Archive.Unmount();

  // Without a stored counter the identifiers in use decide quietly.
  NextID = HasNextID ? StoredNextID : 0;
  RaiseNextID(HasNextID);
  if (!Damage.empty()) MarkDamaged(FileName, Damage);
  return true;
}
