#include "shell/safe_file_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <thread>

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
  EXPECT_EQ(TempFilesIn(Dir.Path()), std::vector<std::string>{});

  EXPECT_FALSE(TSafeFileWriter::WriteNewFile(File, "second", 6, &Error, &Existed));
  EXPECT_TRUE(Existed);
  EXPECT_NE(Error.find("cannot create " + File), std::string::npos) << Error;
  EXPECT_EQ(ReadFileText(File), "first");
  EXPECT_EQ(TempFilesIn(Dir.Path()), std::vector<std::string>{});

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
  EXPECT_EQ(Error.rfind("cannot create " + Dir.File("none/p.sq."), 0), 0u) << Error;
  EXPECT_NE(Error.find(".tmp: No such file or directory"), std::string::npos) << Error;

  // The process may write no file larger than a few bytes: the write itself
  // fails, as on a disk that fills up while the file is written.
  WriteFileText(Dir.File("p.sq"), "old");
  {
    TFileSizeLimit Small(4);
    const std::string Big(100000, 'x');
    Cause.clear();
    EXPECT_FALSE(TSafeFileWriter::WriteFile(Dir.File("p.sq"), Big.data(), Big.size(), &Error, &Cause));
  }
  EXPECT_EQ(Cause, "File too large");
  EXPECT_EQ(Error.rfind("cannot write " + Dir.File("p.sq."), 0), 0u) << Error;
  EXPECT_NE(Error.find(".tmp: File too large"), std::string::npos) << Error;
  EXPECT_EQ(ReadFileText(Dir.File("p.sq")), "old");
  EXPECT_EQ(TempFilesIn(Dir.Path()), std::vector<std::string>{});

  // Permissions do not hold root back.
  if (geteuid() == 0) return;
  ASSERT_EQ(mkdir(Dir.File("ro").c_str(), 0555), 0);
  EXPECT_FALSE(TSafeFileWriter::WriteFile(Dir.File("ro/p.sq"), "x", 1, &Error, &Cause));
  EXPECT_EQ(Cause, "Permission denied");
}

// Two programs saving one file at once (two copies of the game, or the game
// and sqtool): each writes a temporary file of its own, so the file is
// always one whole save or the other, never empty, cut or mixed, and no save
// fails for the other's sake.
TEST(SafeFileWriter, TwoWritersAtOnceNeverMixTheirBytes) {
  TTempDir Dir;
  const std::string File = Dir.File("Starquarry.vmu");
  const std::string A(300000, 'a'), B(300000, 'b');
  WriteFileText(File, A);
  std::atomic<bool> Done{false};
  std::atomic<int> Failed{0}, Bad{0};
  const auto Writer = [&](const std::string& Text) {
    for (int I = 0; I < 40; ++I)
      if (!TSafeFileWriter::WriteFile(File, Text.data(), Text.size())) ++Failed;
  };
  std::thread Reader([&] {
    while (!Done) {
      const std::string Seen = ReadFileText(File);
      if (Seen != A && Seen != B) ++Bad;
    }
  });
  std::thread First(Writer, A), Second(Writer, B);
  First.join();
  Second.join();
  Done = true;
  Reader.join();
  EXPECT_EQ(Failed, 0);
  EXPECT_EQ(Bad, 0) << "the file was seen empty, cut or mixed";
  EXPECT_EQ(TempFilesIn(Dir.Path()), std::vector<std::string>{});
}

// A file kept as a symbolic link (into a synced folder, say) is replaced
// where the link leads, link after link; the links stay links, the new file
// keeps the old one's permissions, and the temporary file is made in the
// target's folder (a rename cannot cross file systems).
TEST(SafeFileWriter, WritesThroughSymbolicLinks) {
  TTempDir Dir;
  ASSERT_EQ(mkdir(Dir.File("synced").c_str(), 0700), 0);
  WriteFileText(Dir.File("synced/real.vmu"), "old");
  ASSERT_EQ(chmod(Dir.File("synced/real.vmu").c_str(), 0640), 0);
  ASSERT_EQ(symlink("real.vmu", Dir.File("synced/hop").c_str()), 0);  // relative to its own folder
  ASSERT_EQ(symlink("synced/hop", Dir.File("Starquarry.vmu").c_str()), 0);
  std::string Error;
  ASSERT_TRUE(TSafeFileWriter::WriteFile(Dir.File("Starquarry.vmu"), "new", 3, &Error)) << Error;
  struct stat St {};
  ASSERT_EQ(lstat(Dir.File("Starquarry.vmu").c_str(), &St), 0);
  EXPECT_TRUE(S_ISLNK(St.st_mode));
  ASSERT_EQ(lstat(Dir.File("synced/hop").c_str(), &St), 0);
  EXPECT_TRUE(S_ISLNK(St.st_mode));
  EXPECT_EQ(ReadFileText(Dir.File("synced/real.vmu")), "new");
  ASSERT_EQ(stat(Dir.File("synced/real.vmu").c_str(), &St), 0);
  EXPECT_EQ(St.st_mode & 0777, 0640u);
  EXPECT_EQ(TempFilesIn(Dir.Path()), std::vector<std::string>{});
  EXPECT_EQ(TempFilesIn(Dir.File("synced")), std::vector<std::string>{});

  // A link to a file not there yet makes it.
  ASSERT_EQ(symlink("synced/later.runs", Dir.File("Starquarry.runs").c_str()), 0);
  ASSERT_TRUE(TSafeFileWriter::WriteFile(Dir.File("Starquarry.runs"), "runs", 4, &Error)) << Error;
  EXPECT_EQ(ReadFileText(Dir.File("synced/later.runs")), "runs");
  ASSERT_EQ(lstat(Dir.File("Starquarry.runs").c_str(), &St), 0);
  EXPECT_TRUE(S_ISLNK(St.st_mode));

  // A loop of links is not followed forever: the save fails, nothing changes.
  ASSERT_EQ(symlink("loop2", Dir.File("loop1").c_str()), 0);
  ASSERT_EQ(symlink("loop1", Dir.File("loop2").c_str()), 0);
  EXPECT_FALSE(TSafeFileWriter::WriteFile(Dir.File("loop1"), "x", 1, &Error));
  ASSERT_EQ(lstat(Dir.File("loop1").c_str(), &St), 0);
  EXPECT_TRUE(S_ISLNK(St.st_mode));
}

// Only a regular file is replaced: a pipe or a device node in the file's
// place (or where its link leads) stays what it is, and so does a folder.
TEST(SafeFileWriter, NeverReplacesWhatIsNoRegularFile) {
  TTempDir Dir;
  ASSERT_EQ(mkfifo(Dir.File("pipe").c_str(), 0600), 0);
  ASSERT_EQ(symlink("pipe", Dir.File("to-pipe").c_str()), 0);
  ASSERT_EQ(mkdir(Dir.File("folder").c_str(), 0700), 0);
  for (const char* Name : {"pipe", "to-pipe", "folder"}) {
    std::string Error, Cause;
    EXPECT_FALSE(TSafeFileWriter::WriteFile(Dir.File(Name), "x", 1, &Error, &Cause)) << Name;
    EXPECT_EQ(Error, "cannot replace " + Dir.File(Name) + ": " + Cause) << Name;
  }
  struct stat St {};
  ASSERT_EQ(lstat(Dir.File("pipe").c_str(), &St), 0);
  EXPECT_TRUE(S_ISFIFO(St.st_mode));
  ASSERT_EQ(lstat(Dir.File("folder").c_str(), &St), 0);
  EXPECT_TRUE(S_ISDIR(St.st_mode));
  EXPECT_EQ(TempFilesIn(Dir.Path()), std::vector<std::string>{});
}
