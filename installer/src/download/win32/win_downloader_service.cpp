// CWinDownloader on Windows: URLDownloadToFileW with CBindCallback as its
// bind-status callback. The callback lives inside its downloader and is not
// reference-counted.
#include <windows.h>
#include <urlmon.h>

#include <atomic>

#include "local_file.h"
#include "win_downloader.h"

class CWinDownloader::CBindCallback : public IBindStatusCallbackEx {
 public:
  ~CBindCallback() { aborted = true; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOTIMPL; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 0; }
  ULONG STDMETHODCALLTYPE Release() override { return 0; }
  HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding* b) override {
    binding = b;  // kept, never used
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG, LPCWSTR) override {
    return ReportProgress(callback, progress, progressMax, aborted) ? S_OK : E_ABORT;
  }
  HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO* info) override {
    if (info) info->dwCodePage = CP_UTF8;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetBindInfoEx(DWORD*, BINDINFO*, DWORD*, DWORD*) override { return E_NOTIMPL; }

  DownloadCallback callback;
  std::atomic<bool> aborted{false};
  IBinding* binding = nullptr;
};

CWinDownloader::CWinDownloader(DownloadCallback callback, std::wstring url, std::wstring path)
    : bindCallback_(std::make_unique<CBindCallback>()),
      callback_(std::move(callback)),
      path_(std::move(path)),
      url_(std::move(url)),
      worker_(this, L"ABDEF", &CWinDownloader::WorkerProc) {}

CWinDownloader::~CWinDownloader() {
  stopping_ = true;
  bindCallback_->aborted = true;  // the service cancels at its next notice
  worker_.Join();
}

void CWinDownloader::Start() {
  if (started_.exchange(true)) return;  // the worker runs once
  bindCallback_->callback = callback_;
  worker_.Resume();
}

// One attempt in a single-threaded apartment of the worker's own.
int32_t CWinDownloader::FetchOnce(const std::wstring& url) {
  const HRESULT init = CoInitialize(nullptr);
  const HRESULT hr = URLDownloadToFileW(nullptr, url.c_str(), path_.c_str(), 0, bindCallback_.get());
  if (SUCCEEDED(init)) CoUninitialize();
  if (hr == S_OK && FileSize64(path_) < 0) return static_cast<int32_t>(E_FAIL);  // nothing at the destination
  return static_cast<int32_t>(hr);
}
