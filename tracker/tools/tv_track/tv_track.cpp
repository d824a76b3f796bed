// tv-track: creates the tracker exactly as the installer does, from an INI
// file in the installer's format, sends the events given on the command
// line in order, then releases the tracker (which flushes, or stages what
// cannot be sent for the next run).
//
//   tv-track --ini FILE EVENT...
//     task NAME VALUE DETAIL    TrackTaskEvent (VALUE a number)
//     click NAME                TrackClickEvent
//     view NAME                 TrackViewEvent
//     crash REASON              TrackCrash (sends what is queued)
//
// Every event carries the installer's A/B context. The INI file's section
// "Install" is read as the installer reads KelvoInstallerConfig.ini beside
// itself ("IsEnableAppAnalytics", "DlAppNameSuffix", "m_DlAppVersion", ...),
// and its "AnalyticsUrl" names the collector. The tracker's files follow
// the usual per-user folders, so a temporary HOME isolates a run. The only
// standard-output lines are the tracker's own "Failed to ..." lines.
// Exit status 0, or 2 on bad usage.
#include <cstdio>
#include <string>
#include <vector>

#include <curl/curl.h>

#include "installer_config.h"
#include "reporting.h"
#include "utils/cmdline.h"
#include "utils/file.h"
#include "utils/folders.h"
#include "utils/identity.h"
#include "utils/text.h"

namespace {

struct Event {
  std::wstring kind;
  std::vector<std::wstring> args;
};

size_t ArgumentCount(const std::wstring& kind) {
  if (kind == L"task") return 3;
  if (kind == L"click" || kind == L"view" || kind == L"crash") return 1;
  return 0;  // unknown
}

bool ParseArguments(const std::vector<std::wstring>& args, std::wstring& ini,
                    std::vector<Event>& events) {
  if (args.size() < 3 || args[1] != L"--ini") return false;
  ini = args[2];
  for (size_t i = 3; i < args.size();) {
    Event e;
    e.kind = args[i++];
    const size_t n = ArgumentCount(e.kind);
    if (n == 0 || i + n > args.size()) return false;
    e.args.assign(args.begin() + static_cast<std::ptrdiff_t>(i),
                  args.begin() + static_cast<std::ptrdiff_t>(i + n));
    i += n;
    if (e.kind == L"task") {
      try {
        size_t used = 0;
        std::stof(e.args[1], &used);
        if (used != e.args[1].size()) return false;
      } catch (...) {
        return false;
      }
    }
    events.push_back(e);
  }
  return true;
}

// The INI file is read exactly as the installer reads the one beside its
// executable; the executable name stays this program's.
void LoadConfigFrom(const std::wstring& ini) {
  if (!Utils::PathExists(ini)) {
    // The installer without its INI file runs on the built-in defaults.
    std::fprintf(stderr, "tv-track: cannot read %s\n", Utils::WideToUtf8(ini).c_str());
  }
  LoadInstallerConfigFromIni(InstallerConfig, Utils::GetModulePath(), ini);
}

void Send(const Event& e) {
  if (e.kind == L"task") {
    TrackTaskEvent(e.args[0], std::stof(e.args[1]), e.args[2], DefaultAbContext());
  } else if (e.kind == L"click") {
    TrackClickEvent(e.args[0], DefaultAbContext());
  } else if (e.kind == L"view") {
    TrackViewEvent(e.args[0], DefaultAbContext());
  } else if (e.kind == L"crash") {
    TrackCrash(e.args[0]);
  }
}

}  // namespace

int main() {
  std::wstring ini;
  std::vector<Event> events;
  if (!ParseArguments(Utils::GetProcessArguments(), ini, events)) {
    std::fputs(
        "usage: tv-track --ini FILE EVENT...\n"
        "  task NAME VALUE DETAIL | click NAME | view NAME | crash REASON\n",
        stderr);
    return 2;
  }
  curl_global_init(CURL_GLOBAL_ALL);
  LoadConfigFrom(ini);
  StartTrackerWithIni(ini);
  for (const Event& e : events) Send(e);
  if (InstallerConfig.IsEnableAppAnalytics) ReleaseTracker();
  curl_global_cleanup();
  return 0;
}
