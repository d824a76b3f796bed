// CUnInstaller: runs an earlier version's uninstaller silently, from a copy
// in the installer's temporary folder, and turns its output into removal
// notifications.
//
// Notifications (code, value, text), in output order, on the worker thread:
//   5002 (0, "")     the uninstaller is about to start; then (number, "")
//                    per "Progress=" line
//   5003 (0, "")     "State=Success"; (1, "") when it ended without a
//                    decisive line
//   5004 (1, "可执行卸载文件不存在") the copy does not exist; (2, "") it was not
//                    started, its command line included (never cut short)
//   5005 (0, text)   "Error="; (0, "安装包卸载失败") "State=Fail"
// Every line is parsed until the uninstaller closes its output, decisive or
// not; no 5003 follows the end of a run that reported an outcome.
//
// Threads: construct, Start and destroy on the owner's thread; the run and
// its notifications on the worker thread "UnInstaller". The destructor waits
// for a running removal.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "download/downloader.h"
#include "output_protocol.h"
#include "utils/thread.h"

namespace Utils {
class ChildProcess;
}

inline constexpr int32_t UNIST_CODE_PROGRESS = 5002;
inline constexpr int32_t UNIST_CODE_SUCCESS = 5003;
inline constexpr int32_t UNIST_CODE_FAIL = 5004;
inline constexpr int32_t UNIST_CODE_ERROR = 5005;

// Where a removal runs from: the copy of the entry file in the installer's
// temporary folder, and the earlier installation's folder.
struct RemovalFiles {
  std::wstring copyPath;       // empty when the temporary folder is unavailable
  std::wstring earlierFolder;  // the entry file's folder
};

// The temporary folder followed by a separator and "Tarnvell_un_asa.exe"
// (the folder already ends in one, the file system reads two as one).
std::wstring UninstallerCopyPath();

// Copies the entry file over the copy path (replacing an older copy, keeping
// the file's permissions so that it stays executable). A failed copy is not
// reported here: the run reports the missing copy as 5004. Owner's thread.
RemovalFiles PrepareRemoval(const std::wstring& entryFile);

class CUnInstaller {
 public:
  CUnInstaller(DownloadCallback callback, std::wstring copyPath, std::wstring earlierFolder);
  ~CUnInstaller();
  CUnInstaller(const CUnInstaller&) = delete;
  CUnInstaller& operator=(const CUnInstaller&) = delete;

  // Builds the command line, then starts the worker. Returns at once.
  void Start();

  // "%s /S -adminact=%s -authorizationact=%s -console=show _?=%s": the copy
  // path and the earlier folder unquoted, the two account probes taken now.
  std::wstring BuildCommandLine() const;

  // Worker body. Returns 0.
  static uint32_t RunUninstaller(void* self);

  // Parses one decoded chunk: 0, 1 ("State=Success") or 1000 (a failure).
  int ParseOutput(const std::wstring& chunk);

  // One raw read of the uninstaller's output; lines decoded one by one with
  // the code page in force. True once a decisive line has been seen (parsing
  // goes on regardless). Worker thread (or a test).
  bool FeedOutput(const char* data, size_t size);
  bool FinishOutput();

  const std::wstring& CommandLine() const { return commandLine_; }
  int32_t OutputCodePage() const { return outputCodePage_; }

 private:
  void Notify(int32_t code, double value, const std::wstring& text);
  bool ParseLineBytes(std::string_view bytes);
  int ParseLine(std::wstring_view line);
  void RunOnce();

  DownloadCallback callback_;
  std::wstring commandLine_;
  std::wstring copyPath_;
  std::wstring earlierFolder_;
  int32_t outputCodePage_ = 0;
  std::unique_ptr<Utils::Thread> worker_;
  std::unique_ptr<Utils::ChildProcess> runner_;

  PackageProtocol::OutputLineBuffer lines_;
  bool decided_ = false;
};
