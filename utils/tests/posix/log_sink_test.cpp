// The POSIX sink: whole lines, UTF-8, on standard error.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <regex>

#include "test_support.h"
#include "utils/file.h"
#include "utils/log.h"
#include "utils/thread.h"

namespace {

class StderrCapture {
 public:
  explicit StderrCapture(const std::wstring& file) : file_(file) {
    fflush(stderr);
    saved_ = dup(2);
    const int fd = open(Utils::NarrowPath(file).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(fd, 2);
    close(fd);
  }
  std::string Finish() {
    fflush(stderr);
    dup2(saved_, 2);
    close(saved_);
    std::string bytes;
    Utils::ReadWholeFile(file_, bytes);
    return bytes;
  }

 private:
  std::wstring file_;
  int saved_;
};

TEST(LogSink, LinesReachStandardErrorInTheFixedFormat) {
  StderrCapture capture(test::Join(test::MakeTempDir(L"log"), L"stderr.txt"));
  UTILS_LOG(L"GetConnectivity %d", 0);
  UTILS_LOGLN(L"path=%s", std::wstring(L"/opt/中文"));
  {
    Utils::Thread t(nullptr, L"ABDEF", [](void*) -> uint32_t { return 0; });
    t.Resume();
  }
  const std::string out = capture.Finish();
  const std::string pid = std::to_string(getpid());
  const std::regex line1("<P0*" + pid +
                         R"(><T\d{5,}><\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}>\(LogSink_LinesReachStandardErrorInTheFixedFormat_Test::TestBody\)<\d{4,}>: GetConnectivity 0<P)");
  EXPECT_TRUE(std::regex_search(out, line1)) << out;
  EXPECT_NE(out.find(">: path=/opt/中文\r\n"), std::string::npos) << out;
  EXPECT_NE(out.find("(Utils::Thread::CallBack)"), std::string::npos) << out;
  EXPECT_NE(out.find(">: THREAD BEGIN\r\n"), std::string::npos) << out;
  EXPECT_NE(out.find(">: THREAD END\r\n"), std::string::npos) << out;
}

TEST(LogSink, NoTruncationOfLongLines) {
  StderrCapture capture(test::Join(test::MakeTempDir(L"loglong"), L"stderr.txt"));
  const std::wstring big(100000, L'z');
  UTILS_LOG(L"%s|", big);
  const std::string out = capture.Finish();
  EXPECT_NE(out.find(std::string(100000, 'z') + "|"), std::string::npos);
}

TEST(ChildProcessPosix, FailedLaunchLeavesNoDescriptorOpen) {
  auto countFds = [] {
    int n = 0;
    for (int fd = 0; fd < 1024; ++fd) n += fcntl(fd, F_GETFD) != -1;
    return n;
  };
  const int before = countFds();
  for (int i = 0; i < 5; ++i) {
    try {
      Utils::ChildProcess child;
      child.Launch(L"/no/such/program arg");
    } catch (const std::exception&) {
    }
  }
  EXPECT_EQ(countFds(), before);
}

TEST(ThreadPosix, KernelSeesTheThreadName) {
  std::string comm;
  Utils::Thread t(&comm, L"UnInstaller", [](void* arg) -> uint32_t {
    Utils::ReadWholeFile(L"/proc/thread-self/comm", *static_cast<std::string*>(arg));
    return 0;
  });
  t.Resume();
  t.Join();
  EXPECT_EQ(comm, "UnInstaller\n");
}

}  // namespace
