// tv-run-package: one run of the package install phase (CPackageInstaller)
// from the command line, for tests, benchmarks and people.
//
//   tv-run-package --package PATH --folder DIR [--dsc true|false]
//                  [--ssc true|false] [--instcmd TEXT]
//
// Prints every notification as "<code> <value> <text>"; exits 0 when the
// run ended in 2003 (success), 1 otherwise (and on a usage error).
#include <cstdio>

#include "installer_config.h"
#include "notice_printer.h"
#include "package_installer.h"
#include "utils/accounts.h"
#include "utils/cmdline.h"

int main() {
  const std::vector<std::wstring> args = Utils::GetProcessArguments();
  std::wstring package, folder, text;
  bool desktop = true, quickLaunch = true;
  bool usable = FrontEnd::OptionValue(args, L"--package", &package) &&
                FrontEnd::OptionValue(args, L"--folder", &folder);
  if (FrontEnd::OptionValue(args, L"--dsc", &text)) usable &= FrontEnd::ParseFlag(text, &desktop);
  if (FrontEnd::OptionValue(args, L"--ssc", &text)) usable &= FrontEnd::ParseFlag(text, &quickLaunch);
  if (!usable) {
    std::fputs("usage: tv-run-package --package PATH --folder DIR [--dsc true|false] "
               "[--ssc true|false] [--instcmd TEXT]\n",
               stderr);
    return 1;
  }
  InstallerConfig.InstCmd.clear();
  FrontEnd::OptionValue(args, L"--instcmd", &InstallerConfig.InstCmd);

  int32_t outcome = 0;  // the last of 2003 / 2004; written by the worker only
  std::wstring user;
  const bool adminAccount = Utils::GetConsoleUserName(user) && Utils::IsAdminAccount(user);
  {
    CPackageInstaller installer(
        [&outcome](int32_t code, double value, const wchar_t* message) {
          FrontEnd::PrintNotice(code, value, message);
          if (code == IST_CODE_SUCCESS || code == IST_CODE_FAIL) outcome = code;
        },
        L"\"" + package + L"\"", folder);
    installer.SetDesktopShortcut(desktop);
    installer.SetQuickLaunchShortcut(quickLaunch);
    installer.SetAdminAccount(adminAccount);
    installer.SetElevated(Utils::IsAdministrator());
    installer.Start();
  }  // the destructor waits for the run to end
  return outcome == IST_CODE_SUCCESS ? 0 : 1;
}
