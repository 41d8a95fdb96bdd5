// sqtool picture: load an image as the game does and show or export it.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "graphics/image.h"
#include "graphics/ppm_writer.h"
#include "tools/sqtool/command.h"
#include "tools/sqtool/game_data.h"
#include "tools/sqtool/picture_sheet.h"

namespace {
const char* kUsage =
    "usage: sqtool picture convert NAME OUTFILE [--data FILE]\n"
    "       sqtool picture info NAME [--data FILE]\n"
    "       sqtool picture sheet OUTFILE [--data FILE]\n"
    "\n"
    "NAME is loaded as the game loads an image: through the resource opener\n"
    "(a file on disk by its path, else a member of the game's archive), with\n"
    "frame cuts such as elf.tga[2] or elf.tga[1..3][0] and a transformation\n"
    "string after a colon (H, V, I, R, r, D), e.g. elf.tga:HD.\n"
    "\n"
    "convert  writes the image's pixels to OUTFILE as a binary PPM (P6, RGB).\n"
    "info     prints WIDTHxHEIGHT frames=N animated=0|1 colorkeyed=0|1\n"
    "         looping=0|1 delay=N endpause=N\n"
    "sheet    draws every image of [*Blocks] and [*Outro] of controls.ini with\n"
    "         its frames into one PPM and prints one line per image:\n"
    "         [*LIST] NAME WxH frames=N at X,Y (or NAME missing).\n"
    "\n"
    "--data FILE  the game's archive (default: Starquarry.mad4 beside sqtool,\n"
    "             else the starquarry program there; none when neither is).\n";

int Convert(const std::string& Name, const std::string& OutFile) {
  TImage Image(Name);
  if (!Image.HasSurface()) return SqFail("cannot load image '" + Name + "'");
  if (!SaveImagePPM(Image, OutFile)) return SqFail("cannot write '" + OutFile + "'");
  return 0;
}

int Info(const std::string& Name) {
  TImage Image(Name);
  if (!Image.HasSurface()) return SqFail("cannot load image '" + Name + "'");
  std::cout << Image.Width() << "x" << Image.Height() << " frames=" << Image.FrameCount
            << " animated=" << Image.Animated << " colorkeyed=" << Image.ColorKeyed << " looping=" << Image.Looping
            << " delay=" << Image.FrameDelay << " endpause=" << Image.EndPause << "\n";
  return 0;
}

int Run(const TArgs& Args) {
  if (!Args.empty() && Args[0] == "sheet") return PictureSheet(TArgs(Args.begin() + 1, Args.end()));
  TArgs Words;
  std::string Data;
  for (size_t I = 0; I < Args.size(); ++I) {
    if (Args[I] == "--data" && I + 1 < Args.size()) Data = Args[++I];
    else Words.push_back(Args[I]);
  }
  const bool IsConvert = Words.size() == 3 && Words[0] == "convert", IsInfo = Words.size() == 2 && Words[0] == "info";
  if (!IsConvert && !IsInfo)
    return SqFail("usage: sqtool picture convert NAME OUTFILE | info NAME [--data FILE] | sheet OUTFILE [--data FILE]");
  // Names of the game's own pictures are members of its archive.
  if (const std::string Error = MountGameDataIfAny(Data); !Error.empty()) return SqFail(Error);
  return IsConvert ? Convert(Words[1], Words[2]) : Info(Words[1]);
}

TSqCommand Cmd({"picture", "load an image by name: export it as PPM or describe its frames", kUsage, Run});
}  // namespace
