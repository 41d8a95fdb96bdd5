#include "world/pack_reader.h"

#include <algorithm>
#include <set>

#include "maps/xmap.h"
#include "shell/file_stream.h"
#include "shell/logger.h"
#include "shell/toolbox.h"
#include "storage/mad4_mid_level.h"

namespace {

constexpr const char* kHeading = "SQMapsUnit, ReadStoredPack";

// The number of a map member name ("004.mpp" gives 4), 0 for any other.
int MapMemberNumber(const std::string& Name) {
  if (Name.size() != 7 || VXToolbox::UpperCase(Name.substr(3)) != ".MPP") return 0;
  int N = 0;
  for (int I = 0; I < 3; ++I) {
    const char C = Name[static_cast<size_t>(I)];
    if (C < '0' || C > '9') return 0;
    N = N * 10 + (C - '0');
  }
  return N;
}

bool IsKnownMapFormat(const std::string& Magic) {
  return Magic == "MAPB" || Magic == "MAPW" || Magic == "MAPT" || Magic == "MAPX";
}

}  // namespace

int TStoredPack::FirstGap() const {
  for (size_t I = 0; I < Numbers.size(); ++I)
    if (Numbers[I] != static_cast<int>(I) + 1) return static_cast<int>(I) + 1;
  return 0;
}

std::shared_ptr<TXMap> ReadMapMember(TVXStreamBase* Stream, const std::string& Member) {
  auto Map = std::make_shared<TXMap>();
  // A damaged map keeps its place (later maps keep their numbers and the
  // players' progress) and plays as an empty map; the reason stays with it,
  // so that nothing takes the empty map for what the member held.
  if (!Stream) {
    Log->Error("Can't read map " + Member, "SQMapsUnit, TMaps.Load");
    Map->Status = "damaged map member " + Member;
    return Map;
  }
  char Magic[4] = {0, 0, 0, 0};
  const std::string Kind(Magic, Stream->Read(Magic, 4));
  Stream->Seek(0);
  try {
    Map->Load(*Stream);
  } catch (const std::exception& E) {
    Log->Error("Can't read map " + Member + ": " + E.what(), "SQMapsUnit, TMaps.Load");
    auto Empty = std::make_shared<TXMap>();
    Empty->Status = "damaged map member " + Member;
    return Empty;
  }
  // The reader loads nothing, and says nothing, for a format it no longer reads.
  if (Map->Status == "OK" && !IsKnownMapFormat(Kind)) Map->Status = "unknown map format in " + Member;
  return Map;
}

bool ReadStoredPack(const std::string& FileName, TStoredPack& Pack, std::string& Error) {
  Pack = {};
  TMAD4MidLevel Archive;
  try {
    Archive.Mount(FileName, true);
  } catch (const EArchiveOpen& E) {
    // The archive layer's text ends in the cause ("Permission denied").
    const std::string What = E.what();
    const size_t Cause = What.rfind(": ");
    Error = "cannot open " + FileName + (Cause == std::string::npos ? "" : What.substr(Cause));
    return false;
  }
  if (Archive.Status() != TMAD4LowLevel::kMountedOk) {
    Error = FileName + " is not a level pack";
    return false;
  }
  if (Archive.Damaged() || !Archive.Ended()) {
    Error = FileName + " is cut short";
    Log->Error(Error + ": members may be missing", kHeading);
    return false;
  }
  std::set<std::string> Seen;
  std::vector<std::pair<int, std::string>> MapMembers;
  for (const TMAD4FileData& File : Archive.Files()) {
    const std::string Upper = VXToolbox::UpperCase(File.Name);
    // Lookups serve the first of equal names: a later one is never read.
    // "*V" is the archive's version record, not a member a pack carries.
    if (Upper == "*V" || !Seen.insert(Upper).second) continue;
    if (const int N = MapMemberNumber(File.Name); N > 0) {
      MapMembers.emplace_back(N, File.Name);
      continue;
    }
    TVXStreamPtr In = Archive.OpenFile(File.Name);
    if (!In) {
      Error = "cannot read the member " + File.Name + " of " + FileName;
      return false;
    }
    if (Upper == "INFO") {
      VXToolbox::ReadLine(*In);
      Pack.Name = VXToolbox::ReadLine(*In);
      Pack.Author = VXToolbox::ReadLine(*In);
      continue;
    }
    Pack.Extras.push_back({File.Name, In->ReadAll()});
  }
  std::sort(MapMembers.begin(), MapMembers.end());
  for (const auto& [N, Member] : MapMembers) {
    TVXStreamPtr In = Archive.OpenFile(Member);
    Pack.Maps.push_back(ReadMapMember(In.get(), PackMapMember(N)));
    Pack.Numbers.push_back(N);
  }
  return true;
}
