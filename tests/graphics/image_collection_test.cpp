#include "graphics/image_collection.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "shell/memory_stream.h"
#include "tests/graphics/image_test_util.h"
#include "tests/support/log_capture.h"

namespace {

class ImageCollectionTest : public ::testing::Test {
 protected:
  ImageCollectionTest() {
    Elf = Folder.Put("elf.tga", MakeStrip(4, 4));
    Grass = Folder.Put("grass.tga", MakeTGA(4, 4, [](int X, int) { return X < 2 ? TColor{0, 150, 0} : TColor{}; }));
  }
  TImageFolder Folder;
  TLogCapture Capture;
  TImageCollection Collection;
  std::string Elf, Grass;
};

TEST_F(ImageCollectionTest, ListLinesNameKeyAndMaskImages) {
  EXPECT_TRUE(Collection.AddImageEx(Elf + "[2],*D"));
  EXPECT_TRUE(Collection.AddImageEx("." + Elf + "[2],Elf1"));
  EXPECT_TRUE(Collection.AddImageEx(Grass + ",Grass,*"));
  EXPECT_TRUE(Collection.AddImageEx(Grass + ",Plain,x"));
  EXPECT_TRUE(Collection.AddImageEx(Grass + ", spaced name "));
  ASSERT_EQ(Collection.Count(), 5);

  TImage* D = Collection.FindImage("*D");
  ASSERT_NE(D, nullptr);
  EXPECT_EQ(D->Width(), 4);
  EXPECT_EQ(ColorAt(*D, 0, 0), FrameColor(2));
  EXPECT_FALSE(D->Surface()->flags & SDL_SRCCOLORKEY);
  EXPECT_TRUE(Collection.FindImage("Elf1")->Surface()->flags & SDL_SRCCOLORKEY);

  const TImageCollectionItem* G = Collection.Find("Grass");
  ASSERT_NE(G, nullptr);
  ASSERT_NE(G->Mask, nullptr);
  EXPECT_EQ(G->Mask->At(0, 0), 1);
  EXPECT_EQ(G->Mask->At(3, 0), 0);
  EXPECT_EQ(Collection.Find("Plain")->Mask, nullptr);
  EXPECT_NE(Collection.Find(" spaced name "), nullptr);
}

TEST_F(ImageCollectionTest, LinesThatAddNothing) {
  EXPECT_FALSE(Collection.AddImageEx(""));
  EXPECT_FALSE(Collection.AddImageEx("    "));
  EXPECT_FALSE(Collection.AddImageEx("?script,Name"));
  EXPECT_FALSE(Collection.AddImageEx(".?script,Name"));
  EXPECT_EQ(Collection.Count(), 0);
  EXPECT_TRUE(
      Capture.Contains("[ImageCollectionUnit, TImageCollection.AddImageEx] VXScript not supported. "
                       "Use TImageCollectionIP to access VXScript."));

  // A failed load still adds an item, without a surface.
  EXPECT_TRUE(Collection.AddImageEx("missing.tga,Gone"));
  EXPECT_TRUE(Collection.AddImageEx("no comma"));
  EXPECT_TRUE(Collection.AddImageEx("."));
  ASSERT_EQ(Collection.Count(), 3);
  EXPECT_FALSE(Collection.FindImage("Gone")->HasSurface());
  EXPECT_NE(Collection.Find("no comma"), nullptr);
}

TEST_F(ImageCollectionTest, LookupsFindTheFirstAndCompareExactly) {
  Collection.AddImageEx(Elf + "[0],Same");
  Collection.AddImageEx(Elf + "[1],Same");
  EXPECT_EQ(ColorAt(*Collection.FindImage("Same"), 0, 0), FrameColor(0));

  EXPECT_EQ(Collection.FindImage("same"), nullptr);
  EXPECT_TRUE(Capture.Contains("(ImageCollectionUnit, TImageCollection.Find) Image not found! (same)."));
  Collection.AssignMask("Other", nullptr);
  EXPECT_TRUE(Capture.Contains("(ImageCollectionUnit, TImageCollection.AssignMask) Image not found! (Other)."));

  Collection.Clear();
  EXPECT_EQ(Collection.Count(), 0);
}

TEST_F(ImageCollectionTest, LoadsListSectionsOfIniFiles) {
  const std::string Ini = Folder.Put("controls.ini", "[Blocks]\r\nKey=1\r\n[*Outro]\r\n" + Grass + ",G1\r\n\r\n" + Elf +
                                                         "[1],E1\r\n;" + Elf + ",Commented\r\n");
  Collection.Load(Ini, "outro");
  ASSERT_EQ(Collection.Count(), 2);
  EXPECT_EQ(Collection.Item(0).Name, "G1");
  EXPECT_EQ(Collection.Item(1).Name, "E1");

  Collection.Load(Ini, "Blocks");
  Collection.Load(Ini, "Absent");
  EXPECT_EQ(Collection.Count(), 2);
  EXPECT_TRUE(Capture.Contains("[ImageCollectionUnit, TImageCollection.Load] Invalid section type! [*Blocks]"));
  EXPECT_TRUE(Capture.Contains("Invalid section type! [*Absent]"));
}

TEST_F(ImageCollectionTest, LoadsListFilesOfBothVersions) {
  // Version 1: plain lines up to "!END", or to the end without it.
  TMemoryStream V1;
  V1.WriteString(Grass + ",A\r\n\r\n" + Elf + ",B\r\n!END\r\n" + Grass + ",C\r\n");
  V1.Seek(0);
  Collection.LoadListStream(V1);
  ASSERT_EQ(Collection.Count(), 2);
  EXPECT_EQ(Collection.Item(1).Name, "B");
  EXPECT_TRUE(Capture.Contains("LoadListV1"));

  Collection.Clear();
  Folder.Put("v1.lst", Grass + ",A\n" + Elf + ",B");
  Collection.LoadList(Folder.Dir().File("v1.lst"));
  EXPECT_EQ(Collection.Count(), 2);

  // Version 2: an INI text whose list section is [*GFXList].
  Collection.Clear();
  Folder.Put("v2.lst", "[*gfxlist]\n" + Grass + ",A\n.." + Elf + ",Dotted\n[*Other]\n" + Elf + ",X\n");
  Collection.LoadList(Folder.Dir().File("v2.lst"));
  EXPECT_TRUE(Capture.Contains("LoadListV2"));
  ASSERT_EQ(Collection.Count(), 2);
  EXPECT_EQ(Collection.Item(0).Name, "A");
  EXPECT_FALSE(Collection.Item(1).Image->HasSurface());

  // A list that is nowhere adds nothing.
  Collection.LoadList(Folder.Dir().File("none.lst"));
  EXPECT_EQ(Collection.Count(), 2);
  EXPECT_TRUE(Capture.Contains("Filename=" + Folder.Dir().File("none.lst")));
}

TEST_F(ImageCollectionTest, ListingAndSavingTheItems) {
  Collection.AddImageEx(Elf + ",Elf");
  Collection.AddImageEx(Grass + ",Grass");
  Collection.AddImageEx("missing.tga,Gone");
  Collection.ListItems();
  EXPECT_TRUE(Capture.Contains("(ImageCollectionUnit, TImageCollection.ListItems) Imagecollection listing starts..."));
  EXPECT_TRUE(Capture.Contains("< Trace >   0. Elf (16x4,Anim=True)\r\n"));
  EXPECT_TRUE(Capture.Contains("< Trace >   1. Grass (4x4,Anim=False)\r\n"));
  EXPECT_TRUE(Capture.Contains("< Trace >   2. Gone (0x0,Anim=False)\r\n"));
  EXPECT_TRUE(Capture.Contains("Imagecollection listing ends..."));

  TTempDir Out;
  TChangeDir Here(Out.Path());
  Collection.SaveItems();
  EXPECT_GT(ReadFileBytes(Out.File("IC_000.bmp")).size(), 54u);
  EXPECT_GT(ReadFileBytes(Out.File("IC_001.bmp")).size(), 54u);
  EXPECT_TRUE(ReadFileBytes(Out.File("IC_002.bmp")).empty());
}

}  // namespace
