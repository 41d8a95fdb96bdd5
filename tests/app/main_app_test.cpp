#include "app/main_app.h"

#include <gtest/gtest.h>

#include "app/coder.h"
#include "shell/logger.h"
#include "shell/parameters.h"
#include "shell/toolbox.h"
#include "tests/support/test_support.h"

namespace {
TParameters Params(std::vector<std::string> Args) { return TParameters("/games/starquarry", std::move(Args)); }
}  // namespace

TEST(LaunchRequest, FullScreenIsABareWordInAnyCase) {
  auto P = Params({"fullscreen"});
  EXPECT_TRUE(ReadLaunchRequest(P).FullScreen);
  EXPECT_EQ(P.Count(), 1) << "the word is consumed";
  auto Q = Params({"-FullScreen"});
  EXPECT_FALSE(ReadLaunchRequest(Q).FullScreen);
}

TEST(LaunchRequest, TestMapNeedsCodeAndPackWithTheRightTag) {
  const std::string Code = TCoder1732().TestMapCode(37);
  auto P = Params({"/TESTMAP", VXToolbox::LowerCase(Code), "pack.sq"});
  const TLaunchRequest R = ReadLaunchRequest(P);
  EXPECT_EQ(R.TestMapIndex, 37);
  EXPECT_EQ(R.TestMapPack, "pack.sq");
  auto NoPack = Params({"-testmap", Code});
  EXPECT_EQ(ReadLaunchRequest(NoPack).TestMapIndex, -1);
  auto WrongTag = Params({"-testmap", TCoder1732().Encode(37), "pack.sq"});
  EXPECT_EQ(ReadLaunchRequest(WrongTag).TestMapIndex, -1);
  auto Short = Params({"-testmap", "1234", "pack.sq"});
  EXPECT_EQ(ReadLaunchRequest(Short).TestMapIndex, -1);
  auto NotHex = Params({"-testmap", "1234567Z", "pack.sq"});
  EXPECT_THROW(ReadLaunchRequest(NotHex), EConvertError);
}

TEST(LaunchRequest, ParametersAreTracedFromTheProgramPathOn) {
  TTempDir Dir;
  auto Saved = std::move(Parameters);
  Parameters =
      std::make_unique<TParameters>(Dir.File("sq"), std::vector<std::string>{"-mainlog", Dir.File("m.log"), "x"});
  Log.Reset(std::make_unique<TLogger>("", false));
  auto P = Params({"FullScreen", "level.sq"});
  ReadLaunchRequest(P);
  Log.Reset();
  Parameters = std::move(Saved);
  const std::string Text = ReadFileText(Dir.File("m.log"));
  EXPECT_NE(Text.find("< Trace > 0. /games/starquarry\r\n< Trace > 1. FullScreen\r\n< Trace > 2. level.sq\r\n"),
            std::string::npos)
      << Text;
}

TEST(MainCaption, NamesVersionBuildAndDate) {
  EXPECT_EQ(TMain::Caption("1.06", "0002", "2018.12.17"), "Starquarry V1.06 Build 0002 (2018.12.17)");
}
