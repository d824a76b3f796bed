// The base of every control: geometry, look (colours, images, text, border),
// state (hot, pushed, focused, enabled, visible) and the attribute setters
// the layout builder calls by name.
//
// Threads: UI thread only. Ownership: a container owns its children; the
// host (the window's control manager) is borrowed and outlives the tree.
// Painting goes through the painter's Canvas, clipped to the dirty region.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "skinui/core/attribute_registry.h"
#include "skinui/core/control_host.h"
#include "skinui/geometry.h"
#include "skinui/surface.h"

namespace skinui {

class Canvas;
class Container;

// Visual state bits.
enum ControlState : unsigned {
  kStateHot = 1,
  kStatePushed = 2,
  kStateFocused = 4,
  kStateCaptured = 8,
  kStateSelected = 16,
};

class Control {
 public:
  Control();
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // Class name ("Control", "Label", ...) and the interface query: the
  // control itself when it is (or derives from) `name`, else null.
  virtual std::wstring_view GetClass() const { return L"Control"; }
  virtual void* GetInterface(std::wstring_view name);

  // Attributes by name (case-insensitive), values as layouts write them.
  AttributeResult SetAttribute(std::string_view name, std::string_view value);
  virtual const AttributeRegistry& Attributes() const;
  static const AttributeRegistry& ClassAttributes();

  // Tree.
  void SetHost(ControlHost* host);  // also for the children of containers
  ControlHost* Host() const { return host_; }
  Container* Parent() const { return parent_; }
  void SetParent(Container* parent) { parent_ = parent; }
  virtual Control* FindByName(std::wstring_view name);
  // The deepest visible control under `p` (children before their parent).
  virtual Control* FindAt(Point p);
  // Called once after the tree is built and hosted (before the first layout).
  virtual void Init();

  // Geometry.
  const std::wstring& Name() const { return name_; }
  void SetName(std::wstring name) { name_ = std::move(name); }
  int FixedWidth() const { return width_; }
  int FixedHeight() const { return height_; }
  void SetFixedWidth(int w);
  void SetFixedHeight(int h);
  const Rect& Padding() const { return padding_; }  // outer margins
  void SetPadding(const Rect& r);
  bool IsFloat() const { return float_; }
  const Rect& FloatPos() const { return xml_pos_; }
  const Rect& Pos() const { return pos_; }
  virtual void SetPos(const Rect& r);

  // State.
  bool IsVisible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool IsEnabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  bool IsFocused() const { return (state_ & kStateFocused) != 0; }
  unsigned State() const { return state_; }
  // Controls that take part in input (buttons, edits) say true: the caption
  // drag area does not cover them.
  virtual bool IsInteractive() const { return false; }
  virtual bool WantsFocus() const { return false; }

  // Content.
  const std::wstring& Text() const { return text_; }
  virtual void SetText(std::wstring text);
  const std::wstring& UserData() const { return userdata_; }
  void SetUserData(std::wstring data) { userdata_ = std::move(data); }
  const std::string& BkImage() const { return bkimage_; }
  void SetBkImage(std::string description);
  Argb BkColor() const { return bkcolor_; }
  void SetBkColor(Argb c);

  // Timers on this control (through the host); false without a host.
  bool SetTimer(unsigned id, unsigned ms);
  void KillTimer(unsigned id);

  // Repaint this control's rectangle.
  void Invalidate();

  // Input from the host. The base handles the hot state and turns timer
  // events into "timer" notifications (wparam = timer id).
  virtual void DoEvent(const UiEvent& event);

  // Paints this control (and, for containers, its children) where it meets
  // the canvas clip.
  virtual void Paint(Canvas& canvas);

 protected:
  virtual void PaintBkColor(Canvas& canvas);
  virtual void PaintBkImage(Canvas& canvas);
  virtual void PaintStatusImage(Canvas& canvas);
  virtual void PaintText(Canvas& canvas);
  virtual void PaintBorder(Canvas& canvas);
  // Draws an image description into the control rectangle; false when the
  // text is malformed or there is no host.
  bool DrawImage(Canvas& canvas, const std::string& description);
  bool DrawImage(Canvas& canvas, const std::string& description, const Rect& into);
  void Notify(std::wstring_view type, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);
  // Expires when this control is destroyed. A notification handler may
  // remove the control that notified; code that goes on after a Notify
  // checks the token first.
  std::weak_ptr<void> LifetimeToken() const { return lifetime_; }

  void SetStateBit(unsigned bit, bool on);

  // Text look, shared by every control that draws text.
  int font_ = -1;
  int hot_font_ = -1;
  int pushed_font_ = -1;
  unsigned text_style_;  // kText* flags
  Rect text_padding_;
  Argb text_color_ = 0;  // 0: not set (the host's default black)
  Argb disabled_text_color_ = 0;
  Argb hot_text_color_ = 0;
  Argb pushed_text_color_ = 0;
  Argb selected_text_color_ = 0;
  Argb bkcolor_ = 0;
  Argb hot_bkcolor_ = 0;
  Argb pushed_bkcolor_ = 0;
  Argb border_color_ = 0;
  Argb hot_border_color_ = 0;
  int border_size_ = 0;
  Size border_round_;
  std::string bkimage_;
  std::wstring text_;
  unsigned state_ = 0;

 private:
  std::shared_ptr<char> lifetime_ = std::make_shared<char>('\0');
  ControlHost* host_ = nullptr;
  Container* parent_ = nullptr;
  std::wstring name_;
  std::wstring userdata_;
  int width_ = 0;
  int height_ = 0;
  Rect padding_;
  Rect xml_pos_;
  bool float_ = false;
  Rect pos_;
  bool visible_ = true;
  bool enabled_ = true;
  friend struct ControlAttributes;
  friend struct ControlLook;
};

}  // namespace skinui
