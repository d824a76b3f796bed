#include <algorithm>

#include "skinui/core/headless_backend.h"
#include "skinui/painter/png_writer.h"

namespace skinui {

HeadlessWindow::HeadlessWindow(HeadlessBackend* backend, const WindowParams& params,
                               WindowSink* sink, std::uint64_t serial)
    : backend_(backend), params_(params), sink_(sink), serial_(serial) {
  const Rect& b = params.bounds;
  const int left = b.left == kUseDefault ? 100 : b.left;
  const int top = b.top == kUseDefault ? 100 : b.top;
  const int width = (b.right == kUseDefault || b.left == kUseDefault) ? 0 : b.Width();
  const int height = (b.bottom == kUseDefault || b.top == kUseDefault) ? 0 : b.Height();
  bounds_ = Rect::FromSize(left, top, std::max(0, width), std::max(0, height));
  params_.style &= ~kWsVisible;
}

HeadlessWindow::~HeadlessWindow() {
  Destroy();
  backend_->Forget(this);
}

std::intptr_t HeadlessWindow::Send(const Message& m) {
  const std::vector<MessageObserver*> observers = observers_;
  for (MessageObserver* o : observers) {
    if (std::find(observers_.begin(), observers_.end(), o) != observers_.end())
      o->OnWindowMessage(this, m);
  }
  bool handled = false;
  const std::intptr_t result = sink_ != nullptr ? sink_->HandleMessage(m, &handled) : 0;
  if (handled) return result;
  switch (m.id) {
    case kWmClose:
      Destroy();
      return 0;
    case kWmNcHitTest:
      return kHtClient;
    case kWmSysCommand: {
      const std::uintptr_t command = m.wparam & 0xFFF0;
      if (command == kScClose) Send(Message{kWmClose, 0, 0});
      if (command == kScMinimize) Show(kSwMinimize);
      if (command == kScMaximize) Show(kSwShowMaximized);
      if (command == kScRestore) Show(kSwRestore);
      return 0;
    }
    default:
      return result;
  }
}

void HeadlessWindow::Destroy() {
  if (!alive_) return;
  Send(Message{kWmDestroy, 0, 0});
  Send(Message{kWmNcDestroy, 0, 0});
  alive_ = false;
  visible_ = false;
  timers_.clear();
  backend_->Forget(this);
}

void HeadlessWindow::Close() { PostMessage(Message{kWmClose, 0, 0}); }

void HeadlessWindow::SendSizeMessages() {
  const std::uintptr_t kind =
      minimized_ ? kSizeMinimized : (maximized_ ? kSizeMaximized : kSizeRestored);
  const Size client = ClientSize();
  Send(Message{kWmSize, kind, PackSize(client.width, client.height)});
}

void HeadlessWindow::Show(int command) {
  if (!alive_) return;
  const bool was_visible = visible_;
  Rect restore = bounds_;
  switch (command) {
    case kSwHide:
      if (!visible_) return;
      visible_ = false;
      params_.style &= ~kWsVisible;
      Send(Message{kWmShowWindow, 0, 0});
      return;
    case kSwMinimize:
    case kSwShowMinimized:
      minimized_ = true;
      params_.style |= kWsMinimize;
      break;
    case kSwShowMaximized:
      maximized_ = true;
      minimized_ = false;
      params_.style = (params_.style | kWsMaximize) & ~kWsMinimize;
      bounds_ = backend_->ScreenWorkArea();
      break;
    case kSwRestore:
      minimized_ = maximized_ = false;
      params_.style &= ~(kWsMinimize | kWsMaximize);
      break;
    default:
      break;
  }
  visible_ = true;
  params_.style |= kWsVisible;
  if (!was_visible) Send(Message{kWmShowWindow, 1, 0});
  if (command != kSwShow && command != kSwShowNa && command != kSwShowNormal &&
      command != kSwShowNoActivate) {
    SendSizeMessages();
  }
  (void)restore;
  Invalidate(Rect{0, 0, bounds_.Width(), bounds_.Height()});
}

void HeadlessWindow::Focus() {
  if (alive_) Send(Message{kWmActivate, kWaActive, 0});
}

void HeadlessWindow::SetBounds(const Rect& screen, bool repaint) {
  if (!alive_) return;
  const Rect old = bounds_;
  bounds_ = screen;
  if (old.left != screen.left || old.top != screen.top)
    Send(Message{kWmMove, 0, PackPoint(screen.left, screen.top)});
  if (old.Width() != screen.Width() || old.Height() != screen.Height()) SendSizeMessages();
  if (repaint) Invalidate(Rect{0, 0, screen.Width(), screen.Height()});
}

Point HeadlessWindow::ClientToScreen(Point client) const {
  return Point{client.x + bounds_.left, client.y + bounds_.top};
}

void HeadlessWindow::Invalidate(const Rect& client) {
  dirty_ = dirty_.Union(client.Intersect(Rect{0, 0, bounds_.Width(), bounds_.Height()}));
}

void HeadlessWindow::PresentLayered(const Surface& argb, Point screen_pos) {
  layered_ = argb;
  bounds_ = Rect::FromSize(screen_pos.x, screen_pos.y, argb.Width(), argb.Height());
}

void HeadlessWindow::SetTimer(std::uintptr_t id, unsigned ms) {
  const unsigned period = std::max(1u, ms);
  timers_[id] = Timer{period, backend_->NowMs() + period};
}

void HeadlessWindow::KillTimer(std::uintptr_t id) { timers_.erase(id); }

void HeadlessWindow::PostMessage(const Message& message) {
  HeadlessBackend* backend = backend_;
  const std::uint64_t serial = serial_;
  backend->PostTask([backend, serial, message] {
    if (HeadlessWindow* w = backend->BySerial(serial)) w->Send(message);
  });
}

void HeadlessWindow::AddMessageObserver(MessageObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
}

void HeadlessWindow::RemoveMessageObserver(MessageObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void HeadlessWindow::MoveMouse(Point client) {
  if (!alive_ || !enabled_) return;
  mouse_ = client;
  const bool inside = Rect{0, 0, bounds_.Width(), bounds_.Height()}.Contains(client);
  if (!inside && mouse_inside_ && !captured_) {
    mouse_inside_ = false;
    Send(Message{kWmMouseLeave, 0, 0});
    return;
  }
  mouse_inside_ = inside;
  if (inside || captured_) {
    const std::uintptr_t buttons = pressed_ ? kMkLButton : 0;
    Send(Message{kWmMouseMove, buttons, PackPoint(client.x, client.y)});
  }
}

void HeadlessWindow::LeaveWindow() {
  if (!alive_ || !mouse_inside_) return;
  mouse_inside_ = false;
  Send(Message{kWmMouseLeave, 0, 0});
}

void HeadlessWindow::Press() {
  if (!alive_ || !enabled_) return;
  const Point screen = ClientToScreen(mouse_);
  if (Send(Message{kWmNcHitTest, 0, PackPoint(screen.x, screen.y)}) == kHtCaption) {
    ++caption_drags_;
    return;
  }
  pressed_ = true;
  Send(Message{kWmLButtonDown, kMkLButton, PackPoint(mouse_.x, mouse_.y)});
}

void HeadlessWindow::Release() {
  if (!alive_ || !pressed_) return;
  pressed_ = false;
  Send(Message{kWmLButtonUp, 0, PackPoint(mouse_.x, mouse_.y)});
}

void HeadlessWindow::Click(Point client) {
  MoveMouse(client);
  Press();
  Release();
}

namespace {
std::uint32_t ModifierOf(std::uint32_t vk) {
  switch (vk) {
    case kVkShift:
      return kModShift;
    case kVkControl:
      return kModControl;
    case kVkMenu:
      return kModAlt;
    default:
      return 0;
  }
}
}  // namespace

void HeadlessWindow::KeyDown(std::uint32_t vk) {
  if (!alive_ || !enabled_) return;
  modifiers_ |= ModifierOf(vk);
  Send(Message{kWmKeyDown, vk, 1});
}

void HeadlessWindow::KeyUp(std::uint32_t vk) {
  if (!alive_ || !enabled_) return;
  modifiers_ &= ~ModifierOf(vk);
  Send(Message{kWmKeyUp, vk, static_cast<std::intptr_t>(0xC0000001u)});
}

void HeadlessWindow::Text(const std::wstring& text) {
  for (wchar_t ch : text) {
    if (!alive_ || !enabled_) return;
    Send(Message{kWmChar, static_cast<std::uintptr_t>(ch), 1});
  }
}

void HeadlessWindow::PaintNow() {
  if (!alive_ || dirty_.IsEmpty() || sink_ == nullptr) return;
  const Rect dirty = dirty_;
  dirty_ = Rect{};
  Send(Message{kWmPaint, 0, 0});
  const Surface& painted = sink_->Paint(dirty);
  const Size client = ClientSize();
  Rect copy = dirty;
  if (frame_.GetSize() != client) {
    frame_.Resize(client.width, client.height);
    copy = frame_.Bounds();
  }
  copy = copy.Intersect(painted.Bounds()).Intersect(frame_.Bounds());
  for (int y = copy.top; y < copy.bottom; ++y) {
    std::copy(painted.Row(y) + copy.left, painted.Row(y) + copy.right, frame_.Row(y) + copy.left);
  }
}

bool HeadlessWindow::SaveFramePng(const std::string& path, std::string* error) const {
  return WritePng(params_.layered ? layered_ : frame_, path, error);
}

}  // namespace skinui
