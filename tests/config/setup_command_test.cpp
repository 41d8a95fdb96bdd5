#include "config/setup_command.h"

#include <gtest/gtest.h>

#include "config/key_names.h"
#include "tests/support/scope_guard.h"

namespace {

// The message Parse raises for Text, or "" when it passes.
std::string ParseError(TSetupCommandHandler& H, const std::string& Kind, const std::string& Text) {
  try {
    H.Parse(Kind, "1", Text);
  } catch (const ESetupCommand& E) { return E.what(); }
  return {};
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(KeyNameTableTest, HoldsTheSdlKeySymbols) {
  const TKeyNameTable T;
  EXPECT_EQ(T.Count(), 136u);
  EXPECT_EQ(T.Value("FIRST"), "0");
  EXPECT_EQ(T.Value("unknown"), "0");
  EXPECT_EQ(T.Value("a"), "97");
  EXPECT_EQ(T.Value("Z"), "122");
  EXPECT_EQ(T.Value("DELETE"), "127");
  EXPECT_EQ(T.Value("KP_EQUALS"), "272");
  EXPECT_EQ(T.Value("Up"), "273");
  EXPECT_EQ(T.Value("F12"), "293");
  EXPECT_EQ(T.Value("NUMLOCK"), "300");
  EXPECT_EQ(T.Value("EURO"), "321");
  EXPECT_FALSE(T.Value("UNDO"));
  EXPECT_FALSE(T.Value("WORLD_0"));
}

TEST(SetupCommandTest, SchemaHoldsEveryKindAndTheMultiValueKeys) {
  const TSetupCommandHandler H;
  EXPECT_EQ(H.MultiKeys(), (Strings{"LISTBOX.ITEM", "MENU.ITEM", "MENU.ITEMEXT"}));
  const Strings& S = H.Schema();
  EXPECT_EQ(S.front(), "EDITBOX.X=N");
  EXPECT_EQ(S.back(), "BUTTON.ONMOUSELEAVE=S");
  EXPECT_NE(std::find(S.begin(), S.end(), "LISTBOX.KEYUP=SDLK_KEYNAME"), S.end());
  EXPECT_NE(std::find(S.begin(), S.end(), "MENU.ITEMEXT=S"), S.end());
  EXPECT_EQ(S.size(), 16u + 22u + 24u + 10u + 17u);
}

TEST(SetupCommandTest, BareKeysBooleansAndSingleValues) {
  TSetupCommandHandler H;
  H.Parse("EditBox", "7", "Transparent");
  EXPECT_EQ(H.GetValue("7", "TRANSPARENT"), "Y");
  H.Parse("editbox", "7", "Transparent=yes|transparent=1|Width=10|Width=20|");
  EXPECT_EQ(H.GetValues("7", "transparent"), Strings{"1"});
  EXPECT_EQ(H.GetValues("7", "Width"), Strings{"20"}) << "a single-value key keeps the latest";
  EXPECT_EQ(H.EntryCount(), 2u) << "a trailing bar adds no command";
  EXPECT_EQ(ParseError(H, "EditBox", "Transparent=maybe"), "Boolean value expected! (TRANSPARENT=maybe)");
  EXPECT_EQ(ParseError(H, "EditBox", "PasswordChar=**"), "Char value expected! (PASSWORDCHAR=**)");
  EXPECT_EQ(ParseError(H, "EditBox", "PasswordChar=*"), "");
}

TEST(SetupCommandTest, MultiValueKeysAndQuotedBars) {
  TSetupCommandHandler H;
  H.Parse("ListBox", "3", "Item=One|Item=Two");
  EXPECT_EQ(H.GetValues("3", "ITEM"), (Strings{"One", "Two"}));
  EXPECT_EQ(H.GetValue("3", "item"), "One");
  H.Parse("Menu", "4", "ItemExt=\"a|b\"|Item=x|Y=5");
  EXPECT_EQ(H.GetValues("4", "ItemExt"), Strings{"\"a|b\""});
  EXPECT_EQ(H.GetValue("4", "Y"), "5");
  // An unclosed quote swallows the rest of the text.
  H.Parse("Menu", "5", "X=1|Item=\"open|Y=2");
  EXPECT_TRUE(H.HasKey("5", "X"));
  EXPECT_FALSE(H.HasKey("5", "Y"));
}

TEST(SetupCommandTest, ValueChecksAndTheirMessages) {
  TSetupCommandHandler H;
  EXPECT_EQ(ParseError(H, "ListBox", "Background=ff00ff"),
            "RGB value expected (6 hex digits: rrggbb)! (BACKGROUND=ff00ff)");
  EXPECT_EQ(ParseError(H, "ListBox", "Background=FF00FF"), "");
  EXPECT_EQ(ParseError(H, "ListBox", "Foo=1"), "Unknown identifier! (FOO=1)");
  EXPECT_EQ(ParseError(H, "Nothing", "X=1"), "Unknown identifier! (X=1)");
  EXPECT_EQ(ParseError(H, "EditBox", "X=-12"), "");
  EXPECT_EQ(ParseError(H, "EditBox", "X=1.5"), "");
  EXPECT_EQ(ParseError(H, "EditBox", "X=-"), "Numeric value expected! (X=-)");
  EXPECT_EQ(ParseError(H, "EditBox", "X="), "Numeric value expected! (X=)");
  EXPECT_EQ(ParseError(H, "EditBox", "X=--1"), "Numeric value expected! (X=--1)");
}

TEST(SetupCommandTest, KeyNamesBecomeKeySymbols) {
  TSetupCommandHandler H;
  H.Parse("Menu", "9", "KeyUp=Up|KeyDown=SDLK_DOWN|KeyLeft=sdlk_left|KeySelect=RETURN");
  EXPECT_EQ(H.GetValue("9", "KeyUp"), "273");
  EXPECT_EQ(H.GetValue("9", "KeyDown"), "274");
  EXPECT_EQ(H.GetValue("9", "KeyLeft"), "276");
  EXPECT_EQ(H.GetValue("9", "KeySelect"), "13");
  EXPECT_EQ(ParseError(H, "Menu", "KeyUp=Upp"), "SDLK_KeyName value expected (see them in SDL.PAS)! (KEYUP=Upp)");
  EXPECT_EQ(ParseError(H, "Menu", "KeyUp=SDLK_"), "SDLK_KeyName value expected (see them in SDL.PAS)! (KEYUP=SDLK_)");
  // The module's table is used when it runs.
  {
    TRestore Names(KeyNames);
    StartKeyNames();
    H.Parse("Menu", "9", "KeyUp=F12");
  }
  EXPECT_EQ(H.GetValue("9", "KeyUp"), "293");
}

TEST(SetupCommandTest, ParseStopsAtTheFirstBadCommand) {
  TSetupCommandHandler H;
  EXPECT_EQ(ParseError(H, "EditBox", "Transparent||Width=5"), "Unknown identifier! (=Y)");
  EXPECT_TRUE(H.HasKey("1", "Transparent"));
  EXPECT_FALSE(H.HasKey("1", "Width"));
}

TEST(SetupCommandTest, ClearForgetsOnlyItsOwnPrefix) {
  TSetupCommandHandler H;
  H.Parse("Menu", "1", "X=1|Item=a");
  H.Parse("Menu", "12", "X=2");
  H.Parse("Menu", "2", "X=3");
  H.Clear("1");
  EXPECT_FALSE(H.HasKey("1", "X"));
  EXPECT_TRUE(H.GetValues("1", "Item").empty());
  EXPECT_EQ(H.GetValue("1", "X"), "");
  EXPECT_EQ(H.GetValue("12", "X"), "2");
  EXPECT_EQ(H.GetValue("2", "X"), "3");
}
