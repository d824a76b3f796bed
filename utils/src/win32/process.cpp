// Utils::Pipe and Utils::ChildProcess with anonymous pipes and a hidden
// CreateProcessW. Pipes are made inheritable; before the launch our own
// ends are made private again, so the child inherits only its three ends.
#include "utils/process.h"

#include <windows.h>

#include <algorithm>

#include "utils/exception.h"

namespace Utils {

namespace {

void CloseNative(NativeHandle& handle) {
  if (handle != kInvalidHandle) {
    CloseHandle(handle);
    handle = kInvalidHandle;
  }
}

}  // namespace

Pipe::Pipe() {
  SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &attributes, 0)) {
    if (read) CloseHandle(read);
    if (write) CloseHandle(write);
    throw Exception();
  }
  readEnd = read;
  writeEnd = write;
}

Pipe::~Pipe() {
  CloseWriteEnd();
  CloseReadEnd();
}

void Pipe::CloseWriteEnd() { CloseNative(writeEnd); }
void Pipe::CloseReadEnd() { CloseNative(readEnd); }

ChildProcess::ChildProcess() = default;  // members create the pipes: error, output, input

ChildProcess::~ChildProcess() { Close(); }

void ChildProcess::Launch(const std::wstring& commandLine) {
  if (commandLine.size() >= kCommandLineChars) throw Exception(L"command line too long");
  commandLine_ = commandLine;
  // CreateProcessW may write into the command line, so it gets a copy.
  wchar_t buffer[kCommandLineChars] = {};
  std::copy(commandLine.begin(), commandLine.end(), buffer);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = inputPipe_.readEnd;
  startup.hStdOutput = outputPipe_.writeEnd;
  startup.hStdError = errorPipe_.writeEnd;
  SetHandleInformation(outputPipe_.readEnd, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errorPipe_.readEnd, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(inputPipe_.writeEnd, HANDLE_FLAG_INHERIT, 0);

  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, buffer, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &info)) {
    throw Exception(L"cannot start " + commandLine);
  }
  // The child's ends belong to the child now; closing ours lets the output
  // pipe report end of data once the child closes its end.
  outputPipe_.CloseWriteEnd();
  errorPipe_.CloseWriteEnd();
  inputPipe_.CloseReadEnd();
  process_ = info.hProcess;
  thread_ = info.hThread;
  processId_ = info.dwProcessId;
  threadId_ = info.dwThreadId;
  exited_ = false;
  exitCode_ = kStillActive;
}

long ChildProcess::ReadOutput(void* buffer, size_t size) {
  if (outputPipe_.readEnd == kInvalidHandle) return -1;
  const DWORD want = size > 0x7FFFFFFFu ? 0x7FFFFFFFu : static_cast<DWORD>(size);
  DWORD read = 0;
  if (!ReadFile(outputPipe_.readEnd, buffer, want, &read, nullptr)) {
    // Every write end closed: the end of the data, not an error.
    return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
  }
  return static_cast<long>(read);
}

uint32_t ChildProcess::ExitCode() {
  if (exited_ || process_ == kInvalidHandle) return exitCode_;
  DWORD code = kStillActive;
  if (!GetExitCodeProcess(process_, &code)) return exitCode_;
  exitCode_ = code;
  // A child may itself exit with 259; the signalled handle tells it ended.
  if (code != kStillActive || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) exited_ = true;
  return exitCode_;
}

uint32_t ChildProcess::Wait() {
  if (exited_ || process_ == kInvalidHandle) return exitCode_;
  if (WaitForSingleObject(process_, INFINITE) == WAIT_OBJECT_0) {
    DWORD code = kStillActive;
    if (GetExitCodeProcess(process_, &code)) exitCode_ = code;
    exited_ = true;
  }
  return exitCode_;
}

bool ChildProcess::Terminate(uint32_t exitCode) {
  if (process_ == kInvalidHandle || exited_) return false;
  return TerminateProcess(process_, exitCode) != FALSE;
}

void ChildProcess::Close() {
  // The last exit code stays readable after the handles are gone.
  if (process_ != kInvalidHandle && !exited_) ExitCode();
  CloseNative(thread_);
  CloseNative(process_);
  inputPipe_.CloseReadEnd();
  inputPipe_.CloseWriteEnd();
  outputPipe_.CloseReadEnd();
  outputPipe_.CloseWriteEnd();
  errorPipe_.CloseReadEnd();
  errorPipe_.CloseWriteEnd();
}

}  // namespace Utils
