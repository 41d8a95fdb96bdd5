#include "tests/support/sqtool_runner.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "tests/support/test_support.h"

namespace test_support {

namespace {

// Runs Command with /bin/sh; standard error goes to Out's pipe when Joined.
TToolResult RunShell(const std::string& Command, bool Joined) {
  int OutPipe[2], ErrPipe[2];
  if (pipe(OutPipe) != 0) throw std::runtime_error("pipe failed");
  if (pipe(ErrPipe) != 0) {
    close(OutPipe[0]);
    close(OutPipe[1]);
    throw std::runtime_error("pipe failed");
  }
  const pid_t Child = fork();
  if (Child < 0) throw std::runtime_error("fork failed");
  if (Child == 0) {
    dup2(OutPipe[1], STDOUT_FILENO);
    dup2(Joined ? OutPipe[1] : ErrPipe[1], STDERR_FILENO);
    close(OutPipe[0]);
    close(OutPipe[1]);
    close(ErrPipe[0]);
    close(ErrPipe[1]);
    execl("/bin/sh", "sh", "-c", Command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(OutPipe[1]);
  close(ErrPipe[1]);

  TToolResult Result;
  pollfd Fds[2] = {{OutPipe[0], POLLIN, 0}, {ErrPipe[0], POLLIN, 0}};
  std::string* Into[2] = {&Result.Out, &Result.Err};
  int Open = 2;
  char Buffer[4096];
  while (Open > 0) {
    if (poll(Fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int I = 0; I < 2; ++I) {
      if (Fds[I].fd < 0 || Fds[I].revents == 0) continue;
      const ssize_t N = read(Fds[I].fd, Buffer, sizeof Buffer);
      if (N > 0) {
        Into[I]->append(Buffer, static_cast<size_t>(N));
      } else if (N == 0 || errno != EINTR) {
        close(Fds[I].fd);
        Fds[I].fd = -1;  // poll skips negative descriptors
        --Open;
      }
    }
  }
  for (const pollfd& F : Fds)
    if (F.fd >= 0) close(F.fd);

  int Status = 0;
  while (waitpid(Child, &Status, 0) < 0 && errno == EINTR) {}
  Result.Code = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
  return Result;
}

}  // namespace

TToolResult RunCaptured(const std::string& Command) { return RunShell(Command, false); }

std::string ShellQuote(const std::string& Text) {
  std::string Q = "'";
  for (char C : Text) Q += C == '\'' ? std::string("'\\''") : std::string(1, C);
  return Q + "'";
}

TSqtool::TSqtool(std::string Folder, std::string Command) : FFolder(std::move(Folder)), FCommand(std::move(Command)) {}

TSqtool& TSqtool::Env(const std::string& Name, const std::string& Value) {
  FEnv.emplace_back(Name, Value);
  return *this;
}

std::string TSqtool::CommandLine(const std::string& Args) const {
  std::string Line;
  if (!FFolder.empty()) Line = "cd " + ShellQuote(FFolder) + " && ";
  for (const auto& [Name, Value] : FEnv) Line += Name + "=" + ShellQuote(Value) + " ";
  Line += ShellQuote(PlayDir() + "sqtool");
  if (!FCommand.empty()) Line += " " + FCommand;
  if (!Args.empty()) Line += " " + Args;
  return Line;
}

TToolResult TSqtool::Run(const std::string& Args) const { return RunShell(CommandLine(Args), false); }

int TSqtool::RunJoined(const std::string& Args, std::string* Out) const {
  TToolResult R = RunShell(CommandLine(Args), true);
  if (Out) *Out = std::move(R.Out);
  return R.Code;
}

}  // namespace test_support
