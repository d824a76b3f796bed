// X events turned into the WM_-shaped messages: Expose -> WM_PAINT (through
// the coalesced paint), buttons, motion and leave -> mouse messages with
// client coordinates, keys -> WM_KEYDOWN/UP with VK codes and WM_CHAR per
// code point, ConfigureNotify -> WM_MOVE/WM_SIZE, map state -> WM_SHOWWINDOW,
// WM_DELETE_WINDOW -> WM_CLOSE, focus -> WM_ACTIVATE and focus messages.
// The defaults Win32's DefWindowProc would supply are done here too.
#include <X11/keysym.h>

#include <algorithm>

#include "utils/text.h"
#include "x11/x11_backend.h"

namespace skinui {
namespace x11 {
namespace {

constexpr long kMoveResizeMove = 8;  // _NET_WM_MOVERESIZE_MOVE

std::uintptr_t MouseKeys(unsigned state) {
  std::uintptr_t keys = 0;
  if (state & Button1Mask) keys |= kMkLButton;
  if (state & Button3Mask) keys |= kMkRButton;
  if (state & ShiftMask) keys |= kMkShift;
  if (state & ControlMask) keys |= kMkControl;
  return keys;
}

}  // namespace

void X11Window::Notify(const Message& message) {
  const std::vector<MessageObserver*> observers = observers_;  // may change while called
  for (MessageObserver* o : observers) o->OnWindowMessage(this, message);
}

std::intptr_t X11Window::Deliver(const Message& message) {
  Notify(message);
  bool handled = false;
  const std::intptr_t result = sink_->HandleMessage(message, &handled);
  return handled ? result : DefaultProcessing(message);
}

std::intptr_t X11Window::DefaultProcessing(const Message& m) {
  switch (m.id) {
    case kWmClose:
      Destroy();
      return 0;
    case kWmNcHitTest:
      return kHtClient;
    case kWmSysKeyDown:
      if (m.wparam == kVkF4) Deliver(Message{kWmSysCommand, kScClose, 0});
      return 0;
    case kWmSysCommand:
      switch (m.wparam & 0xFFF0) {
        case kScClose: Deliver(Message{kWmClose, 0, 0}); break;
        case kScMinimize: Show(kSwMinimize); break;
        case kScMaximize: Show(kSwShowMaximized); break;
        case kScRestore: Show(kSwRestore); break;
        default: break;
      }
      return 0;
    default:
      return 0;
  }
}

void X11Window::UpdateModifiers(unsigned state) {
  modifiers_ = kModNone;
  if (state & ShiftMask) modifiers_ |= kModShift;
  if (state & ControlMask) modifiers_ |= kModControl;
  if (state & Mod1Mask) modifiers_ |= kModAlt;
}

void X11Window::HandleEvent(XEvent& event) {
  switch (event.type) {
    case Expose:
      Invalidate(Rect::FromSize(event.xexpose.x, event.xexpose.y, event.xexpose.width,
                                event.xexpose.height));
      break;
    case ButtonPress:
    case ButtonRelease:
      HandleButton(event.xbutton, event.type == ButtonPress);
      break;
    case MotionNotify:
      HandleMotion(event.xmotion);
      break;
    case LeaveNotify:
      if (event.xcrossing.mode == NotifyNormal && !moving_) Deliver(Message{kWmMouseLeave, 0, 0});
      break;
    case KeyPress:
    case KeyRelease:
      HandleKey(event.xkey, event.type == KeyPress);
      break;
    case ConfigureNotify:
      HandleConfigure(event.xconfigure);
      break;
    case MapNotify:
      // Only Show maps a window; a late notice of a map that a later hide
      // undid changes nothing. The window manager restoring an iconified
      // window is the one map from outside.
      mapped_ = visible_;
      if (visible_ && minimized_) {
        minimized_ = false;
        Deliver(Message{kWmSize, maximized_ ? kSizeMaximized : kSizeRestored,
                        PackSize(bounds_.Width(), bounds_.Height())});
      }
      Invalidate(Rect{0, 0, bounds_.Width(), bounds_.Height()});
      break;
    case UnmapNotify:
      mapped_ = false;
      break;
    case DestroyNotify:
      // Another client destroyed the window: end it as Destroy would.
      if (alive_ && event.xdestroywindow.window == id_) {
        gone_on_server_ = true;
        Destroy();
      }
      break;
    case ClientMessage:
      if (event.xclient.message_type == backend_->atoms().wm_protocols &&
          static_cast<Atom>(event.xclient.data.l[0]) == backend_->atoms().wm_delete_window)
        Deliver(Message{kWmClose, 0, 0});
      break;
    case FocusIn:
    case FocusOut:
      if (event.xfocus.mode == NotifyNormal || event.xfocus.mode == NotifyWhileGrabbed)
        HandleFocus(event.type == FocusIn);
      break;
    default:
      break;
  }
}

void X11Window::HandleButton(const XButtonEvent& e, bool press) {
  UpdateModifiers(e.state);
  if (!enabled_) return;
  if (e.button == Button4 || e.button == Button5) {
    if (!press) return;
    const int delta = e.button == Button4 ? 120 : -120;
    Deliver(Message{kWmMouseWheel,
                    (static_cast<std::uintptr_t>(static_cast<std::uint16_t>(delta)) << 16) |
                        MouseKeys(e.state),
                    PackPoint(e.x_root, e.y_root)});
    return;
  }
  if (e.button != Button1 && e.button != Button3) return;
  const bool left = e.button == Button1;
  if (!press && left && moving_) {
    EndMove();
    return;
  }
  if (press && left) {
    const std::intptr_t hit = Deliver(Message{kWmNcHitTest, 0, PackPoint(e.x_root, e.y_root)});
    if (!alive_) return;
    if (hit == kHtCaption) {
      StartMove(e.x_root, e.y_root);
      return;
    }
  }
  // The button itself counts in the key state of a press, not of a release.
  std::uintptr_t keys = MouseKeys(e.state);
  const std::uintptr_t button = left ? kMkLButton : kMkRButton;
  keys = press ? (keys | button) : (keys & ~button);
  const std::uint32_t id = left ? (press ? kWmLButtonDown : kWmLButtonUp)
                                : (press ? kWmRButtonDown : kWmRButtonUp);
  Deliver(Message{id, keys, PackPoint(e.x, e.y)});
}

void X11Window::HandleMotion(const XMotionEvent& e) {
  UpdateModifiers(e.state);
  if (moving_) {
    SetBounds(Rect::FromSize(move_origin_.x + e.x_root - move_anchor_.x,
                             move_origin_.y + e.y_root - move_anchor_.y, bounds_.Width(),
                             bounds_.Height()),
              false);
    return;
  }
  if (enabled_) Deliver(Message{kWmMouseMove, MouseKeys(e.state), PackPoint(e.x, e.y)});
}

// Caption drag: the window manager moves the window when there is one
// (_NET_WM_MOVERESIZE); without, the window follows the pointer's deltas
// while the button is held.
void X11Window::StartMove(int root_x, int root_y) {
  Display* d = backend_->display();
  if (backend_->HasWindowManager()) {
    XUngrabPointer(d, CurrentTime);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = id_;
    ev.xclient.message_type = backend_->atoms().net_wm_moveresize;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = root_x;
    ev.xclient.data.l[1] = root_y;
    ev.xclient.data.l[2] = kMoveResizeMove;
    ev.xclient.data.l[3] = Button1;
    ev.xclient.data.l[4] = 1;
    XSendEvent(d, DefaultRootWindow(d), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    XFlush(d);
    return;
  }
  moving_ = true;
  move_anchor_ = Point{root_x, root_y};
  move_origin_ = Point{bounds_.left, bounds_.top};
  Deliver(Message{kWmEnterSizeMove, 0, 0});
  XGrabPointer(d, id_, False, ButtonReleaseMask | PointerMotionMask, GrabModeAsync, GrabModeAsync,
               None, None, CurrentTime);
}

void X11Window::EndMove() {
  moving_ = false;
  XUngrabPointer(backend_->display(), CurrentTime);
  if (captured_) SetCapture(true);
  Deliver(Message{kWmExitSizeMove, 0, 0});
}

void X11Window::HandleKey(XKeyEvent& e, bool press) {
  UpdateModifiers(e.state);
  if (!enabled_) return;
  char buffer[64];
  KeySym sym = NoSymbol;
  int length = 0;
  Status status = 0;
  if (press && input_context_) {
    length = Xutf8LookupString(input_context_, &e, buffer, sizeof buffer, &sym, &status);
    if (status == XBufferOverflow || status == XLookupNone) length = 0;
    if (status == XLookupChars) sym = XLookupKeysym(&e, 0);
  } else {
    length = XLookupString(&e, buffer, sizeof buffer, &sym, nullptr);
    // Without an input method the text is Latin-1: widen byte by byte below.
    if (length > 0) {
      std::wstring latin;
      for (int i = 0; i < length; ++i) latin.push_back(static_cast<unsigned char>(buffer[i]));
      const std::string utf8 = Utils::WideToUtf8(latin);
      length = static_cast<int>(std::min(utf8.size(), sizeof buffer));
      std::copy(utf8.begin(), utf8.begin() + length, buffer);
    }
  }
  const bool alt = e.state & Mod1Mask;
  const std::uint32_t vk = VirtualKeyFor(sym);
  const std::intptr_t key_data = 1 | (static_cast<std::intptr_t>(e.keycode & 0xFF) << 16);
  if (vk) {
    const std::uint32_t id = press ? (alt ? kWmSysKeyDown : kWmKeyDown)
                                   : (alt ? kWmSysKeyUp : kWmKeyUp);
    Deliver(Message{id, vk, key_data});
  }
  if (!press || length <= 0 || !alive_) return;
  for (wchar_t c : Utils::Utf8ToWide(std::string(buffer, static_cast<std::size_t>(length)))) {
    if (c == 0x7F) continue;  // Delete is a key, not a character, as on Windows
    Deliver(Message{alt ? kWmSysChar : kWmChar, static_cast<std::uintptr_t>(c), key_data});
    if (!alive_) return;
  }
}

void X11Window::HandleConfigure(const XConfigureEvent& e) {
  int x = e.x, y = e.y;
  if (!e.send_event) {
    // Relative to a WM frame: ask where the window really is on the root.
    Window child;
    XTranslateCoordinates(backend_->display(), id_, DefaultRootWindow(backend_->display()), 0,
                          0, &x, &y, &child);
  }
  // A size of 1 stands for an empty window (X windows are never 0 wide).
  const Rect wanted = Rect::FromSize(x, y, bounds_.Width() == 0 && e.width == 1 ? 0 : e.width,
                                     bounds_.Height() == 0 && e.height == 1 ? 0 : e.height);
  if (wanted != bounds_) ApplyBounds(wanted, false);
}

void X11Window::HandleFocus(bool in) {
  if (in) {
    if (input_context_) XSetICFocus(input_context_);
    Deliver(Message{kWmActivate, kWaActive, 0});
    if (alive_) Deliver(Message{kWmSetFocus, 0, 0});
  } else {
    if (input_context_) XUnsetICFocus(input_context_);
    Deliver(Message{kWmActivate, kWaInactive, 0});
    if (alive_) Deliver(Message{kWmKillFocus, 0, 0});
  }
}

}  // namespace x11
}  // namespace skinui
