#include "shell/safe_file_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "shell/toolbox.h"
#include "tests/support/test_support.h"

// A new file is written whole where its name is free, and never over
// anything that holds the name already.
TEST(SafeFileWriter, ANewFileNeverReplacesOne) {
  TTempDir Dir;
  const std::string File = Dir.File("copy.bad");
  bool Existed = true;
  std::string Error;
  ASSERT_TRUE(TSafeFileWriter::WriteNewFile(File, "first", 5, &Error, &Existed)) << Error;
  EXPECT_FALSE(Existed);
  EXPECT_EQ(ReadFileText(File), "first");
  EXPECT_FALSE(VXToolbox::FileExists(File + ".tmp"));

  EXPECT_FALSE(TSafeFileWriter::WriteNewFile(File, "second", 6, &Error, &Existed));
  EXPECT_TRUE(Existed);
  EXPECT_NE(Error.find("cannot create " + File), std::string::npos) << Error;
  EXPECT_EQ(ReadFileText(File), "first");
  EXPECT_FALSE(VXToolbox::FileExists(File + ".tmp"));

  // A folder or a dangling link holds a name as much as a file does.
  ASSERT_EQ(mkdir(Dir.File("folder").c_str(), 0700), 0);
  EXPECT_FALSE(TSafeFileWriter::WriteNewFile(Dir.File("folder"), "x", 1, &Error, &Existed));
  EXPECT_TRUE(Existed);
  ASSERT_EQ(symlink("nowhere", Dir.File("link").c_str()), 0);
  EXPECT_FALSE(TSafeFileWriter::WriteNewFile(Dir.File("link"), "x", 1, &Error, &Existed));
  EXPECT_TRUE(Existed);
  EXPECT_FALSE(VXToolbox::FileExists(Dir.Path() + "/nowhere"));

  // No folder to write in is a failure of another kind.
  EXPECT_FALSE(TSafeFileWriter::WriteNewFile(Dir.File("none/x"), "x", 1, &Error, &Existed));
  EXPECT_FALSE(Existed);
}
