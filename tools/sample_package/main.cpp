// The sample package, its uninstaller and the product, in one program.
//
// The role follows the file name and the arguments: "DovraneScreenRecorder.exe"
// is the product; a command line holding "_?=<folder>" (the removal's) is
// the uninstaller; anything else takes the build's default role. This lets
// the package install copies of itself as the product and as "uninst.ep".
//
// Package:      <package> /S -console=show -version=1.0.0 -adminact=.. -authorizationact=..
//                 -dsc=.. -ssc=.. [InstCmd] -instdir="<dir>" /D=<dir>
// Uninstaller:  <copy> /S -adminact=.. -authorizationact=.. -console=show _?=<dir>
// Scripts: -script=FILE or -steps=STEPS (see sample_script.h), else the
// file named by TARNVELL_SAMPLE_PACKAGE_SCRIPT / TARNVELL_SAMPLE_UNINSTALL_SCRIPT,
// (for the uninstaller, else "uninst.script" in the folder it removes), else
// the real install or removal.
#include <string>
#include <vector>

#include "sample_script.h"
#include "utils/cmdline.h"
#include "utils/folders.h"
#include "utils/text.h"

namespace {

using SamplePackage::Context;

enum class Role { kPackage, kUninstaller, kProduct };

// Everything after "<prefix>" in the argument that starts with it, and the
// later arguments joined by blanks: "/D=" and "_?=" take the rest of the
// command line, unquoted, as the system's installers read them.
bool RestOfLine(const std::vector<std::wstring>& args, const std::wstring& prefix,
                std::wstring* rest) {
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i].compare(0, prefix.size(), prefix) != 0) continue;
    *rest = args[i].substr(prefix.size());
    for (size_t j = i + 1; j < args.size(); ++j) *rest += L" " + args[j];
    return true;
  }
  return false;
}

bool Option(const std::vector<std::wstring>& args, const std::wstring& prefix, std::wstring* value) {
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i].compare(0, prefix.size(), prefix) == 0) {
      *value = args[i].substr(prefix.size());
      return true;
    }
  }
  return false;
}

Role RoleOf(const std::vector<std::wstring>& args) {
  if (Utils::PathFileName(Utils::GetModulePath()) == L"DovraneScreenRecorder.exe") {
    return Role::kProduct;
  }
  std::wstring unused;
  if (RestOfLine(args, L"_?=", &unused)) return Role::kUninstaller;
  return static_cast<Role>(SAMPLE_DEFAULT_ROLE);
}

std::vector<std::string> ChooseSteps(const std::vector<std::wstring>& args, Role role,
                                     const std::wstring& folder, bool* loaded) {
  *loaded = true;
  std::vector<std::string> steps;
  std::wstring value;
  if (Option(args, L"-steps=", &value)) return SamplePackage::SplitSteps(Utils::WideToUtf8(value));
  if (!Option(args, L"-script=", &value)) {
    value = Utils::GetEnvironmentText(role == Role::kPackage ? L"TARNVELL_SAMPLE_PACKAGE_SCRIPT"
                                                             : L"TARNVELL_SAMPLE_UNINSTALL_SCRIPT");
  }
  // The uninstaller also takes "uninst.script" from the folder it removes,
  // since its command line has no room for options.
  std::wstring beside;
  if (value.empty() && role == Role::kUninstaller &&
      Utils::JoinPath(folder, L"uninst.script", &beside) && Utils::PathExists(beside)) {
    value = beside;
  }
  if (!value.empty()) {
    *loaded = SamplePackage::LoadScriptFile(value, &steps);
    return steps;
  }
  if (role == Role::kPackage) return {"out Encode=UTF8", "install", "out State=Success"};
  return {"out Encode=UTF8", "uninstall", "out State=Success"};
}

}  // namespace

int main() {
  const std::vector<std::wstring> args = Utils::GetProcessArguments();
  const Role role = RoleOf(args);
  if (role == Role::kProduct) return SamplePackage::RunProduct();

  Context context;
  context.arguments = args;
  if (role == Role::kPackage) {
    if (!Option(args, L"-instdir=", &context.folder) || context.folder.empty()) {
      RestOfLine(args, L"/D=", &context.folder);
    }
    if (context.folder.empty()) {
      Utils::JoinPath(Utils::GetProgramFilesX86Folder(), L"Tarnvell", &context.folder);
    }
  } else {
    RestOfLine(args, L"_?=", &context.folder);
  }

  bool loaded = false;
  const std::vector<std::string> steps = ChooseSteps(args, role, context.folder, &loaded);
  if (!loaded) {
    SamplePackage::WriteLine("Error=script not readable");
    return 1;
  }
  return SamplePackage::RunScript(steps, context);
}
