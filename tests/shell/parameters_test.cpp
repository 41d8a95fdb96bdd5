#include "shell/parameters.h"

#include <gtest/gtest.h>

namespace {
TParameters Make(std::vector<std::string> Args) { return TParameters("/opt/sq/starquarry", std::move(Args)); }
}  // namespace

TEST(Parameters, ExistsMatchesBareWordIgnoringCaseAndConsumesIt) {
  auto P = Make({"FullScreen", "x"});
  EXPECT_EQ(P.IndexOf("fullscreen"), 1);
  EXPECT_TRUE(P.Exists("FULLSCREEN"));
  EXPECT_FALSE(P.Exists("FullScreen"));
  EXPECT_EQ(P.Count(), 2);
  EXPECT_EQ(P.Get(1), "x");
  EXPECT_EQ(P.IndexOf("-x"), -1) << "words match bare, a dash is not ignored";
}

TEST(Parameters, FindSwitchAcceptsDashOrSlashInAnyCaseWithoutRemoving) {
  auto P = Make({"-testmap", "/TESTMAP"});
  EXPECT_EQ(P.FindSwitch("testmap", false), 1);
  EXPECT_EQ(P.Count(), 3);
  auto Q = Make({"/TESTMAP"});
  EXPECT_EQ(Q.FindSwitch("testmap", false), 1);
  EXPECT_EQ(Q.FindSwitch("testmap", true), 1);
  EXPECT_EQ(Q.Count(), 1);
  EXPECT_EQ(Q.FindSwitch("testmap", false), -1);
}

TEST(Parameters, SwitchValueTakesNextItemAndRemovesBoth) {
  auto P = Make({"a", "-mainlog", "my.log", "b"});
  EXPECT_EQ(P.SwitchValue("mainlog", false), "my.log");
  EXPECT_EQ(P.Count(), 5);
  EXPECT_EQ(P.SwitchValue("MAINLOG", true), "my.log");
  ASSERT_EQ(P.Count(), 3);
  EXPECT_EQ(P.Get(1), "a");
  EXPECT_EQ(P.Get(2), "b");
}

TEST(Parameters, SwitchValueOfLastItemIsEmptyAndRemovesNothing) {
  auto P = Make({"-testmap"});
  EXPECT_EQ(P.SwitchValue("testmap", true), "");
  EXPECT_EQ(P.Count(), 2);
}

TEST(Parameters, DeleteOutOfRangeChangesNothing) {
  auto P = Make({"a"});
  EXPECT_FALSE(P.Delete(P.Count()));
  EXPECT_FALSE(P.Delete(-1));
  EXPECT_TRUE(P.Delete(1));
  EXPECT_EQ(P.Count(), 1);
}
