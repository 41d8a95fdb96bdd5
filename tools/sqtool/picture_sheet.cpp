// sqtool picture sheet: the block and outro images side by side with their
// frames, for reviewing the game's art in one picture.
#include "tools/sqtool/picture_sheet.h"

#include <algorithm>
#include <iostream>

#include "graphics/image.h"
#include "graphics/image_collection.h"
#include "graphics/ppm_writer.h"
#include "tools/sqtool/game_data.h"

namespace {

constexpr int kSheetWidth = 1024;
constexpr int kPad = 4;   // around each image
constexpr int kGap = 2;   // between frames
constexpr int kRule = 3;  // line between the two lists

struct TPlaced {
  const TImageCollectionItem* Item;
  int X, Y, Frames, FrameWidth;
};

int FramesOf(const TImage& Image) { return Image.Animated && Image.FrameCount > 0 ? Image.FrameCount : 1; }

}  // namespace

int PictureSheet(const TArgs& Args) {
  std::string OutFile, Data;
  for (size_t I = 0; I < Args.size(); ++I) {
    if (Args[I] == "--data" && I + 1 < Args.size()) Data = Args[++I];
    else if (Args[I].rfind("--", 0) == 0 || !OutFile.empty())
      return SqFail("usage: sqtool picture sheet OUTFILE [--data FILE]");
    else OutFile = Args[I];
  }
  if (OutFile.empty()) return SqFail("usage: sqtool picture sheet OUTFILE [--data FILE]");
  // The game's archive, unless loose files are all there is.
  if (const std::string Error = MountGameDataIfAny(Data); !Error.empty()) return SqFail(Error);

  TImageCollection Lists[2];
  const char* Sections[2] = {"Blocks", "Outro"};
  for (int L = 0; L < 2; ++L) Lists[L].Load("controls.ini", Sections[L]);
  if (Lists[0].Count() + Lists[1].Count() == 0) return SqFail("controls.ini lists no images in [*Blocks] or [*Outro]");

  // Flow the images left to right, a new row when the sheet is full and
  // for the second list.
  std::vector<TPlaced> Placed;
  int X = 0, Y = 0, RowHeight = 0, Missing = 0, Height = 0;
  for (int L = 0; L < 2; ++L) {
    if (L == 1 && !Placed.empty()) {
      Y += RowHeight + kRule;
      X = 0;
      RowHeight = 0;
    }
    for (int I = 0; I < Lists[L].Count(); ++I) {
      const TImageCollectionItem& Item = Lists[L].Item(I);
      const TImage& Image = *Item.Image;
      if (!Image.HasSurface()) {
        std::cout << "[*" << Sections[L] << "] " << Item.Name << " missing\n";
        ++Missing;
        continue;
      }
      const int Frames = FramesOf(Image), FW = Image.Width() / Frames;
      const int W = Frames * FW + (Frames - 1) * kGap + 2 * kPad;
      if (X > 0 && X + W > kSheetWidth) {
        X = 0;
        Y += RowHeight;
        RowHeight = 0;
      }
      Placed.push_back({&Item, X + kPad, Y + kPad, Frames, FW});
      std::cout << "[*" << Sections[L] << "] " << Item.Name << " " << Image.Width() << "x" << Image.Height()
                << " frames=" << Frames << " at " << X + kPad << "," << Y + kPad << "\n";
      X += W;
      RowHeight = std::max(RowHeight, Image.Height() + 2 * kPad);
    }
  }
  Height = Y + RowHeight;
  const int Width = std::min(kSheetWidth, std::max(1, [&] {
                               int Right = 1;
                               for (const TPlaced& P : Placed)
                                 Right = std::max(Right, P.X + P.Frames * (P.FrameWidth + kGap) - kGap + kPad);
                               return Right;
                             }()));

  TImage Sheet(Width, std::max(1, Height));
  if (!Sheet.HasSurface())
    return SqFail("cannot make a sheet of " + std::to_string(Width) + "x" + std::to_string(Height));
  // A mid grey ground shows which images let black through.
  Sheet.Bar(0, 0, Width, Height, 56, 56, 64);
  for (const TPlaced& P : Placed) {
    const TImage& Image = *P.Item->Image;
    for (int F = 0; F < P.Frames; ++F)
      Sheet.DrawPart(P.X + F * (P.FrameWidth + kGap), P.Y, F * P.FrameWidth, 0, P.FrameWidth, Image.Height(), Image);
  }
  if (!SaveImagePPM(Sheet, OutFile)) return SqFail("cannot write '" + OutFile + "'");
  if (Missing > 0) return SqFail(std::to_string(Missing) + " listed images did not load");
  return 0;
}
