// Placeholder for the main window on Windows: a plain top-level window with
// the installer's title and icon, centred on its monitor's work area, and a
// message loop that ends when it is closed.
#include <windows.h>

#include "main_window_seam.h"
#include "utils/log.h"

namespace {

constexpr wchar_t kClassName[] = L"TarnvellInstallerPlaceholder";
constexpr int kIconResource = 145;

LRESULT CALLBACK PlaceholderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void CentreOnWorkArea(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

class PlaceholderMainWindow final : public MainWindowSeam {
 public:
  explicit PlaceholderMainWindow(HINSTANCE instance) : instance_(instance) {}
  ~PlaceholderMainWindow() override {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
  }

  void RunModal() override {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PlaceholderProc;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kIconResource));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    window_ = CreateWindowExW(0, kClassName, L"Lumeo录屏", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                              nullptr, instance_, nullptr);
    if (!window_) {
      UTILS_LOGLN(L"CreateWindowExW failed code=%lu", static_cast<unsigned long>(GetLastError()));
      return;
    }
    CentreOnWorkArea(window_);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    window_ = nullptr;  // destroyed by its close
  }

 private:
  HINSTANCE instance_;
  HWND window_ = nullptr;
};

}  // namespace

std::unique_ptr<MainWindowSeam> CreateMainWindowSeam(void* instance) {
  return std::make_unique<PlaceholderMainWindow>(static_cast<HINSTANCE>(instance));
}
