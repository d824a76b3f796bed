// The downloaders against nginx (tools/package_server) on 127.0.0.1, over
// HTTP and over HTTPS with a test CA made for this run: certificates are
// verified on every transfer, and an unknown CA is refused.
#include <gtest/gtest.h>

#include <sstream>

#include "download_test_support.h"
#include "transfer_security.h"
#include "utils/cmdline.h"
#include "utils/format.h"

namespace {

using dltest::Recorder;

struct NginxServer {
  explicit NginxServer(const std::wstring& work) {
    child = std::make_unique<Utils::ChildProcess>();
    child->Launch(L"python3 " + Utils::QuoteWindowsArgument(Utils::Utf8ToWide(START_NGINX_SCRIPT)) +
                  L" --max-seconds 300 --package pkg.bin:22000000:5 --work " + Utils::QuoteWindowsArgument(work));
    std::istringstream line(dltest::ReadFirstLine(*child));
    std::string field;
    while (line >> field) {
      const size_t eq = field.find('=');
      if (eq == std::string::npos) continue;
      const std::string key = field.substr(0, eq), value = field.substr(eq + 1);
      if (key == "port") port = value;
      if (key == "tls_port") tlsPort = value;
      if (key == "ca") ca = value;
      if (key == "md5") md5 = value;
      if (key == "root") root = value;
    }
  }
  ~NginxServer() {
    child->Terminate(0);
    child->Wait();
    child->Close();
  }
  std::unique_ptr<Utils::ChildProcess> child;
  std::string port, tlsPort, ca, md5, root;
};

class NginxTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    work_ = new dltest::ScratchFolder();
    server_ = new NginxServer(work_->Path(L"nginx"));
  }
  static void TearDownTestSuite() {
    delete server_;
    delete work_;
  }
  void TearDown() override { SetPackageCaBundle(""); }

  std::vector<dltest::Report> Run(int32_t type, const std::string& url, const std::wstring& dest) {
    Recorder recorder;
    auto downloader = CreateDownloader(type, recorder.Callback(), Utils::Utf8ToWide(url), dest);
    recorder.Attach(downloader.get());
    downloader->Start();
    return recorder.WaitForEnd();
  }

  static dltest::ScratchFolder* work_;
  static NginxServer* server_;
  dltest::ScratchFolder out_;
};

dltest::ScratchFolder* NginxTest::work_ = nullptr;
NginxServer* NginxTest::server_ = nullptr;

TEST_F(NginxTest, EveryDownloaderFetchesThePackageOverHttpAndHttps) {
  ASSERT_FALSE(server_->port.empty());
  const std::string package = dltest::ReadFileBytes(Utils::Utf8ToWide(server_->root + "/pkg.bin"));
  SetPackageCaBundle(server_->ca);
  const std::string bases[] = {"http://127.0.0.1:" + server_->port, "https://localhost:" + server_->tlsPort};
  for (const std::string& base : bases) {
    for (int32_t type : {1, 2, 3}) {
      const std::wstring dest = out_.Path(L"pkg-" + std::to_wstring(type) + L".exe");
      const auto reports = Run(type, base + "/software/236", dest);
      EXPECT_EQ(reports.back().code, DL_CODE_SUCCESS) << base << " type " << type;
      for (const auto& r : reports) EXPECT_NE(r.code, DL_CODE_MD5_ERROR) << base << " type " << type;
      EXPECT_TRUE(dltest::ReadFileBytes(dest) == package) << base << " type " << type;
    }
  }
}

TEST_F(NginxTest, AnUnknownCertificateAuthorityIsRefused) {
  ASSERT_FALSE(server_->port.empty());
  SetPackageCaBundle(server_->root + "/pkg.bin");  // a bundle without the test CA
  for (int32_t type : {1, 2, 3}) {
    const std::wstring dest = out_.Path(L"bad-" + std::to_wstring(type) + L".exe");
    const auto reports = Run(type, "https://localhost:" + server_->tlsPort + "/software/236", dest);
    EXPECT_EQ(reports.back().code, DL_CODE_FAIL) << "type " << type;
    EXPECT_FALSE(dltest::FileExists(dest)) << "type " << type;
  }
}

}  // namespace
