// tv-download as people and scripts run it: one line per report, the exit
// status of the run's end.
#include <gtest/gtest.h>

#include "download_test_support.h"
#include "utils/cmdline.h"
#include "utils/folders.h"
#include "utils/format.h"

namespace {

struct Outcome {
  std::string output;
  uint32_t exitCode;
};

Outcome RunTool(const std::wstring& arguments) {
  const std::wstring tool = Utils::PathDirectory(Utils::GetModulePath()) + Utils::kPathSeparator + L"tv-download";
  Utils::ChildProcess child;
  child.Launch(Utils::QuoteWindowsArgument(tool) + L" " + arguments);
  Outcome outcome;
  char buffer[4096];
  long got = 0;
  while ((got = child.ReadOutput(buffer, sizeof buffer)) > 0) outcome.output.append(buffer, static_cast<size_t>(got));
  outcome.exitCode = child.Wait();
  child.Close();
  return outcome;
}

std::string WithoutProgress(const std::string& output) {
  std::string kept;
  size_t start = 0;
  while (start < output.size()) {
    const size_t end = output.find('\n', start);
    const std::string line = output.substr(start, end - start);
    if (line.rfind("1002 ", 0) != 0) kept += line + "\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return kept;
}

TEST(TvDownload, PrintsEveryReportAndExitsWithTheOutcome) {
  dltest::ScratchFolder folder;
  dltest::FaultServer server(folder.Path(L"root"), {"package.bin:1500000:3"});
  const std::wstring url = server.PackageUrl();
  const std::wstring dest = folder.Path(L"out.exe");

  const Outcome ok = RunTool(L"--type 1 --url " + url + L" --out " + Utils::QuoteWindowsArgument(dest));
  EXPECT_EQ(ok.exitCode, 0u);
  EXPECT_EQ(WithoutProgress(ok.output), "1001 1 \n1003 0 LibCurl\n");

  server.Script(R"({"default": {"upper_md5": true}})");
  const Outcome bad = RunTool(L"--type 3 --url " + url + L" --out " + Utils::QuoteWindowsArgument(dest));
  EXPECT_EQ(bad.exitCode, 1u);
  EXPECT_EQ(WithoutProgress(bad.output),
            "1001 1 \n1006 0 mtcurl文件md5校验失败\n1005 0 LibCurl\n"
            "1001 1 \n1006 0 mtcurl文件md5校验失败\n1004 0 LibCurl\n");

  EXPECT_EQ(RunTool(L"--type").exitCode, 2u);
}

}  // namespace
