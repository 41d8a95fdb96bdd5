#pragma once
// TImageCollection: named images loaded from list lines "file,name[,*]".
// Names compare case-sensitively, entries keep their order, a name may
// occur twice and lookups find the first. The collection owns its items,
// their images and the masks it builds.
#include <memory>
#include <string>
#include <vector>

#include "graphics/image.h"
#include "graphics/mask.h"
#include "shell/stream.h"

struct TImageCollectionItem {
  std::string Name;
  std::unique_ptr<TImage> Image;
  std::unique_ptr<TMask> Mask;  // optional collision mask
};

class TImageCollection {
 public:
  static constexpr const char* kVersion = "ImageCollectionUnit, version 1.22";

  TImageCollection() = default;
  virtual ~TImageCollection() = default;
  TImageCollection(const TImageCollection&) = delete;
  TImageCollection& operator=(const TImageCollection&) = delete;

  // Frees every item with its image and mask.
  virtual void Clear();
  // One list line; true when an image was added (also one that failed to
  // load: the item then holds an image without a surface).
  virtual bool AddImageEx(const std::string& Line);

  void AddImage(std::unique_ptr<TImage> Image, const std::string& Name, std::unique_ptr<TMask> Mask = nullptr);
  // Loads FileName as TImage(FileName) does and adds it.
  void AddImageFile(const std::string& FileName, const std::string& Name, std::unique_ptr<TMask> Mask = nullptr);
  void AddStrings(const std::vector<std::string>& Lines);

  // The first item / image of that name; null (and a status line) when none.
  TImageCollectionItem* Find(const std::string& Name) const;
  TImage* FindImage(const std::string& Name) const;
  void AssignMask(const std::string& Name, std::unique_ptr<TMask> Mask);

  // The list section [*Section] of an INI file opened through the stream opener.
  void Load(const std::string& IniName, const std::string& Section);
  // A stand-alone list file: "[*GFXLIST]" INI form, or plain lines up to "!END".
  void LoadList(const std::string& FileName);
  void LoadListStream(TVXStreamBase& Stream);

  // Writes the collection to the log.
  void ListItems() const;
  // Saves every image as IC_000.bmp, IC_001.bmp, ... in the working directory.
  void SaveItems() const;

  int Count() const { return static_cast<int>(FItems.size()); }
  const TImageCollectionItem& Item(int Index) const { return *FItems[static_cast<size_t>(Index)]; }

 private:
  std::vector<std::unique_ptr<TImageCollectionItem>> FItems;
};

// The process-wide collection of block images (the map tiles).
extern std::unique_ptr<TImageCollection> Blocks;

void StartImageCollection();
void StopImageCollection();
