// What a control needs from the window that holds it, and the values that
// travel between them: input events, notifications.
//
// Threads: UI thread only, except ControlHost::PostNotify, which any thread
// may call (it only queues).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "skinui/geometry.h"

namespace skinui {

class Control;
class Font;
class ImageCache;

// Input and life-cycle events the host hands to one control.
enum class EventType {
  kMouseEnter,
  kMouseLeave,
  kMouseMove,
  kButtonDown,
  kButtonUp,
  kDoubleClick,
  kKeyDown,
  kKeyUp,
  kChar,
  kSetFocus,
  kKillFocus,
  kTimer,
};

struct UiEvent {
  EventType type = EventType::kMouseMove;
  Point point;                 // client coordinates (mouse events)
  std::uintptr_t wparam = 0;   // VK_ code, character or timer id
  std::uint32_t modifiers = 0; // ModifierBits
};

// A named notification from a control to its window ("click",
// "selectchanged", "tabselect", "timer", "textchanged", custom names).
struct Notification {
  std::wstring type;
  Control* sender = nullptr;  // borrowed; may be null for window-level ones
  std::uintptr_t wparam = 0;
  std::intptr_t lparam = 0;
};

// Receives the notifications of a window's controls (INotifyListener).
class INotifyListener {
 public:
  virtual ~INotifyListener() = default;
  virtual void Notify(const Notification& notification) = 0;
};

class ControlHost {
 public:
  virtual ~ControlHost() = default;

  // Repaint `client` soon (coalesced into one frame).
  virtual void Invalidate(const Rect& client) = 0;
  // The tree changed shape: lay it out again before the next paint.
  virtual void NeedLayout() = 0;

  // Timers by id on one control; the control receives EventType::kTimer.
  // Returns false when the window cannot run timers (not created).
  virtual bool SetTimer(Control* control, unsigned id, unsigned ms) = 0;
  virtual void KillTimer(Control* control, unsigned id) = 0;

  // Delivered now, before this returns (a listener may run a nested loop).
  virtual void SendNotify(const Notification& notification) = 0;
  // Any thread: queued and delivered later on the UI thread, unless the
  // sender was removed from the window meanwhile.
  virtual void PostNotify(const Notification& notification) = 0;

  // The font of a layout font id; unknown ids and -1 give the default font.
  // Never null.
  virtual std::shared_ptr<const Font> FontById(int id) = 0;
  virtual ImageCache& Images() = 0;

  virtual void SetFocus(Control* control) = 0;
  virtual Control* Focused() const = 0;
  virtual std::wstring ClipboardText() = 0;
  virtual void SetClipboardText(const std::wstring& text) = 0;
  virtual void SetTextInputRect(const Rect& caret) = 0;

  // A control is leaving the tree (or being destroyed): forget it as hot,
  // focused or captured control, kill its timers, drop its queued
  // notifications.
  virtual void ControlRemoved(Control* control) = 0;
};

}  // namespace skinui

// The toolkit's public namespace name.
namespace SkinUI = skinui;
