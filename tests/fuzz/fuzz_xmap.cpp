// The XMAP loader on arbitrary bytes, and a save of whatever it loaded.
#include <cstddef>
#include <cstdint>

#include "maps/xmap.h"
#include "shell/memory_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream In(Data, Size);
  TXMap Map;
  try {
    Map.Load(In);
  } catch (const EConvertError&) { return 0; }
  if (Map.Width > 0 && Map.Height > 0) {
    (void)Map.GetLogicalTile(Map.Width - 1, Map.Height - 1);
    TMemoryStream Out;
    Map.Save(Out, 'A');
    Out.Seek(0);
    TXMap Again;
    Again.Load(Out);
    if (Again.Tiles != Map.Tiles) __builtin_trap();  // binary saves are lossless
  }
  return 0;
}
