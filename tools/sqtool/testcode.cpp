// sqtool testcode: the code that starts the game directly at one map.
#include <iostream>

#include "app/coder.h"
#include "shell/toolbox.h"
#include "tools/sqtool/command.h"

namespace {
const char* kUsage =
    "usage: sqtool testcode MAPNO\n"
    "\n"
    "Prints the 8-digit code of a test-map run for map MAPNO (0 to 1023, counted\n"
    "from 0), for: starquarry -testmap CODE PACK.sq\n";

int Run(const TArgs& Args) {
  if (Args.size() != 1) return SqFail("usage: sqtool testcode MAPNO");
  const int64_t MapNo = VXToolbox::StrToIntDef(Args[0], -1);
  if (MapNo < 0 || MapNo > TCoder1732::kMaxMap) return SqFail("map number must be 0 to 1023: '" + Args[0] + "'");
  std::cout << TCoder1732().TestMapCode(static_cast<int>(MapNo)) << "\n";
  return 0;
}

TSqCommand Command({"testcode", "make the code of a test-map run", kUsage, Run});
}  // namespace
