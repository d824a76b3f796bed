#include "skinui/core/window_base.h"

#include <algorithm>

#include "utils/text.h"

namespace skinui {

// --- CNotifyDispatcher -------------------------------------------------------

void CNotifyDispatcher::OnNotification(const std::wstring& type, Handler handler) {
  handlers_[type] = std::move(handler);
}

bool CNotifyDispatcher::DispatchNotification(const Notification& notification) const {
  const auto it = handlers_.find(notification.type);
  if (it == handlers_.end() || !it->second) return false;
  it->second(notification);
  return true;
}

// --- SkinWindowBase ----------------------------------------------------------

SkinWindowBase::SkinWindowBase() { manager_.AddNotifier(this); }

SkinWindowBase::~SkinWindowBase() {
  // Destroy the native window while this object's handlers still exist.
  DestroyWindow();
  manager_.RemoveNotifier(this);
}

std::wstring SkinWindowBase::ControlText(Control*, int, int) { return std::wstring(); }

void SkinWindowBase::AddMessageFilter(IMessageFilter* filter) {
  if (std::find(filters_.begin(), filters_.end(), filter) == filters_.end())
    filters_.push_back(filter);
}

void SkinWindowBase::RemoveMessageFilter(IMessageFilter* filter) {
  filters_.erase(std::remove(filters_.begin(), filters_.end(), filter), filters_.end());
}

bool SkinWindowBase::PreFilter(const Message& m, std::intptr_t* result) {
  bool handled = false;
  *result = MessageFilter(m.id, m.wparam, m.lparam, handled);
  if (handled) return true;
  const std::vector<IMessageFilter*> filters = filters_;
  for (IMessageFilter* f : filters) {
    *result = f->MessageFilter(m.id, m.wparam, m.lparam, handled);
    if (handled) return true;
  }
  return false;
}

std::intptr_t SkinWindowBase::MessageFilter(std::uint32_t msg, std::uintptr_t wparam,
                                            std::intptr_t, bool& handled) {
  if (msg == kWmKeyDown && (wparam == kVkReturn || wparam == kVkEscape))
    return DefaultKeyResponse(wparam, handled);
  return 0;
}

std::intptr_t SkinWindowBase::DefaultKeyResponse(std::uintptr_t vk, bool& handled) {
  if (vk == kVkEscape) {
    Close(1);
    handled = true;
  }
  return 0;
}

std::unique_ptr<Control> SkinWindowBase::CreateCustomControl(std::wstring_view class_name) {
  return CreateStandardCustomControl(class_name);
}

void SkinWindowBase::Notify(const Notification& n) {
  if (DispatchNotification(n)) return;
  if (n.type == L"click") OnButtonClick(n);
}

void SkinWindowBase::OnButtonClick(const Notification& n) {
  if (n.sender == nullptr || Window() == nullptr) return;
  const std::wstring& name = n.sender->Name();
  if (name == L"closebtn") {
    Close(1);
  } else if (name == L"minbtn") {
    Window()->Show(kSwMinimize);
  } else if (name == L"maxbtn") {
    Window()->Show(kSwShowMaximized);
  } else if (name == L"restorebtn") {
    Window()->Show(kSwRestore);
  }
}

void SkinWindowBase::SendNotify(const std::wstring& type, Control* sender, std::uintptr_t wparam,
                                std::intptr_t lparam) {
  manager_.SendNotify(Notification{type, sender, wparam, lparam});
}

void SkinWindowBase::PostNotify(const std::wstring& type, Control* sender, std::uintptr_t wparam,
                                std::intptr_t lparam) {
  manager_.PostNotify(Notification{type, sender, wparam, lparam});
}

std::uint32_t SkinWindowBase::WindowStyle() const {
  const std::uint32_t style = Window() != nullptr ? Window()->Style() : 0;
  return (style & ~kWsCaption) | kWsClipSiblings | kWsClipChildren;
}

bool SkinWindowBase::LoadLayout() {
  layout_error_ = BuildError{};
  std::string why;
  const SkinSource* source = SkinSourceFor(ResourceType(), ResourceId(), SkinFolder(), &why);
  manager_.SetSkinSource(source);
  std::vector<std::uint8_t> bytes;
  const std::string file = Utils::WideToUtf8(SkinFile());
  if (source == nullptr || source->Read(file, &bytes) != SkinReadResult::kOk) {
    layout_error_.status = BuildStatus::kXmlError;
    layout_error_.message = source == nullptr ? why : "layout " + file + " not found in " +
                                                          source->Describe();
    return false;
  }
  Layout layout;
  const std::string_view xml(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!BuildLayout(xml, this, &layout, &layout_error_)) return false;
  layout_window_ = std::move(layout.window);
  manager_.SetFonts(std::move(layout.fonts));
  manager_.SetRoot(std::move(layout.root));
  return true;
}

void SkinWindowBase::ApplyWindowAttributes() {
  PlatformWindow* w = Window();
  const Size size = layout_window_.size;
  if (size.width > 0 && size.height > 0) {
    const Rect b = w->Bounds();
    w->SetBounds(Rect::FromSize(b.left, b.top, size.width, size.height), true);
  }
  const Size corner = layout_window_.round_corner;
  if (corner.width > 0 || corner.height > 0) w->SetRoundRegion(corner);
  manager_.Resize(w->ClientSize());
}

std::intptr_t SkinWindowBase::OnCreate(std::uint32_t, std::uintptr_t, std::intptr_t,
                                       bool& handled) {
  handled = true;
  PlatformWindow* w = Window();
  manager_.AttachWindow(w);
  w->SetStyle(WindowStyle());
  LoadLayout();
  ApplyWindowAttributes();
  OnLayoutLoaded();
  return 0;
}

std::intptr_t SkinWindowBase::OnNcHitTest(std::uint32_t, std::uintptr_t, std::intptr_t lparam,
                                          bool& handled) {
  handled = true;
  PlatformWindow* w = Window();
  const Point screen = UnpackPoint(lparam);
  const Point origin = w->ClientToScreen(Point{0, 0});
  const Point p{screen.x - origin.x, screen.y - origin.y};
  const Rect& caption = layout_window_.caption;
  const Size client = w->ClientSize();
  if (p.x >= caption.left && p.x < client.width - caption.right && p.y >= caption.top &&
      p.y < caption.bottom) {
    Control* under = manager_.ControlAt(p);
    if (under == nullptr || !under->IsInteractive()) return kHtCaption;
  }
  return kHtClient;
}

std::intptr_t SkinWindowBase::OnSize(std::uint32_t, std::uintptr_t wparam, std::intptr_t,
                                     bool& handled) {
  handled = false;
  const Size corner = layout_window_.round_corner;
  if (wparam != kSizeMinimized && Window() != nullptr && (corner.width > 0 || corner.height > 0))
    Window()->SetRoundRegion(wparam == kSizeMaximized ? Size{} : corner);
  return 0;
}

std::intptr_t SkinWindowBase::OnNcActivate(std::uint32_t, std::uintptr_t wparam, std::intptr_t,
                                           bool& handled) {
  if (Window() != nullptr && Window()->IsMinimized()) {
    handled = false;
    return 0;
  }
  handled = true;
  return wparam == 0 ? 1 : 0;
}

std::intptr_t SkinWindowBase::OnNcCalcSize(std::uint32_t, std::uintptr_t, std::intptr_t,
                                           bool& handled) {
  handled = true;
  return 0;
}

std::intptr_t SkinWindowBase::OnNcPaint(std::uint32_t, std::uintptr_t, std::intptr_t,
                                        bool& handled) {
  handled = true;
  return 0;
}

#define SKINUI_UNHANDLED(Name)                                                          \
  std::intptr_t SkinWindowBase::Name(std::uint32_t, std::uintptr_t, std::intptr_t,     \
                                     bool& handled) {                                  \
    handled = false;                                                                   \
    return 0;                                                                          \
  }
SKINUI_UNHANDLED(OnClose)
SKINUI_UNHANDLED(OnDestroy)
SKINUI_UNHANDLED(OnGetMinMaxInfo)
SKINUI_UNHANDLED(OnMouseWheel)
SKINUI_UNHANDLED(OnMouseLeave)
SKINUI_UNHANDLED(OnChar)
SKINUI_UNHANDLED(OnSysCommand)
SKINUI_UNHANDLED(OnKeyDown)
SKINUI_UNHANDLED(OnKillFocus)
SKINUI_UNHANDLED(OnSetFocus)
SKINUI_UNHANDLED(OnLButtonDown)
SKINUI_UNHANDLED(OnLButtonUp)
SKINUI_UNHANDLED(OnMouseMove)
SKINUI_UNHANDLED(OnCustomMessage)
#undef SKINUI_UNHANDLED

std::intptr_t SkinWindowBase::Dispatch(std::uint32_t msg, std::uintptr_t w, std::intptr_t l,
                                       bool& handled) {
  using Handler = std::intptr_t (SkinWindowBase::*)(std::uint32_t, std::uintptr_t, std::intptr_t,
                                                    bool&);
  static const std::map<std::uint32_t, Handler> handlers = {
      {kWmClose, &SkinWindowBase::OnClose},
      {kWmDestroy, &SkinWindowBase::OnDestroy},
      {kWmNcActivate, &SkinWindowBase::OnNcActivate},
      {kWmNcCalcSize, &SkinWindowBase::OnNcCalcSize},
      {kWmNcPaint, &SkinWindowBase::OnNcPaint},
      {kWmNcHitTest, &SkinWindowBase::OnNcHitTest},
      {kWmGetMinMaxInfo, &SkinWindowBase::OnGetMinMaxInfo},
      {kWmMouseWheel, &SkinWindowBase::OnMouseWheel},
      {kWmMouseLeave, &SkinWindowBase::OnMouseLeave},
      {kWmSize, &SkinWindowBase::OnSize},
      {kWmChar, &SkinWindowBase::OnChar},
      {kWmSysCommand, &SkinWindowBase::OnSysCommand},
      {kWmCreate, &SkinWindowBase::OnCreate},
      {kWmKeyDown, &SkinWindowBase::OnKeyDown},
      {kWmKillFocus, &SkinWindowBase::OnKillFocus},
      {kWmSetFocus, &SkinWindowBase::OnSetFocus},
      {kWmLButtonDown, &SkinWindowBase::OnLButtonDown},
      {kWmLButtonUp, &SkinWindowBase::OnLButtonUp},
      {kWmMouseMove, &SkinWindowBase::OnMouseMove},
  };
  handled = false;
  const auto it = handlers.find(msg);
  return it == handlers.end() ? 0 : (this->*(it->second))(msg, w, l, handled);
}

std::intptr_t SkinWindowBase::OnWindowMessage(std::uint32_t msg, std::uintptr_t wparam,
                                              std::intptr_t lparam, bool* handled) {
  bool done = false;
  std::intptr_t result = Dispatch(msg, wparam, lparam, done);
  if (!done) result = OnCustomMessage(msg, wparam, lparam, done);
  if (!done) done = manager_.HandleMessage(Message{msg, wparam, lparam}, &result);
  if (msg == kWmNcDestroy) manager_.AttachWindow(nullptr);
  *handled = done;
  return result;
}

const Surface& SkinWindowBase::Paint(const Rect& dirty) {
  manager_.Render(&frame_, dirty);
  return frame_;
}

}  // namespace skinui
