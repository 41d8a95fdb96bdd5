// sqtool archive: list, extract and write MAD4 archives.
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "shell/file_stream.h"
#include "shell/toolbox.h"
#include "storage/compressor.h"
#include "storage/mad4_mid_level.h"
#include "tools/sqtool/command.h"

namespace {

const char* const kUsage =
    "usage: sqtool archive list ARCHIVE\n"
    "       sqtool archive extract ARCHIVE NAME OUTFILE\n"
    "       sqtool archive create OUTFILE [--method HH] [--as NAME] FILE...\n"
    "       sqtool archive add ARCHIVE [--method HH] [--as NAME] FILE...\n"
    "\n"
    "list prints one line per member in chunk order: name, tab, kind (RAWD,\n"
    "COMP:HH with the method byte, LINK or FVER), tab, stored data size.\n"
    "extract writes a member as the game reads it (a link followed, COMP decoded).\n"
    "create and add store each FILE as a member named by its file name, or by\n"
    "the NAME of a preceding --as. --method HH (hexadecimal) applies to the files\n"
    "after it: 00 stores the file as it is (RAWD), any other value compresses it\n"
    "(COMP) with that method byte; auto keeps the smallest of zlib alone and\n"
    "zlib after the plane, delta and run-length transforms. The default is 40\n"
    "(zlib). add reuses free space inside the archive.\n";

// What --method auto tries: zlib alone, then with the transforms that help
// pictures and modules.
const uint8_t kAutoMethods[] = {0x40, 0x41, 0x42, 0x43, 0x46, 0x48, 0x4B};

struct TInput {
  std::string Path;
  std::string Name;
  uint8_t Method = 0x40;
  bool Auto = false;
};

std::string Hex2(unsigned V) {
  char Buffer[8];
  std::snprintf(Buffer, sizeof Buffer, "%02X", V & 0xFF);
  return Buffer;
}

// Mounts an existing archive; null (after the message) when it is missing
// or not a MAD4 archive.
std::unique_ptr<TMAD4MidLevel> OpenArchive(const std::string& Path, bool ReadOnly) {
  if (!VXToolbox::FileExists(Path)) {
    SqFail("cannot read " + Path);
    return nullptr;
  }
  auto A = std::make_unique<TMAD4MidLevel>();
  try {
    A->Mount(Path, ReadOnly);
  } catch (const EArchiveOpen&) {
    SqFail("cannot open " + Path);
    return nullptr;
  }
  if (A->Status() != TMAD4LowLevel::kMountedOk) {
    SqFail(Path + " is not a MAD4 archive");
    return nullptr;
  }
  return A;
}

int List(const TArgs& Args) {
  if (Args.size() != 1) return SqFail("usage: sqtool archive list ARCHIVE");
  auto A = OpenArchive(Args[0], true);
  if (!A) return 1;
  for (const TMAD4FileData& F : A->Files()) {
    const uint32_t Kind = A->KindOf(F);
    std::string KindText = FourCCText(Kind);
    if (Kind == kFourCCComp) {
      const auto First = A->ReadData(F, 1);
      KindText += First.empty() ? ":--" : ":" + Hex2(First[0]);
    }
    std::cout << F.Name << '\t' << KindText << '\t' << F.DataSize << '\n';
  }
  return 0;
}

int Extract(const TArgs& Args) {
  if (Args.size() != 3) return SqFail("usage: sqtool archive extract ARCHIVE NAME OUTFILE");
  auto A = OpenArchive(Args[0], true);
  if (!A) return 1;
  if (!A->Exists(Args[1])) return SqFail("no member " + Args[1] + " in " + Args[0]);
  TVXStreamPtr Content = A->OpenFile(Args[1]);
  if (!Content) return SqFail("cannot decode member " + Args[1] + " of " + Args[0]);
  auto Out = TFileStream::Open(Args[2], TFileStream::TMode::Create);
  const auto Bytes = Content->ReadAll();
  if (!Out || !Out->WriteExact(Bytes.data(), Bytes.size())) return SqFail("cannot write " + Args[2]);
  return 0;
}

// Parses [--method HH] [--as NAME] FILE... ; false after the message.
bool ParseInputs(const TArgs& Args, size_t From, std::vector<TInput>& Inputs) {
  uint8_t Method = 0x40;
  bool Auto = false;
  std::string As;
  for (size_t I = From; I < Args.size(); ++I) {
    const std::string& A = Args[I];
    if (A == "--method" || A == "--as") {
      if (I + 1 >= Args.size()) {
        SqFail(A + " needs a value");
        return false;
      }
      const std::string& V = Args[++I];
      if (A == "--as") {
        As = V;
        continue;
      }
      Auto = V == "auto";
      if (Auto) continue;
      int64_t M = -1;
      try {
        if (V.size() == 2) M = VXToolbox::HexToInt(V);
      } catch (const EConvertError&) {}
      if (M < 0 || M > 255) {
        SqFail("bad method byte '" + V + "' (two hexadecimal digits)");
        return false;
      }
      Method = static_cast<uint8_t>(M);
      continue;
    }
    TInput In{A, As.empty() ? VXToolbox::ExtractFileName(A) : As, Method, Auto};
    As.clear();
    if (!VXToolbox::FileExists(In.Path)) {
      SqFail("cannot read " + In.Path);
      return false;
    }
    if (In.Name.empty() || In.Name.size() > 255) {
      SqFail("member name '" + In.Name + "' must be 1 to 255 characters");
      return false;
    }
    if (!In.Auto && In.Method != 0 && !TCompressor::MethodDecodes(In.Method)) {
      SqFail("method " + Hex2(In.Method) + " cannot hold data");
      return false;
    }
    Inputs.push_back(std::move(In));
  }
  if (!As.empty()) {
    SqFail("--as " + As + " is not followed by a file");
    return false;
  }
  return true;
}

bool AddInputs(TMAD4MidLevel& Archive, const std::vector<TInput>& Inputs) {
  TCompressor Coder;
  for (const TInput& In : Inputs) {
    auto File = TFileStream::Open(In.Path, TFileStream::TMode::Read);
    if (!File) {
      SqFail("cannot read " + In.Path);
      return false;
    }
    const std::vector<uint8_t> Data = File->ReadAll();
    bool Added;
    if (In.Auto) {
      std::vector<uint8_t> Best;
      for (uint8_t M : kAutoMethods) {
        std::vector<uint8_t> Encoded = Coder.Compress(Data, M);
        if (Best.empty() || Encoded.size() < Best.size()) Best = std::move(Encoded);
      }
      Added = Archive.AddMember(kFourCCComp, In.Name, Best);
    } else if (In.Method == 0) {
      Added = Archive.AddMember(kFourCCRawd, In.Name, Data);
    } else {
      Added = Archive.AddMember(kFourCCComp, In.Name, Coder.Compress(Data, In.Method));
    }
    if (!Added) {
      SqFail("cannot add " + In.Path + " to " + Archive.FileName());
      return false;
    }
  }
  return true;
}

int Create(const TArgs& Args) {
  if (Args.empty()) return SqFail("usage: sqtool archive create OUTFILE [--method HH] [--as NAME] FILE...");
  std::vector<TInput> Inputs;
  if (!ParseInputs(Args, 1, Inputs)) return 1;
  // Written aside and moved into place, so a failure leaves no half archive.
  const std::string Out = Args[0];
  const std::string Partial = Out + ".partial";
  std::error_code Error;
  std::filesystem::remove(Partial, Error);
  bool Ok;
  {
    TMAD4MidLevel Archive;
    try {
      Archive.Mount(Partial, false);
    } catch (const EArchiveOpen&) { return SqFail("cannot write " + Out); }
    Ok = AddInputs(Archive, Inputs);
  }
  if (Ok) std::filesystem::rename(Partial, Out, Error);
  if (!Ok || Error) {
    std::filesystem::remove(Partial, Error);
    return Ok ? SqFail("cannot write " + Out) : 1;
  }
  return 0;
}

int AddCommand(const TArgs& Args) {
  if (Args.empty()) return SqFail("usage: sqtool archive add ARCHIVE [--method HH] [--as NAME] FILE...");
  std::vector<TInput> Inputs;
  if (!ParseInputs(Args, 1, Inputs)) return 1;
  auto A = OpenArchive(Args[0], false);
  if (!A) return 1;
  if (!A->Writable()) return SqFail(Args[0] + " is damaged; nothing added");
  return AddInputs(*A, Inputs) ? 0 : 1;
}

int Run(const TArgs& Args) {
  if (Args.empty()) return SqFail("usage: sqtool archive list|extract|create|add ... (see sqtool help archive)");
  const TArgs Rest(Args.begin() + 1, Args.end());
  if (Args[0] == "list") return List(Rest);
  if (Args[0] == "extract") return Extract(Rest);
  if (Args[0] == "create") return Create(Rest);
  if (Args[0] == "add") return AddCommand(Rest);
  return SqFail("unknown archive command '" + Args[0] + "' (see sqtool help archive)");
}

TSqCommand Cmd({"archive", "list, extract, create and add to MAD4 archives", kUsage, Run});

}  // namespace
