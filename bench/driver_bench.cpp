// Install-driver benchmarks:
//   driver_bench parse FILE      CPU time to parse package output, per 1,000
//                                lines, read in 1024-byte pieces; writes the
//                                transcript to FILE for the reference tool
//   driver_bench latency PACKAGE delay from the package writing a line to its
//                                notification, beside a plain pipe reader
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "installer_config.h"
#include "package_installer.h"
#include "utils/file.h"
#include "utils/process.h"
#include "utils/sysinfo.h"
#include "utils/text.h"

namespace {

constexpr int kLines = 300000;

std::string Transcript() {
  std::string t = "Encode=UTF8\n";
  for (int i = 0; i < kLines; ++i) {
    switch (i % 4) {
      case 0: t += "Progress=0." + std::to_string(i % 1000) + "\n"; break;
      case 1: t += "InstPath=/opt/Tarnvell/组件/" + std::to_string(i) + "\r\n"; break;
      case 2: t += "Message=第" + std::to_string(i) + "步 done\n"; break;
      default: t += "Detail=ignored line " + std::to_string(i) + "\n"; break;
    }
  }
  return t;
}

int Parse(const char* file) {
  const std::string t = Transcript();
  std::ofstream(file, std::ios::binary) << t;
  long notices = 0;
  CPackageInstaller installer([&](int32_t, double, const wchar_t*) { ++notices; }, L"\"p\"", L"");
  const std::clock_t start = std::clock();
  for (size_t at = 0; at < t.size(); at += 1024) {
    installer.FeedOutput(t.data() + at, std::min<size_t>(1024, t.size() - at));
  }
  installer.FinishOutput();
  const double cpuMs = 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  std::printf("CPackageInstaller: %d lines, %ld notices, %.1f ms CPU, %.3f ms per 1,000 lines\n",
              kLines + 1, notices, cpuMs, cpuMs * 1000.0 / (kLines + 1));
  return 0;
}

struct Delays {
  std::vector<double> ms;
  void Print(const char* who) {
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double d : ms) sum += d;
    std::printf("%s: %zu lines, delay mean %.1f ms, median %.0f ms, max %.0f ms\n", who, ms.size(),
                ms.empty() ? 0.0 : sum / ms.size(), ms.empty() ? 0.0 : ms[ms.size() / 2],
                ms.empty() ? 0.0 : ms.back());
  }
};

void Record(Delays& delays, const std::wstring& text) {
  const uint32_t now = Utils::TickCount32();
  const uint32_t sent = static_cast<uint32_t>(std::wcstoul(text.c_str(), nullptr, 10));
  delays.ms.push_back(static_cast<double>(now - sent));
}

int Latency(const char* package) {
  const std::wstring script = L"driver_bench_latency.txt";
  std::string steps;
  for (int i = 0; i < 60; ++i) steps += "stamp Message=\nsleep 37\n";
  Utils::WriteFileAtomically(script, steps);
  const std::wstring path = Utils::Utf8ToWide(package);
  InstallerConfig.InstCmd = L"-script=\"" + script + L"\"";

  Delays installer;
  {
    CPackageInstaller run([&](int32_t code, double, const wchar_t* text) {
      if (code == IST_CODE_MESSAGE) Record(installer, text);
    }, L"\"" + path + L"\"", L"");
    run.Start();
  }

  // Reference: the same package read by a plain blocking reader.
  Delays plain;
  Utils::ChildProcess child;
  child.Launch(L"\"" + path + L"\" " + InstallerConfig.InstCmd);
  std::string pending;
  char buffer[1024];
  for (long got; (got = child.ReadOutput(buffer, sizeof buffer)) > 0;) {
    pending.append(buffer, static_cast<size_t>(got));
    for (size_t lf; (lf = pending.find('\n')) != std::string::npos; pending.erase(0, lf + 1)) {
      if (pending.compare(0, 8, "Message=") == 0) {
        Record(plain, Utils::Utf8ToWide(pending.substr(8, lf - 8)));
      }
    }
  }
  child.Wait();
  Utils::RemoveFile(script);
  installer.Print("CPackageInstaller (100 ms read pause)");
  plain.Print("plain pipe reader (reference)");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "parse" && argc > 2) return Parse(argv[2]);
  if (what == "latency" && argc > 2) return Latency(argv[2]);
  std::fprintf(stderr, "usage: driver_bench parse FILE | latency PACKAGE\n");
  return 1;
}
