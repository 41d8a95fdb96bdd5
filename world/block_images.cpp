#include "world/block_images.h"

#include <set>

#include "graphics/image_collection.h"
#include "shell/logger.h"
#include "storage/stream_opener.h"
#include "world/tile_table.h"

namespace {
// Per thread, as a search on a worker thread looks images up too.
std::set<std::string>& Reported() {
  thread_local std::set<std::string> Names;
  return Names;
}
}  // namespace

void ClearBlockImages() {
  if (Blocks) Blocks->Clear();
}

void LoadBlockImages() {
  if (!Blocks) Blocks = std::make_unique<TImageCollection>();
  // A pack or data set without "controls.ini" plays with no block images
  // rather than not at all.
  try {
    Blocks->Load("controls.ini", "Blocks");
  } catch (const EOpenStream&) { Log->Error("No block images: controls.ini not found", "SQMapsUnit, TMaps.Load"); }
}

TImage* FindBlockImage(const std::string& Name, bool Report) {
  if (!Blocks) return nullptr;
  for (int I = 0; I < Blocks->Count(); ++I) {
    const TImageCollectionItem& Item = Blocks->Item(I);
    if (Item.Name == Name) return Item.Image.get();
  }
  // The collection's own lookup logs the miss; once per name is enough.
  if (Report && Reported().insert(Name).second) Blocks->FindImage(Name);
  return nullptr;
}

TImage* TilePicture(const TTileRow& Row) {
  if (!Row.Image) return nullptr;
  if (TImage* Image = FindBlockImage(Row.Image, false)) return Image;
  return FindBlockImage(std::string(Row.Image) + "1", false);
}

void ResetMissingImageReports() { Reported().clear(); }
