#include "shell/safe_file_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "shell/toolbox.h"
#include "tests/support/scope_guard.h"
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

// A failed write names the system's cause, wherever it failed: creating the
// temporary file, or writing into it half way (a full disk).
TEST(SafeFileWriter, AFailureNamesItsCause) {
  TTempDir Dir;
  std::string Error, Cause;
  EXPECT_FALSE(TSafeFileWriter::WriteFile(Dir.File("none/p.sq"), "x", 1, &Error, &Cause));
  EXPECT_EQ(Cause, "No such file or directory");
  EXPECT_EQ(Error, "cannot create " + Dir.File("none/p.sq.tmp") + ": No such file or directory");

  // The process may write no file larger than a few bytes: the write itself
  // fails, as on a disk that fills up while the file is written.
  WriteFileText(Dir.File("p.sq"), "old");
  rlimit Old;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &Old), 0);
  const auto OldSignal = std::signal(SIGXFSZ, SIG_IGN);
  {
    test_support::TScopeGuard Restore([&] {
      setrlimit(RLIMIT_FSIZE, &Old);
      std::signal(SIGXFSZ, OldSignal);
    });
    rlimit Small = Old;
    Small.rlim_cur = 4;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &Small), 0);
    const std::string Big(100000, 'x');
    Cause.clear();
    EXPECT_FALSE(TSafeFileWriter::WriteFile(Dir.File("p.sq"), Big.data(), Big.size(), &Error, &Cause));
  }
  EXPECT_EQ(Cause, "File too large");
  EXPECT_NE(Error.find("cannot write " + Dir.File("p.sq.tmp") + ": File too large"), std::string::npos) << Error;
  EXPECT_EQ(ReadFileText(Dir.File("p.sq")), "old");
  EXPECT_FALSE(VXToolbox::FileExists(Dir.File("p.sq.tmp")));

  // Permissions do not hold root back.
  if (geteuid() == 0) return;
  ASSERT_EQ(mkdir(Dir.File("ro").c_str(), 0555), 0);
  EXPECT_FALSE(TSafeFileWriter::WriteFile(Dir.File("ro/p.sq"), "x", 1, &Error, &Cause));
  EXPECT_EQ(Cause, "Permission denied");
}
