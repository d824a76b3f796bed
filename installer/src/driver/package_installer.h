// CPackageInstaller: runs the downloaded package silently and turns the
// "Key=value" lines it writes to its standard output into install-phase
// notifications.
//
// Notifications (code, value, text), in output order, on the worker thread:
//   2001 (0, "")          the run begins
//   2002 (0, "")          right after 2001; then (fraction, "") per "Progress="
//   2003 (0, "")          "State=Success"; (1, "") when the package ended
//                         without a decisive line
//   2004 (0, "安装包安装失败") "State=Fail"; (1000, text) "Error="; (2, "")
//                         when the package was not started, its command line
//                         included (never cut short to fit)
//   3000..3005, 3007..3009 the paths, URL, start style, detentions, message
// Exactly one of 2003 and 2004 ends a run. After the decisive line the rest
// of the output is read and discarded until the package closes it, so a
// package that keeps writing never blocks on a full pipe.
//
// Threads: construct, set the options, Start and destroy on the owner's
// thread(s), never concurrently with each other; everything else runs on
// the worker thread "ABDEF", which delivers the callback synchronously.
// Start waits for the previous run to end; so does the destructor.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "download/downloader.h"
#include "output_protocol.h"
#include "utils/thread.h"

namespace Utils {
class ChildProcess;
}

inline constexpr int32_t IST_CODE_START = 2001;
inline constexpr int32_t IST_CODE_PROGRESS = 2002;
inline constexpr int32_t IST_CODE_SUCCESS = 2003;
inline constexpr int32_t IST_CODE_FAIL = 2004;
inline constexpr int32_t IST_CODE_INST_PATH = 3000;
inline constexpr int32_t IST_CODE_EXE_PATH = 3001;
inline constexpr int32_t IST_CODE_UNINST_EXE = 3002;
inline constexpr int32_t IST_CODE_UNINST_EP = 3003;
inline constexpr int32_t IST_CODE_START_URL = 3004;
inline constexpr int32_t IST_CODE_STARTUP_STYLE = 3005;
inline constexpr int32_t IST_CODE_TOP_SHOW_DETENTION = 3007;
inline constexpr int32_t IST_CODE_FINISH_CLOSE_DETENTION = 3008;
inline constexpr int32_t IST_CODE_MESSAGE = 3009;

// Values of the 2004 notification.
inline constexpr double kInstallFailState = 0.0;
inline constexpr double kInstallFailNotStarted = 2.0;
inline constexpr double kInstallFailError = 1000.0;

class CPackageInstaller {
 public:
  struct Version {
    int32_t major = 0, minor = 0, patch = 0;
  };

  // quotedPackagePath already carries its enclosing double quotes.
  CPackageInstaller(DownloadCallback callback, std::wstring quotedPackagePath,
                    std::wstring installFolder);
  ~CPackageInstaller();  // waits for a running package thread
  CPackageInstaller(const CPackageInstaller&) = delete;
  CPackageInstaller& operator=(const CPackageInstaller&) = delete;

  void SetInstallFolder(const std::wstring& folder) { installFolder_ = folder; }
  void SetDesktopShortcut(bool on) { desktopShortcut_ = on; }
  void SetQuickLaunchShortcut(bool on) { quickLaunchShortcut_ = on; }
  void SetAdminAccount(bool on) { adminAccount_ = on; }
  void SetElevated(bool on) { elevated_ = on; }
  // Called on the worker thread after every run, once the package process
  // has ended (or was never started) and after the run's last notification.
  // The owner uses it for clean-up that the running package would prevent.
  void SetRunEndedHandler(std::function<void()> handler) { runEnded_ = std::move(handler); }

  // Builds the command line, waits for the previous worker to end, then
  // starts a new worker running RunPackage. Returns at once. Nothing is
  // notified when the thread cannot be created.
  void Start();

  // The package path, then " /S -console=show -version=1.0.0", the four
  // flags, InstallerConfig.InstCmd when not empty, and for a non-empty
  // folder -instdir="<folder>" and, last, /D=<folder>.
  std::wstring BuildCommandLine() const;

  // Worker body: runs the package to its end. Returns 0.
  static uint32_t RunPackage(void* self);

  // Parses one decoded chunk (all its lines, the keys in their fixed order)
  // and notifies; 0 nothing decisive, 1 "State=Success", 1000 a failure;
  // the last decisive line of the chunk decides.
  int ParseOutput(const std::wstring& chunk);

  // One raw read of the package's output, as the worker feeds it: whole
  // lines are decoded with the current output code page and parsed one by
  // one, so "Encode=" applies from the next line and any split of the same
  // output into reads gives the same notifications. Parsing stops at the
  // first decisive line; true from then on. Worker thread (or a test).
  bool FeedOutput(const char* data, size_t size);
  // End of the output: parses a final line that had no line feed.
  bool FinishOutput();
  // Forgets any partial line and the decision, for a new run.
  void ResetOutput();

  const std::wstring& CommandLine() const { return commandLine_; }
  Version InstalledVersion() const { return installedVersion_; }
  int32_t OutputCodePage() const { return outputCodePage_; }

 private:
  void Notify(int32_t code, double value, const std::wstring& text);
  bool ParseLineBytes(std::string_view bytes);
  int ParseLine(std::wstring_view line);
  void RunOnce();
  void Drain();

  DownloadCallback callback_;
  std::wstring packagePath_;
  std::wstring installFolder_;
  std::wstring commandLine_;
  bool quickLaunchShortcut_ = false;
  bool desktopShortcut_ = false;
  int32_t outputCodePage_ = 0;
  std::unique_ptr<Utils::Thread> worker_;
  std::unique_ptr<Utils::ChildProcess> runner_;
  Version installedVersion_;
  bool adminAccount_ = false;
  bool elevated_ = true;

  std::function<void()> runEnded_;
  PackageProtocol::OutputLineBuffer lines_;
  bool decided_ = false;
};
