// CDownloadInstaller: chains the three phases of one install — removal of
// an earlier version, download of the package, installation from it — and
// passes every notification of every phase, unchanged and first, to the
// window's callback.
//
// Codes that pass through: 1001..1006 (download), 2001..2004 and 3000..3009
// (installation), 5002..5005 (removal). Phase objects: the downloader and
// the package installer are made by the first Start and reused; a removal
// object is made by every Start that finds the earlier uninstaller.
//
// The package file is deleted on 1004, 2003 and 2004, and once more after
// the package process has ended, because at 2003/2004 the package may still
// be running and holding its own file.
//
// Threads: construct, Setup, Start and destroy on the window's thread. The
// handlers (and so the window callback) run on the phase threads: the
// downloader's, "UnInstaller", the installer's "ABDEF". They take no lock:
// what they read is written by Start before the phase begins. Destruction
// waits for every phase thread; never destroy from inside the callback.
#pragma once

#include <memory>
#include <string>

#include "download/downloader.h"
#include "package_installer.h"
#include "uninstaller.h"

class CDownloadInstaller {
 public:
  CDownloadInstaller(DownloadCallback windowCallback, std::wstring url,
                     std::wstring earlierUninstaller, std::wstring installFolder,
                     bool desktopShortcut, bool quickLaunchShortcut, bool adminAccount);
  ~CDownloadInstaller();
  CDownloadInstaller(const CDownloadInstaller&) = delete;
  CDownloadInstaller& operator=(const CDownloadInstaller&) = delete;

  // Stores the values for the next Start.
  void Setup(const std::wstring& url, const std::wstring& earlierUninstaller,
             const std::wstring& installFolder, bool desktopShortcut, bool quickLaunchShortcut,
             bool adminAccount, bool elevated);

  // Starts the removal when the earlier uninstaller names an existing file,
  // else the download. Returns at once.
  void Start();

  // The install folder, a separator and "__Package_Tarnvell.exe".
  static std::wstring PackagePathFor(const std::wstring& installFolder);
  const std::wstring& PackagePath() const { return packagePath_; }

 private:
  void DeletePackage() const;

  std::unique_ptr<CUnInstaller> removal_;
  std::unique_ptr<CDownloader> downloader_;
  std::unique_ptr<CPackageInstaller> installer_;
  std::wstring url_;
  std::wstring earlierUninstaller_;
  std::wstring installFolder_;
  std::wstring packagePath_;
  bool desktopShortcut_;
  bool quickLaunchShortcut_;
  bool adminAccount_;
  bool elevated_ = false;
  DownloadCallback windowCallback_;

  // The package file the downloader writes and the installer runs: the
  // path of the start that made them (they keep it on later starts).
  std::wstring phasePackagePath_;
};
