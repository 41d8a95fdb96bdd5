#include "graphics/image_collection.h"

#include <SDL.h>

#include "config/ini_file.h"
#include "shell/logger.h"
#include "shell/toolbox.h"
#include "storage/stream_opener.h"

std::unique_ptr<TImageCollection> Blocks;

namespace {
constexpr const char* kLoadHeading = "ImageCollectionUnit, TImageCollection.Load";

void NotFound(const std::string& Name, const char* Heading) {
  Log->Status("Image not found! (" + Name + ").", Heading);
}
}  // namespace

void StartImageCollection() { Blocks = std::make_unique<TImageCollection>(); }
void StopImageCollection() { Blocks.reset(); }

void TImageCollection::Clear() { FItems.clear(); }

void TImageCollection::AddImage(std::unique_ptr<TImage> Image, const std::string& Name, std::unique_ptr<TMask> Mask) {
  auto Item = std::make_unique<TImageCollectionItem>();
  Item->Name = Name;
  Item->Image = std::move(Image);
  Item->Mask = std::move(Mask);
  FItems.push_back(std::move(Item));
}

void TImageCollection::AddImageFile(const std::string& FileName, const std::string& Name, std::unique_ptr<TMask> Mask) {
  AddImage(std::make_unique<TImage>(FileName), Name, std::move(Mask));
}

bool TImageCollection::AddImageEx(const std::string& Text) {
  if (VXToolbox::Trim(Text).empty()) return false;
  std::string Line = Text;
  const bool Keyed = Line.front() == '.';
  if (Keyed) Line.erase(0, 1);
  if (!Line.empty() && Line.front() == '?') {
    Log->Warning("VXScript not supported. Use TImageCollectionIP to access VXScript.",
                 "ImageCollectionUnit, TImageCollection.AddImageEx");
    return false;
  }
  // No comma: an empty file name, which fails to load.
  const size_t Comma = Line.find(',');
  const std::string FileName = Comma == std::string::npos ? std::string() : Line.substr(0, Comma);
  Line.erase(0, Comma == std::string::npos ? 0 : Comma + 1);
  std::string Name = Line, MaskFlag;
  const size_t Second = Line.find(',');
  if (Second != std::string::npos) {
    Name = Line.substr(0, Second);
    MaskFlag = Line.substr(Second + 1);
  }
  auto Image = std::make_unique<TImage>(FileName);
  if (Keyed) Image->SetColorKey();
  TImage& Added = *Image;
  AddImage(std::move(Image), Name);
  if (MaskFlag == "*") AssignMask(Name, std::make_unique<TMask>(Added, 1));
  return true;
}

void TImageCollection::AddStrings(const std::vector<std::string>& Lines) {
  for (const std::string& L : Lines) AddImageEx(L);
}

TImageCollectionItem* TImageCollection::Find(const std::string& Name) const {
  for (const auto& Item : FItems)
    if (Item->Name == Name) return Item.get();
  NotFound(Name, "ImageCollectionUnit, TImageCollection.Find");
  return nullptr;
}

TImage* TImageCollection::FindImage(const std::string& Name) const {
  TImageCollectionItem* Item = Find(Name);
  return Item ? Item->Image.get() : nullptr;
}

void TImageCollection::AssignMask(const std::string& Name, std::unique_ptr<TMask> Mask) {
  for (const auto& Item : FItems)
    if (Item->Name == Name) {
      Item->Mask = std::move(Mask);
      return;
    }
  NotFound(Name, "ImageCollectionUnit, TImageCollection.AssignMask");
}

void TImageCollection::Load(const std::string& IniName, const std::string& Section) {
  std::unique_ptr<TIniFile> Ini = TIniFile::Create(IniName, true);
  if (Ini->SectionType(Section) != static_cast<int32_t>(TSectionType::stList)) {
    Log->Warning("Invalid section type! [*" + Section + "]", kLoadHeading);
    return;
  }
  for (const auto& S : Ini->Sections())
    if (S.Type == TSectionType::stList && VXToolbox::SameText(S.Name, Section)) {
      AddStrings(S.Lines);
      break;
    }
}

void TImageCollection::LoadList(const std::string& FileName) {
  Log->Debug("Filename=" + FileName, kLoadHeading);
  TVXStreamPtr Stream;
  try {
    Stream = StreamOpener->OpenStream(FileName);
  } catch (const EOpenStream&) { return; }
  if (Stream) LoadListStream(*Stream);
}

void TImageCollection::LoadListStream(TVXStreamBase& Stream) {
  const int64_t Start = Stream.Position();
  const std::string First = VXToolbox::ReadLine(Stream);
  Stream.Seek(Start);
  if (VXToolbox::UpperCase(First) == "[*GFXLIST]") {
    Log->Debug("LoadListV2", kLoadHeading);
    std::unique_ptr<TIniFile> Ini = TIniFile::CreateFromStream(Stream);
    for (const auto& S : Ini->Sections())
      if (S.Type == TSectionType::stList && VXToolbox::SameText(S.Name, "GFXList")) {
        AddStrings(S.Lines);
        break;
      }
    return;
  }
  Log->Debug("LoadListV1", kLoadHeading);
  while (!Stream.Eof()) {
    const std::string Line = VXToolbox::ReadLine(Stream);
    if (Line == "!END") break;
    AddImageEx(Line);
  }
}

void TImageCollection::ListItems() const {
  const char* Heading = "ImageCollectionUnit, TImageCollection.ListItems";
  Log->Status("Imagecollection listing starts...", Heading);
  for (size_t I = 0; I < FItems.size(); ++I) {
    const TImageCollectionItem& Item = *FItems[I];
    Log->Trace(VXToolbox::PadLeft(' ', std::to_string(I), 3) + ". " + Item.Name + " (" +
               std::to_string(Item.Image->Width()) + "x" + std::to_string(Item.Image->Height()) +
               ",Anim=" + (Item.Image->Animated ? "True" : "False") + ")");
  }
  Log->Status("Imagecollection listing ends...", Heading);
}

void TImageCollection::SaveItems() const {
  for (size_t I = 0; I < FItems.size(); ++I) {
    SDL_Surface* S = FItems[I]->Image->Surface();
    if (!S) continue;
    const std::string Name = "IC_" + VXToolbox::PaddedNumber(static_cast<int64_t>(I), 3, '0') + ".bmp";
    if (SDL_SaveBMP(S, Name.c_str()) != 0)
      Log->Warning("Cannot save " + Name, "ImageCollectionUnit, TImageCollection.SaveItems");
  }
}
