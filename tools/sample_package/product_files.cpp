// The real work of the sample package and its uninstaller: the product is
// the sample program itself, copied into the folder under the product's
// names; the copies pick their role from their file name and arguments.
#include <filesystem>
#include <system_error>

#include "sample_script.h"
#include "utils/file.h"
#include "utils/folders.h"
#include "utils/format.h"
#include "utils/sysinfo.h"
#include "utils/text.h"

namespace SamplePackage {
namespace {

constexpr wchar_t kProductExe[] = L"DovraneScreenRecorder.exe";
constexpr wchar_t kUninstallerEntry[] = L"uninst.ep";
constexpr uint32_t kStepPauseMs = 40;  // so that progress is seen to advance

std::wstring InFolder(const std::wstring& folder, const wchar_t* name) {
  std::wstring path;
  if (!Utils::JoinPath(folder, name, &path)) return std::wstring();
  return path;
}

bool CopySelf(const std::wstring& to) {
  std::error_code error;
  std::filesystem::remove(std::filesystem::path(to), error);  // replace, never overwrite in place
  std::filesystem::copy_file(std::filesystem::path(Utils::GetModulePath()),
                             std::filesystem::path(to),
                             std::filesystem::copy_options::overwrite_existing, error);
  return !error;
}

void Progress(const char* fraction) {
  WriteLine(std::string("Progress=") + fraction);
  Utils::SleepMilliseconds(kStepPauseMs);
}

void Report(const char* key, const std::wstring& value) {
  WriteLine(std::string(key) + Utils::WideToUtf8(value));
}

}  // namespace

bool Install(const Context& context) {
  const std::wstring& folder = context.folder;
  Progress("0.1");
  if (folder.empty() || !Utils::CreateDirectories(folder)) {
    Report("Error=cannot create the folder ", folder);
    return false;
  }
  const std::wstring exe = InFolder(folder, kProductExe);
  const std::wstring entry = InFolder(folder, kUninstallerEntry);
  if (exe.empty() || !CopySelf(exe)) {
    Report("Error=cannot write ", exe);
    return false;
  }
  Progress("0.5");
  if (entry.empty() || !CopySelf(entry)) {
    Report("Error=cannot write ", entry);
    return false;
  }
  Progress("0.8");
  WriteLine("InstallVersion=1.0.0");
  Report("InstPath=", folder);
  Report("ExePath=", exe);
  Report("UninstExePath=", entry);
  Report("UninstEp=", entry);
  WriteLine("StartupStyle=UserStartup");
  Progress("1.0");
  return true;
}

bool Uninstall(const Context& context) {
  const std::wstring& folder = context.folder;
  Progress("0.2");
  const std::wstring exe = InFolder(folder, kProductExe);
  if (Utils::PathExists(exe) && !Utils::RemoveFile(exe)) {
    Report("Error=cannot remove ", exe);  // most likely the product is running
    return false;
  }
  Progress("0.6");
  const std::wstring entry = InFolder(folder, kUninstallerEntry);
  if (Utils::PathExists(entry)) Utils::RemoveFile(entry);
  // The folder goes only when nothing else is left in it.
  std::error_code error;
  std::filesystem::remove(std::filesystem::path(folder), error);
  Progress("1.0");
  return true;
}

}  // namespace SamplePackage
