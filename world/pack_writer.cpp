#include "world/pack_writer.h"

#include <filesystem>
#include <set>

#include "maps/xmap.h"
#include "shell/file_stream.h"
#include "shell/memory_stream.h"
#include "shell/safe_file_writer.h"
#include "shell/toolbox.h"
#include "storage/compressor.h"
#include "storage/mad4_mid_level.h"

namespace {

// A member the pack writer makes itself; an extra of that name would be
// hidden by it (or hide it: lookups ignore case).
bool IsOwnMember(const std::string& UpperName) {
  if (UpperName == "INFO") return true;
  if (UpperName.size() != 7 || UpperName.substr(3) != ".MPP") return false;
  for (int I = 0; I < 3; ++I)
    if (UpperName[static_cast<size_t>(I)] < '0' || UpperName[static_cast<size_t>(I)] > '9') return false;
  return true;
}

std::vector<uint8_t> InfoBytes(const std::string& Name, const std::string& Author) {
  const std::string Info = std::string(kPackInfoFirstLine) + "\r\n" + Name + "\r\n" + Author + "\r\n";
  return {Info.begin(), Info.end()};
}

// The archive layer writes into a file it mounts: the archive is made in a
// scratch file, and its bytes then go to the pack through the safe writer.
bool ArchiveBytes(const std::string& Scratch, const std::vector<TPackMember>& Members, std::vector<uint8_t>& Bytes) {
  std::error_code Ignored;
  std::filesystem::remove(Scratch, Ignored);
  bool Ok = true;
  {
    TMAD4MidLevel Archive;
    try {
      Archive.Mount(Scratch, false);
    } catch (const EArchiveOpen&) { return false; }
    TCompressor Coder;
    for (const TPackMember& M : Members)
      if (Ok && !Archive.AddMember(kFourCCComp, M.Name, Coder.Compress(M.Data, 0x40))) Ok = false;
  }
  if (Ok) {
    auto In = TFileStream::Open(Scratch, TFileStream::TMode::Read);
    Ok = In != nullptr;
    if (In) Bytes = In->ReadAll();
  }
  std::filesystem::remove(Scratch, Ignored);
  return Ok;
}

}  // namespace

std::string PackMapMember(int Number) { return VXToolbox::PaddedNumber(Number, 3, '0') + ".mpp"; }

std::vector<uint8_t> MapAsMapt(const TXMap& Map) {
  TMemoryStream Out;
  TXMap Copy(Map);
  Copy.Save(Out, 'T');
  return Out.Data();
}

bool WritePack(const std::string& FileName, const std::string& Name, const std::string& Author,
               const std::vector<std::shared_ptr<const TXMap>>& Maps, const std::vector<TPackMember>& Extras,
               std::string& Error) {
  // The info member is read line by line: a line break inside would shift the fields.
  for (const std::string* Field : {&Name, &Author})
    if (Field->find_first_of("\r\n") != std::string::npos) {
      Error = "the pack's name and author must be one line each";
      return false;
    }
  if (static_cast<int>(Maps.size()) > kMaxPackMaps) {
    Error = "a pack holds at most " + std::to_string(kMaxPackMaps) + " maps";
    return false;
  }
  std::vector<TPackMember> Members;
  Members.push_back({"info", InfoBytes(Name, Author)});
  for (size_t I = 0; I < Maps.size(); ++I)
    Members.push_back({PackMapMember(static_cast<int>(I) + 1), MapAsMapt(*Maps[I])});
  std::set<std::string> Taken;
  for (const TPackMember& M : Extras) {
    if (M.Name.empty() || M.Name.size() > 255) {
      Error = "bad member name '" + M.Name + "'";
      return false;
    }
    const std::string Upper = VXToolbox::UpperCase(M.Name);
    if (IsOwnMember(Upper) || !Taken.insert(Upper).second) {
      Error = "the extra member " + M.Name + " would replace the member " + M.Name;
      return false;
    }
    Members.push_back(M);
  }
  std::vector<uint8_t> Bytes;
  if (!ArchiveBytes(FileName + ".partial", Members, Bytes)) {
    Error = "cannot write " + FileName;
    return false;
  }
  std::string Why;
  if (!TSafeFileWriter::WriteFile(FileName, Bytes.data(), Bytes.size(), &Why)) {
    Error = "cannot write " + FileName + (Why.empty() ? "" : " (" + Why + ")");
    return false;
  }
  return true;
}

bool ReadExtraMembers(const std::string& FileName, std::vector<TPackMember>& Extras, std::string& Error) {
  Extras.clear();
  TMAD4MidLevel Archive;
  try {
    Archive.Mount(FileName, true);
  } catch (const EArchiveOpen&) {
    Error = "cannot open " + FileName;
    return false;
  }
  if (Archive.Status() != TMAD4LowLevel::kMountedOk) {
    Error = FileName + " is not a level pack";
    return false;
  }
  std::set<std::string> Seen;
  for (const TMAD4FileData& File : Archive.Files()) {
    const std::string Upper = VXToolbox::UpperCase(File.Name);
    // "*V" is the archive's version record, not a member a pack carries.
    if (IsOwnMember(Upper) || Upper == "*V" || !Seen.insert(Upper).second) continue;
    TVXStreamPtr In = Archive.OpenFile(File.Name);
    if (!In) {
      Error = "cannot read the member " + File.Name + " of " + FileName;
      return false;
    }
    Extras.push_back({File.Name, In->ReadAll()});
  }
  return true;
}
