// tv-install: the whole orchestrator (removal, download, installation) from
// the command line, for tests, benchmarks and people.
//
//   tv-install --url URL --folder DIR [--uninstaller PATH] [--downloadtype N]
//
// Prints every notification as "<code> <value> <text>"; exits 0 when the
// installation succeeded (2003), 1 when a phase failed (1004, 2004, 5004,
// 5005) or on a usage error.
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "download_installer.h"
#include "installer_config.h"
#include "notice_printer.h"
#include "utils/accounts.h"
#include "utils/cmdline.h"

namespace {

// The codes after which nothing more comes from this start.
bool EndsTheInstall(int32_t code) {
  return code == DL_CODE_FAIL || code == IST_CODE_SUCCESS || code == IST_CODE_FAIL ||
         code == UNIST_CODE_FAIL || code == UNIST_CODE_ERROR;
}

}  // namespace

int main() {
  const std::vector<std::wstring> args = Utils::GetProcessArguments();
  std::wstring url, folder, uninstaller, type;
  if (!FrontEnd::OptionValue(args, L"--url", &url) ||
      !FrontEnd::OptionValue(args, L"--folder", &folder)) {
    std::fputs("usage: tv-install --url URL --folder DIR [--uninstaller PATH] [--downloadtype N]\n",
               stderr);
    return 1;
  }
  FrontEnd::OptionValue(args, L"--uninstaller", &uninstaller);
  if (FrontEnd::OptionValue(args, L"--downloadtype", &type)) {
    InstallerConfig.DownloadType = static_cast<int32_t>(std::wcstol(type.c_str(), nullptr, 10));
  }

  std::mutex lock;
  std::condition_variable ended;
  int32_t outcome = 0;
  std::wstring user;
  const bool adminAccount = Utils::GetConsoleUserName(user) && Utils::IsAdminAccount(user);
  {
    CDownloadInstaller orchestrator(
        [&](int32_t code, double value, const wchar_t* text) {
          FrontEnd::PrintNotice(code, value, text);
          if (!EndsTheInstall(code)) return;
          std::lock_guard<std::mutex> hold(lock);
          if (outcome == 0) outcome = code;
          ended.notify_all();
        },
        std::wstring(), std::wstring(), std::wstring(), true, true, true);
    orchestrator.Setup(url, uninstaller, folder, true, true, adminAccount,
                       Utils::IsAdministrator());
    orchestrator.Start();
    std::unique_lock<std::mutex> hold(lock);
    ended.wait(hold, [&] { return outcome != 0; });
  }  // the destructor waits for every phase thread (and the package's end)
  return outcome == IST_CODE_SUCCESS ? 0 : 1;
}
