// Download benchmarks: one download (or one join) in this process, timed,
// with the process's peak resident memory. bench/run.sh runs the reference
// tools (curl, aria2c, cat) on the same server and files in the same run.
//
//   download_bench download TYPE URL OUT   the downloader DownloadType TYPE selects
//   download_bench join PART0 PART1        PART1 appended to PART0, as the join does
//   download_bench join-md5 PART0 PART1    the same, digesting the copied bytes
#include <sys/resource.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include <curl/curl.h>

#include "downloader.h"
#include "background_md5.h"
#include "local_file.h"
#include "utils/format.h"
#include "utils/md5.h"

namespace {

double PeakRssMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

int Download(int type, const std::string& url, const std::string& out) {
  curl_global_init(CURL_GLOBAL_ALL);
  std::mutex lock;
  std::condition_variable done;
  int result = -1;
  CDownloader* self = nullptr;
  auto downloader = CreateDownloader(
      type,
      [&](int32_t code, double, const wchar_t*) {
        if (code == DL_CODE_RETRY) self->Start();
        if (code == DL_CODE_SUCCESS || code == DL_CODE_FAIL) {
          std::lock_guard<std::mutex> guard(lock);
          result = code == DL_CODE_SUCCESS ? 0 : 1;
          done.notify_all();
        }
      },
      Utils::Utf8ToWide(url), Utils::Utf8ToWide(out));
  self = downloader.get();
  const auto start = std::chrono::steady_clock::now();
  downloader->Start();
  {
    std::unique_lock<std::mutex> guard(lock);
    done.wait(guard, [&] { return result >= 0; });
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  downloader.reset();
  const double mb = static_cast<double>(FileSize64(Utils::Utf8ToWide(out))) / 1e6;
  std::printf("tv-download type %d: %s %.0f MB in %.3f s, %.0f MB/s, peak RSS %.1f MiB\n", type,
              result == 0 ? "ok" : "FAILED", mb, seconds, mb / seconds, PeakRssMiB());
  curl_global_cleanup();
  return result;
}

int Join(const std::string& first, const std::string& second, bool digest) {
  const std::wstring a = Utils::Utf8ToWide(first), b = Utils::Utf8ToWide(second);
  const double mb = static_cast<double>(FileSize64(b)) / 1e6;
  BackgroundMd5 md5;
  const auto start = std::chrono::steady_clock::now();
  OutputFile out;
  bool ok = out.OpenForAppend(a) && AppendFile(b, out, digest ? &md5 : nullptr) >= 0 && out.Close();
  if (digest) ok = ok && md5.HexDigest().size() == 32;  // the hash has caught up
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("join%s: %s %.0f MB appended in %.3f s, %.0f MB/s (%.3f s per GiB)\n", digest ? " + md5" : "",
              ok ? "ok" : "FAILED", mb, seconds, mb / seconds, seconds / (mb / 1073.741824));
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "download" && argc == 5) return Download(std::atoi(argv[2]), argv[3], argv[4]);
  if ((mode == "join" || mode == "join-md5") && argc == 4) return Join(argv[2], argv[3], mode == "join-md5");
  std::fputs("usage: download_bench download TYPE URL OUT | join[-md5] PART0 PART1\n", stderr);
  return 2;
}
