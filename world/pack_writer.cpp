#include "world/pack_writer.h"

#include <climits>
#include <set>

#include "maps/xmap.h"
#include "shell/logger.h"
#include "shell/memory_stream.h"
#include "shell/safe_file_writer.h"
#include "shell/toolbox.h"
#include "storage/compressor.h"

namespace {

// A member the pack writer makes itself; an extra of that name would be
// hidden by it (or hide it: lookups ignore case).
bool IsOwnMember(const std::string& UpperName) {
  if (UpperName == "INFO") return true;
  if (UpperName.size() != 7 || UpperName.substr(3) != ".MPP") return false;
  for (int I = 0; I < 3; ++I)
    if (UpperName[static_cast<size_t>(I)] < '0' || UpperName[static_cast<size_t>(I)] > '9') return false;
  // 000.mpp is no map the game reads: a pack carries it as any other member.
  return UpperName.substr(0, 3) != "000";
}

std::vector<uint8_t> InfoBytes(const std::string& Name, const std::string& Author) {
  const std::string Info = std::string(kPackInfoFirstLine) + "\r\n" + Name + "\r\n" + Author + "\r\n";
  return {Info.begin(), Info.end()};
}

void PutU32(std::vector<uint8_t>& Out, uint32_t V) {
  for (int I = 0; I < 4; ++I) Out.push_back(static_cast<uint8_t>(V >> (8 * I)));
}

void PutText(std::vector<uint8_t>& Out, const std::string& Text) { Out.insert(Out.end(), Text.begin(), Text.end()); }

// The whole archive is made in memory, as the archive layer lays it out (the
// header, one "COMP" chunk a member, the closing record): no scratch file
// that a full disk or a folder the player may not write could fail, and the
// one file written goes through the safe writer.
std::vector<uint8_t> ArchiveBytes(const std::vector<TPackMember>& Members) {
  TCompressor Coder;
  std::vector<uint8_t> Out;
  PutText(Out, "MAD4");
  PutU32(Out, 0);
  for (const TPackMember& M : Members) {
    const std::vector<uint8_t> Data = Coder.Compress(M.Data, 0x40);
    PutText(Out, "COMP");
    PutU32(Out, static_cast<uint32_t>(1 + M.Name.size() + Data.size()));
    Out.push_back(static_cast<uint8_t>(M.Name.size()));
    PutText(Out, M.Name);
    Out.insert(Out.end(), Data.begin(), Data.end());
  }
  PutText(Out, "ENDS");
  PutU32(Out, 4);
  PutU32(Out, static_cast<uint32_t>(Out.size() + 4));
  const uint32_t Length = static_cast<uint32_t>(Out.size() - 8);
  for (int I = 0; I < 4; ++I) Out[static_cast<size_t>(4 + I)] = static_cast<uint8_t>(Length >> (8 * I));
  return Out;
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
               std::string& Error, std::string* Cause) {
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
  // A map the loader could not read in full would be written back as what
  // little was read: the member on disk is worth more.
  for (size_t I = 0; I < Maps.size(); ++I)
    if (Maps[I]->Status != "OK") {
      Error = "map " + std::to_string(I + 1) + " was not read (" + Maps[I]->Status + ")";
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
  const std::vector<uint8_t> Bytes = ArchiveBytes(Members);
  if (Bytes.size() > INT32_MAX) {
    Error = "the pack would be too large";
    return false;
  }
  std::string Why, SystemCause;
  if (!TSafeFileWriter::WriteFile(FileName, Bytes.data(), Bytes.size(), &Why, &SystemCause)) {
    Error = "cannot write " + FileName + ": " + SystemCause;
    if (Cause) *Cause = SystemCause;
    Log->Error(Why, "SQMapsUnit, WritePack");
    return false;
  }
  return true;
}
