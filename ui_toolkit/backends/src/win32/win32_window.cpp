// Win32Window: CreateWindowExW with the window base's styles, a window
// procedure that shows every message to the observers and the sink (default
// processing through DefWindowProcW when the sink leaves it), WM_PAINT
// presented from the sink's frame, round regions, timers, capture, cursor
// and the input method's caret position.
#include "win32_window.h"

#include <imm.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

namespace skinui {
namespace win32 {
namespace {

// Registers `name` once per process with the shared window procedure.
bool EnsureWindowClass(const std::wstring& name, WNDPROC proc) {
  static std::set<std::wstring> registered;
  if (registered.count(name)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  // No CS_DBLCLKS: a quick second click stays a WM_LBUTTONDOWN, as the X11
  // backend delivers it, so buttons never miss a click.
  wc.style = 0;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name.c_str();
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  registered.insert(name);
  return true;
}

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
Rect FromRect(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: rows top-down, as the surface
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

LPCWSTR CursorResource(CursorKind kind) {
  switch (kind) {
    case CursorKind::kIBeam: return IDC_IBEAM;
    case CursorKind::kHand: return IDC_HAND;
    case CursorKind::kArrow: break;
  }
  return IDC_ARROW;
}

}  // namespace

UpdateLayeredWindowFn LayeredUpdater() {
  static const UpdateLayeredWindowFn fn = [] {
    HMODULE user32 = GetModuleHandleW(L"USER32.DLL");
    return user32 ? reinterpret_cast<UpdateLayeredWindowFn>(reinterpret_cast<void*>(
                        GetProcAddress(user32, "UpdateLayeredWindow")))
                  : nullptr;
  }();
  return fn;
}

void PresentFrame(HDC dc, const Surface& frame, const Rect& area) {
  const Rect r = area.Intersect(frame.Bounds());
  if (r.IsEmpty()) return;
  // A DIB over the frame's rows r.top..r.bottom, full width.
  const BITMAPINFO info = TopDownInfo(frame.Width(), r.Height());
  SetDIBitsToDevice(dc, r.left, r.top, r.Width(), r.Height(), r.left, 0, 0, r.Height(),
                    frame.Row(r.top), &info, DIB_RGB_COLORS);
}

std::unique_ptr<Win32Window> Win32Window::Create(const WindowParams& params, WindowSink* sink) {
  if (!EnsureWindowClass(params.class_name, &Win32Window::WindowProc)) return nullptr;
  std::unique_ptr<Win32Window> window(new Win32Window(sink));
  DWORD ex_style = params.ex_style;
  if (params.tool_window) ex_style |= WS_EX_TOOLWINDOW;
  if (params.layered) ex_style |= WS_EX_LAYERED;
  const Rect& b = params.bounds;
  const int x = b.left == kUseDefault ? CW_USEDEFAULT : b.left;
  const int y = b.left == kUseDefault ? 0 : (b.top == kUseDefault ? 0 : b.top);
  const bool default_size = b.right == kUseDefault || b.bottom == kUseDefault;
  const int w = default_size ? (params.style & WS_POPUP ? 0 : CW_USEDEFAULT) : b.right - b.left;
  const int h = default_size ? (params.style & WS_POPUP ? 0 : CW_USEDEFAULT) : b.bottom - b.top;
  HWND owner = params.owner ? static_cast<HWND>(params.owner->NativeHandle()) : nullptr;
  HWND hwnd = CreateWindowExW(ex_style, params.class_name.c_str(), params.title.c_str(),
                              params.style, x, y, w, h, owner, nullptr, GetModuleHandleW(nullptr),
                              window.get());
  if (!hwnd) return nullptr;
  return window;
}

Win32Window::~Win32Window() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK Win32Window::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
    self->sink_->OnAttached(self);
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  const LRESULT result = self->Dispatch(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

void Win32Window::Notify(const Message& message) {
  const std::vector<MessageObserver*> observers = observers_;  // may change while called
  for (MessageObserver* o : observers) o->OnWindowMessage(this, message);
}

LRESULT Win32Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  const Message message{msg, static_cast<std::uintptr_t>(wp), static_cast<std::intptr_t>(lp)};
  switch (msg) {
    case WM_PAINT: {
      Notify(message);
      bool ignored = false;
      sink_->HandleMessage(message, &ignored);
      PaintNow();
      return 0;
    }
    case WM_PRINTCLIENT:
      PrintClient(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_SIZE:
      if (corner_.width > 0 && corner_.height > 0) ApplyRegion();
      break;
    case WM_MOUSEMOVE:
      if (!tracking_leave_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
        tracking_leave_ = TrackMouseEvent(&track) != FALSE;
      }
      break;
    case WM_MOUSELEAVE:
      tracking_leave_ = false;
      break;
    default:
      break;
  }
  Notify(message);
  bool handled = false;
  const std::intptr_t result = sink_->HandleMessage(message, &handled);
  if (handled) return result;
  if (msg == WM_ERASEBKGND) return 1;  // the frame covers every pixel
  if (msg == WM_SETCURSOR && LOWORD(lp) == HTCLIENT && SetCursorForClient()) return TRUE;
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Win32Window::PaintNow() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  const Rect dirty = FromRect(ps.rcPaint);
  if (dc && !dirty.IsEmpty()) PresentFrame(dc, sink_->Paint(dirty), dirty);
  EndPaint(hwnd_, &ps);
}

void Win32Window::PrintClient(HDC dc) {
  const Size client = ClientSize();
  const Rect all{0, 0, client.width, client.height};
  if (dc && !all.IsEmpty()) PresentFrame(dc, sink_->Paint(all), all);
}

bool Win32Window::SetCursorForClient() {
  HCURSOR cursor = LoadCursorW(nullptr, CursorResource(cursor_));
  if (!cursor) return false;
  ::SetCursor(cursor);
  return true;
}

void Win32Window::ApplyRegion() {
  if (!hwnd_) return;
  if (corner_.width <= 0 || corner_.height <= 0) {
    SetWindowRgn(hwnd_, nullptr, TRUE);
    return;
  }
  RECT r;
  GetWindowRect(hwnd_, &r);
  // The system owns the region from here on.
  SetWindowRgn(hwnd_,
               CreateRoundRectRgn(0, 0, r.right - r.left + 1, r.bottom - r.top + 1, corner_.width,
                                  corner_.height),
               TRUE);
}

void Win32Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}
void Win32Window::Close() {
  if (hwnd_) ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}
void Win32Window::Show(int show_command) {
  if (hwnd_) ShowWindow(hwnd_, show_command);
}
bool Win32Window::IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }
bool Win32Window::IsMinimized() const { return hwnd_ && IsIconic(hwnd_); }
bool Win32Window::IsMaximized() const { return hwnd_ && IsZoomed(hwnd_); }
void Win32Window::SetEnabled(bool enabled) {
  if (hwnd_) EnableWindow(hwnd_, enabled);
}
bool Win32Window::IsEnabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }
void Win32Window::Focus() {
  if (!hwnd_) return;
  SetForegroundWindow(hwnd_);
  SetFocus(hwnd_);
}

void Win32Window::SetBounds(const Rect& screen, bool repaint) {
  if (!hwnd_) return;
  SetWindowPos(hwnd_, nullptr, screen.left, screen.top, screen.Width(), screen.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}
Rect Win32Window::Bounds() const {
  RECT r{};
  if (hwnd_) GetWindowRect(hwnd_, &r);
  return FromRect(r);
}
Size Win32Window::ClientSize() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return Size{r.right - r.left, r.bottom - r.top};
}
Point Win32Window::ClientToScreen(Point client) const {
  POINT p{client.x, client.y};
  if (hwnd_) ::ClientToScreen(hwnd_, &p);
  return Point{p.x, p.y};
}
void Win32Window::SetTitle(const std::wstring& title) {
  if (hwnd_) SetWindowTextW(hwnd_, title.c_str());
}
std::uint32_t Win32Window::Style() const {
  return hwnd_ ? static_cast<std::uint32_t>(GetWindowLongW(hwnd_, GWL_STYLE)) : 0;
}
void Win32Window::SetStyle(std::uint32_t style) {
  if (!hwnd_) return;
  SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(style));
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
std::uint32_t Win32Window::ExStyle() const {
  return hwnd_ ? static_cast<std::uint32_t>(GetWindowLongW(hwnd_, GWL_EXSTYLE)) : 0;
}
void Win32Window::SetExStyle(std::uint32_t ex_style) {
  if (!hwnd_) return;
  SetWindowLongW(hwnd_, GWL_EXSTYLE, static_cast<LONG>(ex_style));
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
void Win32Window::Invalidate(const Rect& client) {
  if (!hwnd_) return;
  const RECT r = ToRect(client);
  InvalidateRect(hwnd_, &r, FALSE);
}
void Win32Window::SetRoundRegion(Size corner) {
  corner_ = corner;
  ApplyRegion();
}

void Win32Window::PresentLayered(const Surface& argb, Point screen_pos) {
  UpdateLayeredWindowFn update = LayeredUpdater();
  if (!hwnd_ || !update || argb.Width() == 0 || argb.Height() == 0) return;
  if (!(ExStyle() & WS_EX_LAYERED)) SetExStyle(ExStyle() | WS_EX_LAYERED);
  const BITMAPINFO info = TopDownInfo(argb.Width(), argb.Height());
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) return;
  std::memcpy(bits, argb.Data(), static_cast<std::size_t>(argb.Stride()) * argb.Height());
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, dib);
  POINT position{screen_pos.x, screen_pos.y};
  POINT source{0, 0};
  SIZE size{argb.Width(), argb.Height()};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  update(hwnd_, nullptr, &position, &size, memory, &source, 0, &blend, ULW_ALPHA);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(dib);
}

void Win32Window::SetTimer(std::uintptr_t id, unsigned ms) {
  if (hwnd_) ::SetTimer(hwnd_, id, ms, nullptr);
}
void Win32Window::KillTimer(std::uintptr_t id) {
  if (hwnd_) ::KillTimer(hwnd_, id);
}
void Win32Window::SetCapture(bool capture) {
  if (!hwnd_) return;
  if (capture)
    ::SetCapture(hwnd_);
  else if (GetCapture() == hwnd_)
    ReleaseCapture();
}
void Win32Window::SetCursor(CursorKind cursor) {
  cursor_ = cursor;
  POINT p;
  if (hwnd_ && GetCursorPos(&p) && WindowFromPoint(p) == hwnd_) SetCursorForClient();
}

void Win32Window::SetTextInputRect(const Rect& caret) {
  if (!hwnd_) return;
  HIMC context = ImmGetContext(hwnd_);
  if (!context) return;
  COMPOSITIONFORM composition{};
  composition.dwStyle = CFS_POINT;
  composition.ptCurrentPos = POINT{caret.left, caret.top};
  ImmSetCompositionWindow(context, &composition);
  CANDIDATEFORM candidate{};
  candidate.dwIndex = 0;
  candidate.dwStyle = CFS_CANDIDATEPOS;
  candidate.ptCurrentPos = POINT{caret.left, caret.bottom};
  ImmSetCandidateWindow(context, &candidate);
  ImmReleaseContext(hwnd_, context);
}

std::uint32_t Win32Window::Modifiers() const {
  std::uint32_t bits = kModNone;
  if (GetKeyState(VK_SHIFT) < 0) bits |= kModShift;
  if (GetKeyState(VK_CONTROL) < 0) bits |= kModControl;
  if (GetKeyState(VK_MENU) < 0) bits |= kModAlt;
  return bits;
}

void Win32Window::PostMessage(const Message& message) {
  HWND hwnd = hwnd_;
  if (hwnd) ::PostMessageW(hwnd, message.id, message.wparam, message.lparam);
}

void Win32Window::AddMessageObserver(MessageObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
}
void Win32Window::RemoveMessageObserver(MessageObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

}  // namespace win32
}  // namespace skinui
