// The choice of downloader by DownloadType.
#include "curl_downloader.h"
#include "downloader.h"
#include "mt_curl_downloader.h"
#include "win_downloader.h"

std::unique_ptr<CDownloader> CreateDownloader(int32_t downloadType, DownloadCallback callback,
                                              const std::wstring& url, const std::wstring& path) {
  switch (downloadType) {
    case 2:
      return std::make_unique<CWinDownloader>(std::move(callback), url, path);
    case 3:
      return std::make_unique<CMTCurlDownloader>(std::move(callback), url, path);
    default:
      return std::make_unique<CCurlDownloader>(std::move(callback), url, path);
  }
}
