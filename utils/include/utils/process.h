// Utils::Pipe and Utils::ChildProcess: a hidden child process with its
// standard input, output and error on anonymous pipes.
//
// A ChildProcess runs exactly one child: construct (creates the pipes in the
// order error, output, input), Launch, read its output and poll its exit
// code, Close once it has ended, destroy. Nothing is written to the child's
// input or read from its error stream; they exist so that the child has
// valid handles.
//
// On POSIX the command line is split with the Windows rules
// (SplitWindowsCommandLine) and the program is started with posix_spawn (a
// bare name is searched on PATH), so both platforms see the same arguments.
//
// Thread safety: one thread creates, reads, closes and destroys a runner.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "utils/handle.h"

namespace Utils {

class Pipe {
 public:
  // Creates the pipe; throws Utils::Exception (closing any end made) when
  // the system refuses.
  Pipe();
  ~Pipe();
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  void CloseWriteEnd();
  void CloseReadEnd();

  NativeHandle writeEnd = kInvalidHandle;
  NativeHandle readEnd = kInvalidHandle;
};

class ChildProcess {
 public:
  // Characters of the command-line buffer, terminating zero included: a
  // command line must have at most kCommandLineChars - 1 characters.
  static constexpr size_t kCommandLineChars = 1024;
  // The exit code reported while the child is still running.
  static constexpr uint32_t kStillActive = 259;

  ChildProcess();   // throws Utils::Exception when a pipe cannot be created
  ~ChildProcess();  // Close()
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts the child, hidden. Throws Utils::Exception when the system
  // refuses, and when the command line has kCommandLineChars characters or
  // more (it is never cut short).
  void Launch(const std::wstring& commandLine);

  // Blocking read of the child's standard output: the number of bytes read,
  // 0 at end of data (the child and everything that inherited its end closed
  // it), -1 on error.
  long ReadOutput(void* buffer, size_t size);
  // kStillActive while the child runs, then its exit code (on POSIX a
  // child killed by signal N reports 128 + N).
  uint32_t ExitCode();
  // Waits without time limit for the child to end; returns its exit code.
  uint32_t Wait();
  // Ends the child at once with that exit code (POSIX: SIGKILL).
  bool Terminate(uint32_t exitCode);
  // Closes the process handles, then every pipe end still open.
  void Close();

  uint32_t ProcessId() const { return processId_; }
  const std::wstring& CommandLine() const { return commandLine_; }

  struct Platform;

 private:
  std::wstring commandLine_;
  Pipe errorPipe_;
  Pipe outputPipe_;
  Pipe inputPipe_;
  NativeHandle process_ = kInvalidHandle;
  NativeHandle thread_ = kInvalidHandle;
  uint32_t processId_ = 0;
  uint32_t threadId_ = 0;
  bool exited_ = false;
  uint32_t exitCode_ = kStillActive;
};

}  // namespace Utils
