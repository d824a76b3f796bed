// CDownloadInstaller: phase chaining, forwarding and package clean-up.
#include "download_installer.h"

#include "installer_config.h"
#include "utils/file.h"
#include "utils/folders.h"
#include "utils/log.h"

CDownloadInstaller::CDownloadInstaller(DownloadCallback windowCallback, std::wstring url,
                                       std::wstring earlierUninstaller,
                                       std::wstring installFolder, bool desktopShortcut,
                                       bool quickLaunchShortcut, bool adminAccount)
    : url_(std::move(url)),
      earlierUninstaller_(std::move(earlierUninstaller)),
      installFolder_(std::move(installFolder)),
      desktopShortcut_(desktopShortcut),
      quickLaunchShortcut_(quickLaunchShortcut),
      adminAccount_(adminAccount),
      windowCallback_(std::move(windowCallback)) {}

// Each phase may start the next one from its own thread (removal starts the
// download, the download starts the package), so the phases end in that
// order: a phase is waited for while the one it may start still exists.
CDownloadInstaller::~CDownloadInstaller() {
  removal_.reset();
  downloader_.reset();
  installer_.reset();
}

void CDownloadInstaller::Setup(const std::wstring& url, const std::wstring& earlierUninstaller,
                               const std::wstring& installFolder, bool desktopShortcut,
                               bool quickLaunchShortcut, bool adminAccount, bool elevated) {
  url_ = url;
  earlierUninstaller_ = earlierUninstaller;
  installFolder_ = installFolder;
  desktopShortcut_ = desktopShortcut;
  quickLaunchShortcut_ = quickLaunchShortcut;
  adminAccount_ = adminAccount;
  elevated_ = elevated;
}

std::wstring CDownloadInstaller::PackagePathFor(const std::wstring& installFolder) {
  return installFolder + Utils::kPathSeparator + L"__Package_" + InstallerConfig.AppName + L".exe";
}

void CDownloadInstaller::DeletePackage() const { Utils::RemoveFile(phasePackagePath_); }

void CDownloadInstaller::Start() {
  packagePath_ = PackagePathFor(installFolder_);
  UTILS_LOG(L"DL_TYPE=%d\r\n", InstallerConfig.DownloadType);

  // The handlers are made here so that their log lines carry this
  // function's name. Each forwards first, then acts, then logs.
  auto OnDownloadStatus = [this](int32_t code, double value, const wchar_t* text) {
    windowCallback_(code, value, text);
    switch (code) {
      case DL_CODE_START:
        Utils::CreateDirectories(installFolder_);
        UTILS_LOG(L"DL_CODE_START\r\n");
        break;
      case DL_CODE_PROGRESS:
        UTILS_LOG(L"DL_CODE_PROGRESS\r\n");
        break;
      case DL_CODE_SUCCESS:
        UTILS_LOG(L"DOWNLOAD_SUCCESS\r\n");
        installer_->Start();
        UTILS_LOG(L"DL_CODE_SUCCESS\r\n");
        break;
      case DL_CODE_FAIL:
        DeletePackage();
        UTILS_LOG(L"DL_CODE_FAIL\r\n");
        break;
      case DL_CODE_RETRY:
        UTILS_LOG(L"DL_CODE_RETRY\r\n");
        downloader_->Start();  // on this reporting thread, as downloaders expect
        break;
      default:
        break;
    }
  };
  auto OnRemovalStatus = [this](int32_t code, double value, const wchar_t* text) {
    windowCallback_(code, value, text);
    switch (code) {
      case UNIST_CODE_PROGRESS:
        UTILS_LOG(L"UNIST_CODE_PROGRESS\r\n");
        break;
      case UNIST_CODE_SUCCESS:
        downloader_->Start();
        UTILS_LOG(L"UNIST_CODE_SUCCESS\r\n");
        break;
      case UNIST_CODE_FAIL:
        UTILS_LOG(L"UNIST_CODE_FAIL\r\n");
        break;
      case UNIST_CODE_ERROR:
        UTILS_LOG(L"UNIST_CODE_ERROR\r\n");
        break;
      default:
        break;
    }
  };
  auto OnInstallStatus = [this](int32_t code, double value, const wchar_t* text) {
    windowCallback_(code, value, text);
    switch (code) {
      case IST_CODE_START:
        UTILS_LOG(L"IST_CODE_START\r\n");
        break;
      case IST_CODE_SUCCESS:
        DeletePackage();  // may fail while the package still runs; see below
        UTILS_LOG(L"INSTALL_SUCCESS\r\n");
        break;
      case IST_CODE_FAIL:
        DeletePackage();
        UTILS_LOG(L"IST_CODE_FAIL\r\n");
        break;
      default:
        break;
    }
  };

  if (!downloader_) {
    phasePackagePath_ = packagePath_;
    downloader_ = CreateDownloader(InstallerConfig.DownloadType, OnDownloadStatus, url_,
                                   packagePath_);
  }
  if (!installer_) {
    installer_ = std::make_unique<CPackageInstaller>(OnInstallStatus, L"\"" + packagePath_ + L"\"",
                                                     installFolder_);
    // A package still running at 2003/2004 keeps its file; delete it again
    // once the process has ended.
    installer_->SetRunEndedHandler([this] { DeletePackage(); });
  }
  installer_->SetInstallFolder(installFolder_);
  installer_->SetDesktopShortcut(desktopShortcut_);
  installer_->SetQuickLaunchShortcut(quickLaunchShortcut_);
  installer_->SetAdminAccount(adminAccount_);
  installer_->SetElevated(elevated_);

  if (!earlierUninstaller_.empty() && Utils::PathExists(earlierUninstaller_) &&
      !Utils::IsDirectory(earlierUninstaller_)) {
    removal_.reset();  // waits for a removal left from an earlier start
    const RemovalFiles files = PrepareRemoval(earlierUninstaller_);
    removal_ = std::make_unique<CUnInstaller>(OnRemovalStatus, files.copyPath, files.earlierFolder);
    removal_->Start();  // its success starts the download
    return;
  }
  downloader_->Start();
}
