// tv-download: runs the downloader that a DownloadType selects, exactly as
// the install orchestrator does (DL_CODE_RETRY is answered by calling Start
// again from inside the callback), and prints one line per report:
//   <code> <value as %g> <text>
// Exit status 0 after DL_CODE_SUCCESS, 1 after DL_CODE_FAIL, 2 on bad usage.
//
//   tv-download --type N --url URL --out PATH [--cainfo PEM]
//
// --cainfo trusts that CA bundle for HTTPS instead of the system's store (the
// environment variable TARNVELL_CA_BUNDLE does the same).
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include <curl/curl.h>

#include "downloader.h"
#include "installer_config.h"
#include "transfer_security.h"
#include "utils/cmdline.h"
#include "utils/format.h"

namespace {

struct Options {
  int32_t type = 1;
  std::wstring url;
  std::wstring out;
  std::wstring cainfo;
};

bool ParseOptions(const std::vector<std::wstring>& args, Options& options) {
  for (size_t i = 1; i + 1 < args.size(); i += 2) {
    const std::wstring& key = args[i];
    const std::wstring& value = args[i + 1];
    if (key == L"--type") {
      try {
        options.type = std::stoi(value);
      } catch (...) {
        return false;
      }
    } else if (key == L"--url") {
      options.url = value;
    } else if (key == L"--out") {
      options.out = value;
    } else if (key == L"--cainfo") {
      options.cainfo = value;
    } else {
      return false;
    }
  }
  return args.size() % 2 == 1 && !options.url.empty();
}

// The end of the download as the callback saw it.
struct Outcome {
  std::mutex lock;
  std::condition_variable done;
  int exitCode = -1;
};

}  // namespace

int main() {
  Options options;
  if (!ParseOptions(Utils::GetProcessArguments(), options)) {
    std::fputs("usage: tv-download --type N --url URL --out PATH [--cainfo PEM]\n", stderr);
    return 2;
  }
  if (curl_global_init(CURL_GLOBAL_ALL) != 0) InstallerConfig.CurlAvailable = false;
  if (!options.cainfo.empty()) SetPackageCaBundle(Utils::WideToUtf8(options.cainfo));

  Outcome outcome;
  CDownloader* downloader = nullptr;
  DownloadCallback callback = [&outcome, &downloader](int32_t code, double value, const wchar_t* text) {
    const std::string line = Utils::Format("%d %g %s\n", code, value, text ? text : L"");
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
    if (code == DL_CODE_RETRY) {
      downloader->Start();
    } else if (code == DL_CODE_SUCCESS || code == DL_CODE_FAIL) {
      std::lock_guard<std::mutex> guard(outcome.lock);
      outcome.exitCode = code == DL_CODE_SUCCESS ? 0 : 1;
      outcome.done.notify_all();
    }
  };
  std::unique_ptr<CDownloader> owned = CreateDownloader(options.type, callback, options.url, options.out);
  downloader = owned.get();
  downloader->Start();
  int exitCode = 0;
  {
    std::unique_lock<std::mutex> lock(outcome.lock);
    outcome.done.wait(lock, [&outcome] { return outcome.exitCode >= 0; });
    exitCode = outcome.exitCode;
  }
  owned.reset();  // waits for the downloader's threads
  curl_global_cleanup();
  return exitCode;
}
