// The README and the man page list the keys of every screen as the help
// shows them: one table feeds all three, and this keeps the two texts to it.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "game/help_keys.h"
#include "tests/support/test_support.h"

namespace {

std::vector<std::string> Lines(const std::string& Text) {
  std::vector<std::string> Out;
  std::istringstream In(Text);
  for (std::string Line; std::getline(In, Line);) Out.push_back(Line);
  return Out;
}

bool StartsWith(const std::string& Text, const std::string& Start) { return Text.rfind(Start, 0) == 0; }

// The README's key names of a screen: the indented block after the line
// "Title:" (or "Title (...):"), each line a key name, blanks, what it does.
std::vector<std::string> ReadmeBlock(const std::string& Readme, const std::string& Title) {
  const std::vector<std::string> All = Lines(Readme);
  std::vector<std::string> Block;
  size_t I = 0;
  while (I < All.size() && !StartsWith(All[I], Title + ":") && !StartsWith(All[I], Title + " (")) ++I;
  while (I < All.size() && !StartsWith(All[I], "    ")) ++I;
  for (; I < All.size() && (All[I].empty() || StartsWith(All[I], "    ")); ++I)
    if (!All[I].empty()) Block.push_back(All[I].substr(4));
  return Block;
}

// The man page's text as it reads: font changes, quotes and escaped minus
// signs left out.
std::string Plain(const std::string& Roff) {
  std::string Out;
  for (size_t I = 0; I < Roff.size(); ++I) {
    if (Roff.compare(I, 2, "\\f") == 0) {
      I += 2;
      continue;
    }
    if (Roff.compare(I, 2, "\\-") == 0) {
      Out += '-';
      ++I;
      continue;
    }
    if (Roff[I] != '"') Out += Roff[I];
  }
  return Out;
}

// The man page's part under ".SS Title", to the next .SS or .SH.
std::string ManSection(const std::string& Man, const std::string& Title) {
  const std::string Heading = "\n.SS " + Title + "\n";
  const size_t At = Man.find(Heading);
  if (At == std::string::npos) return "";
  const size_t From = At + Heading.size() - 1;
  const size_t To = std::min(Man.find("\n.SS ", From), Man.find("\n.SH ", From));
  return Man.substr(From, To == std::string::npos ? std::string::npos : To - From + 1);
}

TEST(HelpDocsTest, TheReadmeListsEveryKeyOfEveryScreen) {
  const std::string Readme = ReadFileText(std::string(SQ_SOURCE_DIR) + "/README.md");
  for (const THelpPage& Page : HelpPages()) {
    const std::vector<std::string> Block = ReadmeBlock(Readme, Page.Title);
    ASSERT_FALSE(Block.empty()) << "no keys under \"" << Page.Title << ":\" in the README";
    for (const THelpKey& K : Page.Keys) {
      bool Found = false;
      for (const std::string& Line : Block) Found = Found || StartsWith(Line, K.Name + " ");
      EXPECT_TRUE(Found) << Page.Title << ": " << K.Name;
    }
  }
}

TEST(HelpDocsTest, TheManPageListsEveryKeyOfEveryScreen) {
  const std::string Man = Plain(ReadFileText(std::string(SQ_SOURCE_DIR) + "/dist/starquarry.6"));
  for (const THelpPage& Page : HelpPages()) {
    const std::string Keys = ManSection(Man, Page.Title);
    ASSERT_FALSE(Keys.empty()) << "no section \".SS " << Page.Title << "\" in the man page";
    for (const THelpKey& K : Page.Keys)
      EXPECT_NE(Keys.find("\n.B " + K.Name + "\n"), std::string::npos) << Page.Title << ": " << K.Name;
  }
}

}  // namespace
