// Utils::Pipe and Utils::ChildProcess with pipe2 and posix_spawn.
#include "utils/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "utils/cmdline.h"
#include "utils/exception.h"
#include "utils/text.h"

extern char** environ;

namespace Utils {

namespace {

void CloseFd(NativeHandle& fd) {
  if (fd != kInvalidHandle) {
    close(static_cast<int>(fd));
    fd = kInvalidHandle;
  }
}

// Moves a descriptor above the standard ones, so that dup2 onto 0, 1 and 2
// in the child can never overwrite another pipe end first (a parent started
// with closed standard streams hands out 0, 1 and 2 to its pipes).
int AboveStandardStreams(int fd) {
  if (fd > 2) return fd;
  const int moved = fcntl(fd, F_DUPFD_CLOEXEC, 3);
  close(fd);
  return moved;
}

uint32_t ExitCodeFromStatus(int status) {
  if (WIFEXITED(status)) return static_cast<uint32_t>(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return 128u + static_cast<uint32_t>(WTERMSIG(status));
  return 1;
}

}  // namespace

Pipe::Pipe() {
  // Both ends close-on-exec: the child receives its ends through dup2 in
  // posix_spawn, and no other child inherits them by accident.
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw Exception();
  fds[0] = AboveStandardStreams(fds[0]);
  fds[1] = AboveStandardStreams(fds[1]);
  if (fds[0] < 0 || fds[1] < 0) {
    if (fds[0] >= 0) close(fds[0]);
    if (fds[1] >= 0) close(fds[1]);
    throw Exception();
  }
  readEnd = fds[0];
  writeEnd = fds[1];
}

Pipe::~Pipe() {
  CloseWriteEnd();
  CloseReadEnd();
}

void Pipe::CloseWriteEnd() { CloseFd(writeEnd); }
void Pipe::CloseReadEnd() { CloseFd(readEnd); }

ChildProcess::ChildProcess() = default;  // members create the pipes: error, output, input

ChildProcess::~ChildProcess() { Close(); }

void ChildProcess::Launch(const std::wstring& commandLine) {
  if (commandLine.size() >= kCommandLineChars) throw Exception(L"command line too long");
  commandLine_ = commandLine;
  const std::vector<std::wstring> wideArgs = SplitWindowsCommandLine(commandLine);
  if (wideArgs.empty() || wideArgs[0].empty()) throw Exception(L"empty command line");
  std::vector<std::string> args;
  for (const std::wstring& a : wideArgs) args.push_back(WideToUtf8(a));
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) throw Exception();
  posix_spawn_file_actions_adddup2(&actions, static_cast<int>(inputPipe_.readEnd), 0);
  posix_spawn_file_actions_adddup2(&actions, static_cast<int>(outputPipe_.writeEnd), 1);
  posix_spawn_file_actions_adddup2(&actions, static_cast<int>(errorPipe_.writeEnd), 2);
  pid_t pid = 0;
  // A path is started as given; a bare name is searched on PATH, as the
  // Windows loader searches its folders.
  const bool hasSlash = args[0].find('/') != std::string::npos;
  const int rc = hasSlash ? posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ)
                          : posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw Exception(L"cannot start " + wideArgs[0]);
  process_ = pid;
  processId_ = static_cast<uint32_t>(pid);
  threadId_ = processId_;
  exited_ = false;
  exitCode_ = kStillActive;
  // The child's ends belong to the child now; closing ours lets the output
  // pipe report end of data once the child closes its end.
  outputPipe_.CloseWriteEnd();
  errorPipe_.CloseWriteEnd();
  inputPipe_.CloseReadEnd();
}

long ChildProcess::ReadOutput(void* buffer, size_t size) {
  if (outputPipe_.readEnd == kInvalidHandle) return -1;
  for (;;) {
    const ssize_t n = read(static_cast<int>(outputPipe_.readEnd), buffer, size);
    if (n < 0 && errno == EINTR) continue;
    return static_cast<long>(n);
  }
}

uint32_t ChildProcess::ExitCode() {
  if (exited_) return exitCode_;
  if (process_ == kInvalidHandle) return exitCode_;
  int status = 0;
  const pid_t r = waitpid(static_cast<pid_t>(process_), &status, WNOHANG);
  if (r == static_cast<pid_t>(process_)) {
    exited_ = true;
    exitCode_ = ExitCodeFromStatus(status);
  }
  return exitCode_;
}

uint32_t ChildProcess::Wait() {
  if (exited_ || process_ == kInvalidHandle) return exitCode_;
  int status = 0;
  pid_t r;
  do {
    r = waitpid(static_cast<pid_t>(process_), &status, 0);
  } while (r < 0 && errno == EINTR);
  if (r == static_cast<pid_t>(process_)) {
    exited_ = true;
    exitCode_ = ExitCodeFromStatus(status);
  }
  return exitCode_;
}

bool ChildProcess::Terminate(uint32_t exitCode) {
  (void)exitCode;  // POSIX cannot choose the code of a killed process
  if (process_ == kInvalidHandle || exited_) return false;
  return kill(static_cast<pid_t>(process_), SIGKILL) == 0;
}

void ChildProcess::Close() {
  // The process "handle" is the pid; forgetting it without reaping would
  // leave a zombie, so a child that has ended is reaped here.
  if (process_ != kInvalidHandle && !exited_) ExitCode();
  thread_ = kInvalidHandle;
  process_ = kInvalidHandle;
  inputPipe_.CloseReadEnd();
  inputPipe_.CloseWriteEnd();
  outputPipe_.CloseReadEnd();
  outputPipe_.CloseWriteEnd();
  errorPipe_.CloseReadEnd();
  errorPipe_.CloseWriteEnd();
}

}  // namespace Utils
