// Button: a label with state images ("normalimage", "hotimage",
// "pushedimage", "disabledimage", "focusedimage") and state text colours and
// fonts. A left press inside followed by a release inside sends exactly one
// "click". CButtonControl is the name other parts derive from.
//
// Threads: UI thread only.
#pragma once

#include <string>

#include "skinui/core/label.h"

namespace skinui {

class Button : public Label {
 public:
  Button();
  std::wstring_view GetClass() const override { return L"Button"; }
  void* GetInterface(std::wstring_view name) override;
  const AttributeRegistry& Attributes() const override;
  static const AttributeRegistry& ClassAttributes();

  bool IsInteractive() const override { return true; }
  void DoEvent(const UiEvent& event) override;
  // What a completed click does: sends "click".
  virtual void Activate();

  void SetNormalImage(std::string d) { normal_image_ = std::move(d); Invalidate(); }
  void SetHotImage(std::string d) { hot_image_ = std::move(d); Invalidate(); }
  void SetPushedImage(std::string d) { pushed_image_ = std::move(d); Invalidate(); }
  void SetDisabledImage(std::string d) { disabled_image_ = std::move(d); Invalidate(); }

 protected:
  void PaintStatusImage(Canvas& canvas) override;
  Argb CurrentTextColor() const override;
  int CurrentFont() const override;

  std::string normal_image_;
  std::string hot_image_;
  std::string pushed_image_;
  std::string disabled_image_;
  std::string focused_image_;

 private:
  friend struct ButtonAttributes;
};

using CButtonControl = Button;

}  // namespace skinui
