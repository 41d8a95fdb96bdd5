// The lock of a player's folder: one holder at a time, named for the
// others, and gone with its process however that ends.
#include "shell/folder_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/support/test_support.h"

TEST(FolderLock, OneHolderAtATimeWhoIsNamedToTheOthers) {
  TTempDir Dir;
  TFolderLock First(Dir.Path()), Second(Dir.Path() + "/");
  EXPECT_EQ(First.FileName(), Dir.File("Starquarry.lock"));
  EXPECT_EQ(Second.FileName(), Dir.File("Starquarry.lock"));
  ASSERT_EQ(First.Take("starquarry"), TFolderLock::TResult::Held);
  EXPECT_TRUE(First.Held());
  EXPECT_EQ(First.Take("starquarry"), TFolderLock::TResult::Held) << "taking it again changes nothing";
  EXPECT_EQ(Second.Take("sqtool registry"), TFolderLock::TResult::Busy);
  EXPECT_FALSE(Second.Held());
  EXPECT_EQ(Second.Holder(), "starquarry " + std::to_string(getpid()));
  // A holder that is no tool is not waited for.
  EXPECT_EQ(Second.TakeWaiting("sqtool registry", "sqtool", 30), TFolderLock::TResult::Busy);
  First.Release();
  EXPECT_EQ(Second.Take("sqtool registry"), TFolderLock::TResult::Held);
  EXPECT_EQ(First.Take("starquarry"), TFolderLock::TResult::Busy);
  EXPECT_EQ(First.Holder(), "sqtool registry " + std::to_string(getpid()));
  { TFolderLock Gone(Dir.Path()); }
  EXPECT_TRUE(Second.Held()) << "a lock that never held gives nothing back";
}

// A tool's hold is short: whoever finds the folder taken by one waits.
TEST(FolderLock, AToolsHoldIsWaitedOut) {
  TTempDir Dir;
  TFolderLock Tool(Dir.Path());
  ASSERT_EQ(Tool.Take("sqtool replay import"), TFolderLock::TResult::Held);
  std::thread Ends([&Tool] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Tool.Release();
  });
  TFolderLock Game(Dir.Path());
  EXPECT_EQ(Game.TakeWaiting("starquarry", "sqtool", 60), TFolderLock::TResult::Held);
  Ends.join();
}

// The system's lock goes with the process that held it, even one killed
// outright: a crash never leaves the folder locked.
TEST(FolderLock, AKilledHolderLeavesTheFolderFree) {
  TTempDir Dir;
  int Ready[2];
  ASSERT_EQ(pipe(Ready), 0);
  const pid_t Child = fork();
  ASSERT_GE(Child, 0);
  if (Child == 0) {
    TFolderLock Lock(Dir.Path());
    const char Said = Lock.Take("starquarry") == TFolderLock::TResult::Held ? 'y' : 'n';
    if (write(Ready[1], &Said, 1) != 1) _exit(2);
    for (;;) pause();
  }
  close(Ready[1]);
  char Said = 0;
  ASSERT_EQ(read(Ready[0], &Said, 1), 1);
  close(Ready[0]);
  ASSERT_EQ(Said, 'y');
  TFolderLock Lock(Dir.Path());
  EXPECT_EQ(Lock.Take("sqtool"), TFolderLock::TResult::Busy);
  EXPECT_EQ(Lock.Holder(), "starquarry " + std::to_string(Child));
  kill(Child, SIGKILL);
  int Status = 0;
  waitpid(Child, &Status, 0);
  EXPECT_EQ(Lock.Take("sqtool"), TFolderLock::TResult::Held);
}

TEST(FolderLock, AFolderThatTakesNoLockFileSaysWhy) {
  TTempDir Dir;
  TFolderLock Missing(Dir.File("none"));
  EXPECT_EQ(Missing.Take("starquarry"), TFolderLock::TResult::Failed);
  EXPECT_EQ(Missing.Error(), "cannot open " + Dir.File("none/Starquarry.lock") + ": No such file or directory");
  ASSERT_EQ(mkfifo(Dir.File("Starquarry.lock").c_str(), 0600), 0);
  TFolderLock Pipe(Dir.Path());
  EXPECT_EQ(Pipe.Take("starquarry"), TFolderLock::TResult::Failed);
  EXPECT_EQ(Pipe.Error(), Dir.File("Starquarry.lock") + " is not a regular file");
}
