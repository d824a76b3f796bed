// X11Backend: the display connection, the loop (X events, tasks, coalesced
// paints, timers, in that order of priority), tasks from any thread and the
// facts about the display (compositing, window manager, work area).
#include "x11/x11_backend.h"

#include <X11/Xatom.h>
#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <climits>
#include <cstdio>
#include <string>

namespace skinui {
namespace x11 {

namespace {

// Xlib's default handler ends the process on any protocol error, such as a
// focus request racing an unmap or a window another client just destroyed.
// Such errors concern one request only: report them and go on.
int ReportXError(Display* display, XErrorEvent* error) {
  char text[128] = {};
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "SkinUI X11: %s (request %d, resource 0x%lx)\n", text,
               error->request_code, error->resourceid);
  return 0;
}

}  // namespace

std::unique_ptr<X11Backend> X11Backend::Open() {
  // A busy server may refuse a connection for a moment (EAGAIN while its
  // listen queue is full, or a reset): try a few times before giving up.
  Display* display = nullptr;
  for (int attempt = 0; attempt < 5 && !display; ++attempt) {
    display = XOpenDisplay(nullptr);
    if (!display && errno != EAGAIN && errno != ECONNRESET) break;
    if (!display) std::this_thread::sleep_for(std::chrono::milliseconds(20 << attempt));
  }
  if (!display) return nullptr;
  XSetErrorHandler(&ReportXError);
  return std::unique_ptr<X11Backend>(new X11Backend(display));
}

X11Backend::X11Backend(Display* display) : display_(display) {
  auto atom = [this](const char* name) { return XInternAtom(display_, name, False); };
  atoms_.wm_protocols = atom("WM_PROTOCOLS");
  atoms_.wm_delete_window = atom("WM_DELETE_WINDOW");
  atoms_.motif_wm_hints = atom("_MOTIF_WM_HINTS");
  atoms_.net_wm_name = atom("_NET_WM_NAME");
  atoms_.utf8_string = atom("UTF8_STRING");
  atoms_.net_wm_moveresize = atom("_NET_WM_MOVERESIZE");
  atoms_.net_supporting_wm_check = atom("_NET_SUPPORTING_WM_CHECK");
  atoms_.net_workarea = atom("_NET_WORKAREA");
  atoms_.clipboard = atom("CLIPBOARD");
  atoms_.targets = atom("TARGETS");
  atoms_.selection_property = atom("SKINUI_SELECTION");
  atoms_.net_wm_state = atom("_NET_WM_STATE");
  atoms_.net_wm_state_maximized = atom("_NET_WM_STATE_MAXIMIZED_VERT");
  atoms_.net_wm_window_type = atom("_NET_WM_WINDOW_TYPE");
  atoms_.net_wm_window_type_utility = atom("_NET_WM_WINDOW_TYPE_UTILITY");

  XVisualInfo info;
  if (XMatchVisualInfo(display_, DefaultScreen(display_), 32, TrueColor, &info))
    argb_visual_ = info.visual;
  XSetLocaleModifiers("");
  input_method_ = XOpenIM(display_, nullptr, nullptr, nullptr);
  clipboard_window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), -10, -10, 1, 1,
                                          0, 0, 0);
  if (pipe(wake_pipe_) == 0) {
    for (int fd : wake_pipe_) {
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
      fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
  }
}

X11Backend::~X11Backend() {
  if (input_method_) XCloseIM(input_method_);
  XDestroyWindow(display_, clipboard_window_);
  XCloseDisplay(display_);
  for (int fd : wake_pipe_)
    if (fd >= 0) close(fd);
}

std::unique_ptr<PlatformWindow> X11Backend::CreateNativeWindow(const WindowParams& params,
                                                               WindowSink* sink) {
  auto window = std::make_unique<X11Window>(this, sink);
  if (!window->Create(params)) return nullptr;
  return window;
}

void X11Backend::Unregister(Window id) {
  auto it = windows_.find(id);
  if (it == windows_.end()) return;
  X11Window* window = it->second;
  windows_.erase(it);
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [window](const Timer& t) { return t.window == window; }),
                timers_.end());
}

void X11Backend::SetTimer(X11Window* window, std::uintptr_t id, unsigned ms) {
  KillTimer(window, id);
  timers_.push_back(Timer{window, id, ms, NowMs() + ms});
}

void X11Backend::KillTimer(X11Window* window, std::uintptr_t id) {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [&](const Timer& t) { return t.window == window && t.id == id; }),
                timers_.end());
}

void X11Backend::PostTask(std::function<void()> task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  const char wake = 1;
  // A full pipe already wakes the loop; the byte is only a signal.
  [[maybe_unused]] ssize_t written = write(wake_pipe_[1], &wake, 1);
}

void X11Backend::PostToWindow(Window id, const Message& message) {
  PostTask([this, id, message] {
    auto it = windows_.find(id);
    if (it != windows_.end()) it->second->Deliver(message);
  });
}

std::uint64_t X11Backend::NowMs() const {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint64_t>(ts.tv_sec) * 1000 + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000;
}

bool X11Backend::HandleOneEvent() {
  if (!XPending(display_)) return false;
  XEvent event;
  XNextEvent(display_, &event);
  if (XFilterEvent(&event, None)) return true;  // taken by the input method
  switch (event.type) {
    case SelectionRequest:
      HandleSelectionRequest(event.xselectionrequest);
      return true;
    case SelectionClear:
      if (event.xselectionclear.selection == atoms_.clipboard) owns_clipboard_ = false;
      return true;
    default:
      break;
  }
  auto it = windows_.find(event.xany.window);
  if (it != windows_.end()) it->second->HandleEvent(event);
  return true;
}

bool X11Backend::RunOneTask() {
  std::function<void()> task;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (tasks_.empty()) return false;
    task = std::move(tasks_.front());
    tasks_.pop_front();
  }
  task();
  return true;
}

bool X11Backend::PaintOne() {
  for (auto& [id, window] : windows_) {
    if (window->PaintPending()) {
      window->PaintNow();
      return true;
    }
  }
  return false;
}

bool X11Backend::FireOneTimer() {
  const std::uint64_t now = NowMs();
  auto due = std::min_element(timers_.begin(), timers_.end(),
                              [](const Timer& a, const Timer& b) { return a.due < b.due; });
  if (due == timers_.end() || due->due > now) return false;
  // Like WM_TIMER, a late timer fires once, not once per missed period.
  due->due = now + std::max(due->period, 1u);
  X11Window* window = due->window;
  const std::uintptr_t id = due->id;
  window->Deliver(Message{kWmTimer, id, 0});
  return true;
}

void X11Backend::WaitForWork() {
  XFlush(display_);
  int timeout = -1;
  if (!timers_.empty()) {
    std::uint64_t next = UINT64_MAX;
    for (const Timer& t : timers_) next = std::min(next, t.due);
    const std::uint64_t now = NowMs();
    timeout = next <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(next - now, INT_MAX));
  }
  pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wake_pipe_[0], POLLIN, 0}};
  poll(fds, 2, timeout);
  if (fds[1].revents & POLLIN) {
    char drain[64];
    while (read(wake_pipe_[0], drain, sizeof drain) > 0) {
    }
  }
}

bool X11Backend::PumpMessage(bool wait) {
  if (quit_) {
    quit_ = false;
    return false;
  }
  for (;;) {
    if (HandleOneEvent() || RunOneTask() || PaintOne() || FireOneTimer()) return true;
    if (!wait) return true;
    WaitForWork();
  }
}

bool X11Backend::HasWindowManager() const {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  const bool found =
      XGetWindowProperty(display_, DefaultRootWindow(display_), atoms_.net_supporting_wm_check, 0,
                         1, False, XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
      data && count == 1;
  if (data) XFree(data);
  return found;
}

bool X11Backend::CompositingAvailable() const {
  if (!argb_visual_) return false;
  const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display_));
  return XGetSelectionOwner(display_, XInternAtom(display_, name.c_str(), False)) != None;
}

Rect X11Backend::ScreenWorkArea() const {
  const int screen = DefaultScreen(display_);
  Rect area{0, 0, DisplayWidth(display_, screen), DisplayHeight(display_, screen)};
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display_, RootWindow(display_, screen), atoms_.net_workarea, 0, 4, False,
                         XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
      data && count >= 4 && format == 32) {
    const long* v = reinterpret_cast<const long*>(data);
    area = Rect::FromSize(static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]),
                          static_cast<int>(v[3]));
  }
  if (data) XFree(data);
  return area;
}

}  // namespace x11

std::unique_ptr<Backend> CreatePlatformBackend() { return x11::X11Backend::Open(); }

}  // namespace skinui
