// Figures for the usage reporting path, printed one per line:
//
//   tracker_bench latency URL N     trackClick (flush later) p50/p99/max in
//                                   microseconds over N calls, beside a bare
//                                   mutex-guarded queue of the same records
//   tracker_bench flush URL BODY    1024 queued clicks sent by FlushAll:
//                                   records/s and bytes per record on the
//                                   wire; one batch body is written to BODY
//                                   for the reference post in bench/run.sh
//   tracker_bench memory URL        heap held by 1024 queued records beside
//                                   the bytes of their JSON texts
//
// HOME (and XDG_DATA_HOME) should point at a scratch folder: the tracker
// keeps its identity and staging files there.
#include <curl/curl.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "collect_sdk/batch_body.h"
#include "collect_sdk/sdk.h"
#include "collector_process.h"
#include "tracker/kv_tracker.h"
#include "tracker_paths.h"
#include "utils/text.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace kt = kelvo::tracker;

constexpr char kAppName[] = "TarnvellBench.downloader";

kt::TrackerConfig MakeConfig(const std::string& url) {
  kt::TrackerConfig c;
  c.appName = kAppName;
  c.appVersion = "1.7.9";
  c.appStore = "bench";
  c.dlAppId = "Tarnvell";
  c.serverUrl = url;
  return c;
}

kt::KvEventClick MakeClick(int i) {
  kt::KvEventClick e;
  e.name = "立即安装";
  e.title = "mainWnd";
  e.module = "install";
  e.position = "page0/" + std::to_string(i % 4);
  return e;
}

struct Percentiles {
  double p50, p99, max;
};

Percentiles Summarise(std::vector<double> us) {
  std::sort(us.begin(), us.end());
  auto at = [&](double q) { return us[static_cast<size_t>(q * (us.size() - 1))]; };
  return {at(0.50), at(0.99), us.back()};
}

void PrintLatency(const char* what, const Percentiles& p) {
  std::printf("%s: p50 %.2f us, p99 %.2f us, max %.1f us\n", what, p.p50, p.p99, p.max);
}

int Latency(const std::string& url, int n) {
  kt::createTracker(MakeConfig(url));
  auto tracker = kt::getTracker();
  kt::KvContextProperties context;
  std::vector<double> us;
  us.reserve(n);
  for (int i = 0; i < n; ++i) {
    const kt::KvEventClick e = MakeClick(i);
    const auto start = Clock::now();
    tracker->trackClick(e, context);
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    // Keep below the store's cap so the figure is the queuing path, not
    // the overflow path, and release the queue outside the timed calls.
    if (i % 1000 == 999) collect_sdk::Sdk::FlushAll();
  }
  PrintLatency("trackClick (flush later)", Summarise(us));

  // Reference: a mutex-guarded queue taking a record text of the same size.
  const std::string record(640, 'x');
  std::mutex m;
  std::deque<std::string> q;
  std::vector<double> ref;
  ref.reserve(n);
  for (int i = 0; i < n; ++i) {
    const auto start = Clock::now();
    {
      std::lock_guard<std::mutex> lock(m);
      q.push_back(record);
      if (q.size() > 1024) q.pop_front();
    }
    ref.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  PrintLatency("mutex + deque push of a 640-byte text (reference)", Summarise(ref));
  tracker.reset();
  kt::releaseTracker();
  return 0;
}

int Flush(const std::string& url, const std::string& bodyPath) {
  kt::createTracker(MakeConfig(url));
  auto tracker = kt::getTracker();
  kt::KvContextProperties context;
  collect_sdk::Sdk::FlushAll();  // sends whatever an earlier run staged
  for (int i = 0; i < 1024; ++i) tracker->trackClick(MakeClick(i), context);
  const size_t queued = collect_sdk::Sdk::QueuedRecordCount();
  const auto start = Clock::now();
  const bool ok = collect_sdk::Sdk::FlushAll();
  const double s = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("FlushAll of %zu records: %s in %.3f s, %.0f records/s\n", queued,
              ok ? "delivered" : "NOT delivered", s, queued / s);

  // One batch of 30 such records, staged and read back, gives the size
  // figures and the body of the reference post.
  for (int i = 0; i < 30; ++i) tracker->trackClick(MakeClick(i), context);
  collect_sdk::Sdk::Stage();
  const std::wstring staging =
      kt::ResolveTrackerPaths(Utils::Utf8ToWide(kAppName), L"").stagingFile;
  std::vector<std::string> records;
  for (std::string& line : collect_sdk_testing::ReadLines(Utils::WideToUtf8(staging)))
    if (!line.empty()) records.push_back(std::move(line));
  const std::string json = collect_sdk::BuildBatchJson(records);
  std::string body;
  collect_sdk::BuildBatchBody(json, &body);
  std::ofstream(bodyPath + ".json", std::ios::binary) << json;
  std::ofstream(bodyPath, std::ios::binary) << body;
  const double n = records.empty() ? 1.0 : static_cast<double>(records.size());
  std::printf("batch of %zu records: JSON %.0f bytes per record, body (gzip -9, Base64, URL) "
              "%.0f bytes per record\n", records.size(), json.size() / n, body.size() / n);
  tracker.reset();
  kt::releaseTracker();
  return ok ? 0 : 1;
}

size_t HeapInUse() {
  const struct mallinfo2 mi = mallinfo2();
  return mi.uordblks + mi.hblkhd;
}

int Memory(const std::string& url) {
  kt::createTracker(MakeConfig(url));
  auto tracker = kt::getTracker();
  kt::KvContextProperties context;
  tracker->trackClick(MakeClick(0), context);  // first-call allocations
  collect_sdk::Sdk::FlushAll();
  malloc_trim(0);
  const size_t before = HeapInUse();
  for (int i = 0; i < 1024; ++i) tracker->trackClick(MakeClick(i), context);
  const size_t after = HeapInUse();
  std::printf("heap held by %zu queued records: %.1f KiB (%.0f bytes per record)\n",
              collect_sdk::Sdk::QueuedRecordCount(), (after - before) / 1024.0,
              static_cast<double>(after - before) / 1024);
  tracker.reset();
  kt::releaseTracker();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  curl_global_init(CURL_GLOBAL_ALL);
  const std::string mode = argc > 1 ? argv[1] : "";
  int rc = 2;
  if (mode == "latency" && argc == 4) rc = Latency(argv[2], std::atoi(argv[3]));
  else if (mode == "flush" && argc == 4) rc = Flush(argv[2], argv[3]);
  else if (mode == "memory" && argc == 3) rc = Memory(argv[2]);
  else std::fprintf(stderr, "usage: tracker_bench latency URL N | flush URL BODY | memory URL\n");
  curl_global_cleanup();
  return rc;
}
