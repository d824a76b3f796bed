// CUnInstaller: preparation, command line, run loop and output parsing of
// an earlier version's uninstaller.
#include "uninstaller.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "utils/accounts.h"
#include "utils/folders.h"
#include "utils/format.h"
#include "utils/log.h"
#include "utils/process.h"
#include "utils/text.h"

namespace {

using PackageProtocol::MatchKey;

const wchar_t* BoolText(bool value) { return value ? L"true" : L"false"; }

bool ConsoleUserIsAdmin() {
  std::wstring user;
  return Utils::GetConsoleUserName(user) && Utils::IsAdminAccount(user);
}

}  // namespace

std::wstring UninstallerCopyPath() {
  const std::wstring folder = Utils::GetTempFolder();
  if (folder.empty()) return std::wstring();
  return folder + Utils::kPathSeparator + L"Tarnvell_un_asa.exe";
}

RemovalFiles PrepareRemoval(const std::wstring& entryFile) {
  RemovalFiles files;
  files.copyPath = UninstallerCopyPath();
  files.earlierFolder = Utils::PathDirectory(entryFile);
  if (!files.copyPath.empty()) {
    // Removed first: an existing copy is replaced, and some runtimes refuse
    // to overwrite in place.
    std::error_code error;
    std::filesystem::remove(std::filesystem::path(files.copyPath), error);
    std::filesystem::copy_file(std::filesystem::path(entryFile),
                               std::filesystem::path(files.copyPath),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) UTILS_LOG(L"uninstaller copy failed: %s\r\n", error.message());
  }
  return files;
}

CUnInstaller::CUnInstaller(DownloadCallback callback, std::wstring copyPath,
                           std::wstring earlierFolder)
    : callback_(std::move(callback)),
      copyPath_(std::move(copyPath)),
      earlierFolder_(std::move(earlierFolder)) {}

CUnInstaller::~CUnInstaller() { worker_.reset(); }

std::wstring CUnInstaller::BuildCommandLine() const {
  return Utils::FormatW(L"%s /S -adminact=%s -authorizationact=%s -console=show _?=%s", copyPath_,
                        BoolText(ConsoleUserIsAdmin()), BoolText(Utils::IsAdministrator()),
                        earlierFolder_);
}

void CUnInstaller::Start() {
  worker_.reset();  // waits for the previous run, which reads commandLine_
  commandLine_ = BuildCommandLine();
  worker_ = std::make_unique<Utils::Thread>(this, L"UnInstaller", &CUnInstaller::RunUninstaller);
  if (!worker_->Resume()) UTILS_LOG(L"removal thread not created\r\n");
}

uint32_t CUnInstaller::RunUninstaller(void* self) {
  static_cast<CUnInstaller*>(self)->RunOnce();
  return 0;
}

void CUnInstaller::RunOnce() {
  if (copyPath_.empty() || !Utils::PathExists(copyPath_)) {
    Notify(UNIST_CODE_FAIL, 1.0, L"可执行卸载文件不存在");
    return;
  }
  Notify(UNIST_CODE_PROGRESS, 0.0, std::wstring());
  // Refused rather than cut: a cut line would hand the uninstaller a wrong
  // folder to remove.
  if (commandLine_.size() >= Utils::ChildProcess::kCommandLineChars) {
    UTILS_LOG(L"uninstaller command line too long: %d characters\r\n",
              static_cast<int>(commandLine_.size()));
    Notify(UNIST_CODE_FAIL, 2.0, std::wstring());
    return;
  }
  runner_.reset();
  try {
    runner_ = std::make_unique<Utils::ChildProcess>();
    runner_->Launch(commandLine_);
  } catch (const std::exception& error) {
    UTILS_LOG(L"uninstaller not started: %s\r\n", error.what());
    runner_.reset();
    Notify(UNIST_CODE_FAIL, 2.0, std::wstring());
    return;
  }

  // The blocking read paces the loop; it ends when the uninstaller closes
  // its output, so nothing it wrote before ending is left unparsed.
  char buffer[1024];
  for (;;) {
    const long got = runner_->ReadOutput(buffer, sizeof buffer);
    if (got <= 0) break;
    FeedOutput(buffer, static_cast<size_t>(got));
  }
  FinishOutput();
  runner_->Wait();
  runner_->Close();
  runner_.reset();
  if (!decided_) Notify(UNIST_CODE_SUCCESS, 1.0, std::wstring());
}

bool CUnInstaller::FeedOutput(const char* data, size_t size) {
  lines_.Feed(data, size, [this](std::string_view line) {
    ParseLineBytes(line);
    return true;
  });
  return decided_;
}

bool CUnInstaller::FinishOutput() {
  lines_.Finish([this](std::string_view line) { ParseLineBytes(line); });
  return decided_;
}

bool CUnInstaller::ParseLineBytes(std::string_view bytes) {
  const std::wstring text =
      Utils::MultiByteToWide(bytes, static_cast<unsigned>(outputCodePage_));
  if (text.empty()) return decided_;
  if (ParseLine(text) != 0) decided_ = true;
  return decided_;
}

int CUnInstaller::ParseOutput(const std::wstring& chunk) {
  int result = 0;
  PackageProtocol::ForEachLine(chunk, [&](std::wstring_view line) {
    const int outcome = ParseLine(line);
    if (outcome != 0) result = outcome;
  });
  return result;
}

int CUnInstaller::ParseLine(std::wstring_view line) {
  std::wstring value;
  if (MatchKey(line, L"Progress=", &value)) {
    Notify(UNIST_CODE_PROGRESS, PackageProtocol::ParseNumber(value), std::wstring());
  } else if (MatchKey(line, L"Error=", &value)) {
    Notify(UNIST_CODE_ERROR, 0.0, value);
    return 1000;
  } else if (MatchKey(line, L"State=", &value)) {
    const std::wstring state = Utils::Trim(value);
    if (state == L"Success") {
      Notify(UNIST_CODE_SUCCESS, 0.0, std::wstring());
      return 1;
    }
    if (state == L"Fail") {
      Notify(UNIST_CODE_ERROR, 0.0, L"安装包卸载失败");
      return 1000;
    }
  } else if (MatchKey(line, L"Encode=", &value)) {
    outputCodePage_ = Utils::Trim(value) == L"UTF8" ? static_cast<int32_t>(Utils::kCodePageUtf8) : 0;
  }
  return 0;
}

void CUnInstaller::Notify(int32_t code, double value, const std::wstring& text) {
  callback_(code, value, text.c_str());
}
