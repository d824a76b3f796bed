// X11Window: creation with the skin's own caption (no WM decorations),
// showing, moving and sizing with the Win32 message order, XPutImage
// presentation, XShape round regions, capture and cursors.
#include <X11/Xatom.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <cstring>

#include "skinui/painter/region.h"
#include "utils/text.h"
#include "x11/x11_backend.h"

namespace skinui {
namespace x11 {
namespace {

// _MOTIF_WM_HINTS: flags (decorations given), functions, decorations (none),
// input mode, status.
struct MotifHints {
  unsigned long flags, functions, decorations;
  long input_mode;
  unsigned long status;
};

constexpr long kEventMask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                            ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                            LeaveWindowMask | StructureNotifyMask | FocusChangeMask;

}  // namespace

bool X11Window::Create(const WindowParams& params) {
  Display* d = backend_->display();
  const int screen = DefaultScreen(d);
  style_ = params.style & ~(kWsVisible | kWsMinimize | kWsMaximize);
  ex_style_ = params.ex_style | (params.layered ? kWsExLayered : 0);
  layered_ = params.layered;
  const Rect work = backend_->ScreenWorkArea();
  Rect b = params.bounds;
  const bool default_size = b.right == kUseDefault || b.bottom == kUseDefault;
  const int w = default_size ? 0 : b.right - b.left;
  const int h = default_size ? 0 : b.bottom - b.top;
  const int x = b.left == kUseDefault ? work.left + work.Width() / 8 : b.left;
  const int y = b.left == kUseDefault || b.top == kUseDefault ? work.top + work.Height() / 8 : b.top;
  bounds_ = Rect::FromSize(x, y, std::max(w, 0), std::max(h, 0));

  XSetWindowAttributes attrs{};
  unsigned long mask = CWEventMask | CWBorderPixel;
  attrs.event_mask = kEventMask;
  attrs.border_pixel = 0;
  visual_ = DefaultVisual(d, screen);
  depth_ = DefaultDepth(d, screen);
  if (layered_ && backend_->argb_visual()) {
    visual_ = backend_->argb_visual();
    depth_ = 32;
    colormap_ = XCreateColormap(d, RootWindow(d, screen), visual_, AllocNone);
    attrs.colormap = colormap_;
    attrs.background_pixel = 0;
    mask |= CWColormap | CWBackPixel;
  }
  if (layered_) {
    attrs.override_redirect = True;  // the shadow follows its parent, not the WM
    mask |= CWOverrideRedirect;
  }
  id_ = XCreateWindow(d, RootWindow(d, screen), x, y, std::max(w, 1), std::max(h, 1), 0, depth_,
                      InputOutput, visual_, mask, &attrs);
  if (!id_) return false;
  alive_ = true;
  backend_->Register(id_, this);
  gc_ = XCreateGC(d, id_, 0, nullptr);

  Atom protocols[] = {backend_->atoms().wm_delete_window};
  XSetWMProtocols(d, id_, protocols, 1);
  if (!(style_ & kWsCaption)) {
    MotifHints hints{2, 0, 0, 0, 0};
    XChangeProperty(d, id_, backend_->atoms().motif_wm_hints, backend_->atoms().motif_wm_hints,
                    32, PropModeReplace, reinterpret_cast<unsigned char*>(&hints), 5);
  }
  const std::string cls = Utils::WideToUtf8(params.class_name);
  XClassHint class_hint{const_cast<char*>(cls.c_str()), const_cast<char*>(cls.c_str())};
  XSetClassHint(d, id_, &class_hint);
  if (params.owner) XSetTransientForHint(d, id_, static_cast<Window>(reinterpret_cast<std::uintptr_t>(params.owner->NativeHandle())));
  if (params.tool_window) {
    Atom type = backend_->atoms().net_wm_window_type_utility;
    XChangeProperty(d, id_, backend_->atoms().net_wm_window_type, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&type), 1);
  }
  if (params.ex_style & kWsExTransparent) {
    // Mouse input passes through: an empty input shape.
    XShapeCombineRectangles(d, id_, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
  }
  // Fixed position and size as asked, not the WM's choice.
  XSizeHints size_hints{};
  size_hints.flags = PPosition | USPosition;
  XSetWMNormalHints(d, id_, &size_hints);
  SetTitle(params.title);
  if (backend_->input_method())
    input_context_ = XCreateIC(backend_->input_method(), XNInputStyle,
                               XIMPreeditNothing | XIMStatusNothing, XNClientWindow, id_,
                               XNFocusWindow, id_, nullptr);

  sink_->OnAttached(this);
  Deliver(Message{kWmNcCreate, 0, 0});
  Deliver(Message{kWmCreate, 0, 0});
  Deliver(Message{kWmSize, kSizeRestored, PackSize(bounds_.Width(), bounds_.Height())});
  Deliver(Message{kWmMove, 0, PackPoint(bounds_.left, bounds_.top)});
  if (params.style & kWsVisible) Show(kSwShow);
  return alive_;
}

X11Window::~X11Window() { Destroy(); }

void X11Window::Destroy() {
  if (!alive_) return;
  Deliver(Message{kWmDestroy, 0, 0});
  if (!alive_) return;  // destroyed again from inside the handler
  Display* d = backend_->display();
  if (captured_) XUngrabPointer(d, CurrentTime);
  if (input_context_) XDestroyIC(input_context_);
  input_context_ = nullptr;
  for (auto& [kind, cursor] : cursors_) XFreeCursor(d, cursor);
  cursors_.clear();
  XFreeGC(d, gc_);
  if (!gone_on_server_) XDestroyWindow(d, id_);
  if (colormap_) XFreeColormap(d, colormap_);
  XFlush(d);
  alive_ = false;
  mapped_ = visible_ = false;
  backend_->Unregister(id_);
  Deliver(Message{kWmNcDestroy, 0, 0});
}

void X11Window::Close() { PostMessage(Message{kWmClose, 0, 0}); }

void X11Window::Show(int command) {
  if (!alive_) return;
  Display* d = backend_->display();
  switch (command) {
    case kSwHide:
      if (!visible_) return;
      Deliver(Message{kWmShowWindow, 0, 0});
      visible_ = false;
      XUnmapWindow(d, id_);
      break;
    case kSwMinimize:
    case kSwShowMinimized:
      if (minimized_) return;
      if (!visible_) {
        Deliver(Message{kWmShowWindow, 1, 0});
        visible_ = true;
      }
      minimized_ = true;
      if (backend_->HasWindowManager())
        XIconifyWindow(d, id_, DefaultScreen(d));
      else
        XUnmapWindow(d, id_);
      Deliver(Message{kWmSize, kSizeMinimized, 0});
      break;
    case kSwShowMaximized: {
      if (!visible_) {
        Deliver(Message{kWmShowWindow, 1, 0});
        visible_ = true;
        XMapRaised(d, id_);
      }
      if (!maximized_) restore_bounds_ = bounds_;
      minimized_ = false;
      maximized_ = true;
      ApplyBounds(backend_->ScreenWorkArea(), true);
      Deliver(Message{kWmSize, kSizeMaximized, PackSize(bounds_.Width(), bounds_.Height())});
      break;
    }
    default: {  // show, show without activating, restore
      const bool was_iconic = minimized_, was_zoomed = maximized_;
      if (!visible_) {
        Deliver(Message{kWmShowWindow, 1, 0});
        visible_ = true;
      }
      minimized_ = false;
      if (command == kSwRestore || command == kSwShowNormal) {
        maximized_ = false;
        if (was_zoomed) ApplyBounds(restore_bounds_, true);
      }
      if (command == kSwShowNa || command == kSwShowNoActivate || layered_)
        XMapWindow(d, id_);
      else
        XMapRaised(d, id_);
      if (was_iconic || (was_zoomed && !maximized_))
        Deliver(Message{kWmSize, maximized_ ? kSizeMaximized : kSizeRestored,
                        PackSize(bounds_.Width(), bounds_.Height())});
      break;
    }
  }
  XFlush(d);
}

void X11Window::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Deliver(Message{kWmEnable, enabled ? 1u : 0u, 0});
}

void X11Window::Focus() {
  if (!alive_ || !mapped_) return;
  XRaiseWindow(backend_->display(), id_);
  XSetInputFocus(backend_->display(), id_, RevertToParent, CurrentTime);
}

// Moves and sizes the X window (when `configure`) and reports the changes
// at once, as SetWindowPos does; the ConfigureNotify that follows then
// matches and says nothing.
void X11Window::ApplyBounds(const Rect& screen, bool configure) {
  const Rect old = bounds_;
  bounds_ = Rect::FromSize(screen.left, screen.top, std::max(screen.Width(), 0),
                           std::max(screen.Height(), 0));
  if (configure && alive_)
    XMoveResizeWindow(backend_->display(), id_, bounds_.left, bounds_.top,
                      std::max(bounds_.Width(), 1), std::max(bounds_.Height(), 1));
  const bool moved = old.left != bounds_.left || old.top != bounds_.top;
  const bool sized = old.Width() != bounds_.Width() || old.Height() != bounds_.Height();
  if (sized) ApplyRegion();
  if (moved) Deliver(Message{kWmMove, 0, PackPoint(bounds_.left, bounds_.top)});
  if (sized) {
    Deliver(Message{kWmSize, maximized_ ? kSizeMaximized : kSizeRestored,
                    PackSize(bounds_.Width(), bounds_.Height())});
    Invalidate(Rect{0, 0, bounds_.Width(), bounds_.Height()});
  }
}

void X11Window::SetBounds(const Rect& screen, bool repaint) {
  if (!alive_) return;
  ApplyBounds(screen, true);
  if (repaint) Invalidate(Rect{0, 0, bounds_.Width(), bounds_.Height()});
  XFlush(backend_->display());
}

void X11Window::SetTitle(const std::wstring& title) {
  if (!alive_) return;
  const std::string utf8 = Utils::WideToUtf8(title);
  Display* d = backend_->display();
  XStoreName(d, id_, utf8.c_str());
  XChangeProperty(d, id_, backend_->atoms().net_wm_name, backend_->atoms().utf8_string, 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(utf8.data()),
                  static_cast<int>(utf8.size()));
}

std::uint32_t X11Window::Style() const {
  std::uint32_t s = style_;
  if (visible_) s |= kWsVisible;
  if (minimized_) s |= kWsMinimize;
  if (maximized_) s |= kWsMaximize;
  if (!enabled_) s |= kWsDisabled;
  return s;
}

void X11Window::SetStyle(std::uint32_t style) {
  style_ = style & ~(kWsVisible | kWsMinimize | kWsMaximize | kWsDisabled);
}

void X11Window::SetExStyle(std::uint32_t ex_style) { ex_style_ = ex_style; }

void X11Window::Invalidate(const Rect& client) {
  const Rect r = client.Intersect(Rect{0, 0, bounds_.Width(), bounds_.Height()});
  dirty_ = dirty_.Union(r);
}

void X11Window::SetRoundRegion(Size corner) {
  corner_ = corner;
  ApplyRegion();
}

// The bounding shape from the painter's rows of CreateRoundRectRgn's region,
// equal neighbouring rows merged into one rectangle.
void X11Window::ApplyRegion() {
  if (!alive_) return;
  Display* d = backend_->display();
  if (corner_.width <= 0 || corner_.height <= 0) {
    XShapeCombineMask(d, id_, ShapeBounding, 0, 0, None, ShapeSet);
    XFlush(d);
    return;
  }
  const std::vector<RowSpan> rows = RoundRectRowSpans(ClientSize(), corner_);
  std::vector<XRectangle> rects;
  for (std::size_t y = 0; y < rows.size();) {
    std::size_t end = y + 1;
    while (end < rows.size() && rows[end].left == rows[y].left && rows[end].right == rows[y].right)
      ++end;
    if (rows[y].right > rows[y].left)
      rects.push_back(XRectangle{static_cast<short>(rows[y].left), static_cast<short>(y),
                                 static_cast<unsigned short>(rows[y].right - rows[y].left),
                                 static_cast<unsigned short>(end - y)});
    y = end;
  }
  XShapeCombineRectangles(d, id_, ShapeBounding, 0, 0, rects.data(),
                          static_cast<int>(rects.size()), ShapeSet, YXBanded);
  XFlush(d);
}

// Copies `area` of `frame` into the window: 32 bits per pixel in memory, the
// surface's B, G, R, A bytes as they are (a 24-bit visual ignores the
// fourth byte; a 32-bit one takes it as premultiplied alpha).
void X11Window::DrawToWindow(const Surface& frame, const Rect& area, int depth, Visual* visual) {
  const Rect r = area.Intersect(frame.Bounds());
  if (r.IsEmpty() || !alive_) return;
  Display* d = backend_->display();
  XImage* image = XCreateImage(d, visual, depth, ZPixmap, 0,
                               reinterpret_cast<char*>(const_cast<std::uint32_t*>(frame.Data())),
                               frame.Width(), frame.Height(), 32, frame.Stride());
  if (!image) return;
  image->byte_order = LSBFirst;
  XPutImage(d, id_, gc_, image, r.left, r.top, r.left, r.top, r.Width(), r.Height());
  image->data = nullptr;  // the surface keeps its pixels
  XDestroyImage(image);
}

void X11Window::PaintNow() {
  const Rect dirty = dirty_;
  dirty_ = Rect{};
  if (dirty.IsEmpty() || !alive_) return;
  const Message paint{kWmPaint, 0, 0};
  Notify(paint);
  bool ignored = false;
  sink_->HandleMessage(paint, &ignored);
  if (!alive_) return;
  if (layered_) {
    // A per-pixel-alpha window shows what was presented last, not a frame.
    DrawToWindow(layered_frame_, dirty, depth_, visual_);
  } else {
    DrawToWindow(sink_->Paint(dirty), dirty, depth_, visual_);
  }
  XFlush(backend_->display());
}

void X11Window::PresentLayered(const Surface& argb, Point screen_pos) {
  if (!alive_ || argb.Width() == 0 || argb.Height() == 0) return;
  ApplyBounds(Rect::FromSize(screen_pos.x, screen_pos.y, argb.Width(), argb.Height()), true);
  layered_frame_ = argb;
  dirty_ = Rect{};  // drawn now; only a later exposure draws again
  DrawToWindow(layered_frame_, layered_frame_.Bounds(), depth_, visual_);
  XFlush(backend_->display());
}

void X11Window::SetTimer(std::uintptr_t id, unsigned ms) {
  if (alive_) backend_->SetTimer(this, id, ms);
}
void X11Window::KillTimer(std::uintptr_t id) { backend_->KillTimer(this, id); }

void X11Window::SetCapture(bool capture) {
  if (!alive_ || capture == captured_) return;
  Display* d = backend_->display();
  if (capture) {
    captured_ = XGrabPointer(d, id_, False,
                             ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                             GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
  } else {
    XUngrabPointer(d, CurrentTime);
    captured_ = false;
    Deliver(Message{kWmCaptureChanged, 0, 0});
  }
  XFlush(d);
}

void X11Window::SetCursor(CursorKind kind) {
  if (!alive_) return;
  Display* d = backend_->display();
  auto it = cursors_.find(kind);
  if (it == cursors_.end()) {
    const unsigned shape =
        kind == CursorKind::kIBeam ? XC_xterm : kind == CursorKind::kHand ? XC_hand2 : XC_left_ptr;
    it = cursors_.emplace(kind, XCreateFontCursor(d, shape)).first;
  }
  XDefineCursor(d, id_, it->second);
}

void X11Window::SetTextInputRect(const Rect& caret) {
  if (!input_context_) return;
  XPoint spot{static_cast<short>(caret.left), static_cast<short>(caret.bottom)};
  XVaNestedList list = XVaCreateNestedList(0, XNSpotLocation, &spot, nullptr);
  XSetICValues(input_context_, XNPreeditAttributes, list, nullptr);
  XFree(list);
}

void X11Window::PostMessage(const Message& message) { backend_->PostToWindow(id_, message); }

void X11Window::AddMessageObserver(MessageObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
}
void X11Window::RemoveMessageObserver(MessageObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

}  // namespace x11
}  // namespace skinui
