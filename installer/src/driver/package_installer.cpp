// CPackageInstaller: command line, run loop and output parsing of the
// package process.
#include "package_installer.h"

#include <cwchar>
#include <exception>
#include <filesystem>
#include <system_error>

#include "installer_config.h"
#include "utils/log.h"
#include "utils/process.h"
#include "utils/sysinfo.h"
#include "utils/text.h"

namespace {

using PackageProtocol::MatchKey;

// Pause after every read while the outcome is open: the package's output is
// taken in at most ten reads a second, which keeps the installer's own cost
// negligible beside the package's.
constexpr uint32_t kReadPauseMs = 100;
constexpr size_t kReadBytes = 1024;

const wchar_t* BoolText(bool value) { return value ? L"true" : L"false"; }

// A downloaded file carries no permission to execute where the file system
// keeps one (POSIX); the package must be runnable. Where there is none
// (Windows) this changes nothing. Failures surface as a launch failure.
void MakeRunnable(const std::wstring& quotedPath) {
  std::wstring path = quotedPath;
  if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') {
    path = path.substr(1, path.size() - 2);
  }
  std::error_code ignored;
  const std::filesystem::path file(path);
  if (!std::filesystem::is_regular_file(file, ignored)) return;
  std::filesystem::permissions(file,
                               std::filesystem::perms::owner_exec |
                                   std::filesystem::perms::group_exec |
                                   std::filesystem::perms::others_exec,
                               std::filesystem::perm_options::add, ignored);
}

double StartupStyleValue(const std::wstring& style) {
  if (style == L"NonStartup") return 0.0;
  if (style == L"AutoStartup") return 1.0;
  if (style == L"UserStartup") return 2.0;
  return 0.0;
}

}  // namespace

CPackageInstaller::CPackageInstaller(DownloadCallback callback, std::wstring quotedPackagePath,
                                     std::wstring installFolder)
    : callback_(std::move(callback)),
      packagePath_(std::move(quotedPackagePath)),
      installFolder_(std::move(installFolder)) {}

CPackageInstaller::~CPackageInstaller() { worker_.reset(); }

std::wstring CPackageInstaller::BuildCommandLine() const {
  std::wstring line = packagePath_;
  line += L" /S -console=show -version=1.0.0";
  line += L" -adminact=";
  line += BoolText(adminAccount_);
  line += L" -authorizationact=";
  line += BoolText(elevated_);
  line += L" -dsc=";
  line += BoolText(desktopShortcut_);
  line += L" -ssc=";
  line += BoolText(quickLaunchShortcut_);
  if (!InstallerConfig.InstCmd.empty()) {
    line += L' ';
    line += InstallerConfig.InstCmd;
  }
  if (!installFolder_.empty()) {
    line += L" -instdir=\"" + installFolder_ + L"\"";
    line += L" /D=" + installFolder_;  // the package reads /D= as the rest of the line
  }
  return line;
}

void CPackageInstaller::Start() {
  worker_.reset();  // waits for the previous run, which reads commandLine_
  commandLine_ = BuildCommandLine();
  worker_ = std::make_unique<Utils::Thread>(this, L"ABDEF", &CPackageInstaller::RunPackage);
  if (!worker_->Resume()) UTILS_LOG(L"install thread not created\r\n");
}

uint32_t CPackageInstaller::RunPackage(void* self) {
  auto* installer = static_cast<CPackageInstaller*>(self);
  installer->RunOnce();
  if (installer->runEnded_) installer->runEnded_();
  return 0;
}

void CPackageInstaller::RunOnce() {
  Notify(IST_CODE_START, 0.0, std::wstring());
  Notify(IST_CODE_PROGRESS, 0.0, std::wstring());
  ResetOutput();

  // A command line that does not fit the system's buffer is refused, never
  // cut: a cut one would install into a wrong folder.
  if (commandLine_.size() >= Utils::ChildProcess::kCommandLineChars) {
    UTILS_LOG(L"package command line too long: %d characters\r\n",
              static_cast<int>(commandLine_.size()));
    Notify(IST_CODE_FAIL, kInstallFailNotStarted, std::wstring());
    return;
  }
  MakeRunnable(packagePath_);
  try {
    runner_ = std::make_unique<Utils::ChildProcess>();
    runner_->Launch(commandLine_);
  } catch (const std::exception& error) {
    UTILS_LOG(L"package not started: %s\r\n", error.what());
    runner_.reset();
    Notify(IST_CODE_FAIL, kInstallFailNotStarted, std::wstring());
    return;
  }

  // Read to the end of the output rather than until the process is seen to
  // have ended: what the package wrote just before ending is still in the
  // pipe then, and its decisive line must count.
  char buffer[kReadBytes];
  for (;;) {
    const long got = runner_->ReadOutput(buffer, sizeof buffer);
    if (got <= 0) {
      FinishOutput();
      break;
    }
    if (FeedOutput(buffer, static_cast<size_t>(got))) {
      Drain();
      break;
    }
    Utils::SleepMilliseconds(kReadPauseMs);
  }
  runner_->Wait();
  runner_->Close();
  runner_.reset();
  if (!decided_) Notify(IST_CODE_SUCCESS, 1.0, std::wstring());
}

// After the decisive line nothing more is parsed, but the output is still
// read (without pause) until the package closes it, so that a package
// writing more than the pipe holds can go on to its end.
void CPackageInstaller::Drain() {
  char buffer[4096];
  while (runner_->ReadOutput(buffer, sizeof buffer) > 0) {
  }
}

void CPackageInstaller::ResetOutput() {
  lines_ = PackageProtocol::OutputLineBuffer();
  decided_ = false;
}

bool CPackageInstaller::FeedOutput(const char* data, size_t size) {
  if (decided_) return true;
  lines_.Feed(data, size, [this](std::string_view line) { return !ParseLineBytes(line); });
  return decided_;
}

bool CPackageInstaller::FinishOutput() {
  if (decided_) return true;
  lines_.Finish([this](std::string_view line) { return !ParseLineBytes(line); });
  return decided_;
}

// One whole line: decoded with the code page in force (the conversion stops
// at a zero byte), then parsed. Undecodable lines are skipped.
bool CPackageInstaller::ParseLineBytes(std::string_view bytes) {
  const std::wstring text =
      Utils::MultiByteToWide(bytes, static_cast<unsigned>(outputCodePage_));
  if (text.empty()) return false;
  if (ParseLine(text) != 0) decided_ = true;
  return decided_;
}

int CPackageInstaller::ParseOutput(const std::wstring& chunk) {
  int result = 0;
  PackageProtocol::ForEachLine(chunk, [&](std::wstring_view line) {
    const int outcome = ParseLine(line);
    if (outcome != 0) result = outcome;
  });
  return result;
}

int CPackageInstaller::ParseLine(std::wstring_view line) {
  std::wstring value;
  if (MatchKey(line, L"Progress=", &value)) {
    Notify(IST_CODE_PROGRESS, PackageProtocol::ParseNumber(value), std::wstring());
  } else if (MatchKey(line, L"InstPath=", &value)) {
    Notify(IST_CODE_INST_PATH, 0.0, value);
  } else if (MatchKey(line, L"State=", &value)) {
    const std::wstring state = Utils::Trim(value);
    if (state == L"Success") {
      Notify(IST_CODE_SUCCESS, 0.0, std::wstring());
      return 1;
    }
    if (state == L"Fail") {
      Notify(IST_CODE_FAIL, kInstallFailState, L"安装包安装失败");
      return 1000;
    }
  } else if (MatchKey(line, L"InstallVersion=", &value)) {
    // Fields that do not parse keep what they held, as with the C scanner.
    swscanf(value.c_str(), L"%d.%d.%d", &installedVersion_.major, &installedVersion_.minor,
            &installedVersion_.patch);
  } else if (MatchKey(line, L"ExePath=", &value) || MatchKey(line, L"StartExe=", &value)) {
    Notify(IST_CODE_EXE_PATH, 0.0, value);
  } else if (MatchKey(line, L"UninstExePath=", &value) || MatchKey(line, L"UninstExe=", &value)) {
    Notify(IST_CODE_UNINST_EXE, 0.0, value);
  } else if (MatchKey(line, L"UninstEp=", &value)) {
    Notify(IST_CODE_UNINST_EP, 0.0, value);
  } else if (MatchKey(line, L"Error=", &value)) {
    Notify(IST_CODE_FAIL, kInstallFailError, value);
    return 1000;
  } else if (MatchKey(line, L"TopShowDetention=", &value)) {
    const auto seconds = static_cast<uint32_t>(PackageProtocol::ParseInteger(value));
    Notify(IST_CODE_TOP_SHOW_DETENTION, static_cast<double>(seconds), std::wstring());
  } else if (MatchKey(line, L"FinsihCloseDetention=", &value)) {
    const auto seconds = static_cast<uint32_t>(PackageProtocol::ParseInteger(value));
    Notify(IST_CODE_FINISH_CLOSE_DETENTION, static_cast<double>(seconds), std::wstring());
  } else if (MatchKey(line, L"StartUrl=", &value)) {
    Notify(IST_CODE_START_URL, 0.0, value);
  } else if (MatchKey(line, L"StartupStyle=", &value)) {
    Notify(IST_CODE_STARTUP_STYLE, StartupStyleValue(Utils::Trim(value)), std::wstring());
  } else if (MatchKey(line, L"Encode=", &value)) {
    const std::wstring encoding = Utils::Trim(value);
    if (encoding == L"UTF8") {
      outputCodePage_ = static_cast<int32_t>(Utils::kCodePageUtf8);
    } else if (encoding == L"ACP") {
      outputCodePage_ = 0;
    } else {
      outputCodePage_ = PackageProtocol::ParseCodePageNumber(encoding);
    }
  } else if (MatchKey(line, L"Message=", &value)) {
    Notify(IST_CODE_MESSAGE, 0.0, value);
  }
  return 0;
}

void CPackageInstaller::Notify(int32_t code, double value, const std::wstring& text) {
  callback_(code, value, text.c_str());
}
