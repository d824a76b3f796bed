#include "skinui/core/control_manager.h"

#include <algorithm>

#include "skinui/painter/canvas.h"
#include "skinui/painter/image.h"
#include "skinui/skin_source.h"

namespace skinui {

namespace {
// The source of a manager that has not been given one: every read misses.
class NoFiles : public SkinSource {
 public:
  SkinReadResult Read(std::string_view, std::vector<std::uint8_t>*) const override {
    return SkinReadResult::kNotFound;
  }
  std::string Describe() const override { return "no skin"; }
};
const NoFiles kNoFiles;

// Used when a layout declares no default font.
FontSpec FallbackFontSpec() {
  FontSpec spec;
  spec.name = L"\x5FAE\x8F6F\x96C5\x9ED1";  // Microsoft YaHei
  spec.size = 12;
  return spec;
}
}  // namespace

ControlManager::ControlManager()
    : images_(std::make_unique<ImageCache>(&kNoFiles)),
      alive_(std::make_shared<ControlManager*>(this)) {}

ControlManager::~ControlManager() {
  alive_.reset();
  // Controls reach back into the manager while they are destroyed.
  root_.reset();
  for (const TimerEntry& t : timers_) {
    if (window_ != nullptr) window_->KillTimer(t.window_id);
  }
}

void ControlManager::AttachWindow(PlatformWindow* window) { window_ = window; }

void ControlManager::SetSkinSource(const SkinSource* source) {
  images_ = std::make_unique<ImageCache>(source != nullptr ? source : &kNoFiles);
}

void ControlManager::SetFonts(FontTable fonts) {
  fonts_ = std::move(fonts);
  font_cache_.clear();
}

void ControlManager::SetRoot(std::unique_ptr<Control> root) {
  root_.reset();
  hot_ = capture_ = focus_ = nullptr;
  root_ = std::move(root);
  if (root_ == nullptr) return;
  root_->SetHost(this);
  root_->Init();
  need_layout_ = true;
  Invalidate(Rect{0, 0, client_.width, client_.height});
}

Control* ControlManager::FindControl(std::wstring_view name) const {
  return root_ != nullptr ? root_->FindByName(name) : nullptr;
}

Control* ControlManager::ControlAt(Point client) {
  LayoutIfNeeded();
  return root_ != nullptr ? root_->FindAt(client) : nullptr;
}

void ControlManager::AddNotifier(INotifyListener* listener) {
  if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
    listeners_.push_back(listener);
}

void ControlManager::RemoveNotifier(INotifyListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void ControlManager::Resize(Size client) {
  if (client == client_) return;
  client_ = client;
  need_layout_ = true;
  Invalidate(Rect{0, 0, client.width, client.height});
}

void ControlManager::LayoutIfNeeded() {
  if (!need_layout_ || root_ == nullptr) return;
  need_layout_ = false;
  in_layout_ = true;
  root_->SetPos(Rect{0, 0, client_.width, client_.height});
  in_layout_ = false;
}

void ControlManager::Render(Surface* frame, const Rect& dirty) {
  Rect area = dirty;
  if (frame->GetSize() != client_) {
    frame->Resize(client_.width, client_.height);
    area = frame->Bounds();
  }
  LayoutIfNeeded();
  area = area.Union(TakeDirty()).Intersect(frame->Bounds());
  if (area.IsEmpty()) return;
  frame->Fill(area, 0);
  Canvas canvas(frame, area);
  if (root_ != nullptr) root_->Paint(canvas);
}

Rect ControlManager::TakeDirty() {
  const Rect r = dirty_;
  dirty_ = Rect{};
  return r;
}

void ControlManager::Invalidate(const Rect& client) {
  const Rect r = client.Intersect(Rect{0, 0, client_.width, client_.height});
  if (r.IsEmpty()) return;
  dirty_ = dirty_.Union(r);
  if (window_ != nullptr && !in_layout_) window_->Invalidate(r);
}

void ControlManager::NeedLayout() {
  need_layout_ = true;
  if (window_ != nullptr && !in_layout_) window_->Invalidate(Rect{0, 0, client_.width, client_.height});
}

bool ControlManager::SetTimer(Control* control, unsigned id, unsigned ms) {
  if (window_ == nullptr) return false;
  for (const TimerEntry& t : timers_) {
    if (t.control == control && t.id == id) {
      window_->SetTimer(t.window_id, ms);
      return true;
    }
  }
  const TimerEntry entry{control, id, next_timer_id_++};
  timers_.push_back(entry);
  window_->SetTimer(entry.window_id, ms);
  return true;
}

void ControlManager::KillTimer(Control* control, unsigned id) {
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->control != control || it->id != id) continue;
    if (window_ != nullptr) window_->KillTimer(it->window_id);
    timers_.erase(it);
    return;
  }
}

bool ControlManager::OnTimer(std::uintptr_t window_id) {
  for (const TimerEntry& t : timers_) {
    if (t.window_id != window_id) continue;
    Deliver(t.control, EventType::kTimer, Point{}, t.id);
    return true;
  }
  return false;
}

void ControlManager::SendNotify(const Notification& notification) {
  const std::vector<INotifyListener*> listeners = listeners_;
  for (INotifyListener* listener : listeners) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
      listener->Notify(notification);
  }
}

void ControlManager::PostNotify(const Notification& notification) {
  {
    std::lock_guard<std::mutex> lock(posted_mutex_);
    posted_.push_back(notification);
  }
  std::weak_ptr<ControlManager*> alive = alive_;
  Backend::Current().PostTask([alive] {
    if (auto self = alive.lock()) (*self)->DeliverPosted();
  });
}

void ControlManager::DeliverPosted() {
  std::vector<Notification> batch;
  {
    std::lock_guard<std::mutex> lock(posted_mutex_);
    if (posted_.empty()) return;
    batch.push_back(std::move(posted_.front()));
    posted_.erase(posted_.begin());
  }
  SendNotify(batch.front());
}

std::shared_ptr<const Font> ControlManager::FontById(int id) {
  auto cached = font_cache_.find(id);
  if (cached != font_cache_.end()) return cached->second;
  auto it = fonts_.fonts.find(id);
  if (it == fonts_.fonts.end()) it = fonts_.fonts.find(fonts_.default_id);
  const FontSpec spec = it != fonts_.fonts.end() ? it->second : FallbackFontSpec();
  auto font = FontLibrary::Shared().Get(spec);
  font_cache_[id] = font;
  return font;
}

ImageCache& ControlManager::Images() { return *images_; }

void ControlManager::SetFocus(Control* control) {
  if (control == focus_) return;
  Control* old = focus_;
  focus_ = control;
  if (old != nullptr) Deliver(old, EventType::kKillFocus, Point{}, 0);
  if (focus_ != nullptr) Deliver(focus_, EventType::kSetFocus, Point{}, 0);
}

std::wstring ControlManager::ClipboardText() {
  return window_ != nullptr ? Backend::Current().ClipboardText() : offscreen_clipboard_;
}

void ControlManager::SetClipboardText(const std::wstring& text) {
  if (window_ != nullptr) {
    Backend::Current().SetClipboardText(text);
  } else {
    offscreen_clipboard_ = text;
  }
}

void ControlManager::SetTextInputRect(const Rect& caret) {
  if (window_ != nullptr) window_->SetTextInputRect(caret);
}

void ControlManager::ControlRemoved(Control* control) {
  if (hot_ == control) hot_ = nullptr;
  if (capture_ == control) capture_ = nullptr;
  if (focus_ == control) focus_ = nullptr;
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->control == control) {
      if (window_ != nullptr) window_->KillTimer(it->window_id);
      it = timers_.erase(it);
    } else {
      ++it;
    }
  }
  std::lock_guard<std::mutex> lock(posted_mutex_);
  posted_.erase(std::remove_if(posted_.begin(), posted_.end(),
                               [control](const Notification& n) { return n.sender == control; }),
                posted_.end());
}

std::uint32_t ControlManager::Modifiers() const {
  return window_ != nullptr ? window_->Modifiers() : 0;
}

void ControlManager::Deliver(Control* control, EventType type, Point p, std::uintptr_t wparam) {
  if (control == nullptr) return;
  UiEvent event;
  event.type = type;
  event.point = p;
  event.wparam = wparam;
  event.modifiers = Modifiers();
  control->DoEvent(event);
}

void ControlManager::OnMouseMove(Point p) {
  if (capture_ != nullptr) {
    Deliver(capture_, EventType::kMouseMove, p, 0);
    return;
  }
  Control* now = ControlAt(p);
  if (now != hot_) {
    Control* old = hot_;
    hot_ = now;
    Deliver(old, EventType::kMouseLeave, p, 0);
    Deliver(hot_, EventType::kMouseEnter, p, 0);
  }
  Deliver(hot_, EventType::kMouseMove, p, 0);
}

void ControlManager::OnMouseLeave() {
  if (capture_ != nullptr) return;
  Control* old = hot_;
  hot_ = nullptr;
  Deliver(old, EventType::kMouseLeave, Point{-1, -1}, 0);
}

void ControlManager::OnButtonDown(Point p, bool double_click) {
  Control* target = ControlAt(p);
  if (target == nullptr) return;
  SetFocus(target->WantsFocus() ? target : nullptr);
  capture_ = target;
  if (window_ != nullptr) window_->SetCapture(true);
  Deliver(target, double_click ? EventType::kDoubleClick : EventType::kButtonDown, p, 0);
}

void ControlManager::OnButtonUp(Point p) {
  Control* target = capture_;
  capture_ = nullptr;
  if (window_ != nullptr) window_->SetCapture(false);
  Deliver(target, EventType::kButtonUp, p, 0);
  // The pointer may now be over another control than when it was pressed.
  OnMouseMove(p);
}

void ControlManager::OnKey(EventType type, std::uintptr_t code) {
  Deliver(focus_, type, Point{}, code);
}

bool ControlManager::HandleMessage(const Message& m, std::intptr_t* result) {
  *result = 0;
  LayoutIfNeeded();
  switch (m.id) {
    case kWmSize:
      if (m.wparam != kSizeMinimized) Resize(UnpackSize(m.lparam));
      return false;
    case kWmMouseMove:
      OnMouseMove(UnpackPoint(m.lparam));
      return true;
    case kWmMouseLeave:
      OnMouseLeave();
      return true;
    case kWmLButtonDown:
    case kWmLButtonDblClk:
      OnButtonDown(UnpackPoint(m.lparam), m.id == kWmLButtonDblClk);
      return true;
    case kWmLButtonUp:
      OnButtonUp(UnpackPoint(m.lparam));
      return true;
    case kWmKeyDown:
      if (focus_ == nullptr) return false;
      OnKey(EventType::kKeyDown, m.wparam);
      return true;
    case kWmKeyUp:
      if (focus_ == nullptr) return false;
      OnKey(EventType::kKeyUp, m.wparam);
      return true;
    case kWmChar:
      if (focus_ == nullptr) return false;
      OnKey(EventType::kChar, m.wparam);
      return true;
    case kWmTimer:
      return OnTimer(m.wparam);
    case kWmKillFocus:
      if (capture_ != nullptr) OnButtonUp(Point{-1, -1});
      return false;
    default:
      return false;
  }
}

}  // namespace skinui
