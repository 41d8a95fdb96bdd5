// The setup-string parser on arbitrary text, for every component kind.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/setup_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static TSetupCommandHandler Handler;
  const std::string_view Text(reinterpret_cast<const char*>(Data), Size);
  for (const char* Kind : {"EditBox", "ListBox", "Menu", "Button"}) {
    try {
      Handler.Parse(Kind, "7", Text);
    } catch (const ESetupCommand&) {}
    (void)Handler.GetValues("7", "Item");
    (void)Handler.GetValue("7", "KeyUp");
    Handler.Clear("7");
  }
  return 0;
}
