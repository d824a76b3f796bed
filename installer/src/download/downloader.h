// The package downloader interface, its report codes, the choice of
// downloader and the two URL routines the downloaders share.
//
// A downloader fetches one package URL into one destination path on threads
// of its own and tells its owner everything through one DownloadCallback:
//   1. every report arrives on a downloader thread, never on the thread that
//      called Start, and the downloader waits until the callback returns;
//   2. each run begins with DL_CODE_START (1.0, "");
//   3. then zero or more DL_CODE_PROGRESS (fraction 0..1, "");
//   4. the libcurl downloaders may send DL_CODE_MD5_ERROR (0.0, reason)
//      before the run's last report; it never ends a run by itself;
//   5. each run ends with exactly one of DL_CODE_SUCCESS (0.0, mechanism:
//      the complete file is at the destination), DL_CODE_FAIL (code or 0.0,
//      mechanism; the destination may be missing) or DL_CODE_RETRY (code or
//      0.0, "LibCurl": call Start again; at most once in a downloader's
//      life). Nothing is reported after it until the next Start;
//   6. the owner answers DL_CODE_RETRY by calling Start from inside the
//      callback, on the reporting thread; every downloader copes with that.
//
// Certificates of HTTPS package servers are always verified. The trusted
// certificate authorities are the system's, unless a CA bundle is named by
// SetPackageCaBundle (transfer_security.h) or by the environment variable
// TARNVELL_CA_BUNDLE (a PEM file); tests and tv-download use that to trust a
// test CA.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Receives every report of a downloader: (code, value, text). Copyable; the
// downloader keeps its own copy. Never empty. Called on downloader threads.
using DownloadCallback = std::function<void(int32_t code, double value, const wchar_t* text)>;

inline constexpr int32_t DL_CODE_START = 1001;
inline constexpr int32_t DL_CODE_PROGRESS = 1002;
inline constexpr int32_t DL_CODE_SUCCESS = 1003;
inline constexpr int32_t DL_CODE_FAIL = 1004;
inline constexpr int32_t DL_CODE_RETRY = 1005;
inline constexpr int32_t DL_CODE_MD5_ERROR = 1006;

// One package download. Owned by one object (the install orchestrator, or
// tv-download). Start may be called from any thread, including from inside
// the callback on the downloader's own reporting thread. Destroying a
// downloader stops a running transfer, waits for every thread it started and
// reports nothing more; call it from a thread that is not one of the
// downloader's (that is, not from inside its callback).
class CDownloader {
 public:
  virtual ~CDownloader() = default;
  // Begins (or begins again) the download on the downloader's own thread;
  // returns at once.
  virtual void Start() = 0;
};

// The downloader that DownloadType selects: 2 the system URL download
// service (CWinDownloader), 3 two parallel ranges (CMTCurlDownloader), any
// other value one libcurl stream (CCurlDownloader). url is the configured
// package URL, path the full path of the file to produce. Nothing starts
// until Start.
std::unique_ptr<CDownloader> CreateDownloader(int32_t downloadType, DownloadCallback callback,
                                              const std::wstring& url, const std::wstring& path);

// The path segment just above the file name of a URL: for ".../<md5>/<file>"
// the 32 characters of the MD5. An answer of any other length means the URL
// carries no MD5. Pure; any thread.
std::string GetMd5FromUrl(const std::string& url);

// The URL with every UTF-8 byte outside 0x21..0x7E escaped as "%XX" (upper-
// case hexadecimal) and a space as "+"; escaped URLs pass unchanged. Pure;
// any thread.
std::wstring UrlEncode(const std::wstring& url);
