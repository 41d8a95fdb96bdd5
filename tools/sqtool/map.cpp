// sqtool map: converting XMAP map files between their four formats.
#include <iostream>

#include "maps/xmap.h"
#include "shell/file_stream.h"
#include "tools/sqtool/command.h"

namespace {

const char* FormatName(char Mode) {
  switch (Mode) {
    case 'B': return "MAPB";
    case 'W': return "MAPW";
    case 'T': return "MAPT";
    default: return "MAPX";
  }
}

int Convert(const TArgs& Args) {
  if (Args.size() != 4) return SqFail("usage: sqtool map convert INFILE OUTFILE MODE");
  const std::string& In = Args[1];
  const std::string& Out = Args[2];
  const std::string Mode = VXToolbox::UpperCase(Args[3]);
  if (Mode.size() != 1 || std::string_view("ABTWX").find(Mode[0]) == std::string_view::npos)
    return SqFail("unknown mode '" + Args[3] + "' (A, B, T, W or X)");

  auto Stream = TFileStream::Open(In, TFileStream::TMode::Read);
  if (!Stream) return SqFail("cannot read " + In);
  TXMap Map;
  try {
    Map.Load(*Stream);
  } catch (const std::exception& E) { return SqFail(In + ": " + E.what()); }
  Stream.reset();
  if (Map.Width < 1 || Map.Height < 1) {
    const std::string Why = Map.Status == "OK" ? "unsupported XMAP format" : Map.Status;
    return SqFail(In + ": " + Why);
  }
  const char Used = Map.SaveToFile(Out, Mode[0]);
  std::cout << Out << ": " << FormatName(Used) << ", " << Map.Width << " x " << Map.Height << "\n";
  if (Map.Status != "OK") std::cout << In << ": " << Map.Status << "\n";
  return 0;
}

int RunMap(const TArgs& Args) {
  if (Args.empty()) return SqFail("usage: sqtool map convert INFILE OUTFILE MODE");
  if (Args[0] == "convert") return Convert(Args);
  return SqFail("unknown map command '" + Args[0] + "' (see sqtool help map)");
}

}  // namespace

static TSqCommand Cmd({"map", "convert XMAP map files between their formats",
                       "usage: sqtool map convert INFILE OUTFILE MODE\n"
                       "  Loads any XMAP map (MAPT, MAPX, MAPB, MAPW) and saves it in MODE:\n"
                       "  A automatic (MAPB, or MAPW for tile IDs above 255), B MAPB, T MAPT,\n"
                       "  W MAPW, X MAPX; any case. A map the chosen format cannot hold is\n"
                       "  saved in one that can. Prints OUTFILE, the format written and the size.\n",
                       RunMap});
