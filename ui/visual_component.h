#pragma once
// TVisualComponent: the base of the edit box, the list box and the menu. Each
// component has its own number, under which its settings live in the shared
// setup-string store, and its kind name, against which they are checked.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/mouse_object.h"

class TFont;

class TVisualComponent : public TMouseObject {
 public:
  static constexpr const char* kVersion = "VisualComponentUnit, version 1.06";

  TVisualComponent();

  // Adds or replaces settings; the component applies them at its next use.
  // Raises ESetupCommand on an invalid command.
  void Setup(std::string_view Text);
  // Forgets every setting of this component.
  void ClearSetup();

  bool HasKey(std::string_view Key) const;
  // The first value, or "".
  std::string GetValue(std::string_view Key) const;
  std::vector<std::string> GetValues(std::string_view Key) const;
  // The value as a decimal integer; 0 when absent or not an integer.
  int32_t GetInt(std::string_view Key) const;
  // True for YES, Y, I, TRUE and 1 in any letter case.
  bool GetBool(std::string_view Key) const;
  // The value's first character, or 0.
  char GetChar(std::string_view Key) const;

  // The numbers handed out so far; the next component gets this one.
  static int32_t NextId();

  int32_t Id;
  std::string Kind;
  bool SetupPending = false;

 protected:
  std::string Prefix() const { return std::to_string(Id); }
  // Number, alignment and rectangle keys shared by the components: X, Y,
  // Width, Height, AlignX, AlignY and TextAlign set Left..Bottom and
  // return the text alignment with its anchor in TextX.
  int ApplyBox(int32_t& TextX);
  // The font of that number in the collection, or null.
  static TFont* FontByNumber(int32_t Number);
  // "CENTER" 1, Second 2, anything else 0, without regard to case.
  static int MapAlign(std::string_view Value, std::string_view Second);
};
