// The controls of one window: owns the tree, fonts and image cache, turns
// window messages into control events (hot tracking, capture, focus,
// timers), collects dirty rectangles and renders frames.
//
// Threads: UI thread only, except PostNotify (ControlHost) which any thread
// may call while the manager exists. Ownership: owns the root control and
// the image cache; borrows the window, the skin source and the listeners.
// Nothing blocks except image decoding on first use.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "skinui/core/backend.h"
#include "skinui/core/control.h"
#include "skinui/painter/text.h"

namespace skinui {

class ImageCache;
class SkinSource;

// Fonts declared by a layout's Font elements.
struct FontTable {
  std::map<int, FontSpec> fonts;
  int default_id = -1;  // the font with default="true", or -1
};

class ControlManager : public ControlHost {
 public:
  ControlManager();
  ~ControlManager() override;
  ControlManager(const ControlManager&) = delete;
  ControlManager& operator=(const ControlManager&) = delete;

  // The window whose timers, invalidation and capture the controls use; null
  // renders offscreen (timers then refuse).
  void AttachWindow(PlatformWindow* window);
  PlatformWindow* Window() const { return window_; }
  // Where images come from (borrowed). Resets the image cache.
  void SetSkinSource(const SkinSource* source);
  void SetFonts(FontTable fonts);
  const FontTable& Fonts() const { return fonts_; }

  // Takes the tree, hosts it and runs Init on it; the previous tree is
  // destroyed first.
  void SetRoot(std::unique_ptr<Control> root);
  Control* Root() const { return root_.get(); }
  Control* FindControl(std::wstring_view name) const;
  // Lays the tree out first when it changed.
  Control* ControlAt(Point client);

  void AddNotifier(INotifyListener* listener);
  void RemoveNotifier(INotifyListener* listener);

  // A window message: returns true when the controls consumed it (*result
  // then holds the message result).
  bool HandleMessage(const Message& message, std::intptr_t* result);

  // Lays the tree out over a client area of `client` size.
  void Resize(Size client);
  Size ClientSize() const { return client_; }
  // Lays out if needed and paints `dirty` into `frame` (resized to the
  // client size when it differs, which repaints everything).
  void Render(Surface* frame, const Rect& dirty);
  // Union of everything invalidated since the last call.
  Rect TakeDirty();

  // ControlHost.
  void Invalidate(const Rect& client) override;
  void NeedLayout() override;
  bool SetTimer(Control* control, unsigned id, unsigned ms) override;
  void KillTimer(Control* control, unsigned id) override;
  void SendNotify(const Notification& notification) override;
  void PostNotify(const Notification& notification) override;
  std::shared_ptr<const Font> FontById(int id) override;
  ImageCache& Images() override;
  void SetFocus(Control* control) override;
  Control* Focused() const override { return focus_; }
  std::wstring ClipboardText() override;
  void SetClipboardText(const std::wstring& text) override;
  void SetTextInputRect(const Rect& caret) override;
  void ControlRemoved(Control* control) override;

  // Window timer ids from this value up belong to control timers.
  static constexpr std::uintptr_t kFirstTimerId = 0x7000;

 private:
  struct TimerEntry {
    Control* control;
    unsigned id;
    std::uintptr_t window_id;
  };
  void OnMouseMove(Point p);
  void OnMouseLeave();
  void OnButtonDown(Point p, bool double_click);
  void OnButtonUp(Point p);
  bool OnTimer(std::uintptr_t window_id);
  void OnKey(EventType type, std::uintptr_t code);
  void Deliver(Control* control, EventType type, Point p, std::uintptr_t wparam);
  void DeliverPosted();
  void LayoutIfNeeded();
  std::uint32_t Modifiers() const;

  PlatformWindow* window_ = nullptr;
  std::unique_ptr<Control> root_;
  std::unique_ptr<ImageCache> images_;
  FontTable fonts_;
  std::map<int, std::shared_ptr<const Font>> font_cache_;
  std::vector<INotifyListener*> listeners_;
  std::vector<TimerEntry> timers_;
  std::uintptr_t next_timer_id_ = kFirstTimerId;
  Control* hot_ = nullptr;
  Control* capture_ = nullptr;
  Control* focus_ = nullptr;
  Size client_;
  bool need_layout_ = true;
  bool in_layout_ = false;
  Rect dirty_;
  std::wstring offscreen_clipboard_;

  // Notifications posted from any thread; drained on the UI thread.
  std::mutex posted_mutex_;
  std::vector<Notification> posted_;
  std::shared_ptr<ControlManager*> alive_;
};

}  // namespace skinui
