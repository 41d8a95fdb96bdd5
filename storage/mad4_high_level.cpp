#include "storage/mad4_high_level.h"

#include "shell/logger.h"
#include "shell/toolbox.h"
#include "storage/disk_lookup.h"

std::unique_ptr<TMAD4HighLevel> VolumeManager;

void StartVolumeManager() { VolumeManager = std::make_unique<TMAD4HighLevel>(); }
void StopVolumeManager() { VolumeManager.reset(); }

bool TMAD4HighLevel::Mount(const std::string& FileName, int32_t Priority, bool ReadOnly) {
  auto Volume = std::make_unique<TMAD4MidLevel>();
  try {
    Volume->Mount(FileName, ReadOnly);
  } catch (const EArchiveOpen& E) {
    // An unreadable level pack must not end the program: it is just not a volume.
    Log->Error(E.what(), "MAD4HighLevelUnit, TMAD4HighLevel.Mount");
    return false;
  }
  if (Volume->Status() != TMAD4LowLevel::kMountedOk) return false;
  size_t At = 0;
  while (At < FVolumes.size() && FVolumes[At].Priority > Priority) ++At;
  FVolumes.insert(FVolumes.begin() + static_cast<std::ptrdiff_t>(At), {FileName, Priority, std::move(Volume)});
  ListVolumes();
  return true;
}

void TMAD4HighLevel::Unmount(const std::string& FileName) {
  for (auto It = FVolumes.begin(); It != FVolumes.end(); ++It)
    if (VXToolbox::SameText(It->FileName, FileName)) {
      FVolumes.erase(It);
      return;
    }
}

std::string TMAD4HighLevel::ExpandName(const std::string& Name) const { return ExpandRelativeName(Name, CurrentDir); }

bool TMAD4HighLevel::IsExists(const std::string& Name) const {
  if (Name.empty()) return false;
  const std::string Expanded = ExpandName(Name);
  Log->Debug("Looking for " + Expanded, "MAD4HighLevelUnit, TMAD4HighLevel.IsExists");
  for (const TMAD4VolumeData& V : FVolumes)
    if (V.Volume->Exists(Expanded)) return true;
  return false;
}

TVXStreamPtr TMAD4HighLevel::OpenFile(const std::string& Name) {
  if (Name.empty()) return nullptr;
  const std::string Expanded = ExpandName(Name);
  for (TMAD4VolumeData& V : FVolumes)
    if (V.Volume->Exists(Expanded)) return V.Volume->OpenFile(Expanded);
  return nullptr;
}

void TMAD4HighLevel::GetFileInfo(std::string& Name, int32_t& Start, int32_t& Size, bool& Compressed) const {
  const std::string Full = CurrentDir + Name;
  for (const TMAD4VolumeData& V : FVolumes)
    if (V.Volume->Exists(Full)) {
      Name = Full;
      V.Volume->GetFileInfo(Name, Start, Size, Compressed);
      return;
    }
  Start = -1;
}

void TMAD4HighLevel::ListVolumes() const {
  Log->WriteLine("----== MAD4 High Level - Volume listing ==----");
  Log->WriteLine("Number of volumes mounted: " + std::to_string(FVolumes.size()));
  for (size_t I = 0; I < FVolumes.size(); ++I)
    Log->WriteLine(VXToolbox::PadLeft(' ', std::to_string(I + 1), 3) + ". (" +
                   VXToolbox::PadLeft(' ', std::to_string(FVolumes[I].Priority), 3) + ") " + FVolumes[I].FileName);
  Log->WriteLine("- -- --- --- Volume listing ends. --- --- -- -");
}
