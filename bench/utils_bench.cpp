// Figures for the utility library's hot paths:
//   log      cost of one UTILS_LOG line (standard error sent to /dev/null)
//   md5 FILE throughput of Utils::FileMd5W over a file (compare: md5sum)
//   split    Windows command-line splitting per line
#include <chrono>
#include <cstdio>
#include <string>

#include "utils/cmdline.h"
#include "utils/log.h"
#include "utils/md5.h"
#include "utils/text.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

int BenchLog() {
  const int n = 200000;
  const auto start = Clock::now();
  for (int i = 0; i < n; ++i) {
    UTILS_LOG(L" %dM %dM   progress:%f%%  speed:%f \n", i, n, 50.0, 1.5);
  }
  const double s = Seconds(start);
  std::printf("log: %d lines in %.3f s, %.0f ns per line\n", n, s, s * 1e9 / n);
  return 0;
}

int BenchMd5(const char* path) {
  const auto start = Clock::now();
  const std::string digest = Utils::FileMd5(path);
  const double s = Seconds(start);
  FILE* f = std::fopen(path, "rb");
  if (!f) return 1;
  std::fseek(f, 0, SEEK_END);
  const double bytes = static_cast<double>(std::ftell(f));
  std::fclose(f);
  std::printf("md5: %s %.0f MB in %.3f s, %.0f MB/s\n", digest.c_str(), bytes / 1e6, s, bytes / 1e6 / s);
  return digest.empty() ? 1 : 0;
}

int BenchSplit() {
  const std::wstring line =
      L"\"C:\\Program Files\\Tarnvell\\__Package_Tarnvell.exe\" /S -console=show -version=1.0.0 "
      L"-adminact=true -authorizationact=true -dsc=true -ssc=false -instdir=\"C:\\Program Files\\Tarnvell\" "
      L"/D=C:\\Program Files\\Tarnvell";
  const int n = 200000;
  size_t total = 0;
  const auto start = Clock::now();
  for (int i = 0; i < n; ++i) total += Utils::SplitWindowsCommandLine(line).size();
  const double s = Seconds(start);
  std::printf("split: %d lines (%zu args) in %.3f s, %.0f ns per line\n", n, total, s, s * 1e9 / n);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "log") return BenchLog();
  if (what == "md5" && argc > 2) return BenchMd5(argv[2]);
  if (what == "split") return BenchSplit();
  std::fprintf(stderr, "usage: utils_bench log | md5 FILE | split\n");
  return 2;
}
