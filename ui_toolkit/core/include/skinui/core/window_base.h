// SkinWindowBase: a skinned top-level window. On kWmCreate it finds its
// skin source (SkinSourceFor with ResourceType/ResourceId/SkinFolder), builds
// the layout named by SkinFile, sizes the window from the layout's "size",
// clips it to "roundcorner", and calls OnLayoutLoaded. Its controls'
// notifications come to Notify; "click" goes on to OnButtonClick, whose
// default minimises for "minbtn" and closes for "closebtn". Hit testing makes
// the layout's "caption" strip a drag area, except over input controls.
//
// Message order: the keyboard filter (MessageFilter, then filters added
// with AddMessageFilter) sees every message first; then the handler of the
// message (OnCreate, OnClose, ...); when that leaves it unhandled,
// OnCustomMessage; then the controls; then the backend's default.
//
// Threads: UI thread, except PostNotify and PostMessage (any thread while the
// window object exists). Ownership: owns its controls and their manager.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skinui/core/control_manager.h"
#include "skinui/core/layout_builder.h"
#include "skinui/core/native_window.h"
#include "skinui/core/skin_setup.h"

namespace skinui {

// Filters a window's messages before they are handled.
class IMessageFilter {
 public:
  virtual ~IMessageFilter() = default;
  // Set `handled` to consume the message; the return value is its result.
  virtual std::intptr_t MessageFilter(std::uint32_t msg, std::uintptr_t wparam,
                                      std::intptr_t lparam, bool& handled) = 0;
};

// Handlers by notification type, tried before the window's own dispatch.
class CNotifyDispatcher {
 public:
  using Handler = std::function<void(const Notification&)>;
  void OnNotification(const std::wstring& type, Handler handler);
  // True when a handler of that type ran.
  bool DispatchNotification(const Notification& notification) const;

 private:
  std::map<std::wstring, Handler> handlers_;
};

class SkinWindowBase : public CNativeWindow,
                       public CNotifyDispatcher,
                       public INotifyListener,
                       public IMessageFilter,
                       public IBuilderCallback {
 public:
  SkinWindowBase();
  ~SkinWindowBase() override;

  // --- hooks, in the order of the window base's operations ---------------
  std::wstring WindowClassName() const override { return L"SkinWindow"; }
  std::intptr_t OnWindowMessage(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam,
                                bool* handled) override;
  // After the window exists and its layout is built.
  virtual void OnLayoutLoaded() {}
  virtual void OnButtonClick(const Notification& notification);
  virtual std::wstring SkinFolder() const { return std::wstring(); }
  virtual std::wstring SkinFile() const { return std::wstring(); }
  // Return and Escape key downs: Escape closes the window (result 1).
  virtual std::intptr_t DefaultKeyResponse(std::uintptr_t vk, bool& handled);
  virtual int ResourceType() const { return kSkinFiles; }
  // Text for list-like controls; none here.
  virtual std::wstring ControlText(Control* control, int index, int sub_index);
  virtual int ResourceId() const { return 0; }
  virtual std::intptr_t OnClose(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnDestroy(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnNcActivate(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnNcCalcSize(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  // The non-client handlers make the whole window client area (no system
  // frame is drawn): calc-size answers 0, paint draws nothing, activation
  // keeps the caption from repainting.
  virtual std::intptr_t OnNcPaint(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnNcHitTest(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnGetMinMaxInfo(std::uint32_t, std::uintptr_t, std::intptr_t,
                                        bool& handled);
  virtual std::intptr_t OnMouseWheel(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnMouseLeave(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnSize(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnChar(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnSysCommand(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnCreate(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnKeyDown(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnKillFocus(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnSetFocus(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnLButtonDown(std::uint32_t, std::uintptr_t, std::intptr_t,
                                      bool& handled);
  virtual std::intptr_t OnLButtonUp(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  virtual std::intptr_t OnMouseMove(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled);
  // Messages no handler above took (timers of the window, WM_USER ...).
  virtual std::intptr_t OnCustomMessage(std::uint32_t, std::uintptr_t, std::intptr_t,
                                        bool& handled);
  // The style applied once the window exists: the current one without
  // the system caption, with the clip bits.
  virtual std::uint32_t WindowStyle() const;

  // --- interfaces -------------------------------------------------------
  void Notify(const Notification& notification) override;
  std::intptr_t MessageFilter(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam,
                              bool& handled) override;
  // Knows SequenceLabel and SequenceButton.
  std::unique_ptr<Control> CreateCustomControl(std::wstring_view class_name) override;

  // --- use ----------------------------------------------------------------
  ControlManager& Manager() { return manager_; }
  Control* FindControl(std::wstring_view name) const { return manager_.FindControl(name); }
  // An attribute of the layout's Window element, by name (empty if absent).
  std::wstring WindowAttribute(std::string_view name) const { return layout_window_.Get(name); }
  const WindowAttributes& LayoutWindow() const { return layout_window_; }
  // Why the layout did not load (status kOk when it did).
  const BuildError& LayoutError() const { return layout_error_; }
  void AddMessageFilter(IMessageFilter* filter);
  void RemoveMessageFilter(IMessageFilter* filter);
  // Notifications from this window's controls (or window-level ones with a
  // null sender); PostNotify may be called from any thread.
  void SendNotify(const std::wstring& type, Control* sender, std::uintptr_t wparam = 0,
                  std::intptr_t lparam = 0);
  void PostNotify(const std::wstring& type, Control* sender, std::uintptr_t wparam = 0,
                  std::intptr_t lparam = 0);

  const Surface& Paint(const Rect& dirty) override;

 protected:
  bool PreFilter(const Message& message, std::intptr_t* result) override;
  // Builds the layout now (OnCreate does it); false when it failed.
  bool LoadLayout();

 private:
  std::intptr_t Dispatch(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam,
                         bool& handled);
  void ApplyWindowAttributes();

  ControlManager manager_;
  WindowAttributes layout_window_;
  BuildError layout_error_;
  std::vector<IMessageFilter*> filters_;
  Surface frame_;
};

}  // namespace skinui
