#include "config/ini_file.h"

#include <gtest/gtest.h>

#include "shell/memory_stream.h"
#include "storage/stream_opener.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"

namespace {

std::unique_ptr<TIniFile> Ini(const std::string& Text) { return TIniFile::CreateFromText(Text); }

std::vector<std::string> Items(const TIniFile& File, const std::string& Section) {
  std::vector<std::string> Out;
  for (int32_t I = 0; I < File.ListItemCount(Section); ++I) Out.push_back(File.ReadListItem(Section, I));
  return Out;
}

}  // namespace

TEST(IniFileTest, ListSectionsKeepInnerBlanksAndDropTrailingOnes) {
  const auto F =
      Ini("stray text before any header\n"
          "[*Waves]\nEatSand\n\nBoulderDown\n  \n\n\n"
          "[Waves.EatSand]\nFile=Grass.mp3\n");
  EXPECT_EQ(Items(*F, "waves"), (std::vector<std::string>{"EatSand", "", "BoulderDown", "  "}));
  EXPECT_EQ(F->SectionType("Waves"), 1);
  EXPECT_EQ(F->SectionType("Waves.EatSand"), 0);
  EXPECT_EQ(F->SectionType("stray text before any header"), -1);
  EXPECT_EQ(F->Sections().size(), 2u);
}

TEST(IniFileTest, BracketedCommentsAfterListItemsAreSkipped) {
  // Like the block list of the game's configuration: items, then commented
  // headers, then blank lines before the next section.
  std::string Text = "[*Blocks]\n";
  for (int I = 0; I < 24; ++I) Text += "block" + std::to_string(I) + ".tga,#\r\n";
  Text += "   ;[*Blocks]\r\n;old.tga,#\r\n\r\n\r\n[Next]\r\nA=1\r\n";
  const auto F = Ini(Text);
  ASSERT_EQ(F->ListItemCount("Blocks"), 24);
  EXPECT_EQ(F->ReadListItem("Blocks", 23), "block23.tga,#");
  EXPECT_EQ(F->ReadString("Next", "A", ""), "1");
}

TEST(IniFileTest, LineEndsAndIndentation) {
  const std::string Lf = "[S]\nA=1\n\n  B=2\n   [T]   \nC=x\n[*L]\none\ntwo";
  const std::string CrLf = "[S]\r\nA=1\r\n\r\n  B=2\r\n   [T]   \r\nC=x\r\n[*L]\r\none\r\ntwo";
  for (const std::string& Text : {Lf, CrLf}) {
    const auto F = Ini(Text);
    EXPECT_EQ(F->ReadString("S", "A", "-"), "1");
    EXPECT_EQ(F->ReadString("S", "B", "-"), "-") << "an indented key keeps its spaces";
    EXPECT_EQ(F->ReadString("S", "  B", "-"), "2");
    EXPECT_EQ(F->ReadString("T", "C", "-"), "x") << "an indented header is still a header";
    EXPECT_EQ(Items(*F, "L"), (std::vector<std::string>{"one", "two"}));
  }
  // A carriage return at the very end without a line feed stays in the text.
  EXPECT_EQ(Ini("[*L]\r\none\r")->ReadListItem("L", 0), "one\r");
  // A lone CR does not end a line, so "[S]\rA=1" is no header.
  EXPECT_EQ(Ini("[S]\rA=1\nB=2")->SectionType("S"), -1);
  EXPECT_EQ(Ini("[S]\nA=1\rB=2")->ReadString("S", "A", "-"), "1\rB=2");
}

TEST(IniFileTest, KeysValuesAndFirstMatch) {
  const auto F =
      Ini("[Main]\nBare\nEmpty=\nKey=first\nkey=second\nA=b=c\nTab=\tx\t\n"
          "[Other]\nEmpty=from other\nLater=1\n"
          "[MAIN]\nKey=third\nExtra=yes\n");
  EXPECT_EQ(F->ReadString("main", "BARE", ""), "1") << "a bare key reads as 1";
  EXPECT_EQ(F->ReadString("Main", "Empty", "abc"), "abc");
  EXPECT_EQ(F->ReadString("Main", "Key", ""), "first");
  EXPECT_EQ(F->ReadString("Main", "Extra", ""), "yes") << "a repeated header adds to the first section";
  EXPECT_EQ(F->ReadString("Main", "A", ""), "b=c");
  EXPECT_EQ(F->ReadString("Main", "Tab", ""), "\tx\t") << "only spaces are trimmed";
  EXPECT_EQ(F->ReadString("Main", "Empty", "abc", "Other"), "from other");
  EXPECT_EQ(F->ReadString("Main", "Later", "d", "Other"), "1");
  EXPECT_EQ(F->ReadString("Missing", "Key", "d", "Other"), "d");
  EXPECT_TRUE(F->ValueExists("MAIN", "key"));
  EXPECT_FALSE(F->ValueExists("Main", "Empty"));
  EXPECT_EQ(Ini("[*L]\nKey=1\n")->ReadString("L", "Key", "d"), "d") << "list sections have no keys";
}

TEST(IniFileTest, QuotedValues) {
  const auto F = Ini("[S]\nA=\"hello\"\nB=\"\"\nC=\"open\nD=\"x\n");
  EXPECT_EQ(F->ReadString("S", "A", ""), "hello");
  EXPECT_EQ(F->ReadString("S", "B", ""), "\"\"");
  EXPECT_EQ(F->ReadString("S", "C", ""), "\"open");
  EXPECT_EQ(F->ReadString("S", "D", ""), "\"x");
  EXPECT_EQ(F->ReadString("S", "Missing", "\"def\""), "def") << "defaults are unquoted too";
}

TEST(IniFileTest, IntegersAndBooleans) {
  const auto F = Ini("[S]\nLooped=No\nY1=yes\nY2=True\nY3=1\nY4=Yes \nN=0\nV=60\nNeg=-7\nBad=6x\nBig=99999999999\n");
  EXPECT_FALSE(F->ReadBool("S", "Looped", true));
  EXPECT_TRUE(F->ReadBool("S", "Missing", true));
  EXPECT_TRUE(F->ReadBool("S", "Y1", false));
  EXPECT_TRUE(F->ReadBool("S", "Y2", false));
  EXPECT_TRUE(F->ReadBool("S", "Y3", false));
  EXPECT_FALSE(F->ReadBool("S", "Y4", true)) << "a trailing space makes it false";
  EXPECT_FALSE(F->ReadBool("S", "N", true));
  EXPECT_EQ(F->ReadInteger("S", "V", 0), 60);
  EXPECT_EQ(F->ReadInteger("S", "Neg", 0), -7);
  EXPECT_EQ(F->ReadInteger("S", "Missing", 42), 42);
  EXPECT_THROW(F->ReadInteger("S", "Bad", 0), EConvertError);
  EXPECT_THROW(F->ReadInteger("S", "Big", 0), EConvertError);
}

TEST(IniFileTest, Colours) {
  TLogCapture Capture;
  const auto F = Ini("[S]\nColor=40C0FF\nLow=40c0ff\nShort=FFF\nBad=GG0000\n");
  int32_t R = 0, G = 0, B = 0;
  F->ReadRGB("S", "Color", 1, 2, 3, R, G, B);
  EXPECT_EQ((std::vector<int32_t>{R, G, B}), (std::vector<int32_t>{64, 192, 255}));
  EXPECT_EQ(F->ReadRGB("S", "Low", TRGB{}), (TRGB{64, 192, 255}));
  EXPECT_EQ(F->ReadRGB("S", "Missing", TRGB{1, 2, 3}), (TRGB{1, 2, 3}));
  EXPECT_FALSE(Capture.Contains("Invalid RGB"));

  F->ReadRGB("S", "Short", 10, 20, 30, R, G, B);
  EXPECT_EQ((std::vector<int32_t>{R, G, B}), (std::vector<int32_t>{10, 20, 30}));
  EXPECT_TRUE(
      Capture.Contains("[VXINIFile, TIniFile.ReadRGB] Invalid RGB value! (Section: S, Key: Short, Value: FFF)"));
  // A default above 255 cannot be written in six digits: the warning again.
  F->ReadRGB("S", "Missing", 256, 0, 0, R, G, B);
  EXPECT_EQ(R, 256);
  EXPECT_TRUE(Capture.Contains("Key: Missing, Value: 1000000)"));
  try {
    F->ReadRGB("S", "Bad", 0, 0, 0, R, G, B);
    FAIL() << "a letter beyond F must raise";
  } catch (const EConvertError& E) { EXPECT_STREQ(E.what(), "Not a hexadecimal expression! ('GG')"); }
}

TEST(IniFileTest, ListLookupWarnings) {
  TLogCapture Capture;
  const auto F = Ini("[*L]\na\nb\n[N]\nk=v\n");
  EXPECT_EQ(F->ReadListItem("L", -1), "");
  EXPECT_EQ(F->ReadListItem("L", 2), "");
  EXPECT_EQ(Capture.Count("[VXINIFile, TIniFile.ReadListItem] Index is out of range! (-1)"), 1u);
  EXPECT_EQ(Capture.Count("Index is out of range! (2)"), 1u);
  EXPECT_EQ(F->ReadListItem("N", 0), "");
  EXPECT_TRUE(Capture.Contains("ReadListItem is not allowed on stNormal type Sections!"));
  EXPECT_TRUE(Capture.Contains("Section: N Index: 0"));
  EXPECT_EQ(F->ReadListItem("X", 0), "");
  EXPECT_EQ(F->ListItemCount("X"), 0);
  EXPECT_EQ(Capture.Count("Section not found! (X)"), 2u);
  EXPECT_EQ(F->ListItemCount("N"), 0);
  EXPECT_TRUE(
      Capture.Contains("[VXINIFile, TIniFile.ListItemCount] ListItemCount is only allowed on List type Sections! (N)"));
}

TEST(IniFileTest, StreamsAreReadFromTheirPositionToTheEnd) {
  TMemoryStream Stream;
  Stream.WriteString("junk[S]\nA=1\n");
  Stream.Seek(4);
  const auto F = TIniFile::CreateFromStream(Stream);
  EXPECT_EQ(F->ReadString("S", "A", ""), "1");
  EXPECT_EQ(Stream.Position(), Stream.Size());
  EXPECT_TRUE(F->FileName().empty());
}

TEST(IniFileTest, CreateThroughTheOpenerAndSaveWhenWritable) {
  TTempDir Dir;
  TRestore Opener(StreamOpener);
  StartStreamOpener();
  const std::string Name = Dir.File("test.ini");
  WriteFileText(Name, "; comment\n[*List]\none\n\n[Keys]\nBare\n\nA=1\n");
  {
    const auto ReadOnly = TIniFile::Create(Name);
    EXPECT_TRUE(ReadOnly->FileName().empty());
    const auto Writable = TIniFile::Create(Name, false);
    EXPECT_EQ(Writable->FileName(), Name);
  }
  EXPECT_EQ(ReadFileText(Name), "[*List]\r\none\r\n\r\n[Keys]\r\nBare=1\r\nA=1\r\n\r\n");
  EXPECT_THROW(TIniFile::Create(Dir.File("missing.ini")), EOpenStream);
}

TEST(IniFileTest, HostileTextNeverBreaksTheReader) {
  std::string Junk;
  for (int I = 0; I < 4096; ++I) Junk += static_cast<char>((I * 131 + 7) & 0xFF);
  const auto A = Ini(Junk);
  (void)A->ReadString("x", "y", "");

  const std::string Long(1 << 20, 'k');
  const auto B = Ini("[S]\n" + Long + "=v\nZ=" + Long + "\n[*L]\n" + Long);
  EXPECT_EQ(B->ReadString("S", Long, ""), "v");
  EXPECT_EQ(B->ReadString("S", "Z", "").size(), Long.size());
  EXPECT_EQ(B->ReadListItem("L", 0).size(), Long.size());

  // Degenerate headers.
  const auto C = Ini("[]\nA=1\n[*]\nx\n[\n]\n[*\n");
  EXPECT_EQ(C->ReadString("", "A", ""), "1");
  EXPECT_EQ(C->SectionType(""), 0);
}
